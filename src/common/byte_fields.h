// Fields of byte records at fixed offsets (file headers, tables kept inside a
// record), copied byte by byte so that no offset needs to be aligned. The data
// files are little-endian, as is every machine the program runs on.
#pragma once

#include <bit>
#include <cstddef>
#include <cstring>
#include <type_traits>

namespace qp {

static_assert(std::endian::native == std::endian::little, "the data files are little-endian");

// Stores `value` at byte offset `at` of the record.
template <typename T>
void PutField(void* record, size_t at, const T& value) {
  static_assert(std::is_trivially_copyable_v<T>);
  std::memcpy(static_cast<unsigned char*>(record) + at, &value, sizeof value);
}

// The value stored at byte offset `at` of the record.
template <typename T>
T GetField(const void* record, size_t at) {
  static_assert(std::is_trivially_copyable_v<T>);
  T value;
  std::memcpy(&value, static_cast<const unsigned char*>(record) + at, sizeof value);
  return value;
}

}  // namespace qp
