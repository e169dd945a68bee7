// The map sheet dialog ("控制网图设置") without its window: the texts, combo
// indices and check states of its controls, the fonts it holds while open,
// and what its controls do — spin steps with their limits, the length test
// of the sheet texts, the grid-style rule, the font choices, the title-height
// edit, confirmation ("确认") into the settings block and cancel ("放弃").
// A toolkit dialog shows these values, passes every edit back and calls one
// method per control action. All texts are GBK.
//
// The dialog works in plane mode or in height mode. In height mode the scale,
// the corner, the sheet size and the margins are shown but neither edited
// nor stored: the height sheet takes them from the fitting to the network.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "common/platform_services.h"
#include "common/settings_block.h"

namespace qp {

// The six size edits with their spin buttons.
enum SheetSizeField : int {
  kSheetHeightField = 0,  // 图幅高度
  kSheetWidthField,       // 图幅宽度
  kMarginTopField,        // 上边距
  kMarginBottomField,     // 下边距
  kMarginLeftField,       // 左边距
  kMarginRightField,      // 右边距
  kSheetSizeFieldCount
};

// The font buttons.
enum SheetFontButton : int {
  kTextFontButton = 0,  // 1033 "文本字体": grid labels and free texts
  kTitleFontButton,     // 1034 "图名字高"
  kNotesFontButton,     // 1039 "说明字体"
  kScaleFontButton,     // 1037 "比例尺字体"
  kUnitFontButton,      // 1038 "名称字体"
};

// The grid styles and label units of the combos.
enum SheetGridStyle : int { kSimpleFrameStyle = 2, kGridStyleCount = 7 };
enum SheetLabelUnit : int { kLabelKilometre = 0, kLabelHectometre, kLabelDecametre, kLabelMetre };

// The longest sheet text (remark, note, unit name), in bytes.
inline constexpr size_t kSheetTextLimit = 64;

// A font as a font selection returns it: face name, cell height and width in
// pixels of the sheet's resolution, colour (0x00BBGGRR).
struct SheetFontChoice {
  std::string face;
  int heightPx = 0;
  int widthPx = 0;
  int colour = 0;
};

// Items of the combos (GBK).
const std::vector<std::string>& SheetResolutionItems();  // 粗略10, 正常20, 精细30
const std::vector<std::string>& SheetGridStyleItems();   // 标准格网A … 采掘图B
const std::vector<std::string>& SheetLabelUnitItems();   // 公里, 百米, 十米, 米
const std::vector<std::string>& SheetScaleItems();       // 1:500 … 1:100000 offered by the scale combo

// Tool tips (UTF-8), keyed by the control (the captions of the command-line
// keys where a control has one).
const std::vector<std::pair<const char*, const char*>>& SheetToolTips();

class SheetForm {
 public:
  // Opens the dialog on `settings` in plane or height mode.
  SheetForm(const SettingsBlock& settings, bool heightMode);

  // The controls.
  std::string scaleText;                     // combo 比例尺, "1:%d"
  std::string cornerXText, cornerYText;      // km, "%12.6f"
  std::array<std::string, kSheetSizeFieldCount> sizeTexts;  // mm
  int resolutionIndex = 1;                   // combo 1009
  int gridStyle = kSimpleFrameStyle;         // combo 1150
  int labelUnit = kLabelHectometre;          // combo 1541
  bool showScale = false;                    // check 1197
  bool showGridLabels = false;               // check 1198
  std::string frameSpacingText;              // edit 1105, mm "%.1f"
  std::string titleHeightText;               // edit 1143
  std::array<std::string, 4> remarks;        // 说明 1..4
  std::array<std::string, 4> notes;          // 附注 1..4
  std::string unitName;                      // 绘图单位名称
  std::string networkName;                   // read-only

  bool HeightMode() const { return heightMode_; }
  // The scale, corner, size and margin controls take input (plane mode).
  bool SheetControlsEnabled() const { return !heightMode_; }
  // Only "标准格网A" and "十字格网A" are offered in height mode and for a
  // sheet without grid.
  bool OnlyFirstTwoGridStyles() const { return heightMode_ || noGrid_; }
  // The dots per inch of the resolution combo's selection.
  float SelectedResolution() const;

  // Captions that follow the state: "显示比例尺"/"隐藏比例尺",
  // "显示格网注记"/"隐藏格网注记", and the font buttons' descriptions.
  std::string ScaleCheckCaption() const;
  std::string GridLabelsCheckCaption() const;
  std::string FontCaption(SheetFontButton button) const;
  // The fonts as they will be stored: (height, width) mm of every sheet font,
  // and the text font's face and colour.
  std::array<std::array<float, 2>, kSheetFontCount> FontSizes() const { return fonts_; }
  const std::string& TextFontFace() const { return textFace_; }
  std::array<float, 2> TextFontSize() const { return textFont_; }
  int TextFontColour() const { return textColour_; }
  // A colour chosen for the text font on its own (0x00BBGGRR).
  void SetTextFontColour(int colour) { textColour_ = colour; }

  // One spin step on a size field: its number + delta (10 x delta for the
  // height and width), kept within the field's limits.
  void Spin(SheetSizeField field, int delta);
  // A remark, note or unit name as typed: false after "长度超限!" when it is
  // longer than 64 bytes (the text is kept; confirmation refuses it).
  static bool CheckTextLength(std::string_view text, PlatformServices& platform);
  // A choice in the grid-style combo (put back to 1 where only the first two
  // styles are offered).
  void SelectGridStyle(int index);
  // The title-height edit changed to `text`: a whole number 2..80 sets the
  // title height and half of it as the width. False (the title font stays)
  // for any other text.
  bool EditTitleHeight(const std::string& text);
  // A font chosen with one of the font buttons: pixels to mm at the selected
  // resolution, a width below 0.5 mm becomes half the height; a face of more
  // than 30 bytes is ignored. Only the text font keeps its face and colour.
  void ChooseFont(SheetFontButton button, const SheetFontChoice& choice);

  // "确认": checks every control, asks "请确认输入数据结束..." and stores the
  // settings. False (the dialog stays open, `settings` unchanged) after a
  // message or on No.
  bool Confirm(SettingsBlock& settings, PlatformServices& platform) const;
  // The same without the closing question, for a caller whose running is
  // the confirmation (the command-line driver).
  bool ConfirmWithoutQuestion(SettingsBlock& settings, PlatformServices& platform) const;
  // "放弃": true when the user confirms "请确认放弃数据输入...".
  static bool Cancel(PlatformServices& platform);

 private:
  bool Check(PlatformServices& platform) const;
  void Store(SettingsBlock& settings, PlatformServices& platform) const;
  float ResolutionOf(int index) const;

  bool heightMode_ = false;
  bool noGrid_ = false;
  // What the dialog showed when it opened, and the values behind it: an
  // untouched scale or corner keeps its stored value to the last bit.
  std::string shownScale_, shownCornerX_, shownCornerY_;
  double storedScale_ = 0, storedCornerX_ = 0, storedCornerY_ = 0;
  std::array<std::array<float, 2>, kSheetFontCount> fonts_{};
  std::string textFace_;
  std::array<float, 2> textFont_{};
  int textColour_ = 0;
};


}  // namespace qp
