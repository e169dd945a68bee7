#include "drawing/sheet_form.h"

#include <algorithm>
#include <cmath>

#include "common/format.h"
#include "common/gbk_text.h"
#include "common/name_slot.h"
#include "common/numeric_field.h"
#include "drawing/sheet_canvas.h"
#include "drawing/view_transform.h"

namespace qp {
namespace {

// Limits of the size fields after a spin step, mm.
struct SpinLimit {
  int lo, hi;
};
constexpr SpinLimit kMarginLimits[kSheetSizeFieldCount] = {
    {100, 0}, {100, 0}, {20, 300}, {10, 100}, {10, 100}, {10, 300}};
// Resolutions below this take sheets up to 4500 mm, the others up to 2000.
constexpr float kCoarseResolution = 155.0f;

// Minimum heights of the sheet fonts; a smaller one takes the default pair.
constexpr float kFontMinimum[kSheetFontCount] = {3.0f, 2.25f, 1.5f, 1.5f, 2.0f, 2.0f, 1.5f};

// The stored fonts edited by each button.
constexpr int kButtonFont[] = {-1, kTitleFont, kNotesFont, kScaleFont, kUnitFont};

constexpr size_t kLongestFace = 30;

std::string ScaleTextOf(double scale) { return Format("1:%d", TruncateToInt(scale)); }
std::string KilometresText(double metres) { return Format("%12.6f", metres / 1000.0); }

const char* const kNoteErrors[4] = {"附注第一项错误!", "附注第二项错误!", "附注第三项错误!", "附注第四项错误!"};
const char* const kRemarkErrors[4] = {"说明第一项错误!", "说明第二项错误!", "说明第三项错误!", "说明第四项错误!"};
const char* const kSizeErrors[kSheetSizeFieldCount] = {"图幅高度错误!",   "图幅宽度错误!",   "图幅上边距错误!",
                                                       "图幅下边距错误!", "图幅左边距错误!", "图幅右边距错误!"};

// The block's fields behind the six size edits.
constexpr int32_t SettingsBlock::*kSizeFields[kSheetSizeFieldCount] = {
    &SettingsBlock::sheetHeight, &SettingsBlock::sheetWidth, &SettingsBlock::marginTop,
    &SettingsBlock::marginBottom, &SettingsBlock::marginLeft, &SettingsBlock::marginRight};

// The number after "1:" of a scale text already checked.
double ScaleNumber(const std::string& text) { return LeadingNumber(Trim(text).substr(2)); }

// The number test of the dialog: after trimming, digits with at most one "."
// and at most one "-"; at least one digit.
bool IsSheetNumber(std::string_view text) {
  text = Trim(text);
  int digits = 0, points = 0, minus = 0;
  for (const char c : text) {
    if (c >= '0' && c <= '9') {
      ++digits;
    } else if (c == '.') {
      ++points;
    } else if (c == '-') {
      ++minus;
    } else {
      return false;
    }
  }
  // An empty box is no number: it would silently become 0.
  return digits > 0 && points <= 1 && minus <= 1;
}

}  // namespace

const std::vector<std::string>& SheetResolutionItems() {
  static const std::vector<std::string> items = {Gbk("粗略10"), Gbk("正常20"), Gbk("精细30")};
  return items;
}

const std::vector<std::string>& SheetGridStyleItems() {
  static const std::vector<std::string> items = {Gbk("标准格网A"), Gbk("十字格网A"), Gbk("简易边框"), Gbk("标准格网B"),
                                                 Gbk("十字格网B"), Gbk("采掘图A"),   Gbk("采掘图B")};
  return items;
}

const std::vector<std::string>& SheetLabelUnitItems() {
  static const std::vector<std::string> items = {Gbk("公里"), Gbk("百米"), Gbk("十米"), Gbk("米")};
  return items;
}

const std::vector<std::string>& SheetScaleItems() {
  static const std::vector<std::string> items = {"1:500",  "1:1000",  "1:2000",  "1:5000",
                                                 "1:10000", "1:25000", "1:50000", "1:100000"};
  return items;
}

const std::vector<std::pair<const char*, const char*>>& SheetToolTips() {
  static const std::vector<std::pair<const char*, const char*>> tips = {
      {"显示比例尺", "显示和隐藏比例尺开关"},
      {"显示格网注记", "显示和隐藏格网注记开关"},
      {"图幅宽度微调", "改变绘制图形宽度数值"},
      {"图幅高度微调", "改变绘制图形高度数值"},
      {"右边距微调", "改变图纸右边距的数值"},
      {"左边距微调", "改变图纸左边距的数值"},
      {"下边距微调", "改变图纸下边距的数值"},
      {"上边距微调", "改变图纸上边距的数值"},
      {"附注1", "附注第一条(不大于32汉字)"},
      {"附注2", "附注第二条(不大于32汉字)"},
      {"附注3", "附注第三条(不大于32汉字)"},
      {"附注4", "附注第四条(不大于32个汉字)"},
      {"说明1", "说明第一条(不大于32个汉字)"},
      {"说明2", "说明第二条(不大于32个汉字)"},
      {"说明3", "说明第三条(不大于32个汉字)"},
      {"说明4", "说明第四条(不大于32个汉字)"},
      {"绘图单位名称", "单位名称(不大于32个汉字)"},
      {"西南角X", "西南角X坐标(公里)"},
      {"西南角Y", "西南角Y坐标(公里)"},
      {"图幅高度", "图幅高度(毫米)"},
      {"图幅宽度", "图幅宽度(毫米)"},
      {"上边距", "上边距(毫米)"},
      {"下边距", "下边距(毫米)"},
      {"左边距", "左边距(毫米)"},
      {"右边距", "右边距(毫米)"},
      {"比例尺", "选择或输入比例尺"},
      {"文本字体", "图面整饰字体和数字注记大小选择"},
      {"格网方式", "图面整饰边框格网方式选择"},
      {"图名字体", "选择图名的字高和宽"},
      {"说明字体", "选择说明和附注的字高和宽"},
      {"比例尺字体", "选择比例尺的字高和宽"},
      {"名称字体", "选择单位名称的字高和宽"},
      {"内外边框间距", "输入内外边框间距([8.0-15.0]毫米)"},
      {"格网注记", "选择格网数字注记位数(公里单位)"},
      {"图名字高", "输入图名文本的字高([2-80]毫米)"},
  };
  return tips;
}

SheetForm::SheetForm(const SettingsBlock& b, bool heightMode) : heightMode_(heightMode) {
  noGrid_ = b.noGridFlag != 0;
  const bool shownAsStored = heightMode || b.settingsConfirmed != 0;
  storedScale_ = b.scale;
  storedCornerX_ = b.cornerX;
  storedCornerY_ = b.cornerY;
  if (shownAsStored) {
    scaleText = ScaleTextOf(b.scale);
    cornerXText = KilometresText(b.cornerX);
    cornerYText = KilometresText(b.cornerY);
    for (int f = 0; f < kSheetSizeFieldCount; ++f) {
      sizeTexts[f] = Format("%d", b.*kSizeFields[f]);
    }
    for (int i = 0; i < 4; ++i) {
      remarks[i] = std::string(SheetText(b, kRemarkSlot1 + i));
      notes[i] = std::string(SheetText(b, kNoteSlot1 + i));
    }
    unitName = std::string(SheetText(b, kUnitNameSlot));
  } else {
    // A sheet that never held a network's values: a 1:500 sheet to start from.
    scaleText = "1:500";
    sizeTexts = {"500", "500", "45", "35", "30", "30"};
  }
  shownScale_ = scaleText;
  shownCornerX_ = cornerXText;
  shownCornerY_ = cornerYText;
  networkName = std::string(SheetText(b, kNetworkNameSlot));

  gridStyle = b.gridStyle;
  if (heightMode) {
    if (gridStyle > 1 || gridStyle < 0) gridStyle = 0;
  } else if (gridStyle > 6 || gridStyle < 0) {
    gridStyle = 0;
  }
  resolutionIndex = b.resolution == 100.0f ? 0 : b.resolution == 300.0f ? 2 : 1;
  labelUnit = b.labelUnit >= kLabelKilometre && b.labelUnit <= kLabelMetre ? b.labelUnit : kLabelHectometre;
  showScale = b.showScale != 0;
  showGridLabels = b.showGridLabels != 0;
  frameSpacingText = std::isfinite(b.frameSpacing) ? Format("%.1f", b.frameSpacing) : std::string("12.0");

  for (int k = 0; k < kSheetFontCount; ++k) fonts_[k] = {b.fontSizes[k][0], b.fontSizes[k][1]};
  textFace_ = std::string(SlotText(b.textFontFace));
  textFont_ = {b.textFontHeight, b.textFontWidth};
  textColour_ = b.textFontColour;
  if (textFace_.size() <= 2) {
    textFace_ = Gbk("宋体");
    textFont_ = heightMode ? std::array<float, 2>{3.5f, 1.5f} : std::array<float, 2>{3.2f, 1.6f};
  }
  titleHeightText = Format("%g", static_cast<double>(fonts_[kTitleFont][0]));
}

float SheetForm::ResolutionOf(int index) const {
  return index >= 0 && index < 3 ? kResolutions[index] : 200.0f;
}

float SheetForm::SelectedResolution() const { return ResolutionOf(resolutionIndex); }

std::string SheetForm::ScaleCheckCaption() const { return Gbk(showScale ? "显示比例尺" : "隐藏比例尺"); }

std::string SheetForm::GridLabelsCheckCaption() const { return Gbk(showGridLabels ? "显示格网注记" : "隐藏格网注记"); }

std::string SheetForm::FontCaption(SheetFontButton button) const {
  switch (button) {
    case kTextFontButton:
      return textFace_ + Format(": %4.1f,%4.1f", textFont_[0], textFont_[1]);
    case kTitleFontButton:
      return FormatText("宋体,%4.1f", fonts_[kTitleFont][0]);
    default: {
      const auto& f = fonts_[kButtonFont[button]];
      return Format("%4.1f,%4.1f", f[0], f[1]);
    }
  }
}

void SheetForm::Spin(SheetSizeField field, int delta) {
  if (field < 0 || field >= kSheetSizeFieldCount) return;
  const bool size = field == kSheetHeightField || field == kSheetWidthField;
  const int64_t step = static_cast<int64_t>(std::clamp(delta, -32767, 32767)) * (size ? 10 : 1);
  int64_t value = TruncateToInt(LeadingNumber(sizeTexts[field])) + step;
  SpinLimit limit = kMarginLimits[field];
  if (size) limit.hi = SelectedResolution() < kCoarseResolution ? 4500 : 2000;
  value = std::clamp<int64_t>(value, limit.lo, limit.hi);
  sizeTexts[field] = Format("%d", static_cast<int>(value));
}

bool SheetForm::CheckTextLength(std::string_view text, PlatformServices& platform) {
  if (text.size() <= kSheetTextLimit) return true;
  platform.ShowMessage(Gbk("长度超限!"));
  return false;
}

void SheetForm::SelectGridStyle(int index) {
  if (index < 0 || index >= kGridStyleCount) return;
  gridStyle = OnlyFirstTwoGridStyles() && index >= 2 ? 1 : index;
}

bool SheetForm::EditTitleHeight(const std::string& text) {
  titleHeightText = text;
  const std::string_view t = Trim(text);
  if (t.empty() || t.size() > 3 || !std::all_of(t.begin(), t.end(), [](char c) { return c >= '0' && c <= '9'; })) {
    return false;
  }
  const int h = std::stoi(std::string(t));
  if (h <= 1 || h > 80) return false;
  fonts_[kTitleFont] = {static_cast<float>(h), static_cast<float>(h) * 0.5f};
  return true;
}

void SheetForm::ChooseFont(SheetFontButton button, const SheetFontChoice& choice) {
  const double resolution = SelectedResolution();
  const float h = static_cast<float>(std::abs(choice.heightPx) / resolution * 25.4);
  float w = static_cast<float>(std::abs(choice.widthPx) / resolution * 25.4);
  if (w < 0.5f) w = h * 0.5f;
  if (button == kTextFontButton) {
    if (!choice.face.empty() && choice.face.size() <= kLongestFace) textFace_ = choice.face;
    textFont_ = {h, w};
    textColour_ = choice.colour;
    return;
  }
  if (button < kTitleFontButton || button > kUnitFontButton) return;
  fonts_[kButtonFont[button]] = {h, w};
  if (button == kTitleFontButton) titleHeightText = Format("%g", static_cast<double>(h));
}

bool SheetForm::Check(PlatformServices& platform) const {
  auto refuse = [&platform](const char* message) {
    platform.ShowMessage(Gbk(message));
    return false;
  };
  for (int i = 0; i < 4; ++i) {
    if (notes[i].size() > kSheetTextLimit) return refuse(kNoteErrors[i]);
  }
  for (int i = 0; i < 4; ++i) {
    if (remarks[i].size() > kSheetTextLimit) return refuse(kRemarkErrors[i]);
  }
  if (unitName.size() > kSheetTextLimit) return refuse("单位名称错误!");

  const std::string_view scale = Trim(scaleText);
  if (scale.size() < 3 || scale.substr(0, 2) != "1:") return refuse("图纸比例尺输入或选择错误!");
  const double denominator = std::trunc(LeadingNumber(Trim(scale.substr(2))));
  if (!IsSheetNumber(scale.substr(2)) || denominator < 1.0 || denominator > kLargestSheetScale) {
    return refuse("图纸比例尺分母只能是大于等于1的数字,请修改 !");
  }
  if (heightMode_) return true;

  if (!IsSheetNumber(cornerXText)) return refuse("西南角X坐标错误!");
  if (!IsSheetNumber(cornerYText)) return refuse("西南角Y坐标错误!");
  if (std::fabs(LeadingNumber(Trim(cornerXText))) > 10000.0 || std::fabs(LeadingNumber(Trim(cornerYText))) > 100000.0) {
    return refuse("西南角坐标数值超出范围 !");
  }
  for (int f = 0; f < kSheetSizeFieldCount; ++f) {
    if (!IsSheetNumber(sizeTexts[f])) return refuse(kSizeErrors[f]);
  }
  return true;
}

void SheetForm::Store(SettingsBlock& b, PlatformServices& platform) const {
  const float resolution = SelectedResolution();
  // A damaged block is made safe before anything is derived from it.
  ClampSheetSettings(b);
  for (int i = 0; i < 4; ++i) {
    SetSheetText(b, kRemarkSlot1 + i, remarks[i]);
    SetSheetText(b, kNoteSlot1 + i, notes[i]);
  }
  SetSheetText(b, kUnitNameSlot, unitName);

  b.resolution = resolution;
  if (!heightMode_) {
    b.scale = Trim(scaleText) == Trim(shownScale_) ? storedScale_ : ScaleNumber(scaleText);
    b.appliedScale = b.scale;
    const double x = Trim(cornerXText) == Trim(shownCornerX_) ? storedCornerX_
                                                              : LeadingNumber(Trim(cornerXText)) * 1000.0;
    const double y = Trim(cornerYText) == Trim(shownCornerY_) ? storedCornerY_
                                                              : LeadingNumber(Trim(cornerYText)) * 1000.0;
    // The corner before the last change of it: a confirmation that keeps the
    // corner keeps that record too.
    if (x != b.cornerX || y != b.cornerY) {
      b.previousCornerX = b.cornerX;
      b.previousCornerY = b.cornerY;
    }
    b.cornerX = b.mapOriginX = x;
    b.cornerY = b.mapOriginY = y;
    for (int f = 0; f < kSheetSizeFieldCount; ++f) {
      b.*kSizeFields[f] = TruncateToInt(LeadingNumber(Trim(sizeTexts[f])));
    }
  }
  // Oversized paper is shrunk to the largest paper of the resolution; the
  // canvas follows the resolution in both modes.
  LimitSheetToPaper(b);
  UpdateSheetCanvas(b, MarginRounding::Dialog);
  UpdateSheetEdges(b);

  b.gridStyle = gridStyle;
  b.showScale = showScale ? 1 : 0;
  b.showGridLabels = showGridLabels ? 1 : 0;
  b.settingsConfirmed = 1;

  const double spacing = std::trunc(LeadingNumber(Trim(frameSpacingText)) * 10.0) * 0.1;
  const double lowest = gridStyle == kSimpleFrameStyle && !showGridLabels ? 0.25 : 8.0;
  b.frameSpacing = spacing >= lowest && spacing <= 15.0 ? spacing : 12.0;
  b.labelUnit = labelUnit;

  for (int k = 0; k < kSheetFontCount; ++k) {
    b.fontSizes[k][0] = fonts_[k][0];
    b.fontSizes[k][1] = fonts_[k][1];
    if (!(b.fontSizes[k][0] >= kFontMinimum[k])) DefaultSheetFont(k, b.fontSizes[k][0], b.fontSizes[k][1]);
  }
  SetSlotText(b.textFontFace, textFace_);
  b.textFontHeight = textFont_[0];
  b.textFontWidth = textFont_[1];
  b.textFontColour = textColour_;

  // Grid labels rounded to the label unit must still name the corner.
  if (!heightMode_ && showGridLabels && gridStyle != kSimpleFrameStyle && b.noGridFlag == 0) {
    const double mx = std::trunc(std::fmod(std::fabs(b.cornerX), 1000.0));
    const double my = std::trunc(std::fmod(std::fabs(b.cornerY), 1000.0));
    auto multiple = [&](double step) { return std::fmod(mx, step) == 0.0 && std::fmod(my, step) == 0.0; };
    const bool matches = labelUnit == kLabelKilometre    ? mx == 0.0 && my == 0.0
                         : labelUnit == kLabelHectometre ? multiple(100.0)
                         : labelUnit == kLabelDecametre  ? multiple(10.0)
                                                         : true;
    if (!matches) {
      b.showGridLabels = 0;
      if (!ConfirmYesNoDefaultNo(platform, Gbk("比例尺与西南角坐标设置不完全匹配\r\n格网注记将按一定位数四舍五入显示!"
                                               "\r\n\r\n    请确认将格网注记隐藏..."))) {
        b.showGridLabels = 1;
      }
    }
  }
}

bool SheetForm::ConfirmWithoutQuestion(SettingsBlock& settings, PlatformServices& platform) const {
  if (!Check(platform)) return false;
  Store(settings, platform);
  return true;
}

bool SheetForm::Confirm(SettingsBlock& settings, PlatformServices& platform) const {
  if (!Check(platform)) return false;
  if (!ConfirmYesNoDefaultNo(platform, Gbk("请确认输入数据结束..."))) return false;
  Store(settings, platform);
  return true;
}

bool SheetForm::Cancel(PlatformServices& platform) {
  return ConfirmYesNoDefaultNo(platform, Gbk("请确认放弃数据输入..."));
}

}  // namespace qp
