#include "drawing/display_form.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

#include "common/format.h"
#include "common/gbk_text.h"
#include "common/name_slot.h"
#include "common/numeric_field.h"
#include "drawing/diagram_kinds.h"
#include "drawing/drawing_export.h"
#include "drawing/plane_diagram.h"
#include "height/height_file.h"
#include "plane/plane_file.h"
#include "plane/plane_model_record.h"

namespace qp {
namespace {

constexpr size_t kMaxFaceBytes = 30;
// Heights a typed value must lie strictly between (mm).
constexpr double kTypedHeightLow = 0.95;
constexpr double kTypedHeightHigh = 6.1;
// A chosen font is at most this high (mm); its width is then half of it.
constexpr double kChosenHeightCap = 6.0;
constexpr double kMinChosenWidth = 0.5;

constexpr double kMinEllipseRadius = 3.0, kMaxEllipseRadius = 30.0;          // mm
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

std::string SlotString(const char* slot, size_t size) { return std::string(slot, strnlen(slot, size)); }

template <size_t N>
void StoreFace(char (&slot)[N], const std::string& face) {
  if (SlotString(slot, N) != face) SetSlotText(slot, CutGbk(face, N - 1));
}

int SaneKind(int32_t kind, int items) { return kind >= 0 && kind < items ? kind : 0; }

double SaneSetting(double value, double fallback) { return std::isfinite(value) ? value : fallback; }

int ClampedInt(int64_t v) {
  return static_cast<int>(std::clamp<int64_t>(v, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

std::string TraverseLineText(const TraverseClosure& t) {
  return FormatText("%s,%s,%s,%s,%6.2fs[1/%-.2f万](%d)", SlotString(t.startOrientation, kNameSlotSize).c_str(),
                    SlotString(t.start, kNameSlotSize).c_str(), SlotString(t.end, kNameSlotSize).c_str(),
                    SlotString(t.endOrientation, kNameSlotSize).c_str(), static_cast<double>(t.azimuthMisclosure),
                    t.relative * 0.0001, t.legs);
}

// The loop's text by kind; empty for an entry the list does not show.
std::string LoopLineText(const LoopEntry& e) {
  if (e.kind < kLoopKnownLine || e.kind > kLoopQuadrilateral) return {};
  int64_t sections = 0;
  for (int32_t s : e.sections) sections += s;
  std::string text;
  for (int i = 0; i < (e.kind == kLoopKnownLine ? 2 : e.kind); ++i) {
    text += SlotString(e.names[i], kHeightNameSlot);
    text += ',';
  }
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

template <typename Record>
void DisplayForm::OpenCommon(const Record& net, int32_t kind, int32_t colour) {
  networkName_ = SlotString(net.networkName, sizeof net.networkName);
  kindIndex = SaneKind(kind, static_cast<int>(KindItems().size()));
  const std::pair<DiagramFontRole, DiagramFont> stored[] = {
      {DiagramFontRole::Text,
       {SlotString(net.textFontFace, sizeof net.textFontFace), net.textFontHeight, net.textFontWidth}},
      {DiagramFontRole::Number,
       {SlotString(net.numberFontFace, sizeof net.numberFontFace), net.numberFontHeight, net.numberFontWidth}},
  };
  for (const auto& [role, font] : stored) {
    FontControl& c = fonts_[Slot(role)];
    c.stored = font;
    c.font = SaneFont(font.face, font.height, font.width, role);
    c.heightText = HeightEditText(c.font.height);
    UpdateCaption(c);
  }
  textColour_ = colour;
}

template <typename Record>
void DisplayForm::StoreFonts(Record& net) const {
  // Fields the user left alone keep their bytes.
  auto store = [](const FontControl& c, auto& face, float& height, float& width) {
    if (c.font.face != c.stored.face) StoreFace(face, c.font.face);
    if (std::memcmp(&c.font.height, &c.stored.height, sizeof(float)) != 0) height = c.font.height;
    if (std::memcmp(&c.font.width, &c.stored.width, sizeof(float)) != 0) width = c.font.width;
  };
  store(fonts_[0], net.textFontFace, net.textFontHeight, net.textFontWidth);
  store(fonts_[1], net.numberFontFace, net.numberFontHeight, net.numberFontWidth);
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

PlaneDisplayForm::PlaneDisplayForm(const PlaneNetwork& net) {
  OpenCommon(net, net.displayMode, net.textColour);
  estimateOnly_ = net.calcMode == kPrecisionEstimate;
  radius_ = SaneSetting(net.maxEllipseRadius, 6.0);
  warningDistance_ = SaneSetting(net.warningDistance, 100.0);
  radiusShown_ = ellipseRadiusText = Format("%.0f", radius_);
  distanceShown_ = warningDistanceText = Format("%.0f", warningDistance_);
  breakthroughWarning = net.breakthroughWarning != 0;
  const int count = TraverseCount(net);
  for (int i = 0; i < count; ++i) {
    const TraverseClosure t = ReadTraverseClosure(net, i);
    if (t.kind != kTraverseKind) continue;
    closures_.push_back({i, t.drawn != 0, true, TraverseLineText(t)});
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

bool PlaneDisplayForm::Confirm(PlaneNetwork& net, PlatformServices& platform) const {
  if (!AskExit(platform)) return false;
  Apply(net);
  return true;
}

void PlaneDisplayForm::Apply(PlaneNetwork& net) const {
  net.maxEllipseRadius = EllipseRadius();
  net.displayMode = DiagramKind();
  net.warningDistance = WarningDistance();
  if ((net.breakthroughWarning != 0) != breakthroughWarning) net.breakthroughWarning = breakthroughWarning ? 1 : 0;
  StoreFonts(net);
  net.textColour = textColour_;
  // Only the flag byte of an entry changes; the rest of the entry keeps its bytes.
  constexpr size_t kDrawnFlagOffset = 96;
  uint8_t* table = reinterpret_cast<uint8_t*>(&net) + kTraverseTableOffset;
  for (const auto& e : closures_) {
    uint8_t& flag = table[static_cast<size_t>(e.tableIndex) * kTraverseEntrySize + kDrawnFlagOffset];
    if ((flag != 0) != e.drawn) flag = e.drawn ? 1 : 0;
  }
}

// --- HeightDisplayForm ---------------------------------------------------------

HeightDisplayForm::HeightDisplayForm(const HeightNetwork& net) {
  OpenCommon(net, net.diagramKind, net.textColour);
  const int count = std::min(BoundedCount(net.loopCount, kMaxLoopEntries), HeightCapacityOf(net, kCapacityLoops));
  for (int i = 0; i < count; ++i) {
    const LoopEntry& e = net.loops[i];
    std::string text = LoopLineText(e);
    if (text.empty()) continue;
    closures_.push_back({i, e.drawFlag != 0, e.kind != kLoopQuadrilateral, std::move(text)});
  }
}

bool HeightDisplayForm::Confirm(HeightNetwork& net, PlatformServices& platform) const {
  if (!AskExit(platform)) return false;
  Apply(net);
  return true;
}

void HeightDisplayForm::Apply(HeightNetwork& net) const {
  net.diagramKind = SaneKind(kindIndex, static_cast<int>(KindItems().size()));
  StoreFonts(net);
  net.textColour = textColour_;
  for (const auto& e : closures_) {
    uint8_t& flag = net.loops[e.tableIndex].drawFlag;
    if ((flag != 0) != e.drawn) flag = e.drawn ? 1 : 0;
  }
}

// --- The data file after the dialog ------------------------------------------

bool FinishPlaneDisplayDialog(bool confirmed, const std::string& dataPath, SettingsBlock& settings,
                              PlaneNetwork& net, PlatformServices& platform) {
  if (confirmed) ComputeEllipseScale(net, PlaneModelFromRecord(net));
  return FinishSettingsDialog(confirmed, dataPath, settings, &net, nullptr, platform);
}

bool FinishHeightDisplayDialog(bool confirmed, const std::string& dataPath, SettingsBlock& settings,
                               HeightNetwork& net, PlatformServices& platform) {
  return FinishSettingsDialog(confirmed, dataPath, settings, nullptr, &net, platform);
}

}  // namespace qp
