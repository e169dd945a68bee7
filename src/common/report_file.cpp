#include "common/report_file.h"

#include <cstdarg>

#include "common/format.h"
#include "common/gbk_text.h"
#include "common/platform_services.h"

namespace qp {

ReportFile::~ReportFile() {
  if (file_) std::fclose(file_);
}

bool ReportFile::Create(const std::string& path) {
  if (file_) std::fclose(file_);
  file_ = std::fopen(path.c_str(), "wb");
  failed_ = false;
  return file_ != nullptr;
}

bool ReportFile::OpenForAppend(const std::string& path) {
  if (file_) std::fclose(file_);
  file_ = std::fopen(path.c_str(), "r+b");
  failed_ = false;
  if (file_ && std::fseek(file_, 0, SEEK_END) != 0) {
    std::fclose(file_);
    file_ = nullptr;
  }
  return file_ != nullptr;
}

void ReportFile::Write(std::string_view bytes) {
  if (!file_ || bytes.empty()) return;
  if (std::fwrite(bytes.data(), 1, bytes.size(), file_) != bytes.size()) failed_ = true;
}

void ReportFile::Printf(const char* format, ...) {
  va_list args;
  va_start(args, format);
  Write(FormatV(format, args));
  va_end(args);
}

void ReportFile::PrintText(const char* utf8Format, ...) {
  va_list args;
  va_start(args, utf8Format);
  Write(FormatV(Gbk(utf8Format).c_str(), args));
  va_end(args);
}

void ReportFile::TableHead(std::string_view heading, const char* utf8Columns) {
  Write(heading);
  Rule();
  Write(Gbk(utf8Columns));
  Rule();
}

void ReportFile::WriteTitleBlock(std::string_view title, std::time_t now, SectionNumber& section) {
  section.value = 1;
  Write(Format("\r\n\r\n%20s%s\r\n", " ", std::string(title).c_str()));
  DoubleRule();
  Write(Format("%s%s\r\n", std::string(21, ' ').c_str(), AsctimeText(now).c_str()));
}

bool ReportFile::Close() {
  if (!file_) return !failed_;
  const bool ok = std::fclose(file_) == 0 && !failed_;
  file_ = nullptr;
  return ok;
}

std::string AsctimeText(std::time_t now) {
  // The C library's asctime layout, written out here so that it neither
  // depends on the locale nor overflows for years beyond 9999.
  static const char* const kDays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
  static const char* const kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                        "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  std::tm local{};
  if (!localtime_r(&now, &local)) return "\n";
  return Format("%.3s %.3s%3d %.2d:%.2d:%.2d %lld\n", kDays[local.tm_wday % 7], kMonths[local.tm_mon % 12],
                local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec, 1900LL + local.tm_year);
}

std::string ReportPathFor(const std::string& dataPath) {
  return dataPath.size() >= 3 ? dataPath.substr(0, dataPath.size() - 3) + "txt" : dataPath + "txt";
}

bool CreateReportOrTell(ReportFile& report, const std::string& path, PlatformServices& platform) {
  return report.Create(path) || ShowAndFail(platform, Gbk("写原始数据文件打开错误 !"));
}

bool CloseReportOrTell(ReportFile& report, PlatformServices& platform) {
  return report.Close() || ShowAndFail(platform, Gbk("写原始数据文件打开错误 !"));
}

}  // namespace qp
