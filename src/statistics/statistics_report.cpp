#include "statistics/statistics_report.h"

#include <algorithm>
#include <cstdio>

#include "common/format.h"
#include "common/gbk_text.h"
#include "common/report_file.h"

namespace qp {
namespace {

// The columns of the observation tables (sections 2 and 4): the serial
// number, two blanks, the kind and the two names, each name cut to ten bytes
// and padded to eleven.
constexpr int kSerialWidth = 5;
constexpr int kKindWidth = 8;
constexpr int kNameBytes = 10;
constexpr int kNameWidth = 11;
// The heading of section 2 up to its count, and the mark of a suspected blunder.
constexpr char kObservationTableTitle[] = "观测值检验<个数:";
constexpr char kSuspectMark[] = "粗差?";
// The reliability table is 90 columns wide: the rules span it.
constexpr size_t kRuleDashes = 88;

std::string RowHead(size_t serial, const ObservationEntry& e) {
  return Format("%*ld  %-*s%-*.*s%-*.*s", kSerialWidth, static_cast<long>(serial), kKindWidth, e.kind.c_str(),
                kNameWidth, kNameBytes, e.from.c_str(), kNameWidth, kNameBytes, e.to.c_str());
}

std::string Name(const std::vector<std::string>& names, int i) {
  return i >= 0 && i < static_cast<int>(names.size()) ? names[i] : std::string();
}

std::string ObservationText(const ObservationEntry& e) {
  return Format("%s(%s - %s)", e.kind.c_str(), e.from.c_str(), e.to.c_str());
}

void Title(ReportFile& report, const StatisticsReportText& text, std::time_t now, SectionNumber& section) {
  report.WriteTitleBlock(text.title + Gbk("  统计检验"), now, section);
  report.WidenRules(kRuleDashes);
}

void GlobalTest(ReportFile& report, SectionNumber& section, const AdjustmentStatistics& s) {
  report.Write(FormatText("\r\n\r\n%18d.整体检验(χ2检验)\r\n", section.Take()));
  report.Rule();
  if (s.sigma0Prior > 0.0) {
    report.Write(FormatText("%35s%9.3f\r\n", Gbk("验前单位权中误差=").c_str(), s.sigma0Prior));
  } else {
    report.Write(FormatText("%35s%9s\r\n", Gbk("验前单位权中误差=").c_str(), Gbk("未给出").c_str()));
  }
  report.Write(FormatText("%35s%9.3f\r\n", Gbk("验后单位权中误差=").c_str(), s.sigma0Post));
  report.Write(FormatText("%35s%9ld\r\n", Gbk("多余观测数 r=").c_str(), static_cast<long>(s.redundancy)));
  report.Write(FormatText("%35s%9.3f\r\n", Gbk("多余观测分量之和=").c_str(), s.sumRedundancy));
  if (!s.globalTested) {
    report.Write(Gbk("  没有验前单位权中误差, 不作整体检验; 观测值只作 τ 检验.\r\n"));
    report.Rule();
    return;
  }
  report.Write(FormatText("%35s%9.3f\r\n", Gbk("检验统计量 [pvv]/m0^2=").c_str(), s.statistic));
  report.Write(FormatText("%35s%9.3f\r\n", FormatText("χ2下限(%g%%)=", 100.0 * s.options.alpha / 2.0).c_str(),
                          s.lower));
  report.Write(FormatText("%35s%9.3f\r\n", FormatText("χ2上限(%g%%)=", 100.0 - 100.0 * s.options.alpha / 2.0).c_str(),
                          s.upper));
  report.Write(FormatText("%35s%9s\r\n", Gbk("显著水平=").c_str(), Format("%g%%", 100.0 * s.options.alpha).c_str()));
  report.Write(FormatText("%35s%9s\r\n", Gbk("结论:").c_str(), Gbk(s.globalPassed ? "通过" : "拒绝").c_str()));
  report.Rule();
  if (s.globalPassed) {
    report.Write(Gbk("  观测值与函数模型和随机模型(验前精度)相符.\r\n"));
  } else if (s.statistic > s.upper) {
    report.Write(Gbk("  验后单位权中误差显著大于验前值: 观测值可能含有粗差, 或定权不当,\r\n"));
    report.Write(Gbk("  或验前中误差给得过小. 先看数据探测的结论.\r\n"));
  } else {
    report.Write(Gbk("  验后单位权中误差显著小于验前值: 验前中误差可能给得过大, 或定权不当.\r\n"));
  }
  report.Rule();
}

void ObservationTable(ReportFile& report, SectionNumber& section, const StatisticsReportText& text,
                      const std::vector<ObservationEntry>& entries, const AdjustmentStatistics& s) {
  report.TableHead(FormatText("\r\n\r\n%18d.%s%ld>\r\n", section.Take(), Gbk(kObservationTableTitle).c_str(),
                              static_cast<long>(entries.size())),
                   "  序号 类别    点    名   点    名      改正数     σv   r(%)       w      τ 标记\r\n");
  for (size_t i = 0; i < entries.size(); ++i) {
    const ObservationEntry& e = entries[i];
    const ObservationTest& t = s.tests[i];
    const std::string head = RowHead(i + 1, e);
    if (!t.tested) {
      report.Write(head + FormatText("%9.3f  不能检验: %s\r\n", e.v, e.untestable.c_str()));
      continue;
    }
    std::string w = s.sigma0Prior > 0.0 && t.controlled ? Format("%8.2f", t.w) : std::string(8, ' ');
    std::string tau = s.popeUsable && t.controlled ? Format("%8.2f", t.tau) : std::string(8, ' ');
    std::string mark;
    if (!t.controlled) {
      mark = Gbk("未受控");
    } else if (s.baardaChosen ? t.baardaFlag : t.popeFlag) {
      mark = Gbk(kSuspectMark);
    }
    report.Write(head + Format("%9.3f%8.3f%7.1f%s%s %s\r\n", e.v, t.sigmaV, 100.0 * t.r, w.c_str(), tau.c_str(),
                               mark.c_str()));
  }
  report.Rule();
  report.Write(FormatText("  单位: %s; r 为多余观测分量\r\n", Gbk(text.units).c_str()));
  report.Write(FormatText("  w=v/(m0*sqrt(qvv)) 临界值%.2f (α0=%g%%); τ=v/(m*sqrt(qvv)) 临界值%.2f\r\n",
                          s.baardaCritical, 100.0 * s.options.alpha0, s.popeCritical));
  report.Rule();
}

void Snooping(ReportFile& report, SectionNumber& section, const std::vector<ObservationEntry>& entries,
              const AdjustmentStatistics& s) {
  report.Write(FormatText("\r\n\r\n%18d.数据探测\r\n", section.Take()));
  report.Rule();
  if (s.baardaChosen) {
    report.Write(FormatText("  检验: Baarda w 检验(验前单位权中误差), α0=%g%%, 功效=%g%%, 临界值=%.2f\r\n",
                            100.0 * s.options.alpha0, 100.0 * s.options.power, s.baardaCritical));
  } else if (s.popeUsable) {
    report.Write(FormatText("  检验: Pope τ 检验(验后单位权中误差), α0=%g%%, 临界值=%.2f\r\n", 100.0 * s.options.alpha0,
                            s.popeCritical));
  } else {
    report.Write(Gbk("  没有验前单位权中误差, 多余观测数不足 2: 不能作数据探测.\r\n"));
  }
  report.Write(FormatText("  超限观测值个数: %ld\r\n", static_cast<long>(s.flagged)));
  if (s.largest >= 0) {
    const ObservationEntry& e = entries[s.largest];
    const ObservationTest& t = s.tests[s.largest];
    report.Write(FormatText("  统计量最大的观测值: %ld  %s  %s=%.2f\r\n", static_cast<long>(s.largest + 1),
                            ObservationText(e).c_str(), s.baardaChosen ? "w" : Gbk("τ").c_str(),
                            s.baardaChosen ? t.w : t.tau));
    report.Write(FormatText("  其粗差估值 -v/r=%.3f, 中误差=%.3f\r\n", t.nabla, t.sigmaNabla));
    if (s.flagged > 0) {
      report.Write(FormatText("  应首先检查: %s\r\n", ObservationText(e).c_str()));
      report.Write(Gbk("  (一次只去掉或改正一个观测值, 再平差检验; 其它超限值可能由它引起.)\r\n"));
    } else {
      report.Write(Gbk("  未发现粗差.\r\n"));
    }
  }
  report.Rule();
}

void Reliability(ReportFile& report, SectionNumber& section, const StatisticsReportText& text,
                 const std::vector<ObservationEntry>& entries, const AdjustmentStatistics& s, const CofactorView& q) {
  report.TableHead(FormatText("\r\n\r\n%18d.内部和外部可靠性<δ0=%.2f>\r\n", section.Take(), s.delta0),
                   "  序号 类别    点    名   点    名     粗差估值  中误差 最小可探测粗差 最大影响 影响点\r\n");
  for (size_t i = 0; i < entries.size(); ++i) {
    const ObservationEntry& e = entries[i];
    const ObservationTest& t = s.tests[i];
    if (!t.tested) continue;
    const std::string head = RowHead(i + 1, e);
    if (!t.controlled) {
      report.Write(head + FormatText("  未受控: 粗差不能发现, 全部进入结果\r\n"));
      continue;
    }
    report.Write(head + Format("%10.3f%8.3f%15.3f%9.3f %-10.10s\r\n", t.nabla, t.sigmaNabla, t.mdb, t.effect,
                               Name(q.groupNames, t.effectPoint).c_str()));
  }
  report.Rule();
  report.Write(FormatText("  最小可探测粗差=σl*δ0/sqrt(r); 最大影响: 该粗差使点位移动的最大值(%s)\r\n",
                          Gbk(text.effectUnit).c_str()));
  if (s.weakest >= 0) {
    const ObservationTest& t = s.tests[s.weakest];
    report.Write(FormatText("  控制最弱的观测值: %ld  %s  最小可探测粗差=%.3f  最大影响=%.3f%s(%s)\r\n",
                            static_cast<long>(s.weakest + 1), ObservationText(entries[s.weakest]).c_str(), t.mdb,
                            t.effect, Gbk(text.effectUnit).c_str(), Name(q.groupNames, t.effectPoint).c_str()));
  }
  report.Rule();
}

}  // namespace

std::string StatisticsReportPathFor(const std::string& dataPath) {
  return dataPath.substr(0, dataPath.size() < 4 ? 0 : dataPath.size() - 4) + "统计检验.txt";
}

std::string StatisticsFlagsPathFor(const std::string& dataPath) {
  return FlagsPathBesideReport(StatisticsReportPathFor(dataPath));
}

void RenewStatisticsReport(const std::string& dataPath, bool computed,
                           const std::function<bool(const std::string& path)>& write) {
  const std::string path = StatisticsReportPathFor(dataPath);
  const std::string flags = FlagsPathBesideReport(path);
  std::remove(flags.c_str());
  if (!computed || !write(path)) {
    std::remove(path.c_str());
    std::remove(flags.c_str());
  }
}

bool WriteStatisticsReport(const std::string& path, const StatisticsReportText& text, std::time_t now,
                           const std::vector<ObservationEntry>& entries, const AdjustmentStatistics& s,
                           const CofactorView& q) {
  if (!s.sumAgrees) {
    const std::string reason = Format(
        "多余观测分量之和 %.3f 与多余观测数 %d 不符: 法方程奇异或严重病态 (例如缺少起算数据), 平差结果不可靠, "
        "不能作统计检验.",
        s.sumRedundancy, s.expectedSum);
    return WriteUntestedStatisticsReport(path, text, now, reason.c_str());
  }
  ReportFile report;
  if (!report.Create(path)) return false;
  SectionNumber section;
  Title(report, text, now, section);
  GlobalTest(report, section, s);
  ObservationTable(report, section, text, entries, s);
  Snooping(report, section, entries, s);
  Reliability(report, section, text, entries, s, q);
  return report.Close() && WriteReportFlags(path, FlaggedObservationsOf(entries, s));
}

bool WriteUntestedStatisticsReport(const std::string& path, const StatisticsReportText& text, std::time_t now,
                                   const char* reason) {
  ReportFile report;
  if (!report.Create(path)) return false;
  SectionNumber section;
  Title(report, text, now, section);
  report.Write(FormatText("\r\n\r\n%18d.不能作统计检验\r\n", section.Take()));
  report.Rule();
  report.Write("  " + Gbk(reason) + "\r\n");
  report.Rule();
  return report.Close() && WriteReportFlags(path, {});
}

bool TestAndWriteStatisticsReport(const std::string& path, const StatisticsReportText& text, std::time_t now,
                                  bool adjusted, int redundancy, double mu,
                                  const std::function<TestedObservations()>& observe,
                                  const StatisticsOptions& options, GlobalTestOutcome* outcome) {
  if (redundancy <= 0) return WriteUntestedStatisticsReport(path, text, now, "没有多余观测, 观测值不能检验.");
  if (!adjusted) return WriteUntestedStatisticsReport(path, text, now, "精度估算只评定设计的精度, 没有观测值可检验.");
  const TestedObservations o = observe();
  const AdjustmentStatistics s = AnalyzeAdjustment(o.entries, o.q, mu, redundancy, options);
  if (outcome) *outcome = OutcomeOf(s);
  return WriteStatisticsReport(path, text, now, o.entries, s, o.q);
}

}  // namespace qp
