#include "drawing/display_form.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "common/format.h"
#include "common/gbk_text.h"
#include "common/numeric_field.h"
#include "drawing/diagram_kinds.h"

namespace qp {
namespace {

constexpr size_t kMaxFaceBytes = 30;
// Heights a typed value must lie strictly between (mm).
constexpr double kTypedHeightLow = 0.95;
constexpr double kTypedHeightHigh = 6.1;
// A chosen font is at most this high (mm); its width is then half of it.
constexpr double kChosenHeightCap = 6.0;
constexpr double kMinChosenWidth = 0.5;

constexpr double kMinWarningDistance = 30.0, kMaxWarningDistance = 200.0;    // m
constexpr int kHighestEstimateKind = 6;  // kind 7 shows adjusted values only

// Fonts a record starts with, used when a stored one is damaged.
constexpr float kStartingTextHeight = 3.0f, kStartingTextWidth = 1.5f;
constexpr float kStartingNumberHeight = 2.0f, kStartingNumberWidth = 1.0f;

// A stored font as the dialog can work with it: a height that is no number,
// not positive or beyond what the edit accepts gives the starting size.
DiagramFont SaneFont(std::string face, float height, float width, DiagramFontRole role) {
  DiagramFont f{std::move(face), height, width};
  if (!std::isfinite(f.height) || f.height <= 0.0f || f.height >= kTypedHeightHigh) {
    f.height = role == DiagramFontRole::Text ? kStartingTextHeight : kStartingNumberHeight;
    f.width = role == DiagramFontRole::Text ? kStartingTextWidth : kStartingNumberWidth;
  }
  if (!std::isfinite(f.width) || f.width <= 0.0f || f.width > 2.0f * static_cast<float>(kTypedHeightHigh)) {
    f.width = f.height / 2.0f;
  }
  return f;
}

// The edit's number as the dialog reads it; "%.6g" as a float edit shows it.
std::string HeightEditText(float height) { return Format("%.6g", static_cast<double>(height)); }

int SaneKind(int32_t kind, int items) { return kind >= 0 && kind < items ? kind : 0; }

double SaneSetting(double value, double fallback) { return std::isfinite(value) ? value : fallback; }

int ClampedInt(int64_t v) {
  return static_cast<int>(std::clamp<int64_t>(v, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

std::string TraverseLineText(const PlaneModel& model, const PlaneTraverse& t) {
  auto name = [&model](int p) { return p >= 0 && p < model.pointCount() ? model.points[p].name.c_str() : ""; };
  return FormatText("%s,%s,%s,%s,%6.2fs[1/%-.2f万](%d)", name(t.startOrientation), name(t.start), name(t.end),
                    name(t.endOrientation), static_cast<double>(t.azimuthMisclosure), t.relative * 0.0001, t.legs);
}

// The loop's text by kind; empty for an entry the list does not show.
std::string LoopLineText(const HeightLoop& e) {
  if (e.kind < kLoopKnownLine || e.kind > kLoopQuadrilateral) return {};
  int64_t sections = 0;
  for (int32_t s : e.sections) sections += s;
  std::string text;
  for (int i = 0; i < (e.kind == kLoopKnownLine ? 2 : e.kind); ++i) text += e.names[i] + ',';
  return text + Format("%.2fmm,%d(%d)", static_cast<double>(e.closure), ClampedInt(sections), e.kind);
}

}  // namespace

// The combo items come from the one table of diagram kinds.
const std::vector<std::string>& PlaneDiagramKindItems() {
  static const std::vector<std::string> items = PlaneComboTexts();
  return items;
}

const std::vector<std::string>& HeightDiagramKindItems() {
  static const std::vector<std::string> items = HeightComboTexts();
  return items;
}

const std::vector<std::pair<const char*, const char*>>& PlaneDisplayToolTips() {
  static const std::vector<std::pair<const char*, const char*>> tips = {
      {"椭圆尺度", "椭圆绘制最大半径[5,30mm]"}, {"文本字高", "输入文本的字高[1-6mm]"},
      {"数字字高", "输入数字的字高[1-6mm]"},    {"贯通预警", "选择是否进行贯通预警"},
      {"贯通预警距离", "输入贯通预警距离[30,200m]"},
  };
  return tips;
}

const std::vector<std::pair<const char*, const char*>>& HeightDisplayToolTips() {
  static const std::vector<std::pair<const char*, const char*>> tips = {
      {"文本字高", "输入文本的字高[1-6mm]"}, {"数字字高", "输入数字的字高[1-6mm]"}};
  return tips;
}

// --- DisplayForm ---------------------------------------------------------------

template <typename Style>
void DisplayForm::OpenCommon(const std::string& networkName, const Style& style) {
  networkName_ = networkName;
  kindIndex = SaneKind(style.kind, static_cast<int>(KindItems().size()));
  const std::pair<DiagramFontRole, DiagramFont> stored[] = {
      {DiagramFontRole::Text, {style.textFace, style.textHeight, style.textWidth}},
      {DiagramFontRole::Number, {style.numberFace, style.numberHeight, style.numberWidth}},
  };
  for (const auto& [role, font] : stored) {
    FontControl& c = fonts_[Slot(role)];
    c.font = SaneFont(font.face, font.height, font.width, role);
    c.heightText = HeightEditText(c.font.height);
    UpdateCaption(c);
  }
  textColour_ = static_cast<int32_t>(style.textColour);
}

template <typename Style>
void DisplayForm::StoreTextStyle(Style& style) const {
  style.textFace = fonts_[0].font.face;
  style.textHeight = fonts_[0].font.height;
  style.textWidth = fonts_[0].font.width;
  style.numberFace = fonts_[1].font.face;
  style.numberHeight = fonts_[1].font.height;
  style.numberWidth = fonts_[1].font.width;
  style.textColour = static_cast<decltype(style.textColour)>(textColour_);
}

void DisplayForm::UpdateCaption(FontControl& control) {
  control.caption = Format("%s,%.1f", control.font.face.c_str(), static_cast<double>(control.font.height));
}

bool DisplayForm::ChooseFont(DiagramFontRole role, const FontChoice& choice, double resolutionDpi) {
  if (choice.face.empty() || choice.face.size() > kMaxFaceBytes) return false;
  if (!std::isfinite(resolutionDpi) || resolutionDpi <= 0.0) return false;
  double height = std::fabs(choice.heightPixels) / resolutionDpi * 25.4;
  double width = std::fabs(choice.widthPixels) / resolutionDpi * 25.4;
  if (!std::isfinite(height) || height <= 0.0 || !std::isfinite(width)) return false;
  if (width < kMinChosenWidth) width = height / 2.0;
  if (height > kChosenHeightCap) {
    height = kChosenHeightCap;
    width = kChosenHeightCap / 2.0;
  }
  FontControl& c = fonts_[Slot(role)];
  c.font = {choice.face, static_cast<float>(height), static_cast<float>(width)};
  c.heightText = HeightEditText(c.font.height);
  textColour_ = choice.colour;
  UpdateCaption(c);
  return true;
}

bool DisplayForm::SetFontFace(DiagramFontRole role, const std::string& face) {
  if (face.empty() || face.size() > kMaxFaceBytes) return false;
  FontControl& c = fonts_[Slot(role)];
  c.font.face = face;
  UpdateCaption(c);
  return true;
}

bool DisplayForm::EditHeight(DiagramFontRole role, const std::string& text) {
  FontControl& c = fonts_[Slot(role)];
  const std::string_view field = Trim(text);
  const double value = !field.empty() && IsNumericField(field) ? LeadingNumber(field) : 0.0;
  if (value > kTypedHeightLow && value < kTypedHeightHigh) {
    c.heightText = text;
    c.font.height = static_cast<float>(value);
    c.font.width = c.font.height / 2.0f;
    UpdateCaption(c);
    return true;
  }
  c.heightText.clear();
  return false;
}

std::string DisplayForm::ClosureLine(int i) const {
  if (i < 0 || i >= static_cast<int>(closures_.size())) return {};
  const ClosureListEntry& e = closures_[i];
  return (e.drawn ? "[Y]" : "[N]") + e.text;
}

std::vector<std::string> DisplayForm::ClosureLines() const {
  std::vector<std::string> lines;
  for (int i = 0; i < static_cast<int>(closures_.size()); ++i) lines.push_back(ClosureLine(i));
  return lines;
}

bool DisplayForm::ToggleClosure(int i) {
  if (i < 0 || i >= static_cast<int>(closures_.size())) return false;
  closures_[i].drawn = !closures_[i].drawn;
  return true;
}

void DisplayForm::SetClosureDrawn(int i, bool drawn) {
  if (i >= 0 && i < static_cast<int>(closures_.size())) closures_[i].drawn = drawn;
}

bool DisplayForm::ShowAllClosures(PlatformServices& platform) {
  if (!ConfirmYesNoDefaultNo(platform, Gbk("请确认闭合差全部显示..."))) return false;
  for (auto& e : closures_) e.drawn = true;
  return true;
}

bool DisplayForm::HideAllClosures(PlatformServices& platform) {
  if (!ConfirmYesNoDefaultNo(platform, Gbk("请确认闭合差全部关闭..."))) return false;
  for (auto& e : closures_) e.drawn = false;
  return true;
}

bool DisplayForm::RestoreDefaultClosures(PlatformServices& platform) {
  if (!ConfirmYesNoDefaultNo(platform, Gbk("请确认闭合差显示恢复默认设置..."))) return false;
  for (auto& e : closures_) e.drawn = e.drawnByDefault;
  return true;
}

bool DisplayForm::Cancel(PlatformServices& platform) const {
  return ConfirmYesNoDefaultNo(platform, Gbk("请确认放弃..."));
}

bool DisplayForm::AskExit(PlatformServices& platform) { return ConfirmYesNoDefaultNo(platform, Gbk("请确认退出...")); }

// --- PlaneDisplayForm ----------------------------------------------------------

PlaneDisplayForm::PlaneDisplayForm(const PlaneModel& model) {
  const PlaneDiagramStyle& d = model.diagram;
  OpenCommon(model.networkName, d);
  estimateOnly_ = !model.Adjusted();
  radius_ = SaneSetting(d.maxEllipseRadius, 6.0);
  warningDistance_ = SaneSetting(d.warningDistance, 100.0);
  radiusShown_ = ellipseRadiusText = Format("%.0f", radius_);
  distanceShown_ = warningDistanceText = Format("%.0f", warningDistance_);
  breakthroughWarning = d.breakthroughWarning;
  for (size_t i = 0; i < model.traverses.size(); ++i) {
    const PlaneTraverse& t = model.traverses[i];
    if (t.IsTraverse()) closures_.push_back({static_cast<int>(i), t.drawn, true, TraverseLineText(model, t)});
  }
}

double PlaneDisplayForm::EllipseRadius() const {
  const double r = ellipseRadiusText == radiusShown_ ? radius_ : LeadingNumber(ellipseRadiusText);
  return std::clamp(r, kMinEllipseRadius, kMaxEllipseRadius);
}

double PlaneDisplayForm::WarningDistance() const {
  const double d = warningDistanceText == distanceShown_ ? warningDistance_ : LeadingNumber(warningDistanceText);
  return std::clamp(d, kMinWarningDistance, kMaxWarningDistance);
}

int PlaneDisplayForm::DiagramKind() const {
  const int kind = SaneKind(kindIndex, static_cast<int>(KindItems().size()));
  return estimateOnly_ ? std::min(kind, kHighestEstimateKind) : kind;
}

bool PlaneDisplayForm::Confirm(PlaneModel& model, PlatformServices& platform) const {
  if (!AskExit(platform)) return false;
  Apply(model);
  return true;
}

void PlaneDisplayForm::Apply(PlaneModel& model) const {
  PlaneDiagramStyle& d = model.diagram;
  d.maxEllipseRadius = EllipseRadius();
  d.kind = DiagramKind();
  d.warningDistance = WarningDistance();
  d.breakthroughWarning = breakthroughWarning;
  StoreTextStyle(d);
  for (const auto& e : closures_) model.traverses[e.tableIndex].drawn = e.drawn;
}

// --- HeightDisplayForm ---------------------------------------------------------

HeightDisplayForm::HeightDisplayForm(const HeightModel& model) {
  OpenCommon(model.name, model.diagram);
  for (size_t i = 0; i < model.loops.size(); ++i) {
    const HeightLoop& e = model.loops[i];
    std::string text = LoopLineText(e);
    if (!text.empty()) closures_.push_back({static_cast<int>(i), e.drawn, e.kind != kLoopQuadrilateral, std::move(text)});
  }
}

bool HeightDisplayForm::Confirm(HeightModel& model, PlatformServices& platform) const {
  if (!AskExit(platform)) return false;
  Apply(model);
  return true;
}

void HeightDisplayForm::Apply(HeightModel& model) const {
  model.diagram.kind = SaneKind(kindIndex, static_cast<int>(KindItems().size()));
  StoreTextStyle(model.diagram);
  for (const auto& e : closures_) model.loops[e.tableIndex].drawn = e.drawn;
}

}  // namespace qp
