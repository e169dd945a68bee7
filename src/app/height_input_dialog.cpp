#include "app/height_input_dialog.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <initializer_list>

#include "app/qt_text.h"
#include "app/table_edit.h"
#include "app/tool_dialog_support.h"

namespace qp {
namespace {

struct BoxInfo {
  HeightTextBox box;
  const char* objectName;
  const char* tip;
  int stretch;  // share of its group's height
};

// The five boxes in their three groups, top to bottom within a group.
const BoxInfo kHeightBoxes[] = {
    {kHeightKnownBox, "knownHeightsBox", "输入已知高程点<点名,高程m>", 1},
    {kHeightApproxBox, "approxHeightsBox", "输入已知概略高程点<点名,高程m>", 1},
};
const BoxInfo kDifferenceBoxes[] = {
    {kHeightDifferencesBox, "differencesBox", "输入高差观测值<起点点名,终点点名,高差值m,定权元素>", 1},
};
const BoxInfo kPairAndCoordinateBoxes[] = {
    {kHeightPairsBox, "pairsBox", "输入不相连评定精度的两端点<点名,点名>", 1},
    {kHeightCoordinatesBox, "coordinatesBox", "输入高程点的平面坐标<点名,X坐标m,Y坐标m>", 2},
};

QLineEdit* EditWithTip(QWidget* parent, const char* objectName, const char* tip) {
  auto* edit = new QLineEdit(parent);
  edit->setObjectName(QString::fromUtf8(objectName));
  edit->setToolTip(QString::fromUtf8(tip));
  return edit;
}

QComboBox* ComboWithTip(QWidget* parent, const std::vector<std::string>& gbkItems, const char* objectName,
                        const char* tip) {
  QComboBox* combo = GbkCombo(parent, gbkItems);
  combo->setObjectName(QString::fromUtf8(objectName));
  combo->setToolTip(QString::fromUtf8(tip));
  return combo;
}

}  // namespace

CQuorDesignControlHeight::CQuorDesignControlHeight(HeightNetwork& net, const HeightReportTarget& target,
                                                   PlatformServices& platform, QWidget* parent)
    : QDialog(parent), net_(net), target_(target), platform_(platform) {
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

  auto* settings = new QHBoxLayout;
  settings->addWidget(new QLabel(QStringLiteral("解算方式"), this));
  settings->addWidget(mode_);
  settings->addSpacing(12);
  settings->addWidget(new QLabel(QStringLiteral("控制网名"), this));
  settings->addWidget(networkName_, 1);
  settings->addSpacing(12);
  settings->addWidget(new QLabel(QStringLiteral("网形类别"), this));
  settings->addWidget(kind_);
  settings->addSpacing(12);
  settings->addWidget(new QLabel(QStringLiteral("验前误差"), this));
  settings->addWidget(priorError_);

  // The table boxes in their three groups.
  auto boxGroup = [&](const char* caption, std::initializer_list<BoxInfo> boxes) {
    auto* group = new QGroupBox(QString::fromUtf8(caption), this);
    auto* column = new QVBoxLayout(group);
    for (const BoxInfo& b : boxes) {
      auto* edit = new PointListEdit(group);
      edit->setObjectName(QString::fromUtf8(b.objectName));
      edit->setToolTip(QString::fromUtf8(b.tip));
      column->addWidget(edit, b.stretch);
      boxes_[b.box] = edit;
    }
    return group;
  };
  QGroupBox* heightGroup = boxGroup("已知/待定高程点", {kHeightBoxes[0], kHeightBoxes[1]});
  QGroupBox* differenceGroup = boxGroup("起点,终点,高差观测值,定权元素", {kDifferenceBoxes[0]});
  QGroupBox* pairGroup = boxGroup("精度端点/平面坐标", {kPairAndCoordinateBoxes[0], kPairAndCoordinateBoxes[1]});

  // The point-name list.
  insertMode_ = ComboWithTip(this, HeightInsertModeItems(), "insertModeCombo", "选择点名的插入位置");
  nameList_ = new QListWidget(this);
  nameList_->setObjectName(QStringLiteral("nameList"));
  nameList_->setToolTip(QStringLiteral("单击点名插入到设置的位置"));
  newName_ = EditWithTip(this, "newNameEdit", "高程点点名输入");
  addName_ = new QPushButton(QStringLiteral("点名增加&A"), this);
  addName_->setObjectName(QStringLiteral("addNameButton"));
  addName_->setAutoDefault(false);
  for (QWidget* w : std::initializer_list<QWidget*>{insertMode_, nameList_, newName_, addName_}) w->setFixedWidth(150);
  auto* names = new QVBoxLayout;
  names->addWidget(insertMode_);
  names->addWidget(nameList_, 1);
  names->addWidget(newName_);
  names->addWidget(addName_);

  // File name and the two buttons.
  fileName_ = new QLineEdit(this);
  fileName_->setObjectName(QStringLiteral("fileNameEdit"));
  fileName_->setReadOnly(true);
  ok_ = new QPushButton(QStringLiteral("确定"), this);
  ok_->setObjectName(QStringLiteral("okButton"));
  ok_->setDefault(true);
  cancel_ = new QPushButton(QStringLiteral("取消"), this);
  cancel_->setObjectName(QStringLiteral("cancelButton"));
  cancel_->setAutoDefault(false);
  auto* bottom = new QHBoxLayout;
  bottom->addWidget(new QLabel(QStringLiteral("文件名称"), this));
  bottom->addWidget(fileName_, 1);
  bottom->addSpacing(16);
  bottom->addWidget(ok_);
  bottom->addWidget(cancel_);

  auto* middle = new QHBoxLayout;
  middle->addWidget(heightGroup, 2);
  middle->addWidget(differenceGroup, 3);
  middle->addWidget(pairGroup, 2);
  middle->addLayout(names);

  auto* whole = new QVBoxLayout(this);
  whole->addLayout(settings);
  whole->addLayout(middle, 1);
  whole->addLayout(bottom);
  resize(1000, 640);

  connect(insertMode_, &QComboBox::activated, this, [this](int index) { form_.insertMode = index; });
  connect(addName_, &QPushButton::clicked, this, &CQuorDesignControlHeight::AddName);
  connect(nameList_, &QListWidget::itemClicked, this, &CQuorDesignControlHeight::NameClicked);
  connect(ok_, &QPushButton::clicked, this, &CQuorDesignControlHeight::Confirm);
  connect(cancel_, &QPushButton::clicked, this, &CQuorDesignControlHeight::reject);
}

void CQuorDesignControlHeight::ShowForm() {
  mode_->setCurrentIndex(form_.mode);
  networkName_->setText(FromGbk(form_.networkName));
  kind_->setCurrentIndex(form_.kind);
  priorError_->setText(FromGbk(form_.priorError));
  for (int b = 0; b < kHeightTextBoxCount; ++b) boxes_[b]->setPlainText(BoxTextFromGbk(form_.boxes[b]));
  insertMode_->setCurrentIndex(form_.insertMode);
  newName_->setText(FromGbk(form_.newName));
  fileName_->setText(FromGbk(form_.fileName));
  ShowNameList();
}

void CQuorDesignControlHeight::ShowNameList() {
  nameList_->clear();
  for (const std::string& name : form_.nameList) nameList_->addItem(FromGbk(name));
}

HeightInputForm CQuorDesignControlHeight::CurrentForm() const {
  HeightInputForm f = form_;
  f.mode = mode_->currentIndex();
  f.networkName = ToGbk(networkName_->text());
  f.kind = kind_->currentIndex();
  f.priorError = ToGbk(priorError_->text());
  for (int b = 0; b < kHeightTextBoxCount; ++b) f.boxes[b] = BoxTextToGbk(boxes_[b]->toPlainText());
  f.insertMode = insertMode_->currentIndex();
  f.newName = ToGbk(newName_->text());
  return f;
}

void CQuorDesignControlHeight::AddName() {
  form_.newName = ToGbk(newName_->text());
  const size_t before = form_.nameList.size();
  AddNameToHeightList(form_, net_, platform_);
  if (form_.nameList.size() != before) {
    nameList_->addItem(FromGbk(form_.nameList.back()));
    nameList_->scrollToBottom();
  }
  newName_->setText(FromGbk(form_.newName));
}

void CQuorDesignControlHeight::NameClicked(QListWidgetItem* item) {
  // The form appends to a box; here the box's text stays in its edit, so the
  // form works on empty boxes and whatever it appended goes to the edit's end
  // (no copy of a long table for every click).
  HeightInputForm scratch;
  scratch.insertMode = form_.insertMode;
  scratch.nameList = form_.nameList;
  ClickHeightNameListItem(scratch, net_, nameList_->row(item));
  for (int b = 0; b < kHeightTextBoxCount; ++b) {
    if (scratch.boxes[b].empty()) continue;
    QPlainTextEdit* box = boxes_[b];
    box->moveCursor(QTextCursor::End);
    box->insertPlainText(BoxTextFromGbk(scratch.boxes[b]));
    box->ensureCursorVisible();
  }
  if (scratch.nameList != form_.nameList) {
    form_.nameList = std::move(scratch.nameList);
    ShowNameList();
  }
}

void CQuorDesignControlHeight::Confirm() {
  // On failure every control keeps what the user typed.
  if (ConfirmHeightDialog(CurrentForm(), net_, platform_, target_)) accept();
}

void CQuorDesignControlHeight::reject() {
  if (CancelHeightForm(CurrentForm(), net_, platform_, target_.sidePath)) QDialog::reject();
}

}  // namespace qp
