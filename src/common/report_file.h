// The text reports (GBK, CR LF): a title block, then numbered table sections
// framed by rule lines (two blanks and 63 "-", or "=" for the double rule
// under a title). The section number runs on across the raw-data report and
// the result sections appended to it later.
#pragma once

#include <cstdio>
#include <ctime>
#include <string>
#include <string_view>

namespace qp {

class PlatformServices;

// The running section number shared by every network report of a session.
struct SectionNumber {
  int value = 1;
  int Take() { return value++; }
};

class ReportFile {
 public:
  ReportFile() = default;
  ~ReportFile();
  ReportFile(const ReportFile&) = delete;
  ReportFile& operator=(const ReportFile&) = delete;

  // Creates or truncates the report. False when it cannot be created.
  bool Create(const std::string& path);
  // Opens an existing report to append sections at its end.
  bool OpenForAppend(const std::string& path);

  void Write(std::string_view bytes);
  // printf-style; the format is GBK (or ASCII).
  void Printf(const char* format, ...) __attribute__((format(printf, 2, 3)));
  // printf-style with a UTF-8 format converted to GBK.
  void PrintText(const char* utf8Format, ...) __attribute__((format(printf, 2, 3)));

  void Rule() { Write(rule_); }
  void DoubleRule() { Write(RuleOf(kRuleLength, '=')); }
  // The head of a table: its heading (GBK, written as it is), a rule, the
  // column captions (a UTF-8 literal) and a rule.
  void TableHead(std::string_view heading, const char* utf8Columns);

  // Rules of `dashes` "-" from here on, for a report whose tables are wider
  // than the common 63.
  void WidenRules(size_t dashes) { rule_ = RuleOf(dashes, '-'); }

  // The title block: title line, double rule and the time line. Starts the
  // section numbering again at 1.
  void WriteTitleBlock(std::string_view title, std::time_t now, SectionNumber& section);

  // Flushes and closes; false when anything failed to reach the disk.
  bool Close();

 private:
  static constexpr size_t kRuleLength = 63;
  static std::string RuleOf(size_t length, char c) { return "  " + std::string(length, c) + "\r\n"; }

  std::FILE* file_ = nullptr;
  bool failed_ = false;
  std::string rule_ = RuleOf(kRuleLength, '-');
};

// A report that cannot be created, or that could not be written whole (a full
// disk), is of no use: these tell the user "写原始数据文件打开错误 !" and
// return false.
bool CreateReportOrTell(ReportFile& report, const std::string& path, PlatformServices& platform);
bool CloseReportOrTell(ReportFile& report, PlatformServices& platform);

// The local date and time as the C library prints it (asctime), with its
// trailing newline.
std::string AsctimeText(std::time_t now);

// The report path for a data file path: its last three characters become "txt".
std::string ReportPathFor(const std::string& dataPath);

}  // namespace qp
