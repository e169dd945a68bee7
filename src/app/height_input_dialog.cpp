#include "app/height_input_dialog.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>
#include <span>
#include <tuple>

#include "app/qt_text.h"
#include "app/table_edit.h"
#include "app/tool_dialog_support.h"

namespace qp {
namespace {

struct BoxInfo {
  HeightTextBox box;
  const char* objectName;
  const char* tip;
  int stretch;        // share of its group's height
  const char* label;  // the caption above the box
};

// The five boxes in their three groups, top to bottom within a group.
const BoxInfo kHeightBoxes[] = {
    {kHeightKnownBox, "knownHeightsBox", "输入已知高程点<点名,高程m>", 1, "已知高程点(点名,高程m)"},
    {kHeightApproxBox, "approxHeightsBox", "输入已知概略高程点<点名,高程m>", 1, "概略高程点(点名,高程m)"},
};
const BoxInfo kDifferenceBoxes[] = {
    {kHeightDifferencesBox, "differencesBox", "输入高差观测值<起点点名,终点点名,高差值m,定权元素>", 1,
     "高差观测值(起点,终点,高差m,定权元素)"},
};
const BoxInfo kPairAndCoordinateBoxes[] = {
    {kHeightPairsBox, "pairsBox", "输入不相连评定精度的两端点<点名,点名>", 1, "精度端点(点名,点名)"},
    {kHeightCoordinatesBox, "coordinatesBox", "输入高程点的平面坐标<点名,X坐标m,Y坐标m>", 2,
     "平面坐标(点名,X坐标m,Y坐标m)"},
};

}  // namespace

CQuorDesignControlHeight::CQuorDesignControlHeight(HeightNetwork& net, const HeightReportTarget& target,
                                                   PlatformServices& platform, QWidget* parent)
    : NetworkInputDialog(parent), net_(net), target_(target), platform_(platform) {
  setObjectName(QStringLiteral("heightInputDialog"));
  setWindowTitle(QStringLiteral("高程控制网解算"));
  BuildControls();
  InitializeHeightForm(form_, net_, target_.sidePath);
  ShowForm();
}

void CQuorDesignControlHeight::BuildControls() {
  // The settings row.
  mode_ = ComboWithTip(this, HeightModeItems(), "modeCombo", "选择计算方式");
  networkName_ = EditWithTip(this, "networkNameEdit", "输入控制网名");
  kind_ = ComboWithTip(this, HeightKindItems(), "kindCombo", "选择网形类别(定权方式)");
  priorError_ = EditWithTip(this, "priorErrorEdit", "输入验前单位权中误差mm");
  priorError_->setMaximumWidth(80);

  // Each control after its caption, the name taking the width the row gains.
  const std::tuple<const char*, QWidget*, int> captioned[] = {
      {"解算方式", mode_, 0}, {"控制网名", networkName_, 1}, {"网形类别", kind_, 0}, {"验前误差", priorError_, 0}};
  auto* settings = new QHBoxLayout;
  for (const auto& [caption, control, stretch] : captioned) {
    if (settings->count() > 0) settings->addSpacing(12);
    settings->addWidget(new QLabel(QString::fromUtf8(caption), this));
    settings->addWidget(control, stretch);
  }

  // The table boxes in their three groups.
  auto boxGroup = [&](const char* caption, std::span<const BoxInfo> boxes) {
    auto* group = new QGroupBox(QString::fromUtf8(caption), this);
    auto* column = new QVBoxLayout(group);
    for (const BoxInfo& b : boxes) {
      auto* edit = new PointListEdit(group);
      edit->setObjectName(QString::fromUtf8(b.objectName));
      edit->setToolTip(QString::fromUtf8(b.tip));
      auto* label = new QLabel(QString::fromUtf8(b.label), group);
      label->setObjectName(edit->objectName() + QStringLiteral("Label"));
      label->setBuddy(edit);
      column->addWidget(label);
      column->addWidget(edit, b.stretch);
      boxes_[b.box] = edit;
    }
    return group;
  };
  QGroupBox* heightGroup = boxGroup("已知/待定高程点", kHeightBoxes);
  QGroupBox* differenceGroup = boxGroup("起点,终点,高差观测值,定权元素", kDifferenceBoxes);
  QGroupBox* pairGroup = boxGroup("精度端点/平面坐标", kPairAndCoordinateBoxes);

  QVBoxLayout* names = AddNameList(
      HeightInsertModeItems(), {"选择点名的插入位置", "单击点名插入到设置的位置", "高程点点名输入"}, 150);

  auto* middle = new QHBoxLayout;
  middle->addWidget(heightGroup, 2);
  middle->addWidget(differenceGroup, 3);
  middle->addWidget(pairGroup, 2);
  middle->addLayout(names);
  LayOut(settings, middle, QSize(1000, 640));
}

void CQuorDesignControlHeight::ShowSettings() {
  mode_->setCurrentIndex(form_.mode);
  networkName_->setText(FromGbk(form_.networkName));
  kind_->setCurrentIndex(form_.kind);
  priorError_->setText(FromGbk(form_.priorError));
}

void CQuorDesignControlHeight::ReadSettings(HeightInputForm& form) const {
  form.mode = mode_->currentIndex();
  form.networkName = ToGbk(networkName_->text());
  form.kind = kind_->currentIndex();
  form.priorError = ToGbk(priorError_->text());
}

}  // namespace qp
