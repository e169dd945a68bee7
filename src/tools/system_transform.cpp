#include "tools/system_transform.h"

#include "common/blank_line_question.h"
#include "common/finite_values.h"
#include "common/format.h"
#include "common/gbk_text.h"
#include "common/name_slot.h"
#include "common/numeric_field.h"
#include "common/report_file.h"
#include "tools/point_list.h"
#include "tools/tool_file.h"

namespace qp {
namespace {

bool AcceptSystemFile(SystemTransformFile& f) {
  if (f.oldCount < 0 || f.oldCount > kSystemListCapacity) return false;
  if (f.newCount < 0 || f.newCount > kSystemListCapacity) return false;
  const size_t oldN = static_cast<size_t>(f.oldCount);
  const size_t newN = static_cast<size_t>(f.newCount);
  if (!AllFinite(f.oldX + 1, oldN) || !AllFinite(f.oldY + 1, oldN)) return false;
  if (!AllFinite(f.newX + 1, newN) || !AllFinite(f.newY + 1, newN)) return false;
  ZeroNonFinite(f.oldX, f.oldY, f.transformedX, f.transformedY, f.newX, f.newY);
  ZeroNonFinite(&f.sigma, 1);
  ZeroNonFinite(f.parameters);
  return true;
}

}  // namespace

void SystemTransformForm::ChooseFile(const std::string& path, PlatformServices& platform) {
  LoadOrCreateOnRequest(*this, path, "请确认新建坐标转换数据文件 ...", "坐标转换数据文件错误 !",
                        "坐标转换数据文件写入错误 !", platform);
}

// A result shown belongs to the file it was computed for.
bool SystemTransformForm::LoadFile(const std::string& path) {
  if (!LoadRecord(path, AcceptSystemFile)) return false;
  computed_ = false;
  if (record_->oldCount > 0 || record_->newCount > 0) FillControls();
  return true;
}

bool SystemTransformForm::CreateFile(const std::string& path) {
  if (!CreateRecord(path)) return false;
  computed_ = false;
  return true;
}

void SystemTransformForm::FillControls() {
  const SystemTransformFile& r = *record_;
  oldText = ListLines(InputLine, r.oldNames, r.oldX, r.oldY, 1, r.oldCount);
  newText = ListLines(InputLine, r.newNames, r.newX, r.newY, 1, r.newCount);
  title = std::string(SlotText(r.title));
}

bool SystemTransformForm::PointTextEdited(PlatformServices& platform) {
  if (file_.chosen) return true;
  oldText.clear();
  newText.clear();
  return ShowAndFail(platform, Gbk("首先新建或打开一个坐标转换数据文件 !"));
}

InputCheck SystemTransformForm::ReadControls(SystemTransformFile& image, PlatformServices& platform) const {
  PointListRules rules;
  rules.caption = "旧坐标";  // errors in either list are reported with the same texts
  rules.firstLineNumber = 1;
  rules.capacity = kSystemListCapacity;
  // The other tools bound their coordinates by their own ranges; this one has
  // none but that no surveying coordinate is as large.
  rules.acceptX = rules.acceptY = IsCoordinateInRange;
  std::vector<ListedPoint> points;
  if (!ConfirmBlankLineCut(oldText, {rules.caption, 0, rules.firstLineNumber}, platform)) return Refused();
  if (InputCheck read = ReadPointList(oldText, rules, points, platform); !read) return read;
  StoreList(points, image.oldNames, image.oldX, image.oldY, 1);
  image.oldCount = static_cast<int32_t>(points.size());
  // The new list's messages are the old list's, and name its box (rules.box 0).
  if (!ConfirmBlankLineCut(newText, {"新坐标", 1, rules.firstLineNumber}, platform)) return Refused();
  if (InputCheck read = ReadPointList(newText, rules, points, platform); !read) return read;
  StoreList(points, image.newNames, image.newX, image.newY, 1);
  image.newCount = static_cast<int32_t>(points.size());
  if (!ReadTitle(title, image.title, platform)) return Refused();
  return Accepted();
}

InputCheck SystemTransformForm::Execute(PlatformServices& platform) {
  if (!file_.chosen) return Refused();
  computed_ = false;
  auto image = std::make_unique<SystemTransformFile>(*record_);
  if (InputCheck read = ReadControls(*image, platform); !read) return read;
  if (ShowIfFailed(FitSystemTransform(*image), platform)) return Refused();
  *record_ = *image;
  computed_ = true;

  bool ok = WriteReport(platform);
  ok = SaveRecord("坐标转换数据文件写入错误 !", platform) && ok;
  OfferReport("坐标转换完成...", platform);
  return {ok, std::nullopt};
}

std::string SystemTransformForm::ResultText() const {
  if (!computed_) return {};
  const SystemTransformFile& r = *record_;
  return ListLines(ResultLine, r.oldNames, r.transformedX, r.transformedY, 1, r.oldCount);
}

bool SystemTransformForm::WriteReport(PlatformServices& platform) const {
  const SystemTransformFile& r = *record_;
  const int m = r.commonCount;
  ReportFile report;
  if (!CreateReportOrTell(report, file_.reportPath, platform)) return false;
  auto pointRow = [&report](long serial, std::string_view name, double x, double y) {
    report.Printf("%6ld   %-26.16s%15.4f%15.4f\r\n", serial, std::string(name).c_str(), x, y);
  };
  const char* const columns = "  序号   点        名                     X坐标         Y坐标\r\n";

  SectionNumber section;
  report.WriteTitleBlock(SlotText(r.title), platform.CurrentTime(), section);
  report.PrintText("\r\n%35s   %d个\r\n", Gbk("重合点数").c_str(), m);

  report.TableHead(
      FormatText("\r\n\r\n%18d.坐标转换旧坐标<个数:%ld   单位:米>\r\n", section.Take(), static_cast<long>(r.oldCount)),
      columns);
  for (int i = 1; i <= r.oldCount; ++i) pointRow(i, SlotText(r.oldNames[i]), r.oldX[i], r.oldY[i]);
  report.Rule();

  report.TableHead(
      FormatText("\r\n\r\n%18d.坐标转换新坐标<个数:%ld   单位:米>\r\n", section.Take(), static_cast<long>(r.newCount)),
      columns);
  for (int i = 1; i <= r.newCount; ++i) pointRow(i, SlotText(r.newNames[i]), r.newX[i], r.newY[i]);
  report.Rule();
  report.Printf("%s\r\n\r\n", " ");

  if (2 * m > r.parameterCount) {
    report.PrintText("\r\n\r\n%18d.新旧坐标转换残差计算<个数: %5d>\r\n", section.Take(), 2 * m);
    report.Rule();
    report.TableHead(FormatText("%35.20s %8.2f毫米\r\n", Gbk("新旧坐标换算中误差=").c_str(), r.sigma),
                     "  序号   点        名    转换前新坐标X/Y 转换后新坐标X/Y 残差(mm)\r\n");
    for (int i = 1; i <= m; ++i) {
      const double vx = (r.transformedX[i] - r.newX[i]) * 1000.0;
      const double vy = (r.transformedY[i] - r.newY[i]) * 1000.0;
      report.Printf("%6ld   %-16.16s%15.4f%15.4f%10.2f\r\n", static_cast<long>(i),
                    std::string(SlotText(r.newNames[i])).c_str(), r.newX[i], r.transformedX[i], vx);
      report.Printf("%-25.16s%15.4f%15.4f%10.2f\r\n", "", r.newY[i], r.transformedY[i], vy);
    }
    report.Rule();
  }

  report.TableHead(
      FormatText("\r\n\r\n%18d.重合点新坐标系统的坐标<个数:%ld   单位:米>\r\n", section.Take(), static_cast<long>(m)),
      columns);
  for (int i = 1; i <= m; ++i) pointRow(i, SlotText(r.newNames[i]), r.newX[i], r.newY[i]);
  report.Rule();

  if (m < r.oldCount) {
    report.TableHead(FormatText("\r\n\r\n%18d.旧系统下坐标转换到新系统结果<个数:%ld 单位:米>\r\n", section.Take(),
                                static_cast<long>(r.oldCount - m)),
                     columns);
    for (int i = m + 1; i <= r.oldCount; ++i) pointRow(i, SlotText(r.oldNames[i]), r.transformedX[i], r.transformedY[i]);
    report.Rule();
  }
  return CloseReportOrTell(report, platform);
}

}  // namespace qp
