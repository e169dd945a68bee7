#include "tools/independent_system.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "common/blank_line_question.h"
#include "common/finite_values.h"
#include "common/format.h"
#include "common/gbk_text.h"
#include "common/name_slot.h"
#include "common/numeric_field.h"
#include "common/report_file.h"
#include "common/table_line_reader.h"
#include "tools/point_list.h"
#include "tools/tool_file.h"

namespace qp {
namespace {

constexpr size_t kSystemNameLimit = 32;
constexpr double kMinimumRadius = 1000.0;
// National eastings are written without the zone number.
constexpr double kLowestEasting = 100000.0;
constexpr double kHighestEasting = 1000000.0;

bool NationalX(double x) { return x >= 0.0; }
bool NationalY(double y) { return y >= kLowestEasting && y <= kHighestEasting; }

bool AcceptIndependentFile(IndependentSystemFile& f) {
  if (f.nationalCount < 0 || f.nationalCount > kIndependentCapacity) return false;
  if (f.independentCount < 0 || f.independentCount > kIndependentCapacity) return false;
  if (!AllFinite({f.meridian, f.referenceX, f.referenceY, f.height, f.setX, f.setY, f.radius})) return false;
  // Confirmed reference results are used as they are stored.
  if (f.confirmed != 0 && !AllFinite({f.referenceL, f.referenceB, f.referenceXH, f.referenceYH})) return false;
  const size_t national = static_cast<size_t>(f.nationalCount);
  const size_t independent = static_cast<size_t>(f.independentCount);
  if (!AllFinite(f.nationalX, national) || !AllFinite(f.nationalY, national)) return false;
  if (!AllFinite(f.independentX, independent) || !AllFinite(f.independentY, independent)) return false;
  ZeroNonFinite(&f.referenceL, 4);
  ZeroNonFinite(f.nationalX, f.nationalY, f.independentX, f.independentY);
  return true;
}

// The points read from an edit into a list, and a list's result lines.
void StoreSlots(IndependentListSlots list, const std::vector<ListedPoint>& points) {
  StoreList(points, list.names, list.x, list.y, 0);
  list.count = static_cast<int32_t>(points.size());
}
std::string Lines(IndependentListSlots list) {
  return ListLines(ResultLine, list.names, list.x, list.y, 0, list.count - 1);
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
  systemIndex = GeodeticSystemIndex(r.system);
  modeIndex = r.mode != 0 ? kIndependentToNational : kNationalToIndependent;
  if (!r.confirmed) modeIndex = kNationalToIndependent;
  if (modeIndex == kNationalToIndependent && r.nationalCount > 0) {
    nationalText = Lines(NationalList(*record_));
  } else if (modeIndex == kIndependentToNational && r.independentCount > 0) {
    independentText = Lines(IndependentList(*record_));
  }
}

std::string IndependentSystemForm::ValidateReference(IndependentSystemFile& image) const {
  const std::string_view name = Trim(systemName);
  if (name.empty() || name.size() > kSystemNameLimit) return Gbk("标题名称不正确 !");
  const std::string_view reference = Trim(referenceName);
  if (!IsValidPointName(reference)) return Gbk("参考点点名不正确 !");
  const double referenceX = LeadingNumber(referenceXText);
  const double referenceY = LeadingNumber(referenceYText);
  if (!IsCoordinateInRange(referenceX) || !NationalY(referenceY)) return Gbk("参考点国家坐标系统的坐标不正确 !");
  const double setX = LeadingNumber(setXText);
  const double setY = LeadingNumber(setYText);
  for (const auto& [caption, value] : {std::pair{"设定坐标X", setX}, std::pair{"设定坐标Y", setY}}) {
    if (!IsCoordinateInRange(value)) return SettingOutOfRangeMessage(caption);
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
  image.system = GeodeticSystemIndex(systemIndex);
  return {};
}

Conversion IndependentSystemForm::Execute(PlatformServices& platform) {
  viewReportEnabled_ = false;
  wroteFiles_ = false;
  // Without a file the point edits are disabled; there is nothing to convert.
  if (!file_.chosen) return ConversionOutcome::NothingToDo;
  auto image = std::make_unique<IndependentSystemFile>(*record_);
  image->mode = modeIndex == kIndependentToNational ? kIndependentToNational : kNationalToIndependent;
  if (image->mode == kIndependentToNational) return IndependentToNational(*image, platform);
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
  if (!confirmed && ShowIfFailed(ValidateReference(image), platform)) return ConversionOutcome::Stopped;
  if (!Convert(image, points, !confirmed, platform)) return ConversionOutcome::Stopped;
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
  if (!Convert(image, points, true, platform)) return ConversionOutcome::Stopped;
  Complete(image, "独立到国家坐标系统转换完成...", platform);
  return ConversionOutcome::Converted;
}

// Stores the points read in the list the conversion starts from and carries
// them into the other list, the reference point computed first when asked;
// shows the result, or the message of what failed (false then).
bool IndependentSystemForm::Convert(IndependentSystemFile& image, const std::vector<ListedPoint>& points,
                                    bool computeReference, PlatformServices& platform) {
  const bool toIndependent = image.mode != kIndependentToNational;
  StoreSlots(toIndependent ? NationalList(image) : IndependentList(image), points);
  if (computeReference && ShowIfFailed(ComputeReference(image), platform)) return false;
  if (ShowIfFailed(ConvertPointList(image), platform)) return false;
  (toIndependent ? independentText : nationalText) = Lines(toIndependent ? IndependentList(image) : NationalList(image));
  return true;
}

void IndependentSystemForm::Complete(IndependentSystemFile& image, const char* doneMessage,
                                     PlatformServices& platform) {
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

namespace {

// The report's lines that name the national system, by the system's combo
// index (UTF-8 formats).
struct SystemReportTexts {
  const char* referenceX;
  const char* referenceY;
  const char* meridian;
  const char* toNational;
  const char* toIndependent;
  const char* columnsToNational;
  const char* columnsToIndependent;
};

const SystemReportTexts kSystemReportTexts[] = {
    {"\r\n          参考点[%s]国家54系统X坐标  =%11.3fm\r\n", "\r\n          参考点[%s]国家54系统Y坐标  =%11.3fm\r\n",
     "\r\n          参考点[%s]所属中央子午线   =%11.6f[度.分秒]\r\n", "独立坐标系统转换到国家54坐标系统",
     "国家54坐标系统转换到独立坐标系统", "  序号 点     名   X坐标(独立) Y坐标(独立) X坐标(54)    Y坐标(54)\r\n",
     "  序号 点     名   X坐标(54)   Y坐标(54)  X坐标(独立) Y坐标(独立)\r\n"},
    {"\r\n          参考点[%s]国家80系统X坐标=%11.3fm\r\n", "\r\n          参考点[%s]国家80系统Y坐标=%11.3fm\r\n",
     "\r\n          参考点[%s]所属中央子午线=%10.6f[度.分秒]\r\n", "独立坐标系统转换到国家80坐标系统",
     "国家80坐标系统转换到独立坐标系统", "  序号 点     名   X坐标(独立) Y坐标(独立)  X坐标(80)  Y坐标(80)\r\n",
     "  序号 点     名   X坐标(80)   Y坐标(80)  X坐标(独立) Y坐标(独立)\r\n"},
    {"\r\n          参考点[%s]国家2000系统X坐标=%11.3fm\r\n", "\r\n          参考点[%s]国家2000系统Y坐标=%11.3fm\r\n",
     "\r\n          参考点[%s]所属中央子午线=%10.6f[度.分秒]\r\n", "独立坐标系统转换到国家2000坐标系统",
     "国家2000坐标系统转换到独立坐标系统", "  序号 点     名   X坐标(独立) Y坐标(独立) X坐标(2000) Y坐标(2000)\r\n",
     "  序号 点     名   X坐标(2000) Y坐标(2000) X坐标(独立) Y坐标(独立)\r\n"},
    {"\r\n          参考点[%s]WGS84系统X坐标=%11.3fm\r\n", "\r\n          参考点[%s]WGS84系统Y坐标=%11.3fm\r\n",
     "\r\n          参考点[%s]所属中央子午线=%10.6f[度.分秒]\r\n", "独立坐标系统转换到WGS84坐标系统",
     "WGS84坐标系统转换到独立坐标系统", "  序号 点     名   X坐标(独立) Y坐标(独立) X(WGS84)    Y(WGS84)\r\n",
     "  序号 点     名   X(WGS84)    Y(WGS84)    X坐标(独立) Y坐标(独立)\r\n"},
};

}  // namespace

bool IndependentSystemForm::WriteReport(PlatformServices& platform) const {
  const IndependentSystemFile& r = *record_;
  ReportFile report;
  if (!CreateReportOrTell(report, file_.reportPath, platform)) return false;
  SectionNumber section;
  report.WriteTitleBlock(SlotText(r.systemName), platform.CurrentTime(), section);

  const std::string name(SlotText(r.referenceName));
  const char* n = name.c_str();
  const SystemReportTexts& texts = kSystemReportTexts[GeodeticSystemIndex(r.system)];
  report.PrintText(texts.referenceX, n, r.referenceX);
  report.PrintText(texts.referenceY, n, r.referenceY);
  report.PrintText(texts.meridian, n, r.meridian);
  report.PrintText("\r\n          独立坐标系统投影面的高程=%11.3fm\r\n", r.height);
  report.PrintText("\r\n          参考点[%s]独立坐标系统X坐标=%11.3fm\r\n", n, r.setX);
  report.PrintText("\r\n          参考点[%s]独立坐标系统Y坐标=%11.3fm\r\n", n, r.setY);
  report.Rule();

  const bool toNational = r.mode == kIndependentToNational;
  report.TableHead(Format("\r\n%50s\r\n\r\n", Gbk(toNational ? texts.toNational : texts.toIndependent).c_str()),
                   toNational ? texts.columnsToNational : texts.columnsToIndependent);
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
