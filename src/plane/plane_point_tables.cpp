// The point tables of the input dialog: known points, points with given
// approximate coordinates, precision end-point pairs and known heights.
#include <algorithm>

#include "common/gbk_text.h"
#include "common/name_slot.h"
#include "plane/plane_input_reading.h"
#include "plane/plane_table_lines.h"

namespace qp {
namespace {

// "name, X, Y" lines into the point table from entry `first` on. X may be
// left blank (read as 0); Y may not. Neither may exceed kLargestSurveyCoordinate.
InputCheck ReadCoordinateTable(const std::string& box, PlaneTextBox which, int first, int limit,
                               std::string_view title, int32_t& count, PlaneNetwork& net, PlatformServices& platform) {
  auto fail = [&](const char* what, int lineNumber) { return FailAtLine(platform, title, what, lineNumber); };
  return ReadTableLines(box, which, limit, count, [&](std::string_view line, int lineNumber, int entry) {
    const auto fields = SplitFields(line, 3);
    if (!fields) return fail("第[%d]行数据不正确!", lineNumber);
    const auto& f = *fields;
    if (!IsValidPointName(f[0])) return fail("第[%d]行起点点名[1--10个字符]不正确!", lineNumber);
    const double x = LeadingNumber(f[1]);
    const double y = LeadingNumber(f[2]);
    if (!IsNumericField(f[1]) || !IsCoordinateInRange(x)) return fail("第[%d]行X坐标不正确!", lineNumber);
    if (!IsValueField(f[2]) || !IsCoordinateInRange(y)) return fail("第[%d]行Y坐标不正确!", lineNumber);
    const int k = first + entry;
    SetSlotText(net.pointName[k], f[0]);
    net.x[k] = x;
    net.y[k] = y;
    return Accepted();
  });
}

// In the slope modes the known points must carry plane coordinates of the
// zone without its number; the national system also needs the 500 km offset.
bool CheckKnownPointsPlausible(const PlaneNetwork& net, PlatformServices& platform) {
  if (!IsSlopeMode(net.calcMode)) return true;
  for (int i = 0; i < net.knownCount; ++i) {
    if (net.y[i] > 1000000.0) return ShowAndFail(platform, Gbk("已知点坐标未去掉带号 !"));
    if (net.calcMode == kNationalSystem && net.y[i] < 100000.0) return ShowAndFail(platform, Gbk("已知点坐标不是国家系统坐标 !"));
  }
  return true;
}

}  // namespace

int PlaneTableLimit(const PlaneNetwork& net, PlaneLimit which, int capacity) {
  return std::clamp(static_cast<int>(net.limits[which]), 0, capacity);
}

InputCheck ReadKnownPoints(const std::string& box, PlaneNetwork& net, PlatformServices& platform) {
  const int limit = PlaneTableLimit(net, kLimitPoints, kMaxPlanePoints);
  InputCheck read = ReadCoordinateTable(box, kKnownPointsBox, 0, limit, "已知点坐标", net.knownCount, net, platform);
  if (!read) return read;
  return {CheckKnownPointsPlausible(net, platform), std::nullopt};
}

InputCheck ReadApproxPoints(const std::string& box, PlaneNetwork& net, PlatformServices& platform) {
  const int known = std::clamp(static_cast<int>(net.knownCount), 0, kMaxPlanePoints);
  const int limit = std::max(0, PlaneTableLimit(net, kLimitPoints, kMaxPlanePoints) - known);
  return ReadCoordinateTable(box, kApproxPointsBox, known, limit, "已知概略点坐标", net.approxCount, net, platform);
}

InputCheck ReadPrecisionPairs(const std::string& box, PlaneNetwork& net, PlatformServices& platform) {
  const int limit = PlaneTableLimit(net, kLimitSmallTable, kMaxSmallTable);
  return ReadTableLines(box, kPrecisionPairsBox, limit, net.precisionPairCount, [&](std::string_view line, int lineNumber, int entry) {
    const auto fields = SplitFields(line, 2);
    if (!fields) return FailAtLine(platform, "精度端点第[%d]行数据不正确!", lineNumber);
    const auto& f = *fields;
    if (!IsValidPointName(f[0]) || !IsValidPointName(f[1])) {
      return FailAtLine(platform, "精度端点第[%d]行点名[1--10个字符]不正确!", lineNumber);
    }
    SetSlotText(net.pairFirst[entry], f[0]);
    SetSlotText(net.pairSecond[entry], f[1]);
    return Accepted();
  });
}

InputCheck ReadKnownHeights(const std::string& box, PlaneNetwork& net, PlatformServices& platform) {
  const int limit = PlaneTableLimit(net, kLimitSmallTable, kMaxSmallTable);
  return ReadTableLines(box, kKnownHeightsBox, limit, net.knownHeightCount, [&](std::string_view line, int lineNumber, int entry) {
    const auto fields = SplitFields(line, 2);
    if (!fields) return FailAtLine(platform, "已知高程第[%d]行数据不正确!", lineNumber);
    const auto& f = *fields;
    if (!IsValidPointName(f[0])) return FailAtLine(platform, "已知高程第[%d]行点名[1--10个字符]不正确!", lineNumber);
    if (!IsValueField(f[1])) return FailAtLine(platform, "已知高程第[%d]行高程值不正确!", lineNumber);
    SetSlotText(net.knownHeightName[entry], f[0]);
    net.knownHeight[entry] = LeadingNumber(f[1]);
    return Accepted();
  });
}

}  // namespace qp
