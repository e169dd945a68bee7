// Whole-file reads of fixed-size data files and crash-safe writes.
#pragma once

#include <cstddef>
#include <cstring>
#include <memory>
#include <optional>
#include <span>
#include <string_view>
#include <string>
#include <vector>

namespace qp {

// The file's bytes when it can be opened and is exactly `size` bytes long.
std::optional<std::vector<unsigned char>> ReadFileOfExactSize(const std::string& path, size_t size);

// The whole file when it can be opened and holds at most `maxSize` bytes.
std::optional<std::string> ReadFileUpTo(const std::string& path, size_t maxSize);

// Writes the parts one after another into a temporary file beside `path`,
// flushes it and renames it over `path`: a failed write leaves the old file
// as it was and never a half-written one.
bool WriteFileAtomically(const std::string& path, std::initializer_list<std::span<const unsigned char>> parts);
// The same for a text, its bytes as they are.
bool WriteFileAtomically(const std::string& path, std::string_view text);

// Byte view of a plain record.
template <typename T>
std::span<const unsigned char> BytesOf(const T& record) {
  return std::span<const unsigned char>(reinterpret_cast<const unsigned char*>(&record), sizeof(T));
}

// The data files that are byte images of plain records, one after another.
// A file is read only when it has exactly the records' length; a file that
// cannot be read changes none of them.
template <typename... Records>
bool ReadRecords(const std::string& path, Records&... records) {
  const auto bytes = ReadFileOfExactSize(path, (sizeof(Records) + ...));
  if (!bytes) return false;
  size_t at = 0;
  ((std::memcpy(static_cast<void*>(&records), bytes->data() + at, sizeof(Records)), at += sizeof(Records)), ...);
  return true;
}

template <typename... Records>
bool WriteRecords(const std::string& path, const Records&... records) {
  return WriteFileAtomically(path, {BytesOf(records)...});
}

// Reads a one-record file into a scratch copy, lets `accept` check (and tidy)
// it, and only then replaces `record`: a file that is refused changes nothing.
template <typename Record, typename Accept>
bool ReadRecordFile(const std::string& path, Record& record, Accept accept) {
  auto scratch = std::make_unique<Record>();
  if (!ReadRecords(path, *scratch) || !accept(*scratch)) return false;
  record = *scratch;
  return true;
}

bool FileExists(const std::string& path);
// True when `path` is a regular file of exactly `size` bytes.
bool IsRegularFileOfSize(const std::string& path, size_t size);
bool RemoveFileIfExists(const std::string& path);

}  // namespace qp
