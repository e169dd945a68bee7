#include "app/system_transform_dialog.h"

#include <QGridLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include "app/qt_text.h"
#include "app/screen_fit.h"

namespace qp {

CQuorvexSystemTranslate::CQuorvexSystemTranslate(PlatformServices& platform, FileChooser chooseFile, QWidget* parent)
    : CoordinateToolDialog(platform, std::move(chooseFile),
                           MakeFileRequest("坐标转换数据文件", "坐标转换数据文件(*.TRS)|*.TRS||", "TRS",
                                           FileDialogMode::OpenOrNew),
                           parent) {
  setObjectName(QStringLiteral("systemTransformDialog"));
  setWindowTitle(QStringLiteral("坐标系统转换对话框"));
  BuildControls();
  ShowForm();
}

void CQuorvexSystemTranslate::BuildControls() {
  title_ = new QLineEdit(this);
  oldPoints_ = new PointListEdit(this);
  newPoints_ = new PointListEdit(this);
  transform_ = new QPushButton(QStringLiteral("转换"), this);
  exit_ = new QPushButton(QStringLiteral("退出"), this);

  NameControls({{title_, "titleEdit", "输出文本文件标题"},
                {oldPoints_, "oldPointsEdit", "输入旧坐标系统的坐标: <点名,X坐标m,Y坐标m>"},
                {newPoints_, "newPointsEdit", "输入新坐标系统的坐标: <点名,X坐标m,Y坐标m>"},
                {transform_, "transformButton", nullptr},
                {exit_, "exitButton", nullptr},
                {fileButton_, nullptr, "打开或新建坐标转换文件"},
                {fileName_, nullptr, "数据文件名"}});
  controls_ = {Bound(title_, form_.title), Bound(oldPoints_, form_.oldText), Bound(newPoints_, form_.newText)};
  // The lists share their line messages, which name the old list; a blank
  // line may be named in either.
  pointBoxes_ = {oldPoints_, newPoints_};

  auto* top = new QGridLayout;
  top->addWidget(fileButton_, 0, 0);
  top->addWidget(fileName_, 0, 1);
  AddLabelled(top, this, 1, 0, "输出标识", title_);
  top->setColumnStretch(1, 1);
  LayOutToolDialog(*this, top, {transform_, exit_}, {"旧坐标系统坐标", oldPoints_, 1},
                   {"新坐标系统坐标", newPoints_, 1});
  ResizeWithinScreen(*this, QSize(760, 560));

  connect(transform_, &QPushButton::clicked, this,
          [this] { Run([this] { return form_.Execute(platform_).rejected; }); });
  connect(exit_, &QPushButton::clicked, this, &CQuorvexSystemTranslate::reject);
  // Typing without a file clears the boxes, once the edit's own change is
  // finished; the boxes' filling by the dialog is no typing.
  for (PointListEdit* box : {oldPoints_, newPoints_}) {
    connect(box, &QPlainTextEdit::textChanged, this, [this] {
      if (showingForm_ || editPending_ || form_.FileChosen()) return;
      editPending_ = true;
      QTimer::singleShot(0, this, [this] {
        editPending_ = false;
        if (!form_.FileChosen()) Run([this] { form_.PointTextEdited(platform_); });
      });
    });
  }
}

void CQuorvexSystemTranslate::ShowForm() {
  showingForm_ = true;
  CoordinateToolDialog::ShowForm();
  showingForm_ = false;
}

}  // namespace qp
