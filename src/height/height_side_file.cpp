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
#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

#include "common/binary_file.h"
#include "common/numeric_field.h"
#include "height/height_format.h"
#include "height/height_input_form.h"

namespace qp {
namespace {

static_assert(std::endian::native == std::endian::little, "the side file is little-endian");

constexpr size_t kHeaderSize = 184;
constexpr size_t kModeAt = 4;
constexpr size_t kKindAt = 8;
constexpr size_t kNameAt = 12;
constexpr size_t kNameField = 68;
// The record's name field holds 64 bytes; the side file keeps all of them.
constexpr size_t kNameBytes = 64;
constexpr size_t kPriorErrorAt = 80;
constexpr size_t kEndOffsetsAt = 140;
// Far more than five boxes filled to their capacities.
constexpr size_t kMaxSideFileSize = 16u << 20;

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

// The text cut to at most `limit` bytes without splitting a double-byte character.
std::string_view CutGbk(std::string_view text, size_t limit) {
  size_t end = 0;
  while (end < text.size()) {
    const size_t width = static_cast<unsigned char>(text[end]) >= 0x81 && end + 1 < text.size() ? 2 : 1;
    if (end + width > limit) break;
    end += width;
  }
  return text.substr(0, end);
}

int ComboIndex(int32_t index, size_t itemCount) {
  return index >= 0 && static_cast<size_t>(index) < itemCount ? index : 0;
}

}  // namespace

bool WriteHeightSideFile(const std::string& path, const HeightInputForm& form) {
  Header header{};
  std::string texts;
  for (int k = 0; k < kHeightTextBoxCount; ++k) {
    texts += Trim(form.boxes[static_cast<size_t>(k)]);
    texts += "\r\n";
    if (texts.size() > static_cast<size_t>(std::numeric_limits<int32_t>::max())) return false;
    Put(header, kEndOffsetsAt + 4 * static_cast<size_t>(k), static_cast<int32_t>(texts.size()));
  }
  Put(header, kModeAt, static_cast<int32_t>(form.mode));
  Put(header, kKindAt, static_cast<int32_t>(form.kind));
  const std::string_view name = CutGbk(Trim(form.networkName), kNameBytes);
  std::memcpy(header.data() + kNameAt, name.data(), name.size());
  const double prior = LeadingNumber(form.priorError);
  Put(header, kPriorErrorAt, prior < 0.001 ? 1.0 : prior);
  const auto* textBytes = reinterpret_cast<const unsigned char*>(texts.data());
  return WriteFileAtomically(path, {std::span<const unsigned char>(header), {textBytes, texts.size()}});
}

bool ReadHeightSideFile(const std::string& path, HeightInputForm& form) {
  const auto file = ReadFileUpTo(path, kMaxSideFileSize);
  if (!file || file->size() < kHeaderSize) return false;
  const std::string_view bytes(*file);

  const double prior = Get<double>(bytes, kPriorErrorAt);
  if (!std::isfinite(prior)) return false;
  // The texts follow one another; each ends where the next begins.
  const std::string_view block = bytes.substr(kHeaderSize);
  std::array<std::string, kHeightTextBoxCount> boxes;
  int64_t start = 0;
  for (size_t k = 0; k < boxes.size(); ++k) {
    const int64_t end = Get<int32_t>(bytes, kEndOffsetsAt + 4 * k);
    if (end < start || end > static_cast<int64_t>(block.size())) return false;
    boxes[k] = std::string(block.substr(static_cast<size_t>(start), static_cast<size_t>(end - start)));
    start = end;
  }

  form.mode = ComboIndex(Get<int32_t>(bytes, kModeAt), HeightModeItems().size());
  form.kind = ComboIndex(Get<int32_t>(bytes, kKindAt), HeightKindItems().size());
  const std::string_view nameField = bytes.substr(kNameAt, kNameField);
  form.networkName = std::string(nameField.substr(0, std::min(nameField.find('\0'), kNameBytes)));
  form.priorError = LosslessDecimal(prior, 2);
  form.boxes = std::move(boxes);
  return true;
}

}  // namespace qp
