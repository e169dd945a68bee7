// The observation tables between two points: directions, fixed and weighted
// azimuths, fixed and weighted distances. Every line is
// "from, to, value" or "from, to, value, weight".
#include <cstring>
#include <string>
#include <unordered_map>

#include "common/name_slot.h"
#include "plane/plane_input_reading.h"
#include "plane/plane_table_lines.h"

namespace qp {
namespace {

// Where a table's entries go in the record.
struct ObservationColumns {
  NameSlot* from;
  NameSlot* to;
  double* value;
  double* weight;  // null for tables without weights
};

// The lines of a table whose messages begin with `title`; a table with a
// weight column takes four fields, the others three.
InputCheck ReadObservationTable(const std::string& box, PlaneTextBox which, int limit, std::string_view title,
                                const ObservationColumns& columns, int32_t& count, PlatformServices& platform) {
  const bool weighted = columns.weight != nullptr;
  auto fail = [&](const char* what, int lineNumber) { return FailAtLine(platform, title, what, lineNumber); };
  return ReadTableLines(box, which, limit, count, [&](std::string_view line, int lineNumber, int entry) {
    const auto fields = SplitFields(line, weighted ? 4 : 3);
    if (!fields) return fail("第[%d]行数据不正确!", lineNumber);
    const auto& f = *fields;
    if (!IsValidPointName(f[0])) return fail("第[%d]行起点点名[1--10个字符]不正确!", lineNumber);
    if (!IsValidPointName(f[1])) return fail("第[%d]行终点点名[1--10个字符]不正确!", lineNumber);
    if (!IsValueField(f[2])) return fail("第[%d]行高差不正确!", lineNumber);
    if (weighted && !IsValueField(f[3])) return fail("第[%d]行定权元素不正确!", lineNumber);
    SetSlotText(columns.from[entry], f[0]);
    SetSlotText(columns.to[entry], f[1]);
    columns.value[entry] = LeadingNumber(f[2]);
    if (weighted) columns.weight[entry] = LeadingNumber(f[3]);
    return Accepted();
  });
}

// The small tables between two points: fixed and weighted azimuths and distances.
InputCheck ReadSmallTable(const std::string& box, PlaneTextBox which, std::string_view title,
                          const ObservationColumns& columns, int32_t& count, PlaneNetwork& net,
                          PlatformServices& platform) {
  const int limit = PlaneTableLimit(net, kLimitSmallTable, kMaxSmallTable);
  return ReadObservationTable(box, which, limit, title, columns, count, platform);
}

// A station observed with a single direction gives no angle.
bool CheckStationsHaveTwoDirections(const PlaneNetwork& net, PlatformServices& platform) {
  std::unordered_map<std::string_view, int> linesPerStation;
  for (int i = 0; i < net.directionCount; ++i) ++linesPerStation[SlotText(net.inputStation[i])];
  for (int i = 0; i < net.directionCount; ++i) {
    const std::string_view station = SlotText(net.inputStation[i]);
    if (linesPerStation.find(station)->second < 2) {
      return ShowAndFail(platform, FormatText("[%s]测站方向观测值只有一次 !", std::string(station).c_str()));
    }
  }
  return true;
}

}  // namespace

InputCheck ReadDirections(const std::string& box, PlaneNetwork& net, PlatformServices& platform) {
  const int limit = PlaneTableLimit(net, kLimitDirections, kMaxDirections);
  const ObservationColumns columns = {net.inputStation, net.inputTarget, net.inputDirection, nullptr};
  InputCheck read = ReadObservationTable(box, kDirectionsBox, limit, "方向观测值", columns, net.directionCount, platform);
  if (!read) return read;
  if (!CheckStationsHaveTwoDirections(net, platform)) return Refused();
  // The working table starts as the input; the approximate-coordinate step
  // sorts it into sets.
  const size_t n = static_cast<size_t>(net.directionCount);
  std::memcpy(net.direction, net.inputDirection, n * sizeof net.direction[0]);
  std::memcpy(net.directionStation, net.inputStation, n * sizeof net.directionStation[0]);
  std::memcpy(net.directionTarget, net.inputTarget, n * sizeof net.directionTarget[0]);
  return Accepted();
}

InputCheck ReadFixedAzimuths(const std::string& box, PlaneNetwork& net, PlatformServices& platform) {
  return ReadSmallTable(box, kFixedAzimuthsBox, "固定方位角",
                        {net.fixedAzimuthFrom, net.fixedAzimuthTo, net.fixedAzimuth, nullptr}, net.fixedAzimuthCount,
                        net, platform);
}

InputCheck ReadWeightedAzimuths(const std::string& box, PlaneNetwork& net, PlatformServices& platform) {
  return ReadSmallTable(box, kWeightedAzimuthsBox, "带权方位角",
                        {net.weightedAzimuthFrom, net.weightedAzimuthTo, net.weightedAzimuth, net.weightedAzimuthWeight},
                        net.weightedAzimuthCount, net, platform);
}

InputCheck ReadFixedDistances(const std::string& box, PlaneNetwork& net, PlatformServices& platform) {
  return ReadSmallTable(box, kFixedDistancesBox, "固定边长",
                        {net.fixedDistanceFrom, net.fixedDistanceTo, net.fixedDistance, nullptr},
                        net.fixedDistanceCount, net, platform);
}

InputCheck ReadWeightedDistances(const std::string& box, PlaneNetwork& net, PlatformServices& platform) {
  return ReadSmallTable(box, kWeightedDistancesBox, "带权边长",
                        {net.weightedDistanceFrom, net.weightedDistanceTo, net.weightedDistance,
                         net.weightedDistanceWeight},
                        net.weightedDistanceCount, net, platform);
}

}  // namespace qp
