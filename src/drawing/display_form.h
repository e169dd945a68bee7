// The two display settings dialogs without their windows: "平面网显示设置对话框"
// for the plane diagram and "高程控制网显示设置对话框" for the height diagram.
// They choose the diagram kind, the fonts of names and numbers, which closures
// are written on the diagram and (plane) the ellipse size and the
// breakthrough warning.
//
// A form reads the network model when it opens and keeps its own copy of the
// settings while the user works; only confirmation writes them back into the
// model's diagram style and closure flags. A window shows the public texts
// and calls one method per control action. All texts are GBK.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "common/platform_services.h"
#include "height/height_model.h"
#include "plane/plane_model.h"

namespace qp {

// Items of the "绘图选项" combos (GBK); the index is the stored diagram kind.
const std::vector<std::string>& PlaneDiagramKindItems();   // "1控制网图" .. "7边长方位角"
const std::vector<std::string>& HeightDiagramKindItems();  // "0高程控制网网图" .. "3高差平差值"

// Tool tips of the dialogs' controls (UTF-8), keyed by the control's caption.
const std::vector<std::pair<const char*, const char*>>& PlaneDisplayToolTips();
const std::vector<std::pair<const char*, const char*>>& HeightDisplayToolTips();

enum class DiagramFontRole { Text, Number };  // buttons "文本字高", "数字字高"

struct DiagramFont {
  std::string face;  // GBK, at most 30 bytes when chosen here
  float height = 0.0f;  // mm
  float width = 0.0f;   // mm
};

// What a font selection hands back: sizes in device pixels of the sheet's
// resolution.
struct FontChoice {
  std::string face;          // GBK
  double heightPixels = 0;   // its magnitude is used
  double widthPixels = 0;    // 0: the font has no width of its own
  int32_t colour = 0;        // 0x00BBGGRR
};

// One line of the closure list: the table entry it shows and its flag.
struct ClosureListEntry {
  int tableIndex = 0;          // index of the model's traverse or loop
  bool drawn = false;          // the entry's drawing flag
  bool drawnByDefault = true;  // what "恢复默认" gives it
  std::string text;            // the line after its "[Y]"/"[N]" marker
};

// What the two dialogs share: name, kind combo, fonts, closure list, cancel.
class DisplayForm {
 public:
  virtual ~DisplayForm() = default;

  const std::string& NetworkName() const { return networkName_; }  // "控制网名", read-only
  int kindIndex = 0;                                               // "绘图选项"
  // "注记避让": not part of the record but of the label marks beside the data
  // file; whoever opens the dialog fills it and stores it on confirmation
  // (declutter_setting.h).
  bool declutter = false;
  virtual const std::vector<std::string>& KindItems() const = 0;

  // --- Fonts ----------------------------------------------------------------
  const DiagramFont& Font(DiagramFontRole role) const { return fonts_[Slot(role)].font; }
  // The font button's caption "%s,%.1f" (face, height).
  const std::string& FontCaption(DiagramFontRole role) const { return fonts_[Slot(role)].caption; }
  // The height edit beside the button.
  const std::string& HeightText(DiagramFontRole role) const { return fonts_[Slot(role)].heightText; }
  int32_t TextColour() const { return textColour_; }
  void SetTextColour(int32_t colour) { textColour_ = colour; }

  // A font selection returned `choice`; `resolutionDpi` is the sheet's. False
  // (nothing changes) when the face is empty or longer than 30 bytes, or the
  // sizes cannot be converted.
  bool ChooseFont(DiagramFontRole role, const FontChoice& choice, double resolutionDpi);
  // The face alone, for callers without a font selection (same face rule).
  bool SetFontFace(DiagramFontRole role, const std::string& face);
  // The height edit now holds `text` (called on every change, i.e. after every
  // keystroke). A number strictly between 0.95 and 6.1 becomes the font's
  // height with half of it as width; anything else empties the edit and keeps
  // the height. True when the text was taken.
  bool EditHeight(DiagramFontRole role, const std::string& text);

  // --- Closure list ---------------------------------------------------------
  const std::vector<ClosureListEntry>& Closures() const { return closures_; }
  // Line `i` as the list shows it: "[Y]" or "[N]" and the entry's text.
  std::string ClosureLine(int i) const;
  std::vector<std::string> ClosureLines() const;
  // Double click on line `i`: toggles the entry's flag (the line is rewritten
  // in place). False for a line that does not exist.
  bool ToggleClosure(int i);
  void SetClosureDrawn(int i, bool drawn);
  // "全部显示", "全部关闭", "恢复默认": each asks first and does nothing on No.
  bool ShowAllClosures(PlatformServices& platform);
  bool HideAllClosures(PlatformServices& platform);
  bool RestoreDefaultClosures(PlatformServices& platform);

  // "取消": asks "请确认放弃..."; true when the dialog closes. The model is
  // untouched; the document then reads the data file back.
  bool Cancel(PlatformServices& platform) const;

 protected:
  struct FontControl {
    DiagramFont font;
    std::string caption;
    std::string heightText;
  };

  static int Slot(DiagramFontRole role) { return role == DiagramFontRole::Text ? 0 : 1; }
  template <typename Style>
  void OpenCommon(const std::string& networkName, const Style& style);
  template <typename Style>
  void StoreTextStyle(Style& style) const;
  // "请确认退出...", asked by both confirmations.
  static bool AskExit(PlatformServices& platform);

  std::string networkName_;
  FontControl fonts_[2];
  int32_t textColour_ = 0;
  std::vector<ClosureListEntry> closures_;

 private:
  void UpdateCaption(FontControl& control);
};

// "平面网显示设置对话框".
class PlaneDisplayForm : public DisplayForm {
 public:
  explicit PlaneDisplayForm(const PlaneModel& model);

  const std::vector<std::string>& KindItems() const override { return PlaneDiagramKindItems(); }

  std::string ellipseRadiusText;    // "椭圆尺度", maximum ellipse radius in mm, shown "%.0f"
  bool breakthroughWarning = true;  // "贯通预警"
  std::string warningDistanceText;  // the distance edit beside it, m, shown "%.0f"

  // The values "确定" takes: radius within 3..30 mm, distance within
  // 30..200 m, the kind at most 6 while the network is only estimated. An edit
  // whose text was not changed keeps the stored value (within its range).
  double EllipseRadius() const;
  double WarningDistance() const;
  int DiagramKind() const;

  // "确定": asks "请确认退出..." and on Yes writes the settings into `model`.
  bool Confirm(PlaneModel& model, PlatformServices& platform) const;
  // The same without the question.
  void Apply(PlaneModel& model) const;

 private:
  bool estimateOnly_ = false;
  double radius_ = 6.0;
  double warningDistance_ = 100.0;
  std::string radiusShown_;
  std::string distanceShown_;
};

// "高程控制网显示设置对话框".
class HeightDisplayForm : public DisplayForm {
 public:
  explicit HeightDisplayForm(const HeightModel& model);

  const std::vector<std::string>& KindItems() const override { return HeightDiagramKindItems(); }

  // "确定": asks "请确认退出..." and on Yes writes the settings into `model`.
  bool Confirm(HeightModel& model, PlatformServices& platform) const;
  void Apply(HeightModel& model) const;
};

}  // namespace qp
