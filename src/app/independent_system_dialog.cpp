#include "app/independent_system_dialog.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "app/qt_text.h"
#include "app/screen_fit.h"
#include "tools/point_list.h"

namespace qp {

CQuorvexIndependant::CQuorvexIndependant(PlatformServices& platform, FileChooser chooseFile, QWidget* parent)
    : CoordinateToolDialog(platform, std::move(chooseFile),
                           MakeFileRequest("独立坐标系统文件", "独立坐标系统(*.SLT)|*.SLT||", "SLT",
                                           FileDialogMode::OpenOrNew),
                           parent) {
  setObjectName(QStringLiteral("independentSystemDialog"));
  setWindowTitle(QStringLiteral("独立坐标系统建立与计算"));
  BuildControls();
  ShowForm();
}

void CQuorvexIndependant::BuildControls() {
  systemName_ = new QLineEdit(this);
  referenceGroup_ = new QGroupBox(QStringLiteral("参考点信息"), this);
  referenceName_ = new QLineEdit(referenceGroup_);
  meridian_ = new QLineEdit(referenceGroup_);
  referenceX_ = new QLineEdit(referenceGroup_);
  referenceY_ = new QLineEdit(referenceGroup_);
  system_ = GbkCombo(referenceGroup_, GeodeticSystemItems());
  height_ = new QLineEdit(referenceGroup_);
  setX_ = new QLineEdit(referenceGroup_);
  setY_ = new QLineEdit(referenceGroup_);
  radius_ = new QLineEdit(this);
  mode_ = GbkCombo(this, IndependentModeItems());
  national_ = new PointListEdit(this);
  independent_ = new PointListEdit(this);
  convert_ = new QPushButton(QStringLiteral("坐标转换"), this);
  viewReport_ = new QPushButton(QStringLiteral("查看文本"), this);
  exit_ = new QPushButton(QStringLiteral("退出"), this);

  SetObjectNames({
      {systemName_, "systemNameEdit"},
      {referenceGroup_, "referenceGroup"}, {referenceName_, "referenceNameEdit"}, {meridian_, "meridianEdit"},
      {referenceX_, "referenceXEdit"},   {referenceY_, "referenceYEdit"}, {system_, "systemCombo"},
      {height_, "heightEdit"},           {setX_, "setXEdit"},             {setY_, "setYEdit"},
      {radius_, "radiusEdit"},           {mode_, "modeCombo"},            {national_, "nationalEdit"},
      {independent_, "independentEdit"}, {convert_, "convertButton"},     {viewReport_, "viewReportButton"},
      {exit_, "exitButton"},
  });
  SetToolTips(IndependentToolTips(), {{"数据文件名", fileName_},
                                      {"坐标系统名称", systemName_},
                                      {"参考点点名", referenceName_},
                                      {"中央子午线", meridian_},
                                      {"参考点X坐标", referenceX_},
                                      {"参考点Y坐标", referenceY_},
                                      {"坐标系统", system_},
                                      {"投影高程面", height_},
                                      {"设定坐标X", setX_},
                                      {"设定坐标Y", setY_},
                                      {"有效半径m", radius_},
                                      {"转换方式", mode_},
                                      {"国家坐标系统坐标", national_},
                                      {"独立坐标系统坐标", independent_},
                                      {"查看文本", viewReport_}});

  // "坐标转换" is the dialog's default action.
  for (QPushButton* b : {viewReport_, exit_}) b->setAutoDefault(false);
  convert_->setDefault(true);

  auto label = [this](const char* caption, QWidget* parent) { return new QLabel(QString::fromUtf8(caption), parent); };
  auto* reference = new QGridLayout(referenceGroup_);
  reference->addWidget(label("参考点点名", referenceGroup_), 0, 0);
  reference->addWidget(referenceName_, 0, 1);
  reference->addWidget(label("中央子午线", referenceGroup_), 0, 2);
  reference->addWidget(meridian_, 0, 3);
  reference->addWidget(label("坐标系统", referenceGroup_), 0, 4);
  reference->addWidget(system_, 0, 5);
  reference->addWidget(label("参考点X坐标", referenceGroup_), 1, 0);
  reference->addWidget(referenceX_, 1, 1);
  reference->addWidget(label("参考点Y坐标", referenceGroup_), 1, 2);
  reference->addWidget(referenceY_, 1, 3);
  reference->addWidget(label("投影高程面", referenceGroup_), 1, 4);
  reference->addWidget(height_, 1, 5);
  reference->addWidget(label("设定坐标X", referenceGroup_), 2, 0);
  reference->addWidget(setX_, 2, 1);
  reference->addWidget(label("设定坐标Y", referenceGroup_), 2, 2);
  reference->addWidget(setY_, 2, 3);
  for (int c : {1, 3, 5}) reference->setColumnStretch(c, 1);

  auto* settings = new QGridLayout;
  settings->addWidget(fileButton_, 0, 0);
  settings->addWidget(fileName_, 0, 1, 1, 3);
  settings->addWidget(label("坐标系统名称", this), 1, 0);
  settings->addWidget(systemName_, 1, 1, 1, 3);
  settings->addWidget(referenceGroup_, 2, 0, 1, 4);
  settings->addWidget(label("有效半径m", this), 3, 0);
  settings->addWidget(radius_, 3, 1);
  settings->addWidget(label("转换方式", this), 3, 2);
  settings->addWidget(mode_, 3, 3);
  settings->setColumnStretch(1, 1);
  settings->setColumnStretch(3, 1);

  LayOutToolDialog(*this, settings, {convert_, viewReport_, exit_}, {"国家坐标系统坐标", national_, 1},
                   {"独立坐标系统坐标", independent_, 1});
  ResizeWithinScreen(*this, QSize(860, 640));

  connect(convert_, &QPushButton::clicked, this, [this] { Run([this] { return form_.Execute(platform_).rejected; }); });
  connect(viewReport_, &QPushButton::clicked, this, [this] { form_.ViewReport(platform_); });
  connect(exit_, &QPushButton::clicked, this, &CQuorvexIndependant::reject);
  connect(mode_, &QComboBox::activated, this, [this](int index) { form_.modeIndex = index; });
}

void CQuorvexIndependant::ReadControls() {
  form_.systemName = ToGbk(systemName_->text());
  form_.referenceName = ToGbk(referenceName_->text());
  form_.meridianText = ToGbk(meridian_->text());
  form_.referenceXText = ToGbk(referenceX_->text());
  form_.referenceYText = ToGbk(referenceY_->text());
  form_.systemIndex = system_->currentIndex();
  form_.heightText = ToGbk(height_->text());
  form_.setXText = ToGbk(setX_->text());
  form_.setYText = ToGbk(setY_->text());
  form_.radiusText = ToGbk(radius_->text());
  form_.modeIndex = mode_->currentIndex();
  form_.nationalText = BoxTextToGbk(national_->toPlainText());
  form_.independentText = BoxTextToGbk(independent_->toPlainText());
}

void CQuorvexIndependant::ShowForm() {
  ShowText(fileName_, FromGbk(form_.FileNameText()));
  ShowText(systemName_, FromGbk(form_.systemName));
  ShowText(referenceName_, FromGbk(form_.referenceName));
  ShowText(meridian_, FromGbk(form_.meridianText));
  ShowText(referenceX_, FromGbk(form_.referenceXText));
  ShowText(referenceY_, FromGbk(form_.referenceYText));
  system_->setCurrentIndex(form_.systemIndex);
  ShowText(height_, FromGbk(form_.heightText));
  ShowText(setX_, FromGbk(form_.setXText));
  ShowText(setY_, FromGbk(form_.setYText));
  ShowText(radius_, FromGbk(form_.radiusText));
  mode_->setCurrentIndex(form_.modeIndex);
  ShowText(national_, BoxTextFromGbk(form_.nationalText));
  ShowText(independent_, BoxTextFromGbk(form_.independentText));

  const IndependentEnabling e = form_.Enabling();
  referenceGroup_->setEnabled(e.referenceGroup);
  systemName_->setEnabled(e.systemName);
  radius_->setEnabled(e.radius);
  national_->setEnabled(e.nationalEdit);
  independent_->setEnabled(e.independentEdit);
  mode_->setEnabled(e.modeCombo);
  viewReport_->setEnabled(e.viewReport);
}

QPlainTextEdit* CQuorvexIndependant::PointBox(int box) const { return box == 0 ? national_ : independent_; }

}  // namespace qp
