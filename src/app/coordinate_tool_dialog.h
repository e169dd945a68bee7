// What the dialogs of the coordinate tools (换带计算, 系统转换, 独立坐标)
// share: the window over a tool's form. Every click and choice copies the
// controls into the form, runs the form's action and shows the form again;
// "文件选择" asks for the tool's data file; "退出", Escape and the close box
// ask the form before closing. And their layout: the settings beside a column
// of buttons, two point-list boxes below.
#pragma once

#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QString>
#include <initializer_list>
#include <type_traits>
#include <utility>
#include <vector>

#include "app/file_chooser.h"
#include "app/qt_text.h"
#include "app/rejected_line.h"
#include "app/tool_dialog_support.h"

class QLayout;

namespace qp {

template <typename FormType>
class CoordinateToolDialog : public QDialog {
 public:
  // The viewer a report of the form opened, if any.
  ReportViewer* Reports() const { return platform_.Viewer(); }

  // "退出", Escape and the close box: asks before closing.
  void reject() override {
    if (form_.ConfirmExit(platform_)) QDialog::reject();
  }

 protected:
  // "文件选择" asks `chooseFile` (the file dialog when empty) for `dataFile`.
  // Its button and the file's name are the dialog's first controls.
  CoordinateToolDialog(PlatformServices& platform, FileChooser chooseFile, FileRequest dataFile, QWidget* parent)
      : QDialog(parent),
        platform_(platform, this),
        chooseFile_(std::move(chooseFile)),
        dataFile_(std::move(dataFile)) {
    if (!chooseFile_) chooseFile_ = FileDialogChooser(this);
    fileButton_ = new QPushButton(QStringLiteral("文件选择"), this);
    fileButton_->setObjectName(QStringLiteral("fileButton"));
    fileButton_->setAutoDefault(false);
    fileName_ = new QLineEdit(this);
    fileName_->setObjectName(QStringLiteral("fileNameEdit"));
    fileName_->setReadOnly(true);
    connect(fileButton_, &QPushButton::clicked, this, &CoordinateToolDialog::ChooseFile);
  }

  // Copies the controls into the form.
  void ReadControls() {
    for (const ControlBinding& control : controls_) control.read();
  }
  // Shows the form in the controls.
  virtual void ShowForm() {
    ShowText(fileName_, FromGbk(form_.FileNameText()));
    for (const ControlBinding& control : controls_) control.show();
  }

  // Copies the controls into the form, runs `action` and shows the form again.
  // An action may return the entry it refused, whose line is then selected.
  template <typename Action>
  void Run(Action action) {
    ReadControls();
    const BlankLineRefusal refusal;
    std::optional<RejectedEntry> rejected;
    if constexpr (std::is_void_v<decltype(action())>) {
      action();
    } else {
      rejected = action();
    }
    ShowForm();
    if (const std::optional<RejectedLine> r = LineToSelect(refusal, rejected)) {
      if (r->box >= 0 && r->box < static_cast<int>(pointBoxes_.size())) SelectBoxLine(pointBoxes_[r->box], r->line);
    }
  }

  DialogPlatform platform_;
  FormType form_;
  QPushButton* fileButton_ = nullptr;  // "文件选择"
  QLineEdit* fileName_ = nullptr;      // the chosen file, read-only
  std::vector<ControlBinding> controls_;  // the form's controls, in the order they are shown
  // The point-list boxes as the tool's readers number them: a refused line is
  // selected in its box.
  std::vector<QPlainTextEdit*> pointBoxes_;

 private:
  // "文件选择": the form opens the chosen file or creates it.
  void ChooseFile() {
    const QString path = chooseFile_(dataFile_);
    if (path.isEmpty()) return;
    Run([&] { form_.ChooseFile(path.toStdString(), platform_); });
  }

  FileChooser chooseFile_;
  FileRequest dataFile_;
};

// A point-list box with the caption of its group and its share of the width.
struct CaptionedBox {
  const char* caption;
  QWidget* box;
  int stretch;
};

// Lays a coordinate tool's dialog out: `settings` beside a column of
// `buttons`, and below them `left` and `right` side by side, which take the
// height the dialog gains. The first button is the dialog's default action,
// run by Enter; the others take Enter only when focused.
void LayOutToolDialog(QDialog& dialog, QLayout* settings, std::initializer_list<QPushButton*> buttons,
                      CaptionedBox left, CaptionedBox right);

}  // namespace qp
