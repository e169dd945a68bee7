// Reading and writing the tools' data files: each file is the byte image of
// the tool's fixed record, read only when it has exactly the record's length.
#pragma once

#include <cmath>
#include <cstring>
#include <memory>
#include <string>

#include "common/binary_file.h"
#include "common/finite_values.h"
#include "common/gbk_text.h"
#include "common/platform_services.h"

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

// Writes a new file holding a fresh record (zeroed, then given its defaults
// by `reset` when there is one) and only then replaces `record` with it: a
// file that cannot be written changes nothing.
template <typename Record>
bool CreateRecordFile(const std::string& path, Record& record, void (*reset)(Record&) = nullptr) {
  auto fresh = std::make_unique<Record>();
  if (reset) reset(*fresh);
  if (!WriteRecordFile(path, *fresh)) return false;
  record = *fresh;
  return true;
}

// "文件选择" of a tool whose form keeps the file chosen before when the user
// declines: loads the file, or asks `question` (UTF-8) whether to create it
// and shows `unwritable` (UTF-8) when it cannot be written. Nothing is
// written to a file the user did not agree to create.
template <typename Form>
void LoadOrCreateOnRequest(Form& form, const std::string& path, const char* question, const char* unwritable,
                           PlatformServices& platform) {
  if (form.LoadFile(path)) return;
  if (platform.Ask(Gbk(question), Buttons::YesNo, Answer::Yes) != Answer::Yes) return;
  if (!form.CreateFile(path)) platform.ShowMessage(Gbk(unwritable));
}

}  // namespace qp
