// The height input dialog's texts, its filling from the record and its
// point-name list.
#include <algorithm>

#include "common/combo_items.h"
#include "common/format.h"
#include "common/gbk_text.h"
#include "common/name_slot.h"
#include "common/numeric_field.h"
#include "common/table_line_reader.h"
#include "height/height_format.h"
#include "height/height_input_form.h"

namespace qp {
namespace {

std::string Name(const HeightNameSlot& slot) { return std::string(SlotText(slot)); }

// Known heights are data and keep every digit; approximate heights are only
// a starting point.
std::string HeightLines(const HeightNetwork& net, int first, int count, bool exact) {
  std::string text;
  for (int i = first; i < first + count; ++i) {
    const std::string value = exact ? LosslessDecimal(net.height[i], 4) : Format("%.4f", net.height[i]);
    text += Name(net.pointName[i]) + "," + value + "\r\n";
  }
  return text;
}

// The table box each insertion mode of the combo writes into.
constexpr HeightTextBox kInsertTarget[] = {
    kHeightKnownBox, kHeightApproxBox, kHeightPairsBox, kHeightDifferencesBox, kHeightCoordinatesBox,
};

}  // namespace

std::string LosslessDecimal(double value, int decimals) {
  for (int d = decimals; d <= 12; ++d) {
    std::string text = Format("%.*f", d, value);
    if (LeadingNumber(text) == value) return text;
  }
  return Format("%.12f", value);
}

const std::vector<std::string>& HeightModeItems() {
  static const auto items = GbkItems({"精度估算", "平差计算"});
  return items;
}

const std::vector<std::string>& HeightKindItems() {
  static const auto items = GbkItems({"水准网", "三角高程网"});
  return items;
}

const std::vector<std::string>& HeightInsertModeItems() {
  static const auto items =
      GbkItems({"不插入", "已知高程点", "概略高程点", "精度端点", "高差观测值", "平面坐标点", "单击删除"});
  return items;
}

std::string HeightSidePath(const std::string& dataPath) {
  return dataPath.substr(0, dataPath.size() < 3 ? 0 : dataPath.size() - 3) + "HTP";
}

void FillHeightFormFromRecord(HeightInputForm& form, const HeightNetwork& net) {
  form.mode = net.mode == kHeightAdjust ? kHeightAdjust : kHeightEstimate;
  form.kind = net.kind == kTrigonometricNetwork ? kTrigonometricNetwork : kLevellingNetwork;
  form.networkName = std::string(SlotText(net.networkName));
  form.priorError = LosslessDecimal(net.priorError, 2);

  auto& box = form.boxes;
  const int known = BoundedCount(net.knownCount, kMaxHeightPoints);
  const int approx = BoundedCount(net.approxCount, kMaxHeightPoints - known);
  box[kHeightKnownBox] = HeightLines(net, 0, known, true);
  box[kHeightApproxBox] = HeightLines(net, known, approx, false);

  std::string& differences = box[kHeightDifferencesBox];
  differences.clear();
  for (int i = 0; i < BoundedCount(net.observationCount, kMaxHeightDifferences); ++i) {
    differences += Name(net.from[i]) + "," + Name(net.to[i]) + "," + LosslessDecimal(net.observed[i], 4) + "," +
                   LosslessDecimal(net.weightElement[i], 2) + "\r\n";
  }

  std::string& pairs = box[kHeightPairsBox];
  pairs.clear();
  for (int i = 0; i < BoundedCount(net.pairCount, kMaxHeightPairs); ++i) {
    pairs += Format("%s,%s\r\n", Name(net.pairFrom[i]).c_str(), Name(net.pairTo[i]).c_str());
  }

  std::string& coordinates = box[kHeightCoordinatesBox];
  coordinates.clear();
  for (int i = 0; i < BoundedCount(net.coordinateCount, kMaxHeightPoints); ++i) {
    coordinates += Format("%s,%11.4f,%11.4f\r\n", Name(net.coordinateName[i]).c_str(), net.coordinateX[i],
                          net.coordinateY[i]);
  }
}

void InitializeHeightForm(HeightInputForm& form, const HeightNetwork& net, const std::string& sidePath) {
  if (net.derivedMarker >= 0 || !ReadHeightSideFile(sidePath, form)) FillHeightFormFromRecord(form, net);
  form.insertMode = kHeightInsertNone;
  form.nameList.clear();
  for (int i = 0; i < BoundedCount(net.nameCount, kMaxHeightPoints); ++i) form.nameList.push_back(Name(net.nameList[i]));
  form.newName.clear();
  form.fileName = std::string(SlotText(net.dataFilePath));
}

void AddNameToHeightList(HeightInputForm& form, HeightNetwork& net, PlatformServices& platform) {
  const std::string name(Trim(form.newName));
  // Only names that fit a point name slot; see the height table readers.
  if (!IsValidPointName(name)) return;
  if (std::find(form.nameList.begin(), form.nameList.end(), name) != form.nameList.end()) {
    platform.ShowMessage(Gbk("点名已存在 !"));
    return;
  }
  form.nameList.push_back(name);
  const int count = BoundedCount(net.nameCount, kMaxHeightPoints);
  if (count < kMaxHeightPoints) {
    SetSlotText(net.nameList[count], name);
    net.nameCount = count + 1;
  }
  form.newName.clear();
}

void ClickHeightNameListItem(HeightInputForm& form, HeightNetwork& net, int index) {
  if (index < 0 || static_cast<size_t>(index) >= form.nameList.size()) return;
  if (form.insertMode > kHeightInsertNone && form.insertMode < kHeightInsertDelete) {
    form.boxes[kInsertTarget[form.insertMode - 1]] += form.nameList[static_cast<size_t>(index)] + ",";
    return;
  }
  if (form.insertMode != kHeightInsertDelete || form.nameList.size() <= 1) return;
  form.nameList.erase(form.nameList.begin() + index);
  const int count = std::min(static_cast<int>(form.nameList.size()), kMaxHeightPoints);
  for (int i = 0; i < count; ++i) SetSlotText(net.nameList[i], form.nameList[static_cast<size_t>(i)]);
  net.nameCount = count;
}

}  // namespace qp
