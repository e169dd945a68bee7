// Reading and writing the tools' data files: each file is the byte image of
// the tool's fixed record, read only when it has exactly the record's length.
#pragma once

#include <cmath>
#include <cstring>
#include <memory>
#include <string>

#include "common/binary_file.h"

namespace qp {

// Reads the file into a scratch copy, lets `accept` check (and tidy) it, and
// only then replaces `record`: a file that is refused changes nothing.
template <typename Record, typename Accept>
bool ReadRecordFile(const std::string& path, Record& record, Accept accept) {
  const auto bytes = ReadFileOfExactSize(path, sizeof(Record));
  if (!bytes) return false;
  auto scratch = std::make_unique<Record>();
  std::memcpy(static_cast<void*>(scratch.get()), bytes->data(), sizeof(Record));
  if (!accept(*scratch)) return false;
  record = *scratch;
  return true;
}

template <typename Record>
bool WriteRecordFile(const std::string& path, const Record& record) {
  return WriteFileAtomically(path, {BytesOf(record)});
}

inline bool AllFinite(const double* values, size_t count) {
  for (size_t i = 0; i < count; ++i) {
    if (!std::isfinite(values[i])) return false;
  }
  return true;
}

// Replaces values that are not finite by 0 (slots no list uses may hold
// anything in a file written elsewhere; they must not be written back so).
inline void ZeroNonFinite(double* values, size_t count) {
  for (size_t i = 0; i < count; ++i) {
    if (!std::isfinite(values[i])) values[i] = 0.0;
  }
}

template <size_t N>
void ZeroNonFinite(double (&values)[N]) {
  ZeroNonFinite(values, N);
}

}  // namespace qp
