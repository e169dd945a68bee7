// Helpers for driving the desktop application's windows in tests: running
// code inside a modal dialog's event loop, filling the plane input dialog
// from an input text file, and a main window over a scripted platform.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "app/main_frame.h"
#include "app/plane_input_dialog.h"
#include "app/quorvex_doc.h"
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

// Chooses a combo item as the user would.
void Choose(QComboBox* combo, int index);
void Click(QPushButton* button);

// Fills the dialog's settings and text boxes from an input text file (the
// command-line driver's format), as if typed.
void FillFromInputFile(CQuorDisgnContrloPlane& dialog, const std::string& path);

// Fills a tool dialog's controls from an input text file as if typed: each
// setting and section goes to the control whose object name `controls` gives
// for its key (a line edit, a combo by index or item text, a text box). Combos
// are only set, not activated: the dialogs read them when an action runs.
void FillControlsFromInputFile(QWidget& dialog, const std::string& path,
                               const std::map<std::string, std::string>& controls);

// The text of a box as a form would read it (GBK, CR LF).
std::string BoxGbk(CQuorDisgnContrloPlane& dialog, const char* boxName);

// The height input dialog's controls by the input text file's keys and
// sections, for FillControlsFromInputFile.
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
