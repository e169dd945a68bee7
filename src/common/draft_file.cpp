#include "common/draft_file.h"

#include <cstdint>
#include <limits>
#include <vector>

#include "common/binary_file.h"
#include "common/byte_fields.h"
#include "common/numeric_field.h"

namespace qp {

bool WriteDraftFile(const std::string& path, const DraftLayout& layout, std::span<unsigned char> header,
                    std::span<const std::string> texts) {
  std::string block;
  for (size_t k = 0; k < texts.size(); ++k) {
    block += Trim(texts[k]);
    block += "\r\n";
    if (block.size() > static_cast<size_t>(std::numeric_limits<int32_t>::max())) return false;
    PutField(header.data(), layout.endOffsetsAt + 4 * k, static_cast<int32_t>(block.size()));
  }
  const auto* blockBytes = reinterpret_cast<const unsigned char*>(block.data());
  return WriteFileAtomically(path, {std::span<const unsigned char>(header), {blockBytes, block.size()}});
}

std::optional<std::string> ReadDraftFile(const std::string& path, const DraftLayout& layout) {
  auto file = ReadFileUpTo(path, layout.maxFileSize);
  if (!file || file->size() < layout.headerSize) return std::nullopt;
  return file;
}

bool ReadDraftTexts(std::string_view file, const DraftLayout& layout, std::span<std::string> texts) {
  // The texts follow one another; each ends where the next begins.
  const std::string_view block = file.substr(layout.headerSize);
  std::vector<std::string> read(texts.size());
  int64_t start = 0;
  for (size_t k = 0; k < read.size(); ++k) {
    const int64_t end = GetField<int32_t>(file.data(), layout.endOffsetsAt + 4 * k);
    if (end < start || end > static_cast<int64_t>(block.size())) return false;
    read[k] = std::string(block.substr(static_cast<size_t>(start), static_cast<size_t>(end - start)));
    start = end;
  }
  for (size_t k = 0; k < read.size(); ++k) texts[k] = std::move(read[k]);
  return true;
}

}  // namespace qp
