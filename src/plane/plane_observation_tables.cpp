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

struct ObservationTableText {
  const char* malformed;
  const char* from;
  const char* to;
  const char* value;
  const char* weight;  // null for tables without weights
};

// Where a table's entries go in the record.
struct ObservationColumns {
  NameSlot* from;
  NameSlot* to;
  double* value;
  double* weight;  // null for tables without weights
};

InputCheck ReadObservationTable(const std::string& box, PlaneTextBox which, int limit, const ObservationTableText& text,
                          const ObservationColumns& columns, int32_t& count, PlatformServices& platform) {
  const bool weighted = text.weight != nullptr;
  return ReadTableLines(box, which, limit, count, [&](std::string_view line, int lineNumber, int entry) {
    const auto fields = SplitFields(line, weighted ? 4 : 3);
    if (!fields) return FailAtLine(platform, text.malformed, lineNumber);
    const auto& f = *fields;
    if (!IsValidPointName(f[0])) return FailAtLine(platform, text.from, lineNumber);
    if (!IsValidPointName(f[1])) return FailAtLine(platform, text.to, lineNumber);
    if (!IsValueField(f[2])) return FailAtLine(platform, text.value, lineNumber);
    if (weighted && !IsValueField(f[3])) return FailAtLine(platform, text.weight, lineNumber);
    SetSlotText(columns.from[entry], f[0]);
    SetSlotText(columns.to[entry], f[1]);
    columns.value[entry] = LeadingNumber(f[2]);
    if (weighted) columns.weight[entry] = LeadingNumber(f[3]);
    return Accepted();
  });
}

// A station observed with a single direction gives no angle.
bool CheckStationsHaveTwoDirections(const PlaneNetwork& net, PlatformServices& platform) {
  std::unordered_map<std::string_view, int> linesPerStation;
  for (int i = 0; i < net.directionCount; ++i) ++linesPerStation[SlotText(net.inputStation[i])];
  for (int i = 0; i < net.directionCount; ++i) {
    const std::string_view station = SlotText(net.inputStation[i]);
    if (linesPerStation.find(station)->second < 2) {
      platform.ShowMessage(FormatText("[%s]测站方向观测值只有一次 !", std::string(station).c_str()));
      return false;
    }
  }
  return true;
}

}  // namespace

InputCheck ReadDirections(const std::string& box, PlaneNetwork& net, PlatformServices& platform) {
  static const ObservationTableText kText = {
      "方向观测值第[%d]行数据不正确!",
      "方向观测值第[%d]行起点点名[1--10个字符]不正确!",
      "方向观测值第[%d]行终点点名[1--10个字符]不正确!",
      "方向观测值第[%d]行高差不正确!",
      nullptr,
  };
  const int limit = PlaneTableLimit(net, kLimitDirections, kMaxDirections);
  const ObservationColumns columns = {net.inputStation, net.inputTarget, net.inputDirection, nullptr};
  InputCheck read = ReadObservationTable(box, kDirectionsBox, limit, kText, columns, net.directionCount, platform);
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
  static const ObservationTableText kText = {
      "固定方位角第[%d]行数据不正确!",
      "固定方位角第[%d]行起点点名[1--10个字符]不正确!",
      "固定方位角第[%d]行终点点名[1--10个字符]不正确!",
      "固定方位角第[%d]行高差不正确!",
      nullptr,
  };
  const int limit = PlaneTableLimit(net, kLimitSmallTable, kMaxSmallTable);
  const ObservationColumns columns = {net.fixedAzimuthFrom, net.fixedAzimuthTo, net.fixedAzimuth, nullptr};
  return ReadObservationTable(box, kFixedAzimuthsBox, limit, kText, columns, net.fixedAzimuthCount, platform);
}

InputCheck ReadWeightedAzimuths(const std::string& box, PlaneNetwork& net, PlatformServices& platform) {
  static const ObservationTableText kText = {
      "带权方位角第[%d]行数据不正确!",
      "带权方位角第[%d]行起点点名[1--10个字符]不正确!",
      "带权方位角第[%d]行终点点名[1--10个字符]不正确!",
      "带权方位角第[%d]行高差不正确!",
      "带权方位角第[%d]行定权元素不正确!",
  };
  const int limit = PlaneTableLimit(net, kLimitSmallTable, kMaxSmallTable);
  const ObservationColumns columns = {net.weightedAzimuthFrom, net.weightedAzimuthTo, net.weightedAzimuth,
                                      net.weightedAzimuthWeight};
  return ReadObservationTable(box, kWeightedAzimuthsBox, limit, kText, columns, net.weightedAzimuthCount, platform);
}

InputCheck ReadFixedDistances(const std::string& box, PlaneNetwork& net, PlatformServices& platform) {
  static const ObservationTableText kText = {
      "固定边长第[%d]行数据不正确!",
      "固定边长第[%d]行起点点名[1--10个字符]不正确!",
      "固定边长第[%d]行终点点名[1--10个字符]不正确!",
      "固定边长第[%d]行高差不正确!",
      nullptr,
  };
  const int limit = PlaneTableLimit(net, kLimitSmallTable, kMaxSmallTable);
  const ObservationColumns columns = {net.fixedDistanceFrom, net.fixedDistanceTo, net.fixedDistance, nullptr};
  return ReadObservationTable(box, kFixedDistancesBox, limit, kText, columns, net.fixedDistanceCount, platform);
}

InputCheck ReadWeightedDistances(const std::string& box, PlaneNetwork& net, PlatformServices& platform) {
  static const ObservationTableText kText = {
      "带权边长第[%d]行数据不正确!",
      "带权边长第[%d]行起点点名[1--10个字符]不正确!",
      "带权边长第[%d]行终点点名[1--10个字符]不正确!",
      "带权边长第[%d]行高差不正确!",
      "带权边长第[%d]行定权元素不正确!",
  };
  const int limit = PlaneTableLimit(net, kLimitSmallTable, kMaxSmallTable);
  const ObservationColumns columns = {net.weightedDistanceFrom, net.weightedDistanceTo, net.weightedDistance,
                                      net.weightedDistanceWeight};
  return ReadObservationTable(box, kWeightedDistancesBox, limit, kText, columns, net.weightedDistanceCount, platform);
}

}  // namespace qp
