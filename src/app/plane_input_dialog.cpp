#include "app/plane_input_dialog.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>
#include <span>

#include "app/qt_text.h"
#include "app/table_edit.h"
#include "app/tool_dialog_support.h"

namespace qp {
namespace {

struct BoxInfo {
  PlaneTextBox box;
  const char* objectName;
  const char* caption;
  const char* tip;
};

// The ten boxes in the three groups, as the dialog lays them out.
const BoxInfo kPointBoxes[] = {
    {kKnownPointsBox, "knownPointsBox", "已知点", "输入已知点:<点名,X坐标m,Y坐标m>"},
    {kApproxPointsBox, "approxPointsBox", "待定点", "输入已知待定坐标点:<点名,X坐标m,Y坐标m>"},
    {kPrecisionPairsBox, "precisionPairsBox", "精度端点", "输入不相连两点间评定精度端点:<点名,点名>"},
    {kKnownHeightsBox, "knownHeightsBox", "高程点", "输入已知高程点:<点名,高程值>"},
};
const BoxInfo kDirectionBoxes[] = {
    {kDirectionsBox, "directionsBox", "方向值", "输入方向观测值:<测站点,照准点,方向观测值D.MS>"},
    {kFixedAzimuthsBox, "fixedAzimuthsBox", "固定方位", "输入固定方位角:<起点,终点,方位角D.MS>"},
    {kWeightedAzimuthsBox, "weightedAzimuthsBox", "加权方位", "输入带权方位角:<起点,终点,带权方位角D.MS,权值>"},
};
const BoxInfo kDistanceBoxes[] = {
    {kDistanceLinesBox, "distanceLinesBox", "边长值",
     "输入边长观测值:<起点,终点,边长观测值m[,仪器高m,目标高m,竖直角D.MS]>"},
    {kFixedDistancesBox, "fixedDistancesBox", "固定边长", "输入固定边长:<起点,终点,固定边长m>"},
    {kWeightedDistancesBox, "weightedDistancesBox", "加权边长", "输入带权边长:<起点,终点,带权边长值m,权值>"},
};

}  // namespace

CQuorDisgnContrloPlane::CQuorDisgnContrloPlane(PlaneNetwork& net, std::string draftPath,
                                               PlaneConfirmationSteps steps, PlatformServices& platform,
                                               QWidget* parent)
    : NetworkInputDialog(parent),
      net_(net),
      draftPath_(std::move(draftPath)),
      steps_(std::move(steps)),
      platform_(platform) {
  setObjectName(QStringLiteral("planeInputDialog"));
  setWindowTitle(QStringLiteral("平面控制网解算"));
  BuildControls();
  InitializePlaneForm(form_, net_, draftPath_);
  ShowForm();
}

void CQuorDisgnContrloPlane::BuildControls() {
  // General settings.
  calcMode_ = ComboWithTip(this, PlaneCalcModeItems(), "calcModeCombo", "选择计算方式");
  networkName_ = EditWithTip(this, "networkNameEdit", "输入控制网名称");
  directionError_ = EditWithTip(this, "directionErrorEdit", "验前中误差");
  distanceFixedError_ = EditWithTip(this, "distanceFixedErrorEdit", "测距固定误差mm");
  distanceScaleError_ = EditWithTip(this, "distanceScaleErrorEdit", "测距比例误差ppm");
  closureMode_ = ComboWithTip(this, PlaneClosureModeItems(), "closureModeCombo", "选择闭合差和粗差检验方式");
  yOffset_ = EditWithTip(this, "yOffsetEdit", "Y坐标平移量,国家坐标系统为500000.000m");
  projectionHeight_ = EditWithTip(this, "projectionHeightEdit", "投影面高程,国家坐标系统为0.000m");
  refraction_ = EditWithTip(this, "refractionEdit", "折光系数");
  for (QLineEdit* e : {directionError_, distanceFixedError_, distanceScaleError_}) e->setMaximumWidth(70);

  auto* settings = new QGridLayout;
  AddLabelled(settings, this, 0, 0, "解算方式", calcMode_);
  AddLabelled(settings, this, 0, 2, "控制网名", networkName_);
  settings->addWidget(new QLabel(QStringLiteral("定权元素"), this), 0, 4);
  auto* weights = new QHBoxLayout;
  weights->addWidget(directionError_);
  weights->addWidget(distanceFixedError_);
  weights->addWidget(distanceScaleError_);
  settings->addLayout(weights, 0, 5);
  AddLabelled(settings, this, 0, 6, "闭 合 差", closureMode_);
  AddLabelled(settings, this, 1, 0, "Y坐标平移", yOffset_);
  AddLabelled(settings, this, 1, 2, "投影面高程", projectionHeight_);
  AddLabelled(settings, this, 1, 4, "折光系数", refraction_);
  settings->setColumnStretch(3, 1);

  // The ten table boxes in their three groups.
  auto boxGroup = [&](const char* caption, std::span<const BoxInfo> boxes, QLayout* above) {
    auto* group = new QGroupBox(QString::fromUtf8(caption), this);
    auto* column = new QVBoxLayout(group);
    if (above) column->addLayout(above);
    auto* row = new QGridLayout;
    for (int c = 0; c < static_cast<int>(boxes.size()); ++c) {
      const BoxInfo& b = boxes[static_cast<size_t>(c)];
      auto* edit = new TableEdit(group);
      edit->setObjectName(QString::fromUtf8(b.objectName));
      edit->setToolTip(QString::fromUtf8(b.tip));
      row->addWidget(new QLabel(QString::fromUtf8(b.caption), group), 0, c);
      row->addWidget(edit, 1, c);
      row->setColumnStretch(c, 1);
      boxes_[b.box] = edit;
    }
    column->addLayout(row);
    return group;
  };

  verticalAngleKind_ =
      ComboWithTip(this, VerticalAngleKindItems(), "verticalAngleKindCombo", "选择竖直角的观测方式");
  distanceOrder_ = ComboWithTip(this, DistanceColumnOrderItems(), "distanceOrderCombo", "选择边长观测值的输入方式");
  auto* distanceChoices = new QHBoxLayout;
  distanceChoices->addWidget(verticalAngleKind_);
  distanceChoices->addWidget(distanceOrder_, 1);

  QGroupBox* pointGroup = boxGroup("已知点/待定点/精度端点/高程点", kPointBoxes, nullptr);
  QGroupBox* directionGroup = boxGroup("方向值/固定方位/加权方位", kDirectionBoxes, nullptr);
  QGroupBox* distanceGroup = boxGroup("边长值/固定边长/加权边长", kDistanceBoxes, distanceChoices);

  QVBoxLayout* names = AddNameList(
      PlaneInsertModeItems(), {"选择控制点点名插入或修改方式", "控制点点名列表", "输入控制点点名"}, 170);

  auto* tables = new QVBoxLayout;
  tables->addWidget(pointGroup, 1);
  tables->addWidget(directionGroup, 1);
  tables->addWidget(distanceGroup, 1);
  auto* middle = new QHBoxLayout;
  middle->addLayout(tables, 1);
  middle->addLayout(names);
  LayOut(settings, middle, QSize(1100, 720));

  connect(calcMode_, &QComboBox::activated, this, [this](int index) {
    SelectPlaneCalcMode(form_, net_, index);
    ApplyEnabling();
  });
}

void CQuorDisgnContrloPlane::ShowSettings() {
  calcMode_->setCurrentIndex(form_.calcMode);
  closureMode_->setCurrentIndex(form_.closureMode);
  networkName_->setText(FromGbk(form_.networkName));
  directionError_->setText(FromGbk(form_.directionError));
  distanceFixedError_->setText(FromGbk(form_.distanceFixedError));
  distanceScaleError_->setText(FromGbk(form_.distanceScaleError));
  yOffset_->setText(FromGbk(form_.yOffset));
  projectionHeight_->setText(FromGbk(form_.projectionHeight));
  refraction_->setText(FromGbk(form_.refraction));
  verticalAngleKind_->setCurrentIndex(form_.verticalAngleKind);
  distanceOrder_->setCurrentIndex(form_.distanceColumnOrder);
  ApplyEnabling();
}

void CQuorDisgnContrloPlane::ApplyEnabling() {
  const PlaneFormEnabling e = PlaneFormEnablingFor(form_.calcMode, form_.restoredFromDraft);
  refraction_->setEnabled(e.refraction);
  boxes_[kKnownHeightsBox]->setEnabled(e.knownHeights);
  verticalAngleKind_->setEnabled(e.verticalAngleKind);
  distanceOrder_->setEnabled(e.distanceColumnOrder);
  yOffset_->setEnabled(e.yOffset);
  projectionHeight_->setEnabled(e.projectionHeight);
}

void CQuorDisgnContrloPlane::ReadSettings(PlaneInputForm& form) const {
  form.calcMode = calcMode_->currentIndex();
  form.closureMode = closureMode_->currentIndex();
  form.networkName = ToGbk(networkName_->text());
  form.directionError = ToGbk(directionError_->text());
  form.distanceFixedError = ToGbk(distanceFixedError_->text());
  form.distanceScaleError = ToGbk(distanceScaleError_->text());
  form.yOffset = ToGbk(yOffset_->text());
  form.projectionHeight = ToGbk(projectionHeight_->text());
  form.refraction = ToGbk(refraction_->text());
  form.verticalAngleKind = verticalAngleKind_->currentIndex();
  form.distanceColumnOrder = distanceOrder_->currentIndex();
}

}  // namespace qp
