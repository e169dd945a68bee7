// The tools' data files, each the byte image of the tool's fixed record (read
// with ReadRecordFile, written with WriteRecords): creating one, the file
// choice of a tool's form, and what every tool's form keeps of its file.
#pragma once

#include <memory>
#include <string>

#include "common/binary_file.h"
#include "common/format.h"
#include "common/gbk_text.h"
#include "common/name_slot.h"
#include "common/platform_services.h"
#include "common/report_file.h"
#include "tools/point_list.h"

namespace qp {

// "文件选择" of a tool whose form keeps the file chosen before when the user
// declines: loads the file, or asks `question` (UTF-8) whether to create it
// and shows `unwritable` (UTF-8) when it cannot be written. Nothing is
// written to a file the user did not agree to create. A file of the record's
// length that does not load (counts out of range, values that are not
// numbers) is somebody's damaged data, not a missing file: `damaged` (UTF-8)
// is shown and the form keeps its earlier file.
template <typename Form>
void LoadOrCreateOnRequest(Form& form, const std::string& path, const char* question, const char* damaged,
                           const char* unwritable, PlatformServices& platform) {
  if (form.LoadFile(path)) return;
  if (IsRegularFileOfSize(path, sizeof(form.Record()))) {
    platform.ShowMessage(Gbk(damaged));
    return;
  }
  if (platform.Ask(Gbk(question), Buttons::YesNo, Answer::Yes) != Answer::Yes) return;
  if (!form.CreateFile(path)) platform.ShowMessage(Gbk(unwritable));
}

// Shows the failure message (GBK) a tool's computation returned; true when
// there was one.
inline bool ShowIfFailed(const std::string& failure, PlatformServices& platform) {
  if (failure.empty()) return false;
  platform.ShowMessage(failure);
  return true;
}

// The data file a coordinate tool's form works on: its path and the report
// beside it. Nothing is chosen until Use; a default-constructed one gives a
// file up.
struct ChosenToolFile {
  std::string dataPath;
  std::string reportPath;
  bool chosen = false;

  void Use(const std::string& path) {
    dataPath = path;
    reportPath = ReportPathFor(path);
    chosen = true;
  }
};

// What the tools' forms share: the record that is a form's whole state and
// its file's byte image, the file it came from, and the steps every form
// takes with them.
template <typename Image>
class ToolForm {
 public:
  // The name the file-name edit shows (GBK).
  std::string FileNameText() const { return file_.chosen ? Utf8ToGbk(file_.dataPath) : std::string(); }
  bool FileChosen() const { return file_.chosen; }
  const std::string& DataPath() const { return file_.dataPath; }
  const std::string& ReportPath() const { return file_.reportPath; }
  const Image& Record() const { return *record_; }

  // "退出" and Esc: true when the dialog may close.
  bool ConfirmExit(PlatformServices& platform) { return ConfirmYesNoDefaultNo(platform, Gbk("请确认退出 ...")); }

 protected:
  ToolForm() : record_(std::make_unique<Image>()) {}

  // The record of the file at `path` when `accept` takes it, or that of a
  // new file written there; the file is the form's from then on. False, and
  // nothing changes, when the file does not load or cannot be written.
  bool LoadRecord(const std::string& path, bool (*accept)(Image&)) {
    if (!ReadRecordFile(path, *record_, accept)) return false;
    file_.Use(path);
    return true;
  }
  // A new file holds a fresh record (zeroed, then given its defaults by
  // `reset` when there is one), and only then does the record become it: a
  // file that cannot be written changes nothing.
  bool CreateRecord(const std::string& path, void (*reset)(Image&) = nullptr) {
    auto fresh = std::make_unique<Image>();
    if (reset) reset(*fresh);
    if (!WriteRecords(path, *fresh)) return false;
    *record_ = *fresh;
    file_.Use(path);
    return true;
  }

  // The title edit into the record's title; longer than 32 bytes it is
  // refused with its message.
  static bool ReadTitle(const std::string& text, char (&slot)[72], PlatformServices& platform) {
    if (text.size() > 32) return ShowAndFail(platform, Gbk("标题字符数超过了32 !"));
    SetSlotText(slot, text);
    return true;
  }

  // Writes the record to the chosen file; shows `unwritable` (UTF-8) when
  // it cannot.
  bool SaveRecord(const char* unwritable, PlatformServices& platform) const {
    return WriteRecords(file_.dataPath, *record_) || ShowAndFail(platform, Gbk(unwritable));
  }

  // Asks "`done` (UTF-8), the report's path, 查看转换结果 ?" and shows the
  // report on Yes.
  void OfferReport(const char* done, PlatformServices& platform) const {
    if (ConfirmYesNoDefaultNo(platform, Gbk(done) + FormatText("\r\n%s\r\n\r\n查看转换结果 ?",
                                                               Utf8ToGbk(file_.reportPath).c_str()))) {
      OpenInTextEditor(platform, file_.reportPath);
    }
  }

  std::unique_ptr<Image> record_;
  ChosenToolFile file_;
};

}  // namespace qp
