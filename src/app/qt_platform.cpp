#include "app/qt_platform.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFontMetrics>
#include <QGridLayout>
#include <QMessageBox>
#include <QSpacerItem>
#include <QProcess>
#include <QStringList>
#include <utility>

#include "workflow/document_state.h"
#include "app/qt_text.h"

namespace qp {
namespace {

QMessageBox::Icon ToQtIcon(Icon icon) {
  switch (icon) {
    case Icon::Information:
      return QMessageBox::Information;
    case Icon::Warning:
      return QMessageBox::Warning;
    case Icon::Error:
      return QMessageBox::Critical;
    case Icon::Question:
      return QMessageBox::Question;
    case Icon::None:
      break;
  }
  return QMessageBox::NoIcon;
}

QWidget* DialogParent() {
  if (QWidget* modal = QApplication::activeModalWidget()) return modal;
  return QApplication::activeWindow();
}

// Chinese captions for the standard buttons, whatever translations are installed.
void NameButtons(QMessageBox& box) {
  const std::pair<QMessageBox::StandardButton, const char*> captions[] = {
      {QMessageBox::Yes, "是(&Y)"}, {QMessageBox::No, "否(&N)"}, {QMessageBox::Ok, "确定"}, {QMessageBox::Cancel, "取消"}};
  for (const auto& [button, caption] : captions) {
    if (QAbstractButton* b = box.button(button)) b->setText(QString::fromUtf8(caption));
  }
}

// Room a window manager's title bar takes beside its caption: the icon and
// the minimise, maximise and close buttons.
constexpr int kTitleBarButtonsPx = 160;

// A box at least as wide as its whole title in a title bar's bold face (the
// toolkit sizes a box by its text, and the title bar then cuts the caption).
void KeepTitleWhole(QMessageBox& box) {
  QFont titleFont = QApplication::font();
  titleFont.setBold(true);
  const int width = QFontMetrics(titleFont).horizontalAdvance(box.windowTitle()) * 5 / 4 + kTitleBarButtonsPx;
  if (auto* grid = qobject_cast<QGridLayout*>(box.layout())) {
    grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Fixed, QSizePolicy::Minimum), grid->rowCount(), 0, 1,
                  grid->columnCount());
  }
}

// The answers and the buttons that give them.
constexpr std::pair<Answer, QMessageBox::StandardButton> kAnswerButtons[] = {
    {Answer::Ok, QMessageBox::Ok}, {Answer::Cancel, QMessageBox::Cancel}, {Answer::Yes, QMessageBox::Yes},
    {Answer::No, QMessageBox::No}};

QMessageBox::StandardButton ToQtButton(Answer answer) {
  for (const auto& [given, button] : kAnswerButtons) {
    if (given == answer) return button;
  }
  return QMessageBox::NoButton;
}

}  // namespace

void QtPlatform::ShowMessage(const std::string& text, Icon icon) {
  QMessageBox box(ToQtIcon(icon), FromUtf8(kApplicationName), FromGbk(text), QMessageBox::Ok, DialogParent());
  NameButtons(box);
  KeepTitleWhole(box);
  box.exec();
}

Answer QtPlatform::Ask(const std::string& text, Buttons buttons, Answer defaultAnswer, Icon icon) {
  QMessageBox::StandardButtons shown;
  switch (buttons) {
    case Buttons::Ok:
      shown = QMessageBox::Ok;
      break;
    case Buttons::OkCancel:
      shown = QMessageBox::Ok | QMessageBox::Cancel;
      break;
    case Buttons::YesNo:
      shown = QMessageBox::Yes | QMessageBox::No;
      break;
    case Buttons::YesNoCancel:
    case Buttons::SaveDiscardCancel:
      shown = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
      break;
  }
  QMessageBox box(ToQtIcon(icon), FromUtf8(kApplicationName), FromGbk(text), shown, DialogParent());
  NameButtons(box);
  KeepTitleWhole(box);
  if (buttons == Buttons::SaveDiscardCancel) {
    box.button(QMessageBox::Yes)->setText(QStringLiteral("保存(&S)"));
    box.button(QMessageBox::No)->setText(QStringLiteral("不保存(&N)"));
  }
  box.setDefaultButton(ToQtButton(defaultAnswer));
  if (buttons == Buttons::YesNo) box.setEscapeButton(QMessageBox::No);
  const int pressed = box.exec();
  for (const auto& [answer, button] : kAnswerButtons) {
    if (pressed == button) return answer;
  }
  // Closed without a button: the answer that changes nothing.
  return buttons == Buttons::YesNo ? Answer::No : Answer::Cancel;
}

void QtPlatform::Beep() { QApplication::beep(); }

std::time_t QtPlatform::CurrentTime() { return std::time(nullptr); }

bool QtPlatform::Launch(const std::string& program, const std::vector<std::string>& arguments,
                        const std::string& workingDirectory) {
  QStringList args;
  for (const std::string& a : arguments) args << FromUtf8(a);
  return QProcess::startDetached(FromUtf8(program), args, FromUtf8(workingDirectory));
}

void QtPlatform::BeginWait() { QApplication::setOverrideCursor(Qt::WaitCursor); }

void QtPlatform::EndWait() { QApplication::restoreOverrideCursor(); }

}  // namespace qp
