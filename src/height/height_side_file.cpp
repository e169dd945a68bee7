// The side file (.HTP) keeps what was typed into the dialog of a network
// entered by hand when the dialog is cancelled: a 184-byte header with the
// settings and the end offset of each text, followed by the five texts
// (known heights, approximate heights, precision pairs, plane coordinates,
// height differences), each trimmed and ended with CR LF.
//
//   0   unused                 80  prior error (double, mm)
//   4   mode combo index       88  unused
//   8   kind combo index       140 int32[5] end offsets in the text block
//   12  name, char[68]         160 unused
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "common/byte_fields.h"
#include "common/combo_items.h"
#include "common/draft_file.h"
#include "common/gbk_text.h"
#include "common/numeric_field.h"
#include "height/height_format.h"
#include "height/height_input_form.h"

namespace qp {
namespace {

constexpr size_t kHeaderSize = 184;
constexpr size_t kModeAt = 4;
constexpr size_t kKindAt = 8;
constexpr size_t kNameAt = 12;
constexpr size_t kNameField = 68;
// The record's name field holds 64 bytes; the side file keeps all of them.
constexpr size_t kNameBytes = 64;
constexpr size_t kPriorErrorAt = 80;
// Far more than five boxes filled to their capacities.
constexpr DraftLayout kLayout{.headerSize = kHeaderSize, .endOffsetsAt = 140, .maxFileSize = 16u << 20};

using Header = std::array<unsigned char, kHeaderSize>;

}  // namespace

bool WriteHeightSideFile(const std::string& path, const HeightInputForm& form) {
  Header header{};
  PutField(header.data(), kModeAt, static_cast<int32_t>(form.mode));
  PutField(header.data(), kKindAt, static_cast<int32_t>(form.kind));
  const std::string_view name = CutGbk(Trim(form.networkName), kNameBytes);
  std::memcpy(header.data() + kNameAt, name.data(), name.size());
  const double prior = LeadingNumber(form.priorError);
  PutField(header.data(), kPriorErrorAt, prior < 0.001 ? 1.0 : prior);
  return WriteDraftFile(path, kLayout, header, form.boxes);
}

bool ReadHeightSideFile(const std::string& path, HeightInputForm& form) {
  const auto file = ReadDraftFile(path, kLayout);
  if (!file) return false;
  const std::string_view bytes(*file);

  const double prior = GetField<double>(bytes.data(), kPriorErrorAt);
  if (!std::isfinite(prior)) return false;
  std::array<std::string, kHeightTextBoxCount> boxes;
  if (!ReadDraftTexts(bytes, kLayout, boxes)) return false;

  form.mode = ComboIndex(GetField<int32_t>(bytes.data(), kModeAt), HeightModeItems().size());
  form.kind = ComboIndex(GetField<int32_t>(bytes.data(), kKindAt), HeightKindItems().size());
  const std::string_view nameField = bytes.substr(kNameAt, kNameField);
  form.networkName = std::string(nameField.substr(0, std::min(nameField.find('\0'), kNameBytes)));
  form.priorError = LosslessDecimal(prior, 2);
  form.boxes = std::move(boxes);
  return true;
}

}  // namespace qp
