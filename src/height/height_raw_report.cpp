// The raw-data report of a confirmed height network: basic information, the
// input tables and the approximate heights; when adjusting, the levelling
// lines and the closure check follow.
#include "common/format.h"
#include "common/gbk_text.h"
#include "common/name_slot.h"
#include "height/height_checks.h"

namespace qp {
namespace {

const char* const kHeightsHeader = "  序号 点    名                                         H高程(米)\r\n";

std::string Name(const HeightNameSlot& slot) { return std::string(SlotText(slot)); }

// Heading, rule, column header, rule.
// Rows "number, name, height" for points first .. first+count-1, numbered from `number`.
void HeightRows(ReportFile& report, const HeightNetwork& net, int first, int count, long number) {
  for (int i = first; i < first + count; ++i) {
    report.Printf("%5ld  %-48.10s%10.4f\r\n", number++, Name(net.pointName[i]).c_str(), net.height[i]);
  }
}

void WriteBasicInformation(ReportFile& report, const HeightNetwork& net, SectionNumber& section) {
  const long total = net.pointCount;
  const long known = net.knownCount;
  const long unknown = net.unknownPointCount;
  const long observations = net.observationCount;
  report.Printf("\r\n%26d.%s\r\n", section.Take(), Gbk("控制网基本信息").c_str());
  report.Printf("%17s%-8ld%-12s%-8ld%-12s%-8ld\r\n", Gbk("全网总点数:  ").c_str(), total, Gbk("已知点点数:  ").c_str(),
                known, Gbk("待定点点数:  ").c_str(), unknown);
  report.Printf("%17s%-8ld%-12s%-8ld%-12s%-8ld\r\n", Gbk("概略高程点数:").c_str(), static_cast<long>(net.approxCount),
                Gbk("多余观测数:  ").c_str(), observations - unknown, Gbk("坐标点个数:").c_str(),
                static_cast<long>(net.coordinateCount));
  const bool levelling = net.kind != kTrigonometricNetwork;
  if (net.mode == kHeightAdjust) {
    report.Printf("%17s%-8ld%-12s%-8.2f%-22s\r\n", Gbk("高差观测个数:").c_str(), observations,
                  Gbk("验前中误差:  ").c_str(), net.priorError,
                  Gbk(levelling ? "网形类别:水准网" : "网形类别:三角高程网").c_str());
  } else {
    report.Printf("%17s%-8ld%-22s\r\n", Gbk("高差观测个数:").c_str(), observations,
                  Gbk(levelling ? "网形类别  :水准网" : "网形类别  :三角高程网").c_str());
  }
  report.Rule();
}

void WriteInputTables(ReportFile& report, const HeightNetwork& net, SectionNumber& section) {
  const int known = net.knownCount;
  const int approx = net.approxCount;
  const int unknown = net.unknownPointCount;
  if (known > 0) {
    report.TableHead(FormatText("\r\n\r\n%18d.已知点高程<个数:%ld   单位:米>\r\n", section.Take(), long{known}),
                     kHeightsHeader);
    HeightRows(report, net, 0, known, 1);
    report.Rule();
  }
  if (approx > 0 && approx != unknown) {
    report.TableHead(FormatText("\r\n\r\n%18d.已知概略高程<个数:%ld   单位:米>\r\n", section.Take(), long{approx}),
                     kHeightsHeader);
    HeightRows(report, net, known, approx, known + 1);
    report.Rule();
  } else if (approx == unknown && known == 0) {
    report.TableHead(
        FormatText("\r\n\r\n%18d.秩亏网解算近似高程<个数:%ld   单位:米>\r\n", section.Take(), long{approx}),
        kHeightsHeader);
    HeightRows(report, net, known, approx, known + 1);
    report.Rule();
  }

  const long observations = net.observationCount;
  if (observations > 0) {
    report.TableHead(FormatText("\r\n\r\n%18d.高差观测值<个数:%ld   单位:米>\r\n", section.Take(), observations),
                     "  序号 点    名   点    名               观测高差(m)     定权元素\r\n");
    for (int i = 0; i < observations; ++i) {
      report.Printf("%5ld  %-11.10s%-20.10s%10.4f     %12.2f\r\n", long{i + 1}, Name(net.from[i]).c_str(),
                    Name(net.to[i]).c_str(), net.observed[i], net.weightElement[i]);
    }
    report.Rule();
  }

  const long pairs = net.pairCount;
  if (pairs > 0) {
    report.TableHead(FormatText("\r\n\r\n%18d.评定精度点或端点的点名<个数:%ld>\r\n", section.Take(), pairs),
                     "  序号 点    名   点    名\r\n");
    for (int i = 0; i < pairs; ++i) {
      report.Printf("%5ld  %-11.10s%-11.10s\r\n", long{i + 1}, Name(net.pairFrom[i]).c_str(),
                    Name(net.pairTo[i]).c_str());
    }
    report.Rule();
  }

  const long coordinates = net.coordinateCount;
  if (coordinates > 0) {
    report.TableHead(FormatText("\r\n\r\n%18d.高程点平面坐标<个数:%ld>\r\n", section.Take(), coordinates),
                     "  序号 点    名               X坐标         Y坐标\r\n");
    for (int i = 0; i < coordinates; ++i) {
      report.Printf("%5ld  %-16.10s%15.4f%15.4f\r\n", long{i + 1}, Name(net.coordinateName[i]).c_str(),
                    net.coordinateX[i], net.coordinateY[i]);
    }
    report.Rule();
  }
}

}  // namespace

bool WriteHeightRawReport(HeightNetwork& net, PlatformServices& platform, const std::string& reportPath,
                          SectionNumber& section) {
  ReportFile report;
  if (!CreateReportOrTell(report, reportPath, platform)) return false;
  report.WriteTitleBlock(SlotText(net.networkName), platform.CurrentTime(), section);
  report.Rule();
  WriteBasicInformation(report, net, section);
  WriteInputTables(report, net, section);

  report.Write(" \r\n");
  const long total = net.pointCount;
  const std::string heading =
      net.observationCount - net.unknownPointCount > 0
          ? FormatText("\r\n\r\n%18d.近似高程<个数:%ld   单位:米>\r\n", section.Take(), total)
          : FormatText("\r\n\r\n%18d.待定点高程<个数:%ld   单位:米>\r\n", section.Take(), total);
  report.TableHead(heading, kHeightsHeader);
  HeightRows(report, net, 0, net.pointCount, 1);
  report.Rule();

  if (net.mode == kHeightAdjust) {
    section.value = LevellingLinesAndClosures(net, report, section.value);
  } else {
    // An estimate has no closures; none of an earlier adjustment may linger.
    net.loopCount = 0;
  }
  return CloseReportOrTell(report, platform);
}

}  // namespace qp
