#include "tools/independent_system.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <iterator>
#include <utility>

#include "common/blank_line_question.h"
#include "common/finite_values.h"
#include "common/format.h"
#include "common/gbk_text.h"
#include "common/name_slot.h"
#include "common/numeric_field.h"
#include "common/report_file.h"
#include "common/table_line_reader.h"
#include "geodesy/angles.h"
#include "geodesy/gauss_projection.h"
#include "tools/point_list.h"
#include "tools/tool_file.h"

namespace qp {
namespace {

constexpr size_t kSystemNameLimit = 32;
constexpr double kMinimumRadius = 1000.0;
// National eastings are written without the zone number.
constexpr double kLowestEasting = 100000.0;
constexpr double kHighestEasting = 1000000.0;

// The latitude of the pole in D.MS, with room for the conversion's guard.
constexpr double kPoleDms = 90.000001;

// A latitude and longitude that exist: finite, and not beyond a pole (the
// inverse series give such values for northings past the pole).
bool IsGeographic(double B, double L) { return std::isfinite(B) && std::isfinite(L) && std::fabs(B) <= kPoleDms; }

bool NationalX(double x) { return x >= 0.0; }
bool NationalY(double y) { return y >= kLowestEasting && y <= kHighestEasting; }

bool AcceptIndependentFile(IndependentSystemFile& f) {
  if (f.nationalCount < 0 || f.nationalCount > kIndependentCapacity) return false;
  if (f.independentCount < 0 || f.independentCount > kIndependentCapacity) return false;
  const double inputs[] = {f.meridian, f.referenceX, f.referenceY, f.height, f.setX, f.setY, f.radius};
  if (!AllFinite(inputs, std::size(inputs))) return false;
  // Confirmed reference results are used as they are stored.
  const double results[] = {f.referenceL, f.referenceB, f.referenceXH, f.referenceYH};
  if (f.confirmed != 0 && !AllFinite(results, std::size(results))) return false;
  const size_t national = static_cast<size_t>(f.nationalCount);
  const size_t independent = static_cast<size_t>(f.independentCount);
  if (!AllFinite(f.nationalX, national) || !AllFinite(f.nationalY, national)) return false;
  if (!AllFinite(f.independentX, independent) || !AllFinite(f.independentY, independent)) return false;
  ZeroNonFinite(&f.referenceL, 4);
  ZeroNonFinite(f.nationalX);
  ZeroNonFinite(f.nationalY);
  ZeroNonFinite(f.independentX);
  ZeroNonFinite(f.independentY);
  return true;
}

// Latitude and longitude of the reference point, and its place on the raised
// surface around its own meridian. False when the numbers overflow.
bool ComputeReference(IndependentSystemFile& image) {
  const GeodeticSystem system = GeodeticSystemFromSelector(image.system);
  double B = 0.0;
  double L = 0.0;
  double xh = 0.0;
  double yh = 0.0;
  GaussInverse(image.referenceX, image.referenceY, image.meridian, system, 0.0, B, L);
  GaussForward(B, L, L, system, image.height, xh, yh);
  if (!(IsGeographic(B, L) && std::isfinite(xh) && std::isfinite(yh))) return false;
  image.referenceB = B;
  image.referenceL = L;
  image.referenceXH = xh;
  image.referenceYH = yh;
  return true;
}

// One of the file's two point lists.
struct ListSlots {
  char (*names)[11];
  double* x;
  double* y;
  int32_t& count;

  void Store(const std::vector<ListedPoint>& points) {
    StoreList(points, names, x, y, 0);
    count = static_cast<int32_t>(points.size());
  }
  std::string Lines() const { return ListLines(ResultLine, names, x, y, 0, count - 1); }
};

ListSlots NationalList(IndependentSystemFile& f) {
  return {f.nationalNames, f.nationalX, f.nationalY, f.nationalCount};
}
ListSlots IndependentList(IndependentSystemFile& f) {
  return {f.independentNames, f.independentX, f.independentY, f.independentCount};
}

// Converts one point through latitude and longitude; false when the point
// cannot be converted (the numbers overflow or pass a pole).
bool ConvertPoint(double x, double y, double fromMeridian, double fromHeight, double toMeridian, double toHeight,
                  GeodeticSystem system, double& newX, double& newY) {
  double B = 0.0;
  double L = 0.0;
  GaussInverse(x, y, fromMeridian, system, fromHeight, B, L);
  GaussForward(B, L, toMeridian, system, toHeight, newX, newY);
  return IsGeographic(B, L) && std::isfinite(newX) && std::isfinite(newY);
}

// The values of a new .SLT file.
void ResetIndependentSystemFile(IndependentSystemFile& file) {
  std::memset(static_cast<void*>(&file), 0, sizeof file);
  file.mode = kNationalToIndependent;
  SetSlotText(file.systemName, Gbk("XX工程独立坐标系统"));
  SetSlotText(file.referenceName, Gbk("参考点名称"));
  file.meridian = 111.0;
  file.radius = kMinimumRadius;
}

}  // namespace

const std::vector<std::string>& IndependentModeItems() {
  static const std::vector<std::string> items = {Gbk("国家转到独立"), Gbk("独立转到国家")};
  return items;
}

IndependentEnabling IndependentSystemForm::Enabling() const {
  IndependentEnabling e;
  e.viewReport = viewReportEnabled_;
  if (!file_.chosen) return e;
  const bool confirmed = Confirmed();
  e.referenceGroup = e.systemName = e.radius = !confirmed;
  e.nationalEdit = true;
  // Until the reference data are confirmed only national -> independent runs.
  e.independentEdit = e.modeCombo = confirmed;
  return e;
}

void IndependentSystemForm::ChooseFile(const std::string& path, PlatformServices& platform) {
  if (LoadFile(path)) return;
  // A file of the record's length that does not load is damaged data: it is
  // refused, never offered for replacement, and the earlier choice stays.
  if (IsRegularFileOfSize(path, sizeof(IndependentSystemFile))) {
    platform.ShowMessage(Gbk("独立坐标系统数据文件错误 !"));
    return;
  }
  // The defaults replace what the controls showed. A file chosen before is
  // given up: its data are no longer in the controls, and a later conversion
  // must not write the defaults over it.
  ResetIndependentSystemFile(*record_);
  file_ = ChosenToolFile();
  viewReportEnabled_ = false;
  if (platform.Ask(Gbk("请确认新建独立坐标系统转换数据文件 ..."), Buttons::YesNo, Answer::Yes) == Answer::Yes &&
      !CreateFile(path)) {
    platform.ShowMessage(Gbk("独立坐标系统数据文件写入错误 !"));
  }
  FillControls();
}

// The report of another file is not this one's.
bool IndependentSystemForm::LoadFile(const std::string& path) {
  if (!LoadRecord(path, AcceptIndependentFile)) return false;
  viewReportEnabled_ = false;
  FillControls();
  return true;
}

bool IndependentSystemForm::CreateFile(const std::string& path) {
  if (!CreateRecord(path, ResetIndependentSystemFile)) return false;
  viewReportEnabled_ = false;
  FillControls();
  return true;
}

void IndependentSystemForm::FillControls() {
  const IndependentSystemFile& r = *record_;
  referenceName = std::string(SlotText(r.referenceName));
  meridianText = Format("%.6f", r.meridian);
  referenceXText = Format("%.3f", r.referenceX);
  referenceYText = Format("%.3f", r.referenceY);
  heightText = Format("%.3f", r.height);
  setXText = Format("%.3f", r.setX);
  setYText = Format("%.3f", r.setY);
  systemName = std::string(SlotText(r.systemName));
  radiusText = Format("%.0f", r.radius);
  systemIndex = r.system != 0 ? 1 : 0;
  modeIndex = r.mode != 0 ? kIndependentToNational : kNationalToIndependent;
  if (!r.confirmed) modeIndex = kNationalToIndependent;
  if (modeIndex == kNationalToIndependent && r.nationalCount > 0) {
    nationalText = NationalList(*record_).Lines();
  } else if (modeIndex == kIndependentToNational && r.independentCount > 0) {
    independentText = IndependentList(*record_).Lines();
  }
}

bool IndependentSystemForm::ValidateReference(IndependentSystemFile& image, PlatformServices& platform) const {
  const std::string_view name = Trim(systemName);
  if (name.empty() || name.size() > kSystemNameLimit) {
    platform.ShowMessage(Gbk("标题名称不正确 !"));
    return false;
  }
  const std::string_view reference = Trim(referenceName);
  if (!IsValidPointName(reference)) {
    platform.ShowMessage(Gbk("参考点点名不正确 !"));
    return false;
  }
  const double referenceX = LeadingNumber(referenceXText);
  const double referenceY = LeadingNumber(referenceYText);
  if (!IsCoordinateInRange(referenceX) || !(referenceY >= kLowestEasting && referenceY <= kHighestEasting)) {
    platform.ShowMessage(Gbk("参考点国家坐标系统的坐标不正确 !"));
    return false;
  }
  const double setX = LeadingNumber(setXText);
  const double setY = LeadingNumber(setYText);
  for (const auto& [caption, value] : {std::pair{"设定坐标X", setX}, std::pair{"设定坐标Y", setY}}) {
    if (!IsCoordinateInRange(value)) {
      platform.ShowMessage(SettingOutOfRangeMessage(caption));
      return false;
    }
  }
  SetSlotText(image.systemName, name);
  SetSlotText(image.referenceName, reference);
  image.meridian = LeadingNumber(meridianText);
  image.referenceX = referenceX;
  image.referenceY = referenceY;
  image.height = LeadingNumber(heightText);
  image.setX = setX;
  image.setY = setY;
  image.radius = std::max(LeadingNumber(radiusText), kMinimumRadius);
  image.system = systemIndex != 0 ? 1 : 0;
  return true;
}

Conversion IndependentSystemForm::Execute(PlatformServices& platform) {
  viewReportEnabled_ = false;
  wroteFiles_ = false;
  // Without a file the point edits are disabled; there is nothing to convert.
  if (!file_.chosen) return ConversionOutcome::NothingToDo;
  auto image = std::make_unique<IndependentSystemFile>(*record_);
  if (modeIndex == kIndependentToNational) return IndependentToNational(*image, platform);
  return NationalToIndependent(*image, platform);
}

Conversion IndependentSystemForm::NationalToIndependent(IndependentSystemFile& image, PlatformServices& platform) {
  PointListRules rules;
  rules.caption = "国家坐标系统坐标";
  rules.acceptX = NationalX;
  rules.acceptY = NationalY;
  std::vector<ListedPoint> points;
  if (!ConfirmBlankLineCut(nationalText, {rules.caption, 0, rules.firstLineNumber}, platform)) {
    return ConversionOutcome::Stopped;
  }
  if (InputCheck read = ReadPointList(nationalText, rules, points, platform); !read) {
    return {ConversionOutcome::Stopped, std::move(read.rejected)};
  }
  if (points.empty()) {
    platform.ShowMessage(Gbk("国家坐标系统数据输入不正确 !"));
    return ConversionOutcome::Stopped;
  }
  const bool confirmed = image.confirmed != 0;
  if (!confirmed) {
    if (!ValidateReference(image, platform)) return ConversionOutcome::Stopped;
    if (!ComputeReference(image)) {
      platform.ShowMessage(Gbk("参考点信息不正确, 无法计算 !"));
      return ConversionOutcome::Stopped;
    }
  }
  if (!Convert(image, points, platform)) return ConversionOutcome::Stopped;
  if (!confirmed && ConfirmYesNoDefaultNo(platform, Gbk("请确认参考点信息输入正确并且不再修改 ..."))) {
    image.confirmed = 1;
  }
  Complete(image, "国家到独立坐标系统转换完成...", platform);
  return ConversionOutcome::Converted;
}

Conversion IndependentSystemForm::IndependentToNational(IndependentSystemFile& image, PlatformServices& platform) {
  if (image.confirmed == 0) {
    platform.ShowMessage(Gbk("参考点信息确认后才能进行独立坐标到国家坐标的转换 !"));
    return ConversionOutcome::Stopped;
  }
  PointListRules rules;
  rules.caption = "独立坐标系统坐标";
  rules.box = 1;
  if (!ConfirmBlankLineCut(independentText, {rules.caption, 1, rules.firstLineNumber}, platform)) {
    return ConversionOutcome::Stopped;
  }
  std::vector<ListedPoint> points;
  if (!ReadPointList(independentText, rules, points, platform)) {
    platform.ShowMessage(Gbk("独立坐标系统数据输入不正确 !"));
    return ConversionOutcome::Stopped;
  }
  if (points.empty()) return ConversionOutcome::NothingToDo;
  if (!ComputeReference(image)) {
    platform.ShowMessage(Gbk("参考点信息不正确, 无法计算 !"));
    return ConversionOutcome::Stopped;
  }
  if (!Convert(image, points, platform)) return ConversionOutcome::Stopped;
  Complete(image, "独立到国家坐标系统转换完成...", platform);
  return ConversionOutcome::Converted;
}

// The points of the list of the combo's mode carried into the other system,
// each first checked against the valid radius around the reference point in
// its own system; both lists are stored and the result is shown. False, with
// the message naming the first point too far or that cannot be converted,
// when one is.
bool IndependentSystemForm::Convert(IndependentSystemFile& image, const std::vector<ListedPoint>& points,
                                    PlatformServices& platform) {
  const bool toIndependent = modeIndex != kIndependentToNational;
  const std::string& from = Gbk(toIndependent ? "国家" : "独立");
  const double centreX = toIndependent ? image.referenceX : image.setX;
  const double centreY = toIndependent ? image.referenceY : image.setY;
  for (size_t i = 0; i < points.size(); ++i) {
    if (DistanceOf(points[i].x, points[i].y, centreX, centreY) > image.radius) {
      platform.ShowMessage(FormatText("%s坐标系统第[%d]个超过设定的范围 !", from.c_str(), static_cast<int>(i) + 1));
      return false;
    }
  }
  const GeodeticSystem system = GeodeticSystemFromSelector(image.system);
  std::vector<ListedPoint> converted = points;
  for (size_t i = 0; i < converted.size(); ++i) {
    ListedPoint& p = converted[i];
    bool ok = false;
    if (toIndependent) {
      ok = ConvertPoint(p.x, p.y, image.meridian, 0.0, image.referenceL, image.height, system, p.x, p.y);
      p.x = p.x + image.setX - image.referenceXH;
      p.y = p.y + image.setY - image.referenceYH;
    } else {
      ok = ConvertPoint(p.x - image.setX + image.referenceXH, p.y - image.setY + image.referenceYH, image.referenceL,
                        image.height, image.meridian, 0.0, system, p.x, p.y);
    }
    if (!ok) {
      platform.ShowMessage(FormatText("%s坐标系统第[%d]个坐标无法转换 !", from.c_str(), static_cast<int>(i) + 1));
      return false;
    }
  }
  ListSlots to = toIndependent ? IndependentList(image) : NationalList(image);
  (toIndependent ? NationalList(image) : IndependentList(image)).Store(points);
  to.Store(converted);
  (toIndependent ? independentText : nationalText) = to.Lines();
  return true;
}

void IndependentSystemForm::Complete(IndependentSystemFile& image, const char* doneMessage,
                                     PlatformServices& platform) {
  image.mode = modeIndex == kIndependentToNational ? kIndependentToNational : kNationalToIndependent;
  *record_ = image;
  wroteFiles_ = SaveRecord("独立坐标系统数据文件写入错误 !", platform);
  if (WriteReport(platform)) {
    viewReportEnabled_ = true;
  } else {
    wroteFiles_ = false;
  }
  platform.ShowMessage(Gbk(doneMessage));
}

void IndependentSystemForm::ViewReport(PlatformServices& platform) {
  if (viewReportEnabled_) OpenInTextEditor(platform, file_.reportPath);
}

bool IndependentSystemForm::WriteReport(PlatformServices& platform) const {
  const IndependentSystemFile& r = *record_;
  ReportFile report;
  if (!CreateReportOrTell(report, file_.reportPath, platform)) return false;
  SectionNumber section;
  report.WriteTitleBlock(SlotText(r.systemName), platform.CurrentTime(), section);

  const std::string name(SlotText(r.referenceName));
  const char* n = name.c_str();
  if (r.system == 0) {
    report.PrintText("\r\n          参考点[%s]国家54系统X坐标  =%11.3fm\r\n", n, r.referenceX);
    report.PrintText("\r\n          参考点[%s]国家54系统Y坐标  =%11.3fm\r\n", n, r.referenceY);
    report.PrintText("\r\n          参考点[%s]所属中央子午线   =%11.6f[度.分秒]\r\n", n, r.meridian);
  } else {
    report.PrintText("\r\n          参考点[%s]国家80系统X坐标=%11.3fm\r\n", n, r.referenceX);
    report.PrintText("\r\n          参考点[%s]国家80系统Y坐标=%11.3fm\r\n", n, r.referenceY);
    report.PrintText("\r\n          参考点[%s]所属中央子午线=%10.6f[度.分秒]\r\n", n, r.meridian);
  }
  report.PrintText("\r\n          独立坐标系统投影面的高程=%11.3fm\r\n", r.height);
  report.PrintText("\r\n          参考点[%s]独立坐标系统X坐标=%11.3fm\r\n", n, r.setX);
  report.PrintText("\r\n          参考点[%s]独立坐标系统Y坐标=%11.3fm\r\n", n, r.setY);
  report.Rule();

  const bool toNational = r.mode == kIndependentToNational;
  const bool system54 = r.system == 0;
  const char* heading = toNational ? (system54 ? "独立坐标系统转换到国家54坐标系统" : "独立坐标系统转换到国家80坐标系统")
                                   : (system54 ? "国家54坐标系统转换到独立坐标系统" : "国家80坐标系统转换到独立坐标系统");
  report.Printf("\r\n%50s\r\n\r\n", Gbk(heading).c_str());
  report.Rule();
  const char* columns =
      toNational ? (system54 ? "  序号 点     名   X坐标(独立) Y坐标(独立) X坐标(54)    Y坐标(54)\r\n"
                             : "  序号 点     名   X坐标(独立) Y坐标(独立)  X坐标(80)  Y坐标(80)\r\n")
                 : (system54 ? "  序号 点     名   X坐标(54)   Y坐标(54)  X坐标(独立) Y坐标(独立)\r\n"
                             : "  序号 点     名   X坐标(80)   Y坐标(80)  X坐标(独立) Y坐标(独立)\r\n");
  report.Write(Gbk(columns));
  report.Rule();
  // The list converted from comes first.
  for (int i = 0; i < r.nationalCount; ++i) {
    const double national[] = {r.nationalX[i], r.nationalY[i]};
    const double independent[] = {r.independentX[i], r.independentY[i]};
    const double* from = toNational ? independent : national;
    const double* to = toNational ? national : independent;
    const std::string pointName(SlotText(toNational ? r.independentNames[i] : r.nationalNames[i]));
    report.Printf("%5d  %-11.10s%11.3f %11.3f %11.3f %11.3f\r\n", i, pointName.c_str(), from[0], from[1], to[0], to[1]);
  }
  report.Rule();
  report.Printf("%s\r\n\r\n", " ");
  report.Rule();
  return CloseReportOrTell(report, platform);
}

}  // namespace qp
