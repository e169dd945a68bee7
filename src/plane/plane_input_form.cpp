// The plane input dialog's texts and its filling from the record.
#include "common/combo_items.h"
#include "common/format.h"
#include "common/gbk_text.h"
#include "common/name_slot.h"
#include "plane/plane_form_settings.h"

namespace qp {
namespace {

std::string Name(const char (&slot)[kNameSlotSize]) { return std::string(SlotText(slot)); }

// The lines of a table of `count` entries, `line(i)` giving entry i's.
template <typename Line>
std::string TableText(int count, Line&& line) {
  std::string text;
  for (int i = 0; i < count; ++i) text += line(i);
  return text;
}

// The point table entries first .. first+count-1 as "name,X,Y" lines.
std::string CoordinateLines(const PlaneNetwork& net, int first, int count) {
  return TableText(count, [&](int i) {
    return Format("%s,%.4f,%.4f\r\n", Name(net.pointName[first + i]).c_str(), net.x[first + i], net.y[first + i]);
  });
}

// "from,to,value" lines, the value with `decimals` decimals, and ",weight"
// in a table with weights.
std::string MeasureLines(int count, const NameSlot* from, const NameSlot* to, const double* value,
                         const double* weight, int decimals) {
  return TableText(count, [&](int i) {
    std::string line = Format("%s,%s,%.*f", Name(from[i]).c_str(), Name(to[i]).c_str(), decimals, value[i]);
    if (weight) line += Format(",%.2f", weight[i]);
    return line + "\r\n";
  });
}

void FillTablesFromRecord(PlaneInputForm& form, const PlaneNetwork& net) {
  auto& box = form.boxes;
  const int known = ClampedCount(net.knownCount, kMaxPlanePoints);
  const int approx = ClampedCount(net.approxCount, kMaxPlanePoints - known);
  box[kKnownPointsBox] = CoordinateLines(net, 0, known);
  box[kApproxPointsBox] = CoordinateLines(net, known, approx);
  box[kKnownHeightsBox] = TableText(ClampedCount(net.knownHeightCount, kMaxSmallTable), [&](int i) {
    return Format("%s,%.4f\r\n", Name(net.knownHeightName[i]).c_str(), net.knownHeight[i]);
  });
  box[kPrecisionPairsBox] = TableText(ClampedCount(net.precisionPairCount, kMaxSmallTable), [&](int i) {
    return Format("%s,%s\r\n", Name(net.pairFirst[i]).c_str(), Name(net.pairSecond[i]).c_str());
  });
  box[kDirectionsBox] = MeasureLines(ClampedCount(net.directionCount, kMaxDirections), net.inputStation,
                                     net.inputTarget, net.inputDirection, nullptr, 6);
  box[kFixedAzimuthsBox] = MeasureLines(ClampedCount(net.fixedAzimuthCount, kMaxSmallTable), net.fixedAzimuthFrom,
                                        net.fixedAzimuthTo, net.fixedAzimuth, nullptr, 6);
  box[kWeightedAzimuthsBox] = MeasureLines(ClampedCount(net.weightedAzimuthCount, kMaxSmallTable),
                                           net.weightedAzimuthFrom, net.weightedAzimuthTo, net.weightedAzimuth,
                                           net.weightedAzimuthWeight, 6);
  box[kFixedDistancesBox] = MeasureLines(ClampedCount(net.fixedDistanceCount, kMaxSmallTable), net.fixedDistanceFrom,
                                         net.fixedDistanceTo, net.fixedDistance, nullptr, 4);
  box[kWeightedDistancesBox] =
      MeasureLines(ClampedCount(net.weightedDistanceCount, kMaxSmallTable), net.weightedDistanceFrom,
                   net.weightedDistanceTo, net.weightedDistance, net.weightedDistanceWeight, 4);

  const bool slope = IsSlopeMode(net.calcMode);
  box[kDistanceLinesBox] = TableText(ClampedCount(net.distanceLineCount, kMaxDistanceLines), [&](int i) {
    const std::string from = Name(net.lineFrom[i]);
    const std::string to = Name(net.lineTo[i]);
    const double ih = net.instrumentHeight[i];
    const double th = net.targetHeight[i];
    if (!slope) return Format("%s,%s,%.4f\r\n", from.c_str(), to.c_str(), net.lineDistance[i]);
    if (net.distanceColumnOrder == 1) {
      return Format("%s,%s,%.4f,%.5f,%.3f,%.3f\r\n", from.c_str(), to.c_str(), net.lineDistance[i],
                    net.verticalAngle[i], ih, th);
    }
    return Format("%s,%s,%.4f,%.3f,%.3f,%.5f\r\n", from.c_str(), to.c_str(), net.lineDistance[i], ih, th,
                  net.verticalAngle[i]);
  });
}

PlaneSettingValues SettingsOfRecord(const PlaneNetwork& net) {
  PlaneSettingValues v;
  v.calcMode = net.calcMode;
  v.closureMode = net.closureMode;
  v.networkName = std::string(SlotText(net.networkName));
  v.directionError = net.directionError;
  v.distanceFixedError = net.distanceFixedError;
  v.distanceScaleError = net.distanceScaleError;
  v.refraction = net.refraction;
  v.yOffset = net.yOffset;
  v.projectionHeight = net.projectionHeight;
  v.verticalAngleKind = net.verticalAngleKind;
  v.distanceColumnOrder = net.distanceColumnOrder;
  return v;
}

}  // namespace

const std::vector<std::string>& PlaneCalcModeItems() {
  static const auto items = GbkItems(
      {"0精度估算", "1平差(观测值已归算)", "2平差(斜距改平)", "3平差(斜距改平改正)", "4平差(改平改正改化)"});
  return items;
}

const std::vector<std::string>& PlaneClosureModeItems() {
  static const auto items = GbkItems({"0不计算闭合差", "1计算闭合差", "2计算闭合差粗差检验"});
  return items;
}

const std::vector<std::string>& VerticalAngleKindItems() {
  static const auto items = GbkItems({"竖直角", "天顶距"});
  return items;
}

const std::vector<std::string>& DistanceColumnOrderItems() {
  static const auto items =
      GbkItems({"起点,终点,边长值,仪器高,目标高,<竖角>", "起点,终点,边长值,<竖角>,仪器高,目标高"});
  return items;
}

const std::vector<std::string>& PlaneInsertModeItems() {
  static const auto items = GbkItems({"不插入", "已知点", "概略坐标点", "精度端点", "方向观测值", "固定方位角",
                                      "加权方位角", "边长观测值", "固定边长", "加权边长", "已知高程点", "单击删除"});
  return items;
}

PlaneFormEnabling PlaneFormEnablingFor(int calcMode, bool restoredFromDraft) {
  PlaneFormEnabling e;
  const bool slope = IsSlopeMode(calcMode);
  e.refraction = slope;
  e.knownHeights = slope;
  e.verticalAngleKind = slope;
  e.distanceColumnOrder = slope;
  // Mode 4 works with the national-system values, which the user cannot change.
  const bool ownProjection =
      calcMode == kSlopeReducedProjected || (restoredFromDraft && calcMode == kSlopeReduced);
  e.yOffset = ownProjection;
  e.projectionHeight = ownProjection;
  return e;
}

void ShowPlaneSettings(PlaneInputForm& form, const PlaneSettingValues& v) {
  form.calcMode = ComboIndex(v.calcMode, PlaneCalcModeItems().size());
  form.closureMode = ComboIndex(v.closureMode, PlaneClosureModeItems().size());
  form.networkName = v.networkName;
  form.directionError = Format("%.2f", v.directionError);
  form.distanceFixedError = Format("%.1f", v.distanceFixedError);
  form.distanceScaleError = Format("%.1f", v.distanceScaleError);
  form.refraction = Format("%.2f", v.refraction);
  const bool national = form.calcMode == kNationalSystem;
  form.yOffset = Format("%.3f", national ? 500000.0 : v.yOffset);
  form.projectionHeight = Format("%.3f", national ? 0.0 : v.projectionHeight);
  form.verticalAngleKind = ComboIndex(v.verticalAngleKind, VerticalAngleKindItems().size());
  form.distanceColumnOrder = ComboIndex(v.distanceColumnOrder, DistanceColumnOrderItems().size());
}

void FillPlaneFormFromRecord(PlaneInputForm& form, const PlaneNetwork& net) {
  ShowPlaneSettings(form, SettingsOfRecord(net));
  FillTablesFromRecord(form, net);
  form.restoredFromDraft = false;
}

void InitializePlaneForm(PlaneInputForm& form, const PlaneNetwork& net, const std::string& draftPath) {
  if (net.lastComputedPointCount >= 0) {
    FillPlaneFormFromRecord(form, net);
  } else if (!ReadPlaneDraft(draftPath, form)) {
    ShowPlaneSettings(form, SettingsOfRecord(net));
    for (auto& box : form.boxes) box.clear();
    form.restoredFromDraft = false;
  }
  form.insertMode = kInsertNone;
  form.nameList.clear();
  for (int i = 0; i < ClampedCount(net.nameCount, kMaxPlanePoints); ++i) form.nameList.push_back(Name(net.nameList[i]));
  form.fileName = std::string(SlotText(net.dataFilePath));
}

void SelectPlaneCalcMode(PlaneInputForm& form, PlaneNetwork& net, int calcMode) {
  if (calcMode < 0 || static_cast<size_t>(calcMode) >= PlaneCalcModeItems().size()) return;
  form.calcMode = calcMode;
  net.calcMode = calcMode;
}

}  // namespace qp
