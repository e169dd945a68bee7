#include "app/independent_system_dialog.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
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

  NameControls({{systemName_, "systemNameEdit", "输入独立坐标系统的名称[1,32]"},
                {referenceGroup_, "referenceGroup", nullptr},
                {referenceName_, "referenceNameEdit", "输入参考点的点名[1,20]"},
                {meridian_, "meridianEdit", "输入参考点的中央子午线经度[D.MS]"},
                {referenceX_, "referenceXEdit", "输入参考点国家系统的X坐标m"},
                {referenceY_, "referenceYEdit", "输入参考点国家系统的Y坐标m"},
                {system_, "systemCombo", "选择参考点的国家坐标系统"},
                {height_, "heightEdit", "输入独立坐标系统投影面的高程m"},
                {setX_, "setXEdit", "输入参考点在独立坐标系统的X坐标m"},
                {setY_, "setYEdit", "输入参考点在独立坐标系统的Y坐标m"},
                {radius_, "radiusEdit", "输入转换半径限制m"},
                {mode_, "modeCombo", "选择转换方式"},
                {national_, "nationalEdit", "输入和显示转换后国家系统的转换坐标:<点名,X坐标m,Y坐标m>"},
                {independent_, "independentEdit", "输入和显示转换后独立系统的转换坐标:<点名,X坐标m,Y坐标m>"},
                {convert_, "convertButton", nullptr},
                {viewReport_, "viewReportButton", "显示转换后的文本结果"},
                {exit_, "exitButton", nullptr},
                {fileName_, nullptr, "转换数据文件"}});
  controls_ = {Bound(systemName_, form_.systemName),     Bound(referenceName_, form_.referenceName),
               Bound(meridian_, form_.meridianText),     Bound(referenceX_, form_.referenceXText),
               Bound(referenceY_, form_.referenceYText), Bound(system_, form_.systemIndex),
               Bound(height_, form_.heightText),         Bound(setX_, form_.setXText),
               Bound(setY_, form_.setYText),             Bound(radius_, form_.radiusText),
               Bound(mode_, form_.modeIndex),            Bound(national_, form_.nationalText),
               Bound(independent_, form_.independentText)};
  pointBoxes_ = {national_, independent_};

  auto* reference = new QGridLayout(referenceGroup_);
  AddLabelled(reference, referenceGroup_, 0, 0, "参考点点名", referenceName_);
  AddLabelled(reference, referenceGroup_, 0, 2, "中央子午线", meridian_);
  AddLabelled(reference, referenceGroup_, 0, 4, "坐标系统", system_);
  AddLabelled(reference, referenceGroup_, 1, 0, "参考点X坐标", referenceX_);
  AddLabelled(reference, referenceGroup_, 1, 2, "参考点Y坐标", referenceY_);
  AddLabelled(reference, referenceGroup_, 1, 4, "投影高程面", height_);
  AddLabelled(reference, referenceGroup_, 2, 0, "设定坐标X", setX_);
  AddLabelled(reference, referenceGroup_, 2, 2, "设定坐标Y", setY_);
  for (int c : {1, 3, 5}) reference->setColumnStretch(c, 1);

  auto* settings = new QGridLayout;
  settings->addWidget(fileButton_, 0, 0);
  settings->addWidget(fileName_, 0, 1, 1, 3);
  AddLabelled(settings, this, 1, 0, "坐标系统名称", systemName_, 3);
  settings->addWidget(referenceGroup_, 2, 0, 1, 4);
  AddLabelled(settings, this, 3, 0, "有效半径m", radius_);
  AddLabelled(settings, this, 3, 2, "转换方式", mode_);
  for (int c : {1, 3}) settings->setColumnStretch(c, 1);

  LayOutToolDialog(*this, settings, {convert_, viewReport_, exit_}, {"国家坐标系统坐标", national_, 1},
                   {"独立坐标系统坐标", independent_, 1});
  ResizeWithinScreen(*this, QSize(860, 640));

  connect(convert_, &QPushButton::clicked, this, [this] {
    // The reference point and the converted points live in the data file.
    if (!form_.FileChosen()) {
      platform_.ShowMessage(ToGbk(QStringLiteral("请先用\"文件选择\"打开或新建独立坐标数据文件 !")));
      return;
    }
    Run([this] { return form_.Execute(platform_).rejected; });
  });
  connect(viewReport_, &QPushButton::clicked, this, [this] { form_.ViewReport(platform_); });
  connect(exit_, &QPushButton::clicked, this, &CQuorvexIndependant::reject);
  connect(mode_, &QComboBox::activated, this, [this](int index) { form_.modeIndex = index; });
}

void CQuorvexIndependant::ShowForm() {
  CoordinateToolDialog::ShowForm();
  const IndependentEnabling e = form_.Enabling();
  referenceGroup_->setEnabled(e.referenceGroup);
  systemName_->setEnabled(e.systemName);
  radius_->setEnabled(e.radius);
  national_->setEnabled(e.nationalEdit);
  independent_->setEnabled(e.independentEdit);
  mode_->setEnabled(e.modeCombo);
  viewReport_->setEnabled(e.viewReport);
}

}  // namespace qp
