// The draft file (.PTP) keeps what was typed into the dialog of a network that
// was never computed: a 184-byte header with the settings and the end offset
// of each text, followed by the ten texts.
//
//   0   unused             80  mu (double)              128 vertical-angle kind
//   4   calculation mode   88  a                        132 distance column order
//   8   closure mode       96  b                        136 unused
//   12  name, char[68]     104 projection height        140 int32[10] end offsets
//                          112 Y offset                 180 unused
//                          120 K
#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "common/byte_fields.h"
#include "common/draft_file.h"
#include "common/gbk_text.h"
#include "common/numeric_field.h"
#include "plane/plane_form_settings.h"

namespace qp {
namespace {

constexpr size_t kHeaderSize = 184;
constexpr size_t kCalcModeAt = 4;
constexpr size_t kClosureModeAt = 8;
constexpr size_t kNameAt = 12;
constexpr size_t kNameField = 68;
constexpr size_t kNameBytes = 32;
// The settings kept as doubles: where they stand, their edits and their values.
constexpr struct {
  size_t at;
  std::string PlaneInputForm::*text;
  double PlaneSettingValues::*value;
} kDoubleSettings[] = {
    {80, &PlaneInputForm::directionError, &PlaneSettingValues::directionError},
    {88, &PlaneInputForm::distanceFixedError, &PlaneSettingValues::distanceFixedError},
    {96, &PlaneInputForm::distanceScaleError, &PlaneSettingValues::distanceScaleError},
    {104, &PlaneInputForm::projectionHeight, &PlaneSettingValues::projectionHeight},
    {112, &PlaneInputForm::yOffset, &PlaneSettingValues::yOffset},
    {120, &PlaneInputForm::refraction, &PlaneSettingValues::refraction},
};
constexpr size_t kAngleKindAt = 128;
constexpr size_t kColumnOrderAt = 132;
// Far more than ten boxes filled to every table's limit; a larger file is not
// a draft this dialog wrote.
constexpr DraftLayout kLayout{.headerSize = kHeaderSize, .endOffsetsAt = 140, .maxFileSize = 64u << 20};

using Header = std::array<unsigned char, kHeaderSize>;

bool InRange(int32_t index, size_t itemCount) { return index >= 0 && static_cast<size_t>(index) < itemCount; }

}  // namespace

std::string PlaneDraftPath(const std::string& reportPath) {
  return reportPath.substr(0, reportPath.size() < 3 ? 0 : reportPath.size() - 3) + "PTP";
}

bool WritePlaneDraft(const std::string& path, const PlaneInputForm& form) {
  Header header{};
  PutField(header.data(), kCalcModeAt, static_cast<int32_t>(form.calcMode));
  PutField(header.data(), kClosureModeAt, static_cast<int32_t>(form.closureMode));
  const std::string_view name = CutGbk(form.networkName, kNameBytes);
  std::memcpy(header.data() + kNameAt, name.data(), name.size());
  for (const auto& setting : kDoubleSettings) PutField(header.data(), setting.at, LeadingNumber(form.*setting.text));
  PutField(header.data(), kAngleKindAt, static_cast<int32_t>(form.verticalAngleKind));
  PutField(header.data(), kColumnOrderAt, static_cast<int32_t>(form.distanceColumnOrder));
  return WriteDraftFile(path, kLayout, header, form.boxes);
}

bool ReadPlaneDraft(const std::string& path, PlaneInputForm& form) {
  const auto file = ReadDraftFile(path, kLayout);
  if (!file) return false;
  const char* bytes = file->data();

  PlaneSettingValues v;
  v.calcMode = GetField<int32_t>(bytes, kCalcModeAt);
  v.closureMode = GetField<int32_t>(bytes, kClosureModeAt);
  v.verticalAngleKind = GetField<int32_t>(bytes, kAngleKindAt);
  v.distanceColumnOrder = GetField<int32_t>(bytes, kColumnOrderAt);
  if (!InRange(v.calcMode, PlaneCalcModeItems().size()) || !InRange(v.closureMode, PlaneClosureModeItems().size()) ||
      !InRange(v.verticalAngleKind, VerticalAngleKindItems().size()) ||
      !InRange(v.distanceColumnOrder, DistanceColumnOrderItems().size())) {
    return false;
  }
  const std::string_view nameField = std::string_view(*file).substr(kNameAt, kNameField);
  v.networkName = std::string(nameField.substr(0, nameField.find('\0')));
  for (const auto& setting : kDoubleSettings) {
    v.*setting.value = GetField<double>(bytes, setting.at);
    if (!std::isfinite(v.*setting.value)) return false;
  }

  std::array<std::string, kPlaneTextBoxCount> boxes;
  if (!ReadDraftTexts(*file, kLayout, boxes)) return false;

  ShowPlaneSettings(form, v);
  form.boxes = std::move(boxes);
  form.restoredFromDraft = true;
  return true;
}

}  // namespace qp
