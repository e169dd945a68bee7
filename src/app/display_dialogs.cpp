#include "app/display_dialogs.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>
#include <tuple>

#include "app/font_choice.h"
#include "app/qt_text.h"
#include "app/screen_fit.h"
#include "app/tool_dialog_support.h"

namespace qp {
namespace {

QLabel* Caption(const char* text, QWidget* parent) { return new QLabel(QString::fromUtf8(text), parent); }

QPushButton* Button(const char* caption, const char* name, QWidget* parent) {
  auto* button = new QPushButton(QString::fromUtf8(caption), parent);
  button->setObjectName(QString::fromUtf8(name));
  button->setAutoDefault(false);
  return button;
}

}  // namespace

// --- DisplayDialogBase -----------------------------------------------------------

DisplayDialogBase::DisplayDialogBase(std::unique_ptr<DisplayForm> form, float resolution, PlatformServices& platform,
                                     QWidget* parent)
    : QDialog(parent), platform_(platform), form_(std::move(form)), resolution_(resolution) {
  BuildControls();
}

void DisplayDialogBase::BuildControls() {
  name_ = new QLineEdit(FromGbk(form_->NetworkName()), this);
  name_->setReadOnly(true);
  name_->setObjectName(QStringLiteral("networkNameEdit"));
  kind_ = GbkCombo(this, form_->KindItems());
  kind_->setObjectName(QStringLiteral("kindCombo"));
  kind_->setCurrentIndex(form_->kindIndex);
  connect(kind_, &QComboBox::currentIndexChanged, this, [this](int index) { form_->kindIndex = index; });

  closures_ = new QListWidget(this);
  closures_->setObjectName(QStringLiteral("closureList"));
  closures_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  closures_->setToolTip(QStringLiteral("双击一行切换该闭合差是否绘出"));
  closures_->setMinimumHeight(160);
  connect(closures_, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
    const int row = closures_->row(item);
    if (form_->ToggleClosure(row)) item->setText(FromGbk(form_->ClosureLine(row)));
  });
  // Each closure button changes the list as a whole, shown anew when it did.
  const std::tuple<QPushButton**, const char*, const char*, bool (DisplayForm::*)(PlatformServices&)> closureButtons[] =
      {{&showAll_, "全部显示", "showAllButton", &DisplayForm::ShowAllClosures},
       {&hideAll_, "全部关闭", "hideAllButton", &DisplayForm::HideAllClosures},
       {&restoreDefault_, "恢复默认", "restoreDefaultButton", &DisplayForm::RestoreDefaultClosures}};
  for (const auto& [button, caption, name, change] : closureButtons) {
    *button = Button(caption, name, this);
    connect(*button, &QPushButton::clicked, this, [this, change = change] {
      if ((form_.get()->*change)(platform_)) FillClosures();
    });
  }

  const struct {
    DiagramFontRole role;
    const char* buttonName;
    const char* editName;
  } rows[] = {{DiagramFontRole::Text, "textFontButton", "textHeightEdit"},
              {DiagramFontRole::Number, "numberFontButton", "numberHeightEdit"}};
  for (const auto& r : rows) {
    FontRow& row = RowOf(r.role);
    row.button = Button("", r.buttonName, this);
    row.height = new QLineEdit(this);
    row.height->setObjectName(QString::fromUtf8(r.editName));
    row.height->setMaximumWidth(70);
    const DiagramFontRole role = r.role;
    connect(row.button, &QPushButton::clicked, this, [this, role] { ChooseFont(role); });
    // Every keystroke is judged: a refused text empties the edit.
    connect(row.height, &QLineEdit::textEdited, this, [this, role](const QString& text) {
      if (!form_->EditHeight(role, ToGbk(text))) RowOf(role).height->clear();
      RowOf(role).button->setText(FromGbk(form_->FontCaption(role)));
    });
  }
  RowOf(DiagramFontRole::Text).button->setToolTip(QStringLiteral("选择文本的字体和字高"));
  RowOf(DiagramFontRole::Number).button->setToolTip(QStringLiteral("选择数字的字体和字高"));
  colour_ = Button("颜色", "colourButton", this);
  colour_->setToolTip(QStringLiteral("选择文本颜色"));
  connect(colour_, &QPushButton::clicked, this, [this] {
    int32_t colour = form_->TextColour();
    if (SelectColour(this, colour)) {
      form_->SetTextColour(colour);
      colour_->setIcon(ColourSwatch(colour));
    }
  });

  declutter_ = new QCheckBox(QStringLiteral("注记避让"), this);
  declutter_->setObjectName(QStringLiteral("declutterCheck"));
  declutter_->setToolTip(QStringLiteral("数值注记相互压盖时沿其边线移开或移到边线另一侧"));
  declutter_->setChecked(form_->declutter);
  connect(declutter_, &QCheckBox::toggled, this, [this](bool on) { form_->declutter = on; });

  ok_ = new QPushButton(QStringLiteral("确定"), this);
  ok_->setObjectName(QStringLiteral("okButton"));
  ok_->setDefault(true);
  cancel_ = Button("取消", "cancelButton", this);
  connect(ok_, &QPushButton::clicked, this, [this] {
    if (ConfirmForm()) accept();
  });
  connect(cancel_, &QPushButton::clicked, this, &DisplayDialogBase::reject);

  FillClosures();
  ShowFonts();
}

void DisplayDialogBase::LayOut(QGridLayout* extras) {
  auto* head = new QGridLayout;
  AddLabelled(head, this, 0, 0, "控制网名", name_);
  AddLabelled(head, this, 0, 2, "绘图选项", kind_);
  head->setColumnStretch(1, 1);

  auto* closureBox = new QGroupBox(QStringLiteral("闭合差显示"), this);
  auto* closureLayout = new QVBoxLayout(closureBox);
  closureLayout->addWidget(closures_, 1);
  auto* closureButtons = new QHBoxLayout;
  closureButtons->addWidget(showAll_);
  closureButtons->addWidget(hideAll_);
  closureButtons->addWidget(restoreDefault_);
  closureButtons->addStretch(1);
  closureLayout->addLayout(closureButtons);

  auto* fontBox = new QGroupBox(QStringLiteral("字体"), this);
  auto* fonts = new QGridLayout(fontBox);
  fonts->addWidget(Caption("文本字高", this), 0, 0);
  fonts->addWidget(RowOf(DiagramFontRole::Text).button, 0, 1);
  fonts->addWidget(RowOf(DiagramFontRole::Text).height, 0, 2);
  fonts->addWidget(Caption("毫米", this), 0, 3);
  fonts->addWidget(colour_, 0, 4);
  fonts->addWidget(Caption("数字字高", this), 1, 0);
  fonts->addWidget(RowOf(DiagramFontRole::Number).button, 1, 1);
  fonts->addWidget(RowOf(DiagramFontRole::Number).height, 1, 2);
  fonts->addWidget(Caption("毫米", this), 1, 3);
  fonts->addWidget(declutter_, 2, 0, 1, 2);
  fonts->setColumnStretch(1, 1);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(ok_);
  buttons->addWidget(cancel_);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(head);
  layout->addWidget(closureBox, 1);
  layout->addWidget(fontBox);
  if (extras) {
    auto* extrasBox = new QGroupBox(QStringLiteral("绘图参数"), this);
    extrasBox->setLayout(extras);
    layout->addWidget(extrasBox);
  }
  layout->addLayout(buttons);
  const QSize natural = ScrollContentAbove(*layout, 1);
  setMinimumSize(520, 420);
  ResizeWithinScreen(*this, natural.expandedTo(QSize(640, 520)));
}

void DisplayDialogBase::FillClosures() {
  closures_->clear();
  for (const std::string& line : form_->ClosureLines()) closures_->addItem(FromGbk(line));
}

void DisplayDialogBase::ShowFonts() {
  for (const DiagramFontRole role : {DiagramFontRole::Text, DiagramFontRole::Number}) {
    RowOf(role).button->setText(FromGbk(form_->FontCaption(role)));
    ShowText(RowOf(role).height, FromGbk(form_->HeightText(role)));
  }
  colour_->setIcon(ColourSwatch(form_->TextColour()));
}

void DisplayDialogBase::ChooseFont(DiagramFontRole role) {
  const DiagramFont& font = form_->Font(role);
  const auto chosen = SelectFont(this, FontFromMillimetres(font.face, font.height), RowOf(role).button->toolTip());
  if (!chosen) return;
  // The font selection has no colour: the text colour stays as the colour
  // button set it.
  const FontPixels pixels = ToFontPixels(*chosen, resolution_);
  if (form_->ChooseFont(role, {pixels.face, static_cast<double>(pixels.heightPx),
                               static_cast<double>(pixels.widthPx), form_->TextColour()},
                        resolution_)) {
    ShowFonts();
  }
}

void DisplayDialogBase::SetDeclutter(bool on) {
  form_->declutter = on;
  declutter_->setChecked(on);
}

void DisplayDialogBase::reject() {
  if (form_->Cancel(platform_)) QDialog::reject();
}

// --- CQuorvexDisplayPlane -------------------------------------------------------

CQuorvexDisplayPlane::CQuorvexDisplayPlane(PlaneModel& model, float resolution, PlatformServices& platform,
                                           QWidget* parent)
    : DisplayDialogBase(std::make_unique<PlaneDisplayForm>(model), resolution, platform, parent), model_(model) {
  setObjectName(QStringLiteral("planeDisplayDialog"));
  setWindowTitle(QStringLiteral("平面网显示设置对话框"));
  PlaneDisplayForm& form = Plane();
  warning_ = new QCheckBox(QStringLiteral("贯通预警"), this);
  warning_->setObjectName(QStringLiteral("warningCheck"));
  warning_->setChecked(form.breakthroughWarning);
  warningDistance_ = new QLineEdit(FromGbk(form.warningDistanceText), this);
  warningDistance_->setObjectName(QStringLiteral("warningDistanceEdit"));
  ellipseRadius_ = new QLineEdit(FromGbk(form.ellipseRadiusText), this);
  ellipseRadius_->setObjectName(QStringLiteral("ellipseRadiusEdit"));
  warningDistance_->setEnabled(form.breakthroughWarning);
  connect(warning_, &QCheckBox::toggled, warningDistance_, &QLineEdit::setEnabled);
  SetToolTips(PlaneDisplayToolTips(), {{"椭圆尺度", ellipseRadius_},
                                       {"文本字高", RowOf(DiagramFontRole::Text).height},
                                       {"数字字高", RowOf(DiagramFontRole::Number).height},
                                       {"贯通预警", warning_},
                                       {"贯通预警距离", warningDistance_}});

  auto* extras = new QGridLayout;
  extras->addWidget(warning_, 0, 0);
  extras->addWidget(warningDistance_, 0, 1);
  extras->addWidget(Caption("米", this), 0, 2);
  extras->addWidget(Caption("椭圆尺度", this), 0, 4);
  extras->addWidget(ellipseRadius_, 0, 5);
  extras->addWidget(Caption("毫米", this), 0, 6);
  extras->setColumnMinimumWidth(3, 24);
  extras->setColumnStretch(7, 1);
  LayOut(extras);
}

bool CQuorvexDisplayPlane::ConfirmForm() {
  PlaneDisplayForm& form = Plane();
  form.breakthroughWarning = warning_->isChecked();
  form.warningDistanceText = ToGbk(warningDistance_->text());
  form.ellipseRadiusText = ToGbk(ellipseRadius_->text());
  return form.Confirm(model_, platform_);
}

// --- CQuorvexDisplay ------------------------------------------------------------

CQuorvexDisplay::CQuorvexDisplay(HeightModel& model, float resolution, PlatformServices& platform, QWidget* parent)
    : DisplayDialogBase(std::make_unique<HeightDisplayForm>(model), resolution, platform, parent), model_(model) {
  setObjectName(QStringLiteral("heightDisplayDialog"));
  setWindowTitle(QStringLiteral("高程控制网显示设置对话框"));
  SetToolTips(HeightDisplayToolTips(), {{"文本字高", RowOf(DiagramFontRole::Text).height},
                                        {"数字字高", RowOf(DiagramFontRole::Number).height}});
  LayOut(nullptr);
}

}  // namespace qp
