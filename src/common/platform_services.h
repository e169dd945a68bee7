// What the computations need from the world around them: message boxes,
// questions, a beep, the time for report headers, starting another program.
// The desktop application, the command-line driver and the tests each provide
// their own implementation. All texts are GBK.
#pragma once

#include <ctime>
#include <string>
#include <vector>

#include "common/rejected_entry.h"

namespace qp {

// SaveDiscardCancel: "保存" answers Yes, "不保存" No, "取消" Cancel.
enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel, SaveDiscardCancel };
enum class Answer { Ok, Cancel, Yes, No };
enum class Icon { None, Information, Warning, Error, Question };

class PlatformServices {
 public:
  virtual ~PlatformServices() = default;

  // A plain message box with an OK button.
  virtual void ShowMessage(const std::string& text, Icon icon = Icon::None) = 0;

  // A question; `defaultAnswer` is the button that Enter (or a non-interactive
  // caller) picks.
  virtual Answer Ask(const std::string& text, Buttons buttons, Answer defaultAnswer,
                     Icon icon = Icon::Question) = 0;

  virtual void Beep() = 0;

  // The current time used in report headers.
  virtual std::time_t CurrentTime() = 0;

  // Starts a program and does not wait for it. The result may be ignored.
  virtual bool Launch(const std::string& program, const std::vector<std::string>& arguments,
                      const std::string& workingDirectory) = 0;

  // The wait cursor shown while reports and adjustments run.
  virtual void BeginWait() {}
  virtual void EndWait() {}
};

// Shows the wait cursor for the lifetime of the guard.
class WaitCursor {
 public:
  explicit WaitCursor(PlatformServices& platform) : platform_(platform) { platform_.BeginWait(); }
  ~WaitCursor() { platform_.EndWait(); }
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;

 private:
  PlatformServices& platform_;
};

// Yes/No question with a question icon and No as the default button: the
// form every confirmation of the system takes.
inline bool ConfirmYesNoDefaultNo(PlatformServices& platform, const std::string& text) {
  return platform.Ask(text, Buttons::YesNo, Answer::No, Icon::Question) == Answer::Yes;
}

// Shows `text` and answers false: how a step that refuses tells the user why.
inline bool ShowAndFail(PlatformServices& platform, const std::string& text) {
  platform.ShowMessage(text);
  return false;
}

// Shows the messages a check left to its caller, in order, and hands on the
// check with them shown.
inline InputCheck Told(PlatformServices& platform, InputCheck check) {
  for (const std::string& note : check.notes) platform.ShowMessage(note);
  check.notes.clear();
  return check;
}

// Shows `message` (GBK) and refuses line `line` of box `box` with it.
inline InputCheck RejectEntry(PlatformServices& platform, int box, int line, const std::string& message) {
  return Told(platform, RefusedAt(box, line, message));
}

}  // namespace qp
