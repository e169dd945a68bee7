// The raw-data report of a confirmed height network: basic information, the
// input tables and the approximate heights; when adjusting, the levelling
// lines and the closure check follow.
#include "height/height_raw_report.h"

#include "common/format.h"
#include "common/gbk_text.h"
#include "height/height_closures.h"

namespace qp {
namespace {

// The next section, headed `heading` (taking its number and the count):
// rows "number, name, height" for points first .. first+count-1, numbered
// from first+1.
void HeightTable(ReportFile& report, const HeightModel& m, SectionNumber& section, const char* heading, int first,
                 int count) {
  report.TableHead(FormatText(heading, section.Take(), long{count}),
                   "  序号 点    名                                         H高程(米)\r\n");
  for (int i = first; i < first + count; ++i) {
    report.Printf("%5ld  %-48.10s%10.4f\r\n", long{i + 1}, m.points[i].name.c_str(), m.points[i].height);
  }
  report.Rule();
}

void WriteBasicInformation(ReportFile& report, const HeightModel& m, SectionNumber& section) {
  const long total = m.PointCount();
  const long known = m.KnownCount();
  const long unknown = m.UnknownPointCount();
  const long observations = static_cast<long>(m.differences.size());
  report.Printf("\r\n%26d.%s\r\n", section.Take(), Gbk("控制网基本信息").c_str());
  report.Printf("%17s%-8ld%-12s%-8ld%-12s%-8ld\r\n", Gbk("全网总点数:  ").c_str(), total, Gbk("已知点点数:  ").c_str(),
                known, Gbk("待定点点数:  ").c_str(), unknown);
  report.Printf("%17s%-8ld%-12s%-8ld%-12s%-8ld\r\n", Gbk("概略高程点数:").c_str(), static_cast<long>(m.ApproxCount()),
                Gbk("多余观测数:  ").c_str(), observations - unknown, Gbk("坐标点个数:").c_str(),
                static_cast<long>(m.coordinates.size()));
  const bool levelling = m.kind != kTrigonometricNetwork;
  if (m.mode == kHeightAdjust) {
    report.Printf("%17s%-8ld%-12s%-8.2f%-22s\r\n", Gbk("高差观测个数:").c_str(), observations,
                  Gbk("验前中误差:  ").c_str(), m.priorError,
                  Gbk(levelling ? "网形类别:水准网" : "网形类别:三角高程网").c_str());
  } else {
    report.Printf("%17s%-8ld%-22s\r\n", Gbk("高差观测个数:").c_str(), observations,
                  Gbk(levelling ? "网形类别  :水准网" : "网形类别  :三角高程网").c_str());
  }
  report.Rule();
}

void WriteInputTables(ReportFile& report, const HeightModel& m, SectionNumber& section) {
  const int known = m.KnownCount();
  const int approx = m.ApproxCount();
  const int unknown = m.UnknownPointCount();
  if (known > 0) HeightTable(report, m, section, "\r\n\r\n%18d.已知点高程<个数:%ld   单位:米>\r\n", 0, known);
  if (approx > 0 && approx != unknown) {
    HeightTable(report, m, section, "\r\n\r\n%18d.已知概略高程<个数:%ld   单位:米>\r\n", known, approx);
  } else if (approx == unknown && known == 0) {
    HeightTable(report, m, section, "\r\n\r\n%18d.秩亏网解算近似高程<个数:%ld   单位:米>\r\n", known, approx);
  }

  const long observations = static_cast<long>(m.differences.size());
  if (observations > 0) {
    report.TableHead(FormatText("\r\n\r\n%18d.高差观测值<个数:%ld   单位:米>\r\n", section.Take(), observations),
                     "  序号 点    名   点    名               观测高差(m)     定权元素\r\n");
    long number = 1;
    for (const HeightDifference& d : m.differences) {
      report.Printf("%5ld  %-11.10s%-20.10s%10.4f     %12.2f\r\n", number++, d.fromName.c_str(), d.toName.c_str(),
                    d.observed, d.weightElement);
    }
    report.Rule();
  }

  const long pairs = static_cast<long>(m.pairs.size());
  if (pairs > 0) {
    report.TableHead(FormatText("\r\n\r\n%18d.评定精度点或端点的点名<个数:%ld>\r\n", section.Take(), pairs),
                     "  序号 点    名   点    名\r\n");
    long number = 1;
    for (const HeightPair& pair : m.pairs) {
      report.Printf("%5ld  %-11.10s%-11.10s\r\n", number++, pair.fromName.c_str(), pair.toName.c_str());
    }
    report.Rule();
  }

  const long coordinates = static_cast<long>(m.coordinates.size());
  if (coordinates > 0) {
    report.TableHead(FormatText("\r\n\r\n%18d.高程点平面坐标<个数:%ld>\r\n", section.Take(), coordinates),
                     "  序号 点    名               X坐标         Y坐标\r\n");
    long number = 1;
    for (const HeightCoordinate& p : m.coordinates) {
      report.Printf("%5ld  %-16.10s%15.4f%15.4f\r\n", number++, p.name.c_str(), p.x, p.y);
    }
    report.Rule();
  }
}

}  // namespace

bool WriteHeightRawReport(HeightModel& m, PlatformServices& platform, const std::string& reportPath,
                          SectionNumber& section) {
  ReportFile report;
  if (!CreateReportOrTell(report, reportPath, platform)) return false;
  report.WriteTitleBlock(m.name, platform.CurrentTime(), section);
  report.Rule();
  WriteBasicInformation(report, m, section);
  WriteInputTables(report, m, section);

  report.Write(" \r\n");
  HeightTable(report, m, section,
              m.Redundancy() > 0 ? "\r\n\r\n%18d.近似高程<个数:%ld   单位:米>\r\n"
                                 : "\r\n\r\n%18d.待定点高程<个数:%ld   单位:米>\r\n",
              0, m.PointCount());

  if (m.mode == kHeightAdjust) {
    section.value = LevellingLinesAndClosures(m, report, section.value);
  } else {
    // An estimate has no closures; none of an earlier adjustment may linger.
    m.loops.clear();
  }
  // A report that did not reach the disk has told so; the closures stand.
  CloseReportOrTell(report, platform);
  return true;
}

}  // namespace qp
