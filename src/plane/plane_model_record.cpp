#include "plane/plane_model_record.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "common/diagram_fonts.h"
#include "common/name_slot.h"
#include "plane/network_geometry.h"
#include "plane/plane_input_reading.h"

namespace qp {
namespace {

enum class DirectionTable { Sets, Entered };

// Every traverse the closure check keeps has its entry in the record.
static_assert(kMaxTraverses == kTraverseTableSize);

std::string NameOf(const NameSlot& slot) { return std::string(SlotText(slot)); }

// The error-ellipse and near-pair settings of the diagram style: reading and
// putting walk this one list, `copy(styleValue, recordValue)`.
template <typename Style, typename Record, typename Copy>
void EachEllipseSetting(Style& d, Record& net, Copy copy) {
  copy(d.maxEllipseRadius, net.maxEllipseRadius);
  copy(d.maxSemiAxis, net.maxSemiAxis);
  copy(d.ellipseScale, net.ellipseScale);
  copy(d.warningDistance, net.warningDistance);
}

PlaneEnds EndsOf(const PlaneModel& model, const NameSlot& from, const NameSlot& to) {
  PlaneEnds ends{-1, -1, NameOf(from), NameOf(to)};
  ends.from = model.Find(ends.fromName);
  ends.to = model.Find(ends.toName);
  return ends;
}

std::vector<PlaneMeasure> Measures(const PlaneModel& model, int32_t count, const double* value, const double* weight,
                                   const NameSlot* from, const NameSlot* to, int capacity = kMaxSmallTable) {
  std::vector<PlaneMeasure> list(ClampedCount(count, capacity));
  for (size_t m = 0; m < list.size(); ++m) {
    list[m] = {EndsOf(model, from[m], to[m]), value[m], weight ? weight[m] : 1.0};
  }
  return list;
}

std::vector<PlaneSide> Sides(const PlaneModel& model, int count, const NameSlot* from, const NameSlot* to,
                             const float* ms, const float* mt, const float* e, const float* f, const float* q,
                             const uint8_t* symbol = nullptr) {
  std::vector<PlaneSide> list(count);
  for (int s = 0; s < count; ++s) {
    list[s] = {EndsOf(model, from[s], to[s]), {ms[s], mt[s], {e[s], f[s], q[s]}}, symbol ? symbol[s] : uint8_t{0}};
  }
  return list;
}

void StoreSides(const std::vector<PlaneSide>& list, size_t capacity, float* ms, float* mt, float* e, float* f,
                float* q) {
  for (size_t s = 0; s < std::min(list.size(), capacity); ++s) {
    const PlaneRelativePrecision& r = list[s].precision;
    ms[s] = r.ms;
    mt[s] = r.mt;
    e[s] = r.ellipse.e;
    f[s] = r.ellipse.f;
    q[s] = r.ellipse.q;
  }
}

void ReadPoints(const PlaneNetwork& net, int points, PlaneModel& model) {
  model.knownCount = std::clamp(static_cast<int>(net.knownCount), 0, points);
  const int approximate = model.knownCount + ClampedCount(net.approxCount, points - model.knownCount);
  model.points.resize(points);
  for (int p = 0; p < points; ++p) {
    const PlanePointRole role = p < model.knownCount ? PlanePointRole::Known
                                : p < approximate    ? PlanePointRole::Approximate
                                                     : PlanePointRole::Unknown;
    model.points[p] = {NameOf(net.pointName[p]), role, net.x[p], net.y[p], net.h[p],
                       {net.pointE[p], net.pointF[p], net.pointQ[p]},
                       net.labelOffsetX[p], net.labelOffsetY[p]};
  }
  model.IndexNames();
}

// A station's set is the range of the direction table its set start and the
// next one delimit; a range of fewer than two entries holds no set, and a
// range outside the table is damage and holds none either.
void ReadDirections(const PlaneNetwork& net, PlaneModel& model) {
  for (int station = 0; station < model.pointCount(); ++station) {
    const int begin = net.setStart[station];
    const int end = net.setStart[station + 1];
    if (begin < 0 || end < 0 || begin > kMaxDirections || end > kMaxDirections || end - begin < 2) continue;
    const int first = static_cast<int>(model.directions.size());
    for (int e = begin; e < end; ++e) {
      PlaneDirection d{model.Find(SlotText(net.directionStation[e])), -1, NameOf(net.directionTarget[e]),
                       net.direction[e]};
      d.target = model.Find(d.targetName);
      model.directions.push_back(std::move(d));
    }
    model.directionSets.push_back({station, first, static_cast<int>(model.directions.size())});
  }
}

// The directions as entered: once the network is confirmed the input table
// holds them set by set; while it is being confirmed the working table holds
// them as they were read, and there are no sets yet.
void ReadDirectionTables(const PlaneNetwork& net, DirectionTable directions, PlaneModel& model) {
  model.directionCount = ClampedCount(net.directionCount, kMaxDirections);
  const bool sets = directions == DirectionTable::Sets;
  if (sets) ReadDirections(net, model);
  model.enteredDirections = Measures(model, net.directionCount, sets ? net.inputDirection : net.direction, nullptr,
                                     sets ? net.inputStation : net.directionStation,
                                     sets ? net.inputTarget : net.directionTarget, kMaxDirections);
}

void ReadDistanceLines(const PlaneNetwork& net, PlaneModel& model) {
  model.distanceLines.resize(ClampedCount(net.distanceLineCount, kMaxDistanceLines));
  for (size_t i = 0; i < model.distanceLines.size(); ++i) {
    model.distanceLines[i] = {EndsOf(model, net.lineFrom[i], net.lineTo[i]), net.lineDistance[i],
                              net.instrumentHeight[i], net.targetHeight[i], net.verticalAngle[i]};
  }
}

void ReadDistances(const PlaneNetwork& net, PlaneModel& model) {
  model.distances.resize(ClampedCount(net.reducedCount, kMaxReducedDistances));
  for (size_t d = 0; d < model.distances.size(); ++d) {
    PlaneDistance& distance = model.distances[d];
    distance.ends = EndsOf(model, net.reducedFrom[d], net.reducedTo[d]);
    distance.length = net.reducedLength[d];
    distance.heightDiff = net.reducedHeightDiff[d];
    // The distance error model a + b S (a in mm, b in ppm) in cm, and the
    // weight relative to a direction of error mu.
    const double m = 0.1 * net.distanceFixedError + 0.0001 * net.distanceScaleError * distance.length;
    distance.standardError = m;
    distance.weight = net.directionError * (net.directionError / m) / m;
  }
}

void ReadTraverses(const PlaneNetwork& net, PlaneModel& model) {
  model.traverses.resize(TraverseCount(net));
  for (size_t i = 0; i < model.traverses.size(); ++i) {
    const TraverseClosure t = ReadTraverseClosure(net, static_cast<int>(i));
    model.traverses[i] = {model.Find(SlotText(t.startOrientation)), model.Find(SlotText(t.start)),
                          model.Find(SlotText(t.end)), model.Find(SlotText(t.endOrientation)),
                          t.azimuthMisclosure, t.fx, t.fy, t.legs, t.length, t.relative, t.labelX, t.labelY,
                          t.drawn != 0, t.kind};
  }
}

void ReadDiagramStyle(const PlaneNetwork& net, PlaneModel& model) {
  PlaneDiagramStyle& d = model.diagram;
  d.kind = net.displayMode;
  ReadDiagramFonts(net, d);
  EachEllipseSetting(d, net, [](auto& value, const auto& stored) { value = stored; });
  d.breakthroughWarning = net.breakthroughWarning != 0;
  model.lastComputedPointCount = net.lastComputedPointCount;
}

PlaneModel ModelOf(const PlaneNetwork& net, DirectionTable directions) {
  PlaneModel model;
  model.networkName = std::string(SlotText(net.networkName));
  model.calcMode = net.calcMode;
  model.closureMode = net.closureMode;
  model.directionError = net.directionError;
  model.distanceFixedError = net.distanceFixedError;
  model.distanceScaleError = net.distanceScaleError;
  model.projectionHeight = net.projectionHeight;
  model.yOffset = net.yOffset;
  model.refraction = net.refraction;
  model.verticalAngleKind = net.verticalAngleKind;
  model.distanceLimit = PlaneTableLimit(net, kLimitDirections, kMaxReducedDistances);
  model.redundancy = net.redundancy;
  model.sigma0 = net.sigma0;
  // While the network is being confirmed the record counts only its given
  // points; the confirmation adds the others.
  const int64_t given = directions == DirectionTable::Sets ? 0 : int64_t{net.knownCount} + net.approxCount;
  ReadPoints(net, static_cast<int>(std::clamp<int64_t>(std::max<int64_t>(net.pointCount, given), 0, kMaxPlanePoints)),
             model);
  ReadDirectionTables(net, directions, model);
  ReadDistanceLines(net, model);
  ReadDistances(net, model);
  model.fixedAzimuths = Measures(model, net.fixedAzimuthCount, net.fixedAzimuth, nullptr, net.fixedAzimuthFrom,
                                 net.fixedAzimuthTo);
  model.weightedAzimuths = Measures(model, net.weightedAzimuthCount, net.weightedAzimuth, net.weightedAzimuthWeight,
                                    net.weightedAzimuthFrom, net.weightedAzimuthTo);
  model.fixedSides = Measures(model, net.fixedDistanceCount, net.fixedDistance, nullptr, net.fixedDistanceFrom,
                              net.fixedDistanceTo);
  model.weightedSides = Measures(model, net.weightedDistanceCount, net.weightedDistance, net.weightedDistanceWeight,
                                 net.weightedDistanceFrom, net.weightedDistanceTo);
  model.knownHeights.resize(ClampedCount(net.knownHeightCount, kMaxSmallTable));
  for (size_t i = 0; i < model.knownHeights.size(); ++i) {
    model.knownHeights[i] = {model.Find(SlotText(net.knownHeightName[i])), net.knownHeight[i],
                             NameOf(net.knownHeightName[i])};
  }
  model.sides = Sides(model, ClampedCount(net.sideCount, kMaxSides), net.sideFrom, net.sideTo, net.sideMs, net.sideMt,
                      net.sideE, net.sideF, net.sideQ, net.sideSymbol);
  model.pairs = Sides(model, ClampedCount(net.precisionPairCount, kMaxSmallTable), net.pairFirst, net.pairSecond,
                      net.pairMs, net.pairMt, net.pairE, net.pairF, net.pairQ);
  ReadTraverses(net, model);
  ReadDiagramStyle(net, model);
  return model;
}

}  // namespace

PlaneModel PlaneModelFromRecord(const PlaneNetwork& net) { return ModelOf(net, DirectionTable::Sets); }

PlaneModel PlaneModelOfEnteredDirections(const PlaneNetwork& net) { return ModelOf(net, DirectionTable::Entered); }

void PutPlaneCoordinates(const PlaneModel& model, PlaneNetwork& net) {
  const int points = std::min(model.pointCount(), kMaxPlanePoints);
  for (int p = 0; p < points; ++p) {
    net.x[p] = model.points[p].x;
    net.y[p] = model.points[p].y;
  }
}

namespace {

// Copies the point table's slot of point p, bytes after the name and all,
// when p is one of the model's points the table holds.
void CopyPointName(const PlaneModel& model, const PlaneNetwork& net, int p, NameSlot& slot) {
  if (p >= 0 && p < std::min(model.pointCount(), kMaxPlanePoints)) std::memcpy(slot, net.pointName[p], kNameSlotSize);
}

void PutDirectionSets(const PlaneModel& model, PlaneNetwork& net) {
  const int points = std::min(model.pointCount(), kMaxPlanePoints);
  const bool placeholders = model.directionCount + model.NonStationCount() <= kMaxDirections;
  int stored = 0;
  auto store = [&](double* value, NameSlot* station, NameSlot* target, int& entry, double dms, const std::string& from,
                   const std::string& to) {
    if (entry >= kMaxDirections) return;
    value[entry] = dms;
    SetSlotText(station[entry], from);
    SetSlotText(target[entry], to);
    ++entry;
  };
  auto set = model.directionSets.begin();
  for (int p = 0; p < points; ++p) {
    net.setStart[p] = stored;
    const std::string& station = model.points[p].name;
    if (set != model.directionSets.end() && set->station == p) {
      for (int k = set->begin; k < set->end; ++k) {
        const PlaneDirection& d = model.directions[k];
        store(net.direction, net.directionStation, net.directionTarget, stored, d.dms, station, d.targetName);
      }
      ++set;
    } else if (placeholders) {
      store(net.direction, net.directionStation, net.directionTarget, stored, 0.0, station, model.points[0].name);
    }
  }
  net.setStart[points] = stored;
  int copied = 0;
  for (const PlaneMeasure& m : model.enteredDirections) {
    store(net.inputDirection, net.inputStation, net.inputTarget, copied, m.value, m.ends.fromName, m.ends.toName);
  }
}

}  // namespace

void PutPlanePointList(const PlaneModel& model, PlaneNetwork& net) {
  const int points = std::min(model.pointCount(), kMaxPlanePoints);
  for (int p = 0; p < points; ++p) {
    SetSlotText(net.pointName[p], model.points[p].name);
    SetSlotText(net.nameList[p], model.points[p].name);
  }
  PutPlaneCoordinates(model, net);
  net.pointCount = points;
  net.nameCount = points;
  net.unknownPointCount = model.UnknownPointCount();
  net.unknownCount = model.UnknownCount();
  net.nonStationCount = model.NonStationCount();
  net.redundancy = model.redundancy;
  if (model.directionCount > 0) PutDirectionSets(model, net);
}

void PutPlaneDirections(const PlaneModel& model, PlaneNetwork& net) {
  for (const PlaneDirectionSet& set : model.directionSets) {
    // The set was read from the range its set start opens.
    const int entry = net.setStart[set.station] - set.begin;
    for (int k = set.begin; k < set.end; ++k) {
      if (entry + k >= 0 && entry + k < kMaxDirections) net.direction[entry + k] = model.directions[k].dms;
    }
  }
}

void PutPlaneHeights(const PlaneModel& model, PlaneNetwork& net) {
  std::fill(std::begin(net.h), std::end(net.h), 0.0);
  const int points = std::min(model.pointCount(), kMaxPlanePoints);
  for (int p = 0; p < points; ++p) net.h[p] = model.points[p].h;
  const size_t distances = std::min(model.distances.size(), static_cast<size_t>(kMaxReducedDistances));
  for (size_t d = 0; d < distances; ++d) net.reducedLength[d] = model.distances[d].length;
}

void PutPlaneSides(const PlaneModel& model, PlaneNetwork& net) {
  const int count = std::min(static_cast<int>(model.sides.size()), kMaxSides);
  for (int i = 0; i < count; ++i) {
    CopyPointName(model, net, model.sides[i].ends.from, net.sideFrom[i]);
    CopyPointName(model, net, model.sides[i].ends.to, net.sideTo[i]);
    net.sideSymbol[i] = model.sides[i].symbol;
  }
  net.sideCount = count;
}

void PutPlaneTraverses(const PlaneModel& model, PlaneNetwork& net) {
  ClearClosureChecks(net);
  const int count = std::min(static_cast<int>(model.traverses.size()), kTraverseTableSize);
  for (int i = 0; i < count; ++i) {
    const PlaneTraverse& t = model.traverses[i];
    TraverseClosure entry{.azimuthMisclosure = t.azimuthMisclosure, .fx = t.fx, .fy = t.fy, .legs = t.legs,
                          .kind = t.kind, .length = t.length, .relative = t.relative, .labelX = t.labelX,
                          .labelY = t.labelY, .drawn = static_cast<uint8_t>(t.drawn ? 1 : 0)};
    CopyPointName(model, net, t.startOrientation, entry.startOrientation);
    CopyPointName(model, net, t.start, entry.start);
    CopyPointName(model, net, t.end, entry.end);
    CopyPointName(model, net, t.endOrientation, entry.endOrientation);
    StoreTraverseClosure(net, i, entry);
  }
  net.closureCheckCount = count;
}

void PutPlaneResults(const PlaneModel& model, PlaneNetwork& net) {
  net.sigma0 = model.sigma0;
  PutPlaneCoordinates(model, net);
  const int points = std::min(model.pointCount(), kMaxPlanePoints);
  for (int p = 0; p < points; ++p) {
    const PlanePoint& point = model.points[p];
    net.pointE[p] = point.ellipse.e;
    net.pointF[p] = point.ellipse.f;
    net.pointQ[p] = point.ellipse.q;
  }
  StoreSides(model.sides, kMaxSides, net.sideMs, net.sideMt, net.sideE, net.sideF, net.sideQ);
  StoreSides(model.pairs, kMaxSmallTable, net.pairMs, net.pairMt, net.pairE, net.pairF, net.pairQ);
}

void PutPlaneLayout(const PlaneModel& model, PlaneNetwork& net) {
  const PlaneDiagramStyle& d = model.diagram;
  net.displayMode = d.kind;
  PutDiagramFonts(d, net);
  EachEllipseSetting(d, net, [](const auto& value, auto& stored) { stored = value; });
  if ((net.breakthroughWarning != 0) != d.breakthroughWarning) net.breakthroughWarning = d.breakthroughWarning ? 1 : 0;
  net.lastComputedPointCount = model.lastComputedPointCount;
  const int points = std::min(model.pointCount(), kMaxPlanePoints);
  for (int p = 0; p < points; ++p) {
    net.labelOffsetX[p] = model.points[p].labelDx;
    net.labelOffsetY[p] = model.points[p].labelDy;
  }
  const int traverses = std::min(static_cast<int>(model.traverses.size()), TraverseCount(net));
  for (int i = 0; i < traverses; ++i) {
    const PlaneTraverse& t = model.traverses[i];
    StoreTraverseLabel(net, i, t.labelX, t.labelY, t.drawn);
  }
}

}  // namespace qp
