// The distance lines: horizontal distances "from, to, distance" in modes 0-1;
// slope distances with instrument height, target height and vertical angle
// (or zenith distance) in modes 2-4, in one of two column orders.
#include <cfloat>
#include <cmath>

#include "common/name_slot.h"
#include "plane/plane_input_reading.h"
#include "plane/plane_table_lines.h"

namespace qp {
namespace {

// A height is kept in single precision; a value beyond its range is no height.
bool IsHeightField(std::string_view field) {
  return IsValueField(field) && std::fabs(LeadingNumber(field)) <= FLT_MAX;
}

}  // namespace

InputCheck ReadDistanceLines(const std::string& box, PlaneNetwork& net, PlatformServices& platform) {
  const bool slope = IsSlopeMode(net.calcMode);
  const bool angleFirst = net.distanceColumnOrder == 1;
  const bool zenith = net.verticalAngleKind == 1;
  const int limit = PlaneTableLimit(net, kLimitDistanceLines, kMaxDistanceLines);
  return ReadTableLines(box, kDistanceLinesBox, limit, net.distanceLineCount, [&](std::string_view line, int lineNumber, int entry) {
    const auto fields = SplitFields(line, 3);
    if (!fields) return FailAtLine(platform, "边长观测值第[%d]行数据不正确!", lineNumber);
    const std::string& from = (*fields)[0];
    const std::string& to = (*fields)[1];
    std::string distance = (*fields)[2];
    std::string instrument, target, angle;

    if (!slope) {
      if (distance.find(',') != std::string::npos) {
        return FailAtLine(platform, "边长观测值第[%d]行输入不正确或平差计算方式选择不正确!", lineNumber);
      }
    } else {
      const auto rest = SplitFields(distance, 4);
      if (!rest) return FailAtLine(platform, "边长观测值第[%d]行输入不正确!", lineNumber);
      // The columns are checked in the order they stand.
      distance = (*rest)[0];
      angle = (*rest)[angleFirst ? 1 : 3];
      instrument = (*rest)[angleFirst ? 2 : 1];
      target = (*rest)[angleFirst ? 3 : 2];
      if (angleFirst && !IsValueField(angle)) return FailAtLine(platform, "边长观测值第[%d]行竖直角不正确!", lineNumber);
      if (!IsHeightField(instrument)) return FailAtLine(platform, "边长观测值第[%d]行仪器高不正确!", lineNumber);
      if (!IsHeightField(target)) return FailAtLine(platform, "边长观测值第[%d]行目标高不正确!", lineNumber);
      if (!angleFirst && !IsValueField(angle)) return FailAtLine(platform, "边长观测值第[%d]行竖角不正确!", lineNumber);
    }

    if (!IsValidPointName(from)) return FailAtLine(platform, "边长观测值第[%d]行起点点名[1--10个字符]不正确!", lineNumber);
    if (!IsValidPointName(to)) return FailAtLine(platform, "边长观测值第[%d]行终点点名[1--10个字符]不正确!", lineNumber);
    if (!IsValueField(distance)) return FailAtLine(platform, "边长观测值第[%d]行高差不正确!", lineNumber);

    SetSlotText(net.lineFrom[entry], from);
    SetSlotText(net.lineTo[entry], to);
    net.lineDistance[entry] = LeadingNumber(distance);
    net.instrumentHeight[entry] = static_cast<float>(LeadingNumber(instrument));
    net.targetHeight[entry] = static_cast<float>(LeadingNumber(target));
    net.verticalAngle[entry] = LeadingNumber(angle);

    // The angle must describe a sight that can be measured with a distance
    // meter: no steeper than 75 degrees of elevation, no zenith distance
    // below 15 degrees.
    if (slope) {
      const double value = net.verticalAngle[entry];
      if (!zenith && value > 75.0) return FailAtLine(platform, "边长观测值第[%d]行竖角不正确!", lineNumber);
      if (zenith && value < 15.0) return FailAtLine(platform, "边长观测值第[%d]行天顶距不正确!", lineNumber);
    }
    return Accepted();
  });
}

}  // namespace qp
