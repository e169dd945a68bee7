#include "height/height_model_record.h"

#include <algorithm>
#include <string>

#include "common/diagram_fonts.h"
#include "common/name_slot.h"

namespace qp {
namespace {

std::string Text(const HeightNameSlot& slot) { return std::string(SlotText(slot)); }

HeightModel ModelOf(const HeightNetwork& net, int32_t pointCount) {
  HeightModel m;
  m.mode = net.mode == kHeightAdjust ? kHeightAdjust : kHeightEstimate;
  m.kind = net.kind == kTrigonometricNetwork ? kTrigonometricNetwork : kLevellingNetwork;
  m.name = std::string(SlotText(net.networkName));
  m.priorError = net.priorError;
  m.sigma0 = net.sigma0;
  m.largestCorrection = net.largestCorrection;

  m.pointCapacity = HeightCapacityOf(net, kCapacityPoints);
  const int points = BoundedCount(pointCount, m.pointCapacity);
  const int known = BoundedCount(net.knownCount, points);
  const int approx = BoundedCount(net.approxCount, points - known);
  m.points.resize(static_cast<size_t>(points));
  for (int p = 0; p < points; ++p) {
    HeightPoint& point = m.points[p];
    point.name = Text(net.pointName[p]);
    point.role = p < known ? HeightPointRole::Known
                 : p < known + approx ? HeightPointRole::Approximate
                                      : HeightPointRole::Unknown;
    point.height = net.height[p];
    point.error = net.heightError[p];
    point.x = net.diagramX[p];
    point.y = net.diagramY[p];
    point.labelDx = net.labelOffsetX[p];
    point.labelDy = net.labelOffsetY[p];
  }
  m.differences.resize(
      static_cast<size_t>(BoundedCount(net.observationCount, HeightCapacityOf(net, kCapacityDifferences))));
  for (size_t i = 0; i < m.differences.size(); ++i) {
    HeightDifference& d = m.differences[i];
    d.fromName = Text(net.from[i]);
    d.toName = Text(net.to[i]);
    d.observed = net.observed[i];
    d.weightElement = net.weightElement[i];
    d.error = DifferenceError(net, static_cast<int>(i));
    std::copy(&net.curve[i][0][0], &net.curve[i][0][0] + 2 * kCurvePointCount, &d.curve[0][0]);
  }
  m.pairs.resize(static_cast<size_t>(BoundedCount(net.pairCount, HeightCapacityOf(net, kCapacityPairs))));
  for (size_t k = 0; k < m.pairs.size(); ++k) {
    m.pairs[k] = {Text(net.pairFrom[k]), Text(net.pairTo[k]), -1, -1, net.pairDifference[k], net.pairError[k]};
  }
  m.coordinates.resize(static_cast<size_t>(BoundedCount(net.coordinateCount, kMaxHeightPoints)));
  for (size_t k = 0; k < m.coordinates.size(); ++k) {
    m.coordinates[k] = {Text(net.coordinateName[k]), net.coordinateX[k], net.coordinateY[k]};
  }
  m.loopCapacity = HeightCapacityOf(net, kCapacityLoops);
  m.loops.resize(static_cast<size_t>(BoundedCount(net.loopCount, m.loopCapacity)));
  for (size_t k = 0; k < m.loops.size(); ++k) {
    const LoopEntry& e = net.loops[k];
    HeightLoop& loop = m.loops[k];
    loop.kind = static_cast<LoopKind>(e.kind);
    for (int s = 0; s < 4; ++s) {
      loop.names[s] = Text(e.names[s]);
      loop.sections[s] = e.sections[s];
    }
    loop.closure = e.closure;
    loop.drawn = e.drawFlag != 0;
    loop.labelX = e.labelX;
    loop.labelY = e.labelY;
  }
  HeightDiagramStyle& style = m.diagram;
  style.kind = net.diagramKind;
  ReadDiagramFonts(net, style);
  m.lastComputedPointCount = net.lastComputedPointCount;
  m.Index();
  return m;
}

}  // namespace

HeightModel HeightModelFromRecord(const HeightNetwork& net) { return ModelOf(net, net.pointCount); }

HeightModel HeightModelOfParsedInput(const HeightNetwork& net) {
  return ModelOf(net, BoundedCount(net.knownCount + net.approxCount, kMaxHeightPoints));
}

void PutHeightPointNames(const HeightModel& m, HeightNetwork& net) {
  const int given = m.KnownCount() + m.ApproxCount();
  for (int p = given; p < std::min(m.PointCount(), kMaxHeightPoints); ++p) {
    SetSlotText(net.pointName[p], m.points[p].name);
    net.height[p] = m.points[p].height;
  }
}

void PutHeightResults(const HeightModel& m, HeightNetwork& net) {
  net.sigma0 = m.sigma0;
  net.largestCorrection = m.largestCorrection;
  for (int p = 0; p < m.PointCount(); ++p) {
    net.height[p] = m.points[p].height;
    net.heightError[p] = m.points[p].error;
  }
  for (size_t i = 0; i < m.differences.size(); ++i) SetDifferenceError(net, static_cast<int>(i), m.differences[i].error);
  for (size_t k = 0; k < m.pairs.size(); ++k) {
    net.pairDifference[k] = m.pairs[k].difference;
    net.pairError[k] = m.pairs[k].error;
  }
}

void PutHeightLayout(const HeightModel& m, HeightNetwork& net) {
  for (int p = 0; p < m.PointCount(); ++p) {
    const HeightPoint& point = m.points[p];
    net.diagramX[p] = point.x;
    net.diagramY[p] = point.y;
    net.labelOffsetX[p] = point.labelDx;
    net.labelOffsetY[p] = point.labelDy;
  }
  for (size_t i = 0; i < m.differences.size(); ++i) {
    std::copy(&m.differences[i].curve[0][0], &m.differences[i].curve[0][0] + 2 * kCurvePointCount, &net.curve[i][0][0]);
  }
  for (size_t k = 0; k < m.loops.size(); ++k) {
    LoopEntry& e = net.loops[k];
    e.labelX = m.loops[k].labelX;
    e.labelY = m.loops[k].labelY;
    // A flag the display settings left as it was keeps its byte.
    if ((e.drawFlag != 0) != m.loops[k].drawn) e.drawFlag = m.loops[k].drawn ? 1 : 0;
  }
  net.lastComputedPointCount = m.lastComputedPointCount;
  net.diagramKind = m.diagram.kind;
  PutDiagramFonts(m.diagram, net);
}

void PutHeightLoops(const HeightModel& m, HeightNetwork& net) {
  const int count = std::min(static_cast<int>(m.loops.size()), kMaxLoopEntries);
  net.loopCount = count;
  // Only a table checked anew (adjusting two or more height differences)
  // replaces the entries; otherwise the count alone says it is empty.
  if (m.mode != kHeightAdjust || m.differences.size() <= 1) return;
  for (int k = 0; k < kMaxLoopEntries; ++k) {
    // The label positions stay: the user may have placed them, and an
    // unchanged table keeps them (see the change level).
    LoopEntry& e = net.loops[k];
    const HeightLoop loop = k < count ? m.loops[k] : HeightLoop{};
    for (int s = 0; s < 4; ++s) {
      SetSlotText(e.names[s], loop.names[s]);
      e.sections[s] = loop.sections[s];
    }
    e.closure = loop.closure;
    e.kind = loop.kind;
    e.drawFlag = loop.drawn ? 1 : 0;
  }
}

}  // namespace qp
