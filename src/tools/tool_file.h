// The tools' data files, each the byte image of the tool's fixed record (read
// with ReadRecordFile, written with WriteRecords): creating one, and the file
// choice of a tool's form.
#pragma once

#include <memory>
#include <string>

#include "common/binary_file.h"
#include "common/gbk_text.h"
#include "common/platform_services.h"

namespace qp {

// Writes a new file holding a fresh record (zeroed, then given its defaults
// by `reset` when there is one) and only then replaces `record` with it: a
// file that cannot be written changes nothing.
template <typename Record>
bool CreateRecordFile(const std::string& path, Record& record, void (*reset)(Record&) = nullptr) {
  auto fresh = std::make_unique<Record>();
  if (reset) reset(*fresh);
  if (!WriteRecords(path, *fresh)) return false;
  record = *fresh;
  return true;
}

// "文件选择" of a tool whose form keeps the file chosen before when the user
// declines: loads the file, or asks `question` (UTF-8) whether to create it
// and shows `unwritable` (UTF-8) when it cannot be written. Nothing is
// written to a file the user did not agree to create. A file of the record's
// length that does not load (counts out of range, values that are not
// numbers) is somebody's damaged data, not a missing file: `damaged` (UTF-8)
// is shown and the form keeps its earlier file.
template <typename Form>
void LoadOrCreateOnRequest(Form& form, const std::string& path, size_t fileSize, const char* question,
                           const char* damaged, const char* unwritable, PlatformServices& platform) {
  if (form.LoadFile(path)) return;
  if (IsRegularFileOfSize(path, fileSize)) {
    platform.ShowMessage(Gbk(damaged));
    return;
  }
  if (platform.Ask(Gbk(question), Buttons::YesNo, Answer::Yes) != Answer::Yes) return;
  if (!form.CreateFile(path)) platform.ShowMessage(Gbk(unwritable));
}

}  // namespace qp
