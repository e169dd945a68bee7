#include "app/sheet_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>
#include <initializer_list>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "app/font_choice.h"
#include "app/qt_text.h"
#include "app/screen_fit.h"
#include "app/tool_dialog_support.h"
#include "common/gbk_text.h"

namespace qp {
namespace {

// The size fields: object name stem and caption (the tip table's key).
struct SizeFieldInfo {
  const char* name;
  const char* caption;
  const char* spinCaption;
};
constexpr SizeFieldInfo kSizeInfo[kSheetSizeFieldCount] = {
    {"sheetHeight", "图幅高度", "图幅高度微调"}, {"sheetWidth", "图幅宽度", "图幅宽度微调"},
    {"marginTop", "上边距", "上边距微调"},       {"marginBottom", "下边距", "下边距微调"},
    {"marginLeft", "左边距", "左边距微调"},      {"marginRight", "右边距", "右边距微调"},
};

// The font buttons, in their order: object name, caption of the row, the tip
// table's key, and the sheet font each button other than the text font edits.
struct FontButtonInfo {
  SheetFontButton button;
  const char* name;
  const char* caption;
  const char* tipKey;
  SheetFont stored;
};
constexpr FontButtonInfo kFontInfo[] = {
    {kTextFontButton, "textFontButton", "文本字体", "文本字体"},
    {kTitleFontButton, "titleFontButton", "图名字高", "图名字体", kTitleFont},
    {kNotesFontButton, "notesFontButton", "说明字体", "说明字体", kNotesFont},
    {kScaleFontButton, "scaleFontButton", "比例尺字体", "比例尺字体", kScaleFont},
    {kUnitFontButton, "unitFontButton", "名称字体", "名称字体", kUnitFont},
};
static_assert(kFontInfo[kUnitFontButton].button == kUnitFontButton);

QLabel* Caption(const char* text, QWidget* parent) { return new QLabel(QString::fromUtf8(text), parent); }

// Rows of a caption and its control from the grid's top, each control `span`
// columns wide.
void AddCaptionedRows(QGridLayout& grid, QWidget* parent, std::initializer_list<std::pair<const char*, QWidget*>> rows,
                      int span = 1) {
  int row = 0;
  for (const auto& [caption, control] : rows) AddLabelled(&grid, parent, row++, 0, caption, control, span);
}

QToolButton* ArrowButton(Qt::ArrowType arrow, QWidget* parent) {
  auto* button = new QToolButton(parent);
  button->setArrowType(arrow);
  button->setAutoRepeat(true);
  button->setFixedSize(18, 12);
  button->setFocusPolicy(Qt::NoFocus);
  return button;
}

}  // namespace

CQuorvexSheetDialog::CQuorvexSheetDialog(SettingsBlock& settings, bool heightMode, PlatformServices& platform,
                                         QWidget* parent)
    : QDialog(parent), settings_(settings), platform_(platform), form_(settings, heightMode) {
  setObjectName(QStringLiteral("sheetDialog"));
  setWindowTitle(QStringLiteral("控制网图设置"));
  BuildControls();
  ShowForm();
}

void CQuorvexSheetDialog::BuildControls() {
  std::map<std::string, QWidget*> tipped;

  // --- The sheet: scale, corner, size and margins ---------------------------
  auto* sheetBox = new QGroupBox(QStringLiteral("图纸"), this);
  auto* sheet = new QGridLayout(sheetBox);
  scale_ = GbkCombo(this, SheetScaleItems());
  scale_->setEditable(true);
  scale_->setInsertPolicy(QComboBox::NoInsert);
  cornerX_ = new QLineEdit(this);
  cornerY_ = new QLineEdit(this);
  cornerX_->setMinimumWidth(120);
  cornerY_->setMinimumWidth(120);
  SetObjectNames({{scale_, "scaleCombo"}, {cornerX_, "cornerXEdit"}, {cornerY_, "cornerYEdit"}});
  tipped["比例尺"] = scale_;
  tipped["西南角X"] = cornerX_;
  tipped["西南角Y"] = cornerY_;
  AddCaptionedRows(*sheet, this, {{"比例尺", scale_}, {"西南角X(公里)", cornerX_}, {"西南角Y(公里)", cornerY_}}, 4);
  for (int f = 0; f < kSheetSizeFieldCount; ++f) {
    const SizeFieldInfo& info = kSizeInfo[f];
    auto* edit = new QLineEdit(this);
    edit->setObjectName(QString::fromUtf8(info.name) + QStringLiteral("Edit"));
    edit->setMinimumWidth(64);
    auto* arrows = new QWidget(this);
    arrows->setObjectName(QString::fromUtf8(info.name) + QStringLiteral("Spin"));
    auto* column = new QVBoxLayout(arrows);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    QToolButton* up = ArrowButton(Qt::UpArrow, arrows);
    QToolButton* down = ArrowButton(Qt::DownArrow, arrows);
    up->setObjectName(QString::fromUtf8(info.name) + QStringLiteral("Up"));
    down->setObjectName(QString::fromUtf8(info.name) + QStringLiteral("Down"));
    column->addWidget(up);
    column->addWidget(down);
    sizes_[f] = edit;
    spins_[f] = {up, down};
    tipped[info.caption] = edit;
    tipped[info.spinCaption] = arrows;
    const auto field = static_cast<SheetSizeField>(f);
    connect(up, &QToolButton::clicked, this, [this, field] { Run([&] { form_.Spin(field, 1); }); });
    connect(down, &QToolButton::clicked, this, [this, field] { Run([&] { form_.Spin(field, -1); }); });
    // Two fields a row: height and width, top and bottom, left and right.
    const int row = 3 + f / 2, col = (f % 2) * 3;
    auto* cell = new QHBoxLayout;
    cell->setSpacing(1);
    cell->addWidget(edit);
    cell->addWidget(arrows);
    sheet->addWidget(Caption(info.caption, this), row, col);
    sheet->addLayout(cell, row, col + 1);
  }
  sheet->setColumnMinimumWidth(2, 8);
  sheet->setColumnStretch(1, 1);
  sheet->setColumnStretch(4, 1);
  sheet->setRowStretch(6, 1);

  // --- Frame, grid and resolution -------------------------------------------
  auto* finishBox = new QGroupBox(QStringLiteral("图面整饰"), this);
  auto* finish = new QGridLayout(finishBox);
  resolution_ = GbkCombo(this, SheetResolutionItems());
  gridStyle_ = GbkCombo(this, SheetGridStyleItems());
  labelUnit_ = GbkCombo(this, SheetLabelUnitItems());
  frameSpacing_ = new QLineEdit(this);
  showScale_ = new QCheckBox(this);
  showGridLabels_ = new QCheckBox(this);
  SetObjectNames({{resolution_, "resolutionCombo"},
                  {gridStyle_, "gridStyleCombo"},
                  {labelUnit_, "labelUnitCombo"},
                  {frameSpacing_, "frameSpacingEdit"},
                  {showScale_, "showScaleCheck"},
                  {showGridLabels_, "showGridLabelsCheck"}});
  tipped["格网方式"] = gridStyle_;
  tipped["格网注记"] = labelUnit_;
  tipped["内外边框间距"] = frameSpacing_;
  tipped["显示比例尺"] = showScale_;
  tipped["显示格网注记"] = showGridLabels_;
  resolution_->setToolTip(QStringLiteral("图纸分辨率(每英寸点数)"));
  AddCaptionedRows(*finish, this,
                   {{"分辨率", resolution_}, {"格网方式", gridStyle_}, {"格网注记", labelUnit_},
                    {"边框间距(毫米)", frameSpacing_}});
  finish->addWidget(showScale_, 4, 0, 1, 2);
  finish->addWidget(showGridLabels_, 5, 0, 1, 2);
  finish->setRowStretch(6, 1);
  finish->setColumnStretch(1, 1);

  // --- Fonts ----------------------------------------------------------------
  auto* fontBox = new QGroupBox(QStringLiteral("字体"), this);
  auto* fonts = new QGridLayout(fontBox);
  titleHeight_ = new QLineEdit(this);
  titleHeight_->setObjectName(QStringLiteral("titleHeightEdit"));
  titleHeight_->setMaximumWidth(60);
  tipped["图名字高"] = titleHeight_;
  textColour_ = new QPushButton(QStringLiteral("颜色"), this);
  textColour_->setObjectName(QStringLiteral("textColourButton"));
  textColour_->setToolTip(QStringLiteral("选择文本字体的颜色"));
  int row = 0;
  for (const FontButtonInfo& info : kFontInfo) {
    auto* button = new QPushButton(this);
    button->setObjectName(QString::fromUtf8(info.name));
    button->setAutoDefault(false);
    button->setMinimumWidth(120);
    button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    fontButtons_[info.button] = button;
    tipped[info.tipKey] = button;
    AddLabelled(fonts, this, row, 0, info.caption, button);
    if (info.button == kTextFontButton) fonts->addWidget(textColour_, row, 2);
    if (info.button == kTitleFontButton) fonts->addWidget(titleHeight_, row, 2);
    const SheetFontButton which = info.button;
    connect(button, &QPushButton::clicked, this, [this, which] { ChooseFont(which); });
    ++row;
  }
  fonts->setRowStretch(row, 1);
  fonts->setColumnStretch(1, 1);
  textColour_->setAutoDefault(false);
  connect(textColour_, &QPushButton::clicked, this, [this] {
    int32_t colour = form_.TextFontColour();
    if (SelectColour(this, colour)) Run([&] { form_.SetTextFontColour(colour); });
  });

  // --- Remarks, notes and names ---------------------------------------------
  auto* remarkBox = new QGroupBox(QStringLiteral("说明"), this);
  auto* noteBox = new QGroupBox(QStringLiteral("附注:"), this);
  auto* remarkRows = new QGridLayout(remarkBox);
  auto* noteRows = new QGridLayout(noteBox);
  static const char* const kRemarkKeys[4] = {"说明1", "说明2", "说明3", "说明4"};
  static const char* const kNoteKeys[4] = {"附注1", "附注2", "附注3", "附注4"};
  for (int i = 0; i < 4; ++i) {
    remarks_[i] = new QLineEdit(this);
    notes_[i] = new QLineEdit(this);
    remarks_[i]->setObjectName(QStringLiteral("remark%1Edit").arg(i + 1));
    notes_[i]->setObjectName(QStringLiteral("note%1Edit").arg(i + 1));
    remarks_[i]->setMinimumWidth(300);
    notes_[i]->setMinimumWidth(300);
    tipped[kRemarkKeys[i]] = remarks_[i];
    tipped[kNoteKeys[i]] = notes_[i];
    remarkRows->addWidget(new QLabel(QString::number(i + 1), this), i, 0);
    remarkRows->addWidget(remarks_[i], i, 1);
    noteRows->addWidget(new QLabel(QString::number(i + 1), this), i, 0);
    noteRows->addWidget(notes_[i], i, 1);
  }
  unitName_ = new QLineEdit(this);
  networkName_ = new QLineEdit(this);
  networkName_->setReadOnly(true);
  SetObjectNames({{unitName_, "unitNameEdit"}, {networkName_, "networkNameEdit"}});
  tipped["绘图单位名称"] = unitName_;
  networkName_->setToolTip(QStringLiteral("控制网名"));
  auto* names = new QHBoxLayout;
  names->addWidget(Caption("绘图单位名称", this));
  names->addWidget(unitName_, 3);
  names->addSpacing(12);
  names->addWidget(Caption("控制网名", this));
  names->addWidget(networkName_, 2);

  SetToolTips(SheetToolTips(), tipped);
  bound_ = {Bound(cornerX_, form_.cornerXText),       Bound(cornerY_, form_.cornerYText),
            Bound(resolution_, form_.resolutionIndex), Bound(labelUnit_, form_.labelUnit),
            Bound(frameSpacing_, form_.frameSpacingText), Bound(unitName_, form_.unitName)};
  for (int f = 0; f < kSheetSizeFieldCount; ++f) bound_.push_back(Bound(sizes_[f], form_.sizeTexts[f]));
  for (int i = 0; i < 4; ++i) {
    bound_.push_back(Bound(remarks_[i], form_.remarks[i]));
    bound_.push_back(Bound(notes_[i], form_.notes[i]));
  }

  // The length of a sheet text is tested as it is typed.
  for (QLineEdit* edit : {remarks_[0], remarks_[1], remarks_[2], remarks_[3], notes_[0], notes_[1], notes_[2],
                          notes_[3], unitName_}) {
    connect(edit, &QLineEdit::textEdited, this,
            [this](const QString& text) { SheetForm::CheckTextLength(ToGbk(text), platform_); });
  }
  connect(titleHeight_, &QLineEdit::textEdited, this,
          [this](const QString& text) { Run([&] { form_.EditTitleHeight(ToGbk(text)); }); });
  connect(gridStyle_, &QComboBox::currentIndexChanged, this, [this](int index) {
    if (!showing_) Run([&] { form_.SelectGridStyle(index); });
  });
  for (QCheckBox* check : {showScale_, showGridLabels_}) {
    connect(check, &QCheckBox::toggled, this, [this] {
      if (!showing_) Run([] {});
    });
  }

  // --- Buttons --------------------------------------------------------------
  auto* ok = new QPushButton(QStringLiteral("确认"), this);
  auto* cancel = new QPushButton(QStringLiteral("放弃"), this);
  SetObjectNames({{ok, "okButton"}, {cancel, "cancelButton"}});
  ok->setDefault(true);
  cancel->setAutoDefault(false);
  connect(ok, &QPushButton::clicked, this, &CQuorvexSheetDialog::Confirm);
  connect(cancel, &QPushButton::clicked, this, &CQuorvexSheetDialog::reject);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(ok);
  buttons->addWidget(cancel);

  auto* top = new QHBoxLayout;
  top->addWidget(sheetBox, 3);
  top->addWidget(finishBox, 2);
  top->addWidget(fontBox, 2);
  auto* texts = new QHBoxLayout;
  texts->addWidget(remarkBox);
  texts->addWidget(noteBox);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addLayout(texts);
  layout->addLayout(names);
  layout->addStretch(1);
  layout->addLayout(buttons);
  const QSize natural = ScrollContentAbove(*layout, 1);
  ResizeWithinScreen(*this, natural.expandedTo(QSize(400, 300)));

  // The scale, corner and sheet size of a height sheet follow the network:
  // shown, greyed, not edited.
  if (!form_.SheetControlsEnabled()) {
    scale_->setEnabled(false);
    std::vector<QLineEdit*> edits{cornerX_, cornerY_};
    edits.insert(edits.end(), sizes_.begin(), sizes_.end());
    for (QLineEdit* edit : edits) {
      edit->setReadOnly(true);
      edit->setEnabled(false);
    }
    for (const auto& arrows : spins_)
      for (QToolButton* arrow : arrows) arrow->setEnabled(false);
  }
}

void CQuorvexSheetDialog::ReadControls() {
  form_.scaleText = ToGbk(scale_->currentText());
  for (const ControlBinding& control : bound_) control.read();
  form_.showScale = showScale_->isChecked();
  form_.showGridLabels = showGridLabels_->isChecked();
}

void CQuorvexSheetDialog::ShowForm() {
  showing_ = true;
  if (scale_->currentText() != FromGbk(form_.scaleText)) scale_->setEditText(FromGbk(form_.scaleText));
  for (const ControlBinding& control : bound_) control.show();
  gridStyle_->setCurrentIndex(form_.gridStyle);
  showScale_->setChecked(form_.showScale);
  showScale_->setText(FromGbk(form_.ScaleCheckCaption()));
  showGridLabels_->setChecked(form_.showGridLabels);
  showGridLabels_->setText(FromGbk(form_.GridLabelsCheckCaption()));
  ShowText(titleHeight_, FromGbk(form_.titleHeightText));
  for (const FontButtonInfo& info : kFontInfo) {
    fontButtons_[info.button]->setText(FromGbk(form_.FontCaption(info.button)));
  }
  textColour_->setIcon(ColourSwatch(form_.TextFontColour()));
  ShowText(networkName_, FromGbk(form_.networkName));
  showing_ = false;
}

void CQuorvexSheetDialog::ChooseFont(SheetFontButton button) {
  ReadControls();
  const bool text = button == kTextFontButton;
  const QFont initial = text ? FontFromMillimetres(form_.TextFontFace(), form_.TextFontSize()[0])
                             : FontFromMillimetres(Gbk("宋体"), form_.FontSizes()[kFontInfo[button].stored][0]);
  const auto chosen = SelectFont(this, initial, fontButtons_[button]->toolTip());
  if (!chosen) return;
  const FontPixels pixels = ToFontPixels(*chosen, form_.SelectedResolution());
  Run([&] { form_.ChooseFont(button, {pixels.face, pixels.heightPx, pixels.widthPx, form_.TextFontColour()}); });
}

void CQuorvexSheetDialog::Confirm() {
  ReadControls();
  if (form_.Confirm(settings_, platform_)) accept();
}

void CQuorvexSheetDialog::reject() {
  if (SheetForm::Cancel(platform_)) QDialog::reject();
}

}  // namespace qp
