// Helpers for driving the desktop application's windows in tests: running
// code inside a modal dialog's event loop, filling a dialog from an input text
// file, the steps a user takes in the input dialogs, and a main window over a
// scripted platform.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStringList>
#include <QTimer>
#include <array>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/main_frame.h"
#include "workflow/quorvex_doc.h"
#include "support/scripted_platform.h"
#include "support/test_files.h"

namespace qp::testing {

// Runs `action` once a modal `T` is showing, inside its event loop. Returns a
// flag that tells afterwards whether it ran.
template <typename T>
std::shared_ptr<bool> WhenModalShows(std::function<void(T&)> action) {
  auto ran = std::make_shared<bool>(false);
  auto* timer = new QTimer;
  timer->setInterval(5);
  QObject::connect(timer, &QTimer::timeout, [timer, ran, action] {
    auto* widget = qobject_cast<T*>(QApplication::activeModalWidget());
    if (!widget || !widget->isVisible()) return;
    timer->stop();
    timer->deleteLater();
    *ran = true;
    action(*widget);
  });
  timer->start();
  return ran;
}

template <typename T>
T* Child(QObject& parent, const char* name) {
  T* child = parent.findChild<T*>(QString::fromUtf8(name));
  EXPECT_NE(child, nullptr) << name;
  return child;
}

// A new dialog, shown without an event loop of its own.
template <typename Dialog, typename... Args>
std::unique_ptr<Dialog> ShowNew(Args&&... args) {
  auto dialog = std::make_unique<Dialog>(std::forward<Args>(args)...);
  dialog->show();
  return dialog;
}

// Chooses a combo item as the user would.
void Choose(QComboBox* combo, int index);
void Click(QPushButton* button);
// Clicks the name in `row` of a list.
void ClickRow(QListWidget* list, int row);

// A combo's items, and a form's items (GBK) as a combo shows them.
QStringList ItemsOf(QComboBox* combo);
QStringList Utf8Items(const std::vector<std::string>& gbk);
// The captions of a window's labels and groups.
QStringList Captions(QWidget& window);

// An input dialog's "点名增加&A" with `name` typed into the edit beside it.
void AddName(QWidget& dialog, const char* name);
// "确定" where the input is expected to be taken: a dialog that stays open
// is a failure and is left through the cancel question. True when it closed.
bool ConfirmOrLeave(QDialog& dialog, ScriptedPlatform& platform);
// Leaves an input dialog: the cancel question answered No keeps it open (as
// Escape would ask it), "取消" answered Yes closes it.
void CancelAskingTwice(QDialog& dialog, ScriptedPlatform& platform);

// The boxes of a form read back from its draft or side file: each text as
// typed, an empty one a line end alone.
template <size_t N>
void ExpectBoxesRestored(const std::array<std::string, N>& restored, const std::array<std::string, N>& typed) {
  for (size_t b = 0; b < N; ++b) EXPECT_EQ(restored[b], typed[b].empty() ? "\r\n" : typed[b]) << b;
}

// Drops the file at `path` onto `window` as from a file manager.
void DropFile(QWidget& window, const std::string& path);

// How FillControlsFromInputFile sets a combo: only set (the tool dialogs read
// them when an action runs), or chosen as the user would.
enum class ComboInput { Set, Chosen };

// Fills a dialog's controls from an input text file (the command-line
// driver's format) as if typed: each setting and section goes to the control
// whose object name `controls` gives for its key (a line edit, a combo by
// index or item text, a text box).
void FillControlsFromInputFile(QWidget& dialog, const std::string& path,
                               const std::map<std::string, std::string>& controls,
                               ComboInput combos = ComboInput::Set);

// Fills the plane input dialog from an input text file: every table box
// emptied first, the combos chosen.
void FillPlaneDialogFromInputFile(QWidget& dialog, const std::string& path);

// The text of a box as a form would read it (GBK, CR LF).
std::string BoxGbk(QWidget& dialog, const char* boxName);

// The input dialogs' controls by the input text file's keys and sections,
// for FillControlsFromInputFile.
const std::map<std::string, std::string>& PlaneDialogControls();
const std::map<std::string, std::string>& HeightDialogControls();

// A main window over a document and a scripted platform whose file dialog
// always picks `chosenPath`.
struct MainFrameTest : ::testing::Test {
  TempDir dir;
  ScriptedPlatform platform;
  CQuorvexPDoc doc{SourcePath("docs/help/")};
  std::unique_ptr<CMainFrame> frame;
  std::string chosenPath;

  void SetUp() override;
  void TearDown() override;
};

}  // namespace qp::testing
