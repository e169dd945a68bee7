#include "app/zone_transform_dialog.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "app/qt_text.h"
#include "app/screen_fit.h"
#include "tools/point_list.h"

namespace qp {

CQuorvexGaussCount::CQuorvexGaussCount(PlatformServices& platform, FileChooser chooseFile, QWidget* parent)
    : CoordinateToolDialog(
          platform, std::move(chooseFile),
          MakeFileRequest("换带数据文件", "换带数据文件(*.GST)|*.GST||", "GST", FileDialogMode::OpenOrNew), parent) {
  setObjectName(QStringLiteral("zoneTransformDialog"));
  setWindowTitle(QStringLiteral("坐标换带计算"));
  BuildControls();
  ShowForm();
}

void CQuorvexGaussCount::BuildControls() {
  system_ = GbkCombo(this, GeodeticSystemItems());
  title_ = new QLineEdit(this);
  oldMeridian_ = new QLineEdit(this);
  newMeridian_ = new QLineEdit(this);
  display_ = GbkCombo(this, ZoneDisplayItems());
  execute_ = new QPushButton(QStringLiteral("换带执行"), this);
  exit_ = new QPushButton(QStringLiteral("退出"), this);
  input_ = new PointListEdit(this);
  output_ = new PointListEdit(this);
  output_->setReadOnly(true);

  SetObjectNames({
      {system_, "systemCombo"},          {title_, "titleEdit"},      {oldMeridian_, "oldMeridianEdit"},
      {newMeridian_, "newMeridianEdit"}, {display_, "displayCombo"}, {execute_, "executeButton"},
      {exit_, "exitButton"},             {input_, "inputEdit"},      {output_, "outputEdit"},
  });
  SetToolTips(ZoneToolTips(), {{"系统选择", system_},
                               {"换带前经度", oldMeridian_},
                               {"换带后经度", newMeridian_},
                               {"换带前坐标", input_},
                               {"换带后坐标", output_},
                               {"数据文件名", fileName_},
                               {"输出标识", title_},
                               {"文件选择", fileButton_},
                               {"换带执行", execute_},
                               {"显示选择", display_}});

  // Enter runs the transformation; the other buttons take it only when focused.
  exit_->setAutoDefault(false);
  execute_->setDefault(true);

  auto* settings = new QGridLayout;
  settings->addWidget(fileButton_, 0, 0);
  settings->addWidget(fileName_, 0, 1, 1, 5);
  settings->addWidget(new QLabel(QStringLiteral("系统选择"), this), 1, 0);
  settings->addWidget(system_, 1, 1);
  settings->addWidget(new QLabel(QStringLiteral("输出标识"), this), 1, 2);
  settings->addWidget(title_, 1, 3, 1, 3);
  settings->addWidget(new QLabel(QStringLiteral("换带前经度"), this), 2, 0);
  settings->addWidget(oldMeridian_, 2, 1);
  settings->addWidget(new QLabel(QStringLiteral("换带后经度"), this), 2, 2);
  settings->addWidget(newMeridian_, 2, 3);
  settings->addWidget(new QLabel(QStringLiteral("显示选择"), this), 2, 4);
  settings->addWidget(display_, 2, 5);
  settings->setColumnStretch(1, 1);
  settings->setColumnStretch(3, 1);
  settings->setColumnStretch(5, 1);

  LayOutToolDialog(*this, settings, {execute_, exit_}, {"换带前坐标", input_, 2}, {"换带后坐标", output_, 3});
  ResizeWithinScreen(*this, QSize(900, 560));

  connect(execute_, &QPushButton::clicked, this, [this] { Run([this] { return form_.Execute(platform_).rejected; }); });
  connect(exit_, &QPushButton::clicked, this, &CQuorvexGaussCount::reject);
  connect(display_, &QComboBox::activated, this,
          [this](int index) { Run([&] { return form_.SelectDisplay(index, platform_).rejected; }); });
}

void CQuorvexGaussCount::ReadControls() {
  form_.systemIndex = system_->currentIndex();
  form_.title = ToGbk(title_->text());
  form_.oldMeridianText = ToGbk(oldMeridian_->text());
  form_.newMeridianText = ToGbk(newMeridian_->text());
  form_.displayIndex = display_->currentIndex();
  form_.inputText = BoxTextToGbk(input_->toPlainText());
}

void CQuorvexGaussCount::ShowForm() {
  ShowText(fileName_, FromGbk(form_.FileNameText()));
  system_->setCurrentIndex(form_.systemIndex);
  ShowText(title_, FromGbk(form_.title));
  ShowText(oldMeridian_, FromGbk(form_.oldMeridianText));
  ShowText(newMeridian_, FromGbk(form_.newMeridianText));
  display_->setCurrentIndex(form_.displayIndex);
  ShowText(input_, BoxTextFromGbk(form_.inputText));
  ShowText(output_, BoxTextFromGbk(form_.OutputText()));
}

QPlainTextEdit* CQuorvexGaussCount::PointBox(int box) const { return box == 0 ? input_ : nullptr; }

}  // namespace qp
