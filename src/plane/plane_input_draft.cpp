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
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

#include "common/binary_file.h"
#include "common/numeric_field.h"
#include "plane/plane_form_settings.h"

namespace qp {
namespace {

static_assert(std::endian::native == std::endian::little, "the draft file is little-endian");

constexpr size_t kHeaderSize = 184;
constexpr size_t kCalcModeAt = 4;
constexpr size_t kClosureModeAt = 8;
constexpr size_t kNameAt = 12;
constexpr size_t kNameField = 68;
constexpr size_t kNameBytes = 32;
constexpr size_t kDirectionErrorAt = 80;
constexpr size_t kFixedErrorAt = 88;
constexpr size_t kScaleErrorAt = 96;
constexpr size_t kProjectionHeightAt = 104;
constexpr size_t kYOffsetAt = 112;
constexpr size_t kRefractionAt = 120;
constexpr size_t kAngleKindAt = 128;
constexpr size_t kColumnOrderAt = 132;
constexpr size_t kEndOffsetsAt = 140;
// Far more than ten boxes filled to every table's limit; a larger file is not
// a draft this dialog wrote.
constexpr size_t kMaxDraftSize = 64u << 20;

using Header = std::array<unsigned char, kHeaderSize>;

template <typename T>
void Put(Header& h, size_t at, T value) {
  std::memcpy(h.data() + at, &value, sizeof value);
}

template <typename T>
T Get(std::string_view bytes, size_t at) {
  T value;
  std::memcpy(&value, bytes.data() + at, sizeof value);
  return value;
}

// The name cut to at most `limit` bytes without splitting a double-byte character.
std::string_view CutGbk(std::string_view text, size_t limit) {
  size_t end = 0;
  while (end < text.size()) {
    const size_t width = static_cast<unsigned char>(text[end]) >= 0x81 && end + 1 < text.size() ? 2 : 1;
    if (end + width > limit) break;
    end += width;
  }
  return text.substr(0, end);
}

bool InRange(int32_t index, size_t itemCount) { return index >= 0 && static_cast<size_t>(index) < itemCount; }

}  // namespace

std::string PlaneDraftPath(const std::string& reportPath) {
  return reportPath.substr(0, reportPath.size() < 3 ? 0 : reportPath.size() - 3) + "PTP";
}

bool WritePlaneDraft(const std::string& path, const PlaneInputForm& form) {
  Header header{};
  std::string texts;
  for (int k = 0; k < kPlaneTextBoxCount; ++k) {
    texts += Trim(form.boxes[static_cast<size_t>(k)]);
    texts += "\r\n";
    if (texts.size() > static_cast<size_t>(std::numeric_limits<int32_t>::max())) return false;
    Put(header, kEndOffsetsAt + 4 * static_cast<size_t>(k), static_cast<int32_t>(texts.size()));
  }
  Put(header, kCalcModeAt, static_cast<int32_t>(form.calcMode));
  Put(header, kClosureModeAt, static_cast<int32_t>(form.closureMode));
  const std::string_view name = CutGbk(form.networkName, kNameBytes);
  std::memcpy(header.data() + kNameAt, name.data(), name.size());
  Put(header, kDirectionErrorAt, LeadingNumber(form.directionError));
  Put(header, kFixedErrorAt, LeadingNumber(form.distanceFixedError));
  Put(header, kScaleErrorAt, LeadingNumber(form.distanceScaleError));
  Put(header, kProjectionHeightAt, LeadingNumber(form.projectionHeight));
  Put(header, kYOffsetAt, LeadingNumber(form.yOffset));
  Put(header, kRefractionAt, LeadingNumber(form.refraction));
  Put(header, kAngleKindAt, static_cast<int32_t>(form.verticalAngleKind));
  Put(header, kColumnOrderAt, static_cast<int32_t>(form.distanceColumnOrder));
  const auto* textBytes = reinterpret_cast<const unsigned char*>(texts.data());
  return WriteFileAtomically(path, {std::span<const unsigned char>(header), {textBytes, texts.size()}});
}

bool ReadPlaneDraft(const std::string& path, PlaneInputForm& form) {
  const auto file = ReadFileUpTo(path, kMaxDraftSize);
  if (!file || file->size() < kHeaderSize) return false;
  const std::string_view bytes(*file);

  PlaneSettingValues v;
  v.calcMode = Get<int32_t>(bytes, kCalcModeAt);
  v.closureMode = Get<int32_t>(bytes, kClosureModeAt);
  v.verticalAngleKind = Get<int32_t>(bytes, kAngleKindAt);
  v.distanceColumnOrder = Get<int32_t>(bytes, kColumnOrderAt);
  if (!InRange(v.calcMode, PlaneCalcModeItems().size()) || !InRange(v.closureMode, PlaneClosureModeItems().size()) ||
      !InRange(v.verticalAngleKind, VerticalAngleKindItems().size()) ||
      !InRange(v.distanceColumnOrder, DistanceColumnOrderItems().size())) {
    return false;
  }
  const std::string_view nameField = bytes.substr(kNameAt, kNameField);
  v.networkName = std::string(nameField.substr(0, nameField.find('\0')));
  v.directionError = Get<double>(bytes, kDirectionErrorAt);
  v.distanceFixedError = Get<double>(bytes, kFixedErrorAt);
  v.distanceScaleError = Get<double>(bytes, kScaleErrorAt);
  v.projectionHeight = Get<double>(bytes, kProjectionHeightAt);
  v.yOffset = Get<double>(bytes, kYOffsetAt);
  v.refraction = Get<double>(bytes, kRefractionAt);
  for (double d : {v.directionError, v.distanceFixedError, v.distanceScaleError, v.projectionHeight, v.yOffset,
                   v.refraction}) {
    if (!std::isfinite(d)) return false;
  }

  // The texts follow one another; each ends where the next begins.
  const std::string_view block = bytes.substr(kHeaderSize);
  std::array<std::string, kPlaneTextBoxCount> boxes;
  int64_t start = 0;
  for (size_t k = 0; k < boxes.size(); ++k) {
    const int64_t end = Get<int32_t>(bytes, kEndOffsetsAt + 4 * k);
    if (end < start || end > static_cast<int64_t>(block.size())) return false;
    boxes[k] = std::string(block.substr(static_cast<size_t>(start), static_cast<size_t>(end - start)));
    start = end;
  }

  ShowPlaneSettings(form, v);
  form.boxes = std::move(boxes);
  form.restoredFromDraft = true;
  return true;
}

}  // namespace qp
