// Whole-file reads of fixed-size data files and crash-safe writes.
#pragma once

#include <cstddef>
#include <optional>
#include <span>
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

// Byte view of a plain record.
template <typename T>
std::span<const unsigned char> BytesOf(const T& record) {
  return std::span<const unsigned char>(reinterpret_cast<const unsigned char*>(&record), sizeof(T));
}

bool FileExists(const std::string& path);
bool RemoveFileIfExists(const std::string& path);

}  // namespace qp
