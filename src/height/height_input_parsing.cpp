// Reading the height input dialog on confirmation: settings and the five
// tables with their line checks. Line numbers in messages count from 1.
#include <algorithm>
#include <cmath>
#include <optional>

#include "common/format.h"
#include "common/gbk_text.h"
#include "common/name_slot.h"
#include "common/numeric_field.h"
#include "common/table_line_reader.h"
#include "height/height_input_form.h"

namespace qp {
namespace {

// Splits a line into `count` trimmed fields; the last takes the rest of the
// line (extra commas included, which then fail its check). A line of one or
// two bytes, a missing comma or an empty first field make the line malformed.
std::optional<std::vector<std::string>> SplitLine(std::string_view line, int count) {
  if (line.size() <= 2) return std::nullopt;
  std::vector<std::string> fields;
  std::string_view rest = line;
  for (int i = 0; i + 1 < count; ++i) {
    const size_t comma = rest.find(',');
    if (comma == std::string_view::npos) return std::nullopt;
    fields.emplace_back(Trim(rest.substr(0, comma)));
    rest = rest.substr(comma + 1);
  }
  fields.emplace_back(Trim(rest));
  if (fields[0].empty()) return std::nullopt;
  return fields;
}

// Names live in 10-byte slots. The dialog's rule admits up to 14 bytes in the
// height tables, but a longer name cut to its slot could merge two different
// points, so names beyond 10 bytes are refused with the line's name message,
// as in the plane tables.
bool IsHeightName(std::string_view name) { return IsValidPointName(name); }

// Beyond this magnitude (m, km) a number is no survey value; refusing it keeps
// every sum, closure and correction of the network finite.
constexpr double kMaxMagnitude = 1e10;

bool IsNumber(std::string_view field) {
  return !field.empty() && IsNumericField(field) && std::fabs(LeadingNumber(field)) <= kMaxMagnitude;
}

bool IsCoordinate(std::string_view field) { return IsNumber(field) && IsCoordinateInRange(LeadingNumber(field)); }

// Shows a line message (a UTF-8 "...第[%d]行..." format) for the zero-based
// reader line, counted from 1 in the height tables, and refuses the line.
InputCheck Fail(PlatformServices& platform, const char* utf8Format, int readerLine) {
  return FailAtLine(platform, utf8Format, readerLine + 1);
}

// "name,height" lines into the point list from slot `first` on; the
// messages begin with the table's `title`.
InputCheck ReadHeightPoints(const std::string& box, HeightTextBox which, int first, int limit, std::string_view title,
                            int32_t& count, HeightNetwork& net, PlatformServices& platform) {
  auto fail = [&](const char* what, int lineNumber) {
    return Fail(platform, (std::string(title) + what).c_str(), lineNumber);
  };
  return ReadTableLines(box, which, limit, count, [&](std::string_view line, int lineNumber, int entry) {
    const auto fields = SplitLine(line, 2);
    if (!fields) return fail("第[%d]行数据不正确!", lineNumber);
    const auto& f = *fields;
    if (!IsHeightName(f[0])) return fail("第[%d]行起点点名[1--15个字符]不正确!", lineNumber);
    if (!IsNumber(f[1])) return fail("第[%d]行定高程不正确!", lineNumber);
    SetSlotText(net.pointName[first + entry], f[0]);
    net.height[first + entry] = LeadingNumber(f[1]);
    return Accepted();
  });
}

InputCheck ParseKnownHeights(const std::string& box, HeightNetwork& net, PlatformServices& platform) {
  return ReadHeightPoints(box, kHeightKnownBox, 0, HeightCapacityOf(net, kCapacityPoints), "已知点", net.knownCount,
                          net, platform);
}

InputCheck ParseApproximateHeights(const std::string& box, HeightNetwork& net, PlatformServices& platform) {
  const int capacity = HeightCapacityOf(net, kCapacityPoints);
  const int known = BoundedCount(net.knownCount, capacity);
  return ReadHeightPoints(box, kHeightApproxBox, known, capacity - known, "已知概略高程的点", net.approxCount, net,
                          platform);
}

InputCheck ParsePrecisionPairs(const std::string& box, HeightNetwork& net, PlatformServices& platform) {
  const int limit = HeightCapacityOf(net, kCapacityPairs);
  return ReadTableLines(box, kHeightPairsBox, limit, net.pairCount, [&](std::string_view line, int lineNumber, int entry) {
    const auto fields = SplitLine(line, 2);
    if (!fields) return Fail(platform, "精度端点第[%d]行数据不正确!", lineNumber);
    const auto& f = *fields;
    if (!IsValidPointName(f[0])) return Fail(platform, "精度端点第[%d]行起点点名[1--10个字符]不正确!", lineNumber);
    if (!IsValidPointName(f[1])) return Fail(platform, "精度端点第[%d]行终点名[1--10个字符]不正确!", lineNumber);
    if (f[0] == f[1]) return Fail(platform, "精度端点第[%d]行点名相同不正确!", lineNumber);
    SetSlotText(net.pairFrom[entry], f[0]);
    SetSlotText(net.pairTo[entry], f[1]);
    return Accepted();
  });
}

InputCheck ParsePlaneCoordinates(const std::string& box, HeightNetwork& net, PlatformServices& platform) {
  const int limit = HeightCapacityOf(net, kCapacityPoints);
  return ReadTableLines(box, kHeightCoordinatesBox, limit, net.coordinateCount, [&](std::string_view line, int lineNumber, int entry) {
    const auto fields = SplitLine(line, 3);
    if (!fields) return Fail(platform, "已知点坐标第[%d]行数据不正确!", lineNumber);
    const auto& f = *fields;
    if (!IsValidPointName(f[0])) return Fail(platform, "已知点坐标第[%d]行起点点名[1--10个字符]不正确!", lineNumber);
    if (!IsCoordinate(f[1])) return Fail(platform, "已知点坐标第[%d]行X坐标不正确!", lineNumber);
    if (!IsCoordinate(f[2])) return Fail(platform, "已知点坐标第[%d]行Y坐标不正确!", lineNumber);
    SetSlotText(net.coordinateName[entry], f[0]);
    net.coordinateX[entry] = LeadingNumber(f[1]);
    net.coordinateY[entry] = LeadingNumber(f[2]);
    return Accepted();
  });
}

}  // namespace

InputCheck ParseHeightDifferences(const std::string& box, HeightNetwork& net, PlatformServices& platform) {
  const int limit = HeightCapacityOf(net, kCapacityDifferences);
  return ReadTableLines(box, kHeightDifferencesBox, limit, net.observationCount, [&](std::string_view line, int lineNumber, int entry) {
    const auto fields = SplitLine(line, 4);
    if (!fields) return Fail(platform, "高差观测值第[%d]行数据不正确!", lineNumber);
    const auto& f = *fields;
    if (!IsHeightName(f[0])) return Fail(platform, "高差观测值第[%d]行起点点名[1--15个字符]不正确!", lineNumber);
    if (!IsHeightName(f[1])) return Fail(platform, "高差观测值第[%d]行终点点名[1--15个字符]不正确!", lineNumber);
    if (!IsNumber(f[2])) return Fail(platform, "高差观测值第[%d]行高差不正确!", lineNumber);
    // The weight element is a length or a number of set-ups: a negative one
    // would give a negative (or infinite) weight.
    if (!IsNumber(f[3]) || LeadingNumber(f[3]) < 0.0) {
      return Fail(platform, "高差观测值第[%d]行定权元素不正确!", lineNumber);
    }
    SetSlotText(net.from[entry], f[0]);
    SetSlotText(net.to[entry], f[1]);
    net.observed[entry] = LeadingNumber(f[2]);
    net.weightElement[entry] = LeadingNumber(f[3]);
    return Accepted();
  });
}

InputCheck ParseAll(const HeightInputForm& form, HeightNetwork& net, PlatformServices& platform) {
  for (int32_t HeightNetwork::*count :
       {&HeightNetwork::knownCount, &HeightNetwork::approxCount, &HeightNetwork::unknownPointCount,
        &HeightNetwork::pointCount, &HeightNetwork::unknownCount, &HeightNetwork::redundancy, &HeightNetwork::nameCount,
        &HeightNetwork::coordinateCount, &HeightNetwork::observationCount, &HeightNetwork::pairCount}) {
    net.*count = 0;
  }

  net.mode = form.mode == kHeightEstimate ? kHeightEstimate : kHeightAdjust;
  net.kind = form.kind == kTrigonometricNetwork ? kTrigonometricNetwork : kLevellingNetwork;
  const std::string_view name = Trim(form.networkName);
  if (name.size() >= sizeof net.networkName) return Told(platform, RefusedWith(Gbk("控制网名不得大于32个汉字 !")));
  SetSlotText(net.networkName, name);
  const double prior = LeadingNumber(form.priorError);
  net.priorError = prior < 0.001 ? 1.0 : prior;
  // It weighs nothing itself but is printed in an 8-character column.
  if (!FitsPrintedField(net.priorError, 8, 2)) return Told(platform, RefusedWith(SettingOutOfRangeMessage("验前误差")));

  const int names = std::min(static_cast<int>(form.nameList.size()), kMaxHeightPoints);
  for (int i = 0; i < names; ++i) SetSlotText(net.nameList[i], form.nameList[static_cast<size_t>(i)]);
  net.nameCount = names;

  const auto& box = form.boxes;
  CheckChain chain;
  chain(ParseKnownHeights(box[kHeightKnownBox], net, platform)) &&
      chain(ParseApproximateHeights(box[kHeightApproxBox], net, platform)) &&
      chain(ParsePrecisionPairs(box[kHeightPairsBox], net, platform)) &&
      chain(ParseHeightDifferences(box[kHeightDifferencesBox], net, platform)) &&
      chain(ParsePlaneCoordinates(box[kHeightCoordinatesBox], net, platform));
  return chain.Result();
}

}  // namespace qp
