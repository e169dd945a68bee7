#include "app/zone_transform_dialog.h"

#include <QComboBox>
#include <QGridLayout>
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
  zoneNumber_ = GbkCombo(this, ZoneNumberItems());
  execute_ = new QPushButton(QStringLiteral("换带执行"), this);
  exit_ = new QPushButton(QStringLiteral("退出"), this);
  input_ = new PointListEdit(this);
  output_ = new PointListEdit(this);
  output_->setReadOnly(true);

  NameControls({{system_, "systemCombo", "选择坐标系统"},
                {title_, "titleEdit", "输出数据文件中的标题"},
                {oldMeridian_, "oldMeridianEdit", "输入换带前中央子午线的经度[D.MS]"},
                {newMeridian_, "newMeridianEdit", "输入换带后中央子午线的经度[D.MS]"},
                {display_, "displayCombo", "选择显示输出项目"},
                {zoneNumber_, "zoneNumberCombo", "换带后的Y坐标是否在前面加上3度带或6度带的带号(只用于显示)"},
                {execute_, "executeButton", "执行换带操作"},
                {exit_, "exitButton", nullptr},
                {input_, "inputEdit", "输入换带前坐标:<点名,X坐标m,Y坐标m>"},
                {output_, "outputEdit", "输出换带后的坐标"},
                {fileName_, nullptr, "数据文件名"},
                {fileButton_, nullptr, "打开或新建换带计算数据文件"}});
  controls_ = {Bound(system_, form_.systemIndex),          Bound(title_, form_.title),
               Bound(oldMeridian_, form_.oldMeridianText), Bound(newMeridian_, form_.newMeridianText),
               Bound(display_, form_.displayIndex),        Bound(zoneNumber_, form_.zoneNumberIndex),
               Bound(input_, form_.inputText)};
  pointBoxes_ = {input_};

  auto* settings = new QGridLayout;
  settings->addWidget(fileButton_, 0, 0);
  settings->addWidget(fileName_, 0, 1, 1, 7);
  AddLabelled(settings, this, 1, 0, "系统选择", system_);
  AddLabelled(settings, this, 1, 2, "输出标识", title_, 3);
  AddLabelled(settings, this, 2, 0, "换带前经度", oldMeridian_);
  AddLabelled(settings, this, 2, 2, "换带后经度", newMeridian_);
  AddLabelled(settings, this, 2, 4, "显示选择", display_);
  AddLabelled(settings, this, 2, 6, "输出带号", zoneNumber_);
  for (int c : {1, 3, 5, 7}) settings->setColumnStretch(c, 1);

  LayOutToolDialog(*this, settings, {execute_, exit_}, {"换带前坐标", input_, 2}, {"换带后坐标", output_, 3});
  ResizeWithinScreen(*this, QSize(900, 560));

  connect(execute_, &QPushButton::clicked, this, [this] { Run([this] { return form_.Execute(platform_).rejected; }); });
  connect(exit_, &QPushButton::clicked, this, &CQuorvexGaussCount::reject);
  connect(display_, &QComboBox::activated, this,
          [this](int index) { Run([&] { return form_.SelectDisplay(index, platform_).rejected; }); });
  connect(zoneNumber_, &QComboBox::activated, this, [this] { Run([this] { return form_.Execute(platform_).rejected; }); });
}

void CQuorvexGaussCount::ShowForm() {
  CoordinateToolDialog::ShowForm();
  ShowText(output_, BoxTextFromGbk(form_.OutputText()));
}

}  // namespace qp
