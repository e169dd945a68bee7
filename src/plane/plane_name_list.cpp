// The dialog's point-name list: adding names, and clicking a name to copy it
// into a table box or to remove it.
#include <algorithm>

#include "common/gbk_text.h"
#include "common/name_slot.h"
#include "common/numeric_field.h"
#include "common/table_line_reader.h"
#include "plane/plane_input_form.h"

namespace qp {
namespace {

char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// Names compared as the list box finds them: ASCII letters without regard to
// case. The second byte of a double-byte GBK character may look like an ASCII
// letter; it is compared exactly so that two different characters never match.
bool SameNameIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (static_cast<unsigned char>(a[i]) >= 0x81 && i + 1 < a.size()) {
      if (a[i] != b[i] || a[i + 1] != b[i + 1]) return false;
      ++i;
    } else if (AsciiLower(a[i]) != AsciiLower(b[i])) {
      return false;
    }
  }
  return true;
}

// The table box each insert mode of the combo writes into.
constexpr PlaneTextBox kInsertTarget[] = {
    kKnownPointsBox,      kApproxPointsBox,  kPrecisionPairsBox,   kDirectionsBox,        kFixedAzimuthsBox,
    kWeightedAzimuthsBox, kDistanceLinesBox, kFixedDistancesBox, kWeightedDistancesBox, kKnownHeightsBox,
};

}  // namespace

void AddNameToPlaneList(PlaneInputForm& form, PlaneNetwork& net, PlatformServices& platform) {
  const std::string name(Trim(form.newName));
  if (!IsValidPointName(name)) return;
  const bool known = std::any_of(form.nameList.begin(), form.nameList.end(),
                                 [&](const std::string& item) { return SameNameIgnoringCase(item, name); });
  if (known) {
    platform.ShowMessage(Gbk("点名已存在 !"));
    return;
  }
  form.nameList.push_back(name);
  if (net.nameCount >= 0 && net.nameCount < kMaxPlanePoints) {
    SetSlotText(net.nameList[net.nameCount], name);
    ++net.nameCount;
  }
  form.newName.clear();
}

void ClickPlaneNameListItem(PlaneInputForm& form, PlaneNetwork& net, int index) {
  if (index < 0 || static_cast<size_t>(index) >= form.nameList.size()) return;
  if (form.insertMode > kInsertNone && form.insertMode < kInsertDelete) {
    form.boxes[kInsertTarget[form.insertMode - 1]] += form.nameList[static_cast<size_t>(index)] + ",";
    return;
  }
  if (form.insertMode != kInsertDelete || form.nameList.size() <= 1) return;
  form.nameList.erase(form.nameList.begin() + index);
  // The record's list follows the list box.
  const int count = std::min(static_cast<int>(form.nameList.size()), kMaxPlanePoints);
  for (int i = 0; i < count; ++i) SetSlotText(net.nameList[i], form.nameList[static_cast<size_t>(i)]);
  net.nameCount = count;
}

}  // namespace qp
