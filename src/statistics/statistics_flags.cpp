#include "statistics/statistics_flags.h"

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <system_error>

#include "common/binary_file.h"
#include "common/format.h"
#include "common/gbk_text.h"

namespace qp {
namespace {

constexpr char kVersionLine[] = "QuorvexPlus statistics flags 1";
constexpr size_t kNameBytes = 10;

std::string_view TrimRight(std::string_view text) {
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return text;
}

bool Plain(unsigned char c) { return c > ' ' && c <= '~' && c != '%'; }

std::string Escaped(std::string_view name) {
  std::string out;
  for (const char c : name) {
    if (Plain(static_cast<unsigned char>(c))) {
      out += c;
    } else {
      out += Format("%%%02X", static_cast<unsigned>(static_cast<unsigned char>(c)));
    }
  }
  return out;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// The name a field spells, when it is one the writer could have written.
std::optional<std::string> Unescaped(std::string_view field) {
  std::string name;
  for (size_t i = 0; i < field.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(field[i]);
    if (Plain(c)) {
      name += static_cast<char>(c);
      continue;
    }
    if (c != '%' || i + 2 >= field.size() || HexDigit(field[i + 1]) < 0 || HexDigit(field[i + 2]) < 0)
      return std::nullopt;
    const char byte = static_cast<char>(HexDigit(field[i + 1]) * 16 + HexDigit(field[i + 2]));
    if (Plain(static_cast<unsigned char>(byte))) return std::nullopt;
    name += byte;
    i += 2;
  }
  if (name.empty() || name.size() > kNameBytes || ReportedName(name) != name) return std::nullopt;
  return name;
}

// The kind whose name `matches`.
template <typename Matches>
std::optional<ObservationKind> KindWhere(Matches&& matches) {
  for (const ObservationKindName& k : kObservationKinds) {
    if (matches(k)) return k.kind;
  }
  return std::nullopt;
}

const char* WordOf(ObservationKind kind) {
  return kObservationKinds[static_cast<size_t>(kind)].word;  // the table is in the enumeration's order
}

// The lines of the file one by one; every line must end in LF.
class Lines {
 public:
  explicit Lines(std::string_view text) : text_(text) {}
  bool Next(std::string_view& line) {
    const size_t end = text_.find('\n', at_);
    if (end == std::string_view::npos) return false;
    line = text_.substr(at_, end - at_);
    at_ = end + 1;
    return true;
  }
  bool AtEnd() const { return at_ == text_.size(); }

 private:
  std::string_view text_;
  size_t at_ = 0;
};

// "<word> <decimal>" with nothing else, written as the writer writes it; the
// number at most `limit`.
bool CountLine(std::string_view line, std::string_view word, uintmax_t limit, uintmax_t& value) {
  if (!line.starts_with(word) || line.size() < word.size() + 2 || line[word.size()] != ' ') return false;
  const std::string_view digits = line.substr(word.size() + 1);
  if (digits[0] < '0' || digits[0] > '9' || (digits.size() > 1 && digits[0] == '0')) return false;
  const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
  return error == std::errc() && end == digits.data() + digits.size() && value <= limit;
}

std::optional<FlaggedObservation> FlagLine(std::string_view line) {
  const size_t first = line.find(' ');
  const size_t second = first == std::string_view::npos ? first : line.find(' ', first + 1);
  if (second == std::string_view::npos || line.find(' ', second + 1) != std::string_view::npos) return std::nullopt;
  const std::string_view word = line.substr(0, first);
  const auto kind = KindWhere([&](const ObservationKindName& k) { return word == k.word; });
  const auto from = Unescaped(line.substr(first + 1, second - first - 1));
  const auto to = Unescaped(line.substr(second + 1));
  if (!kind || !from || !to) return std::nullopt;
  return FlaggedObservation{*kind, *from, *to};
}

std::optional<uintmax_t> FileSize(const std::string& path) {
  std::error_code error;
  const uintmax_t size = std::filesystem::file_size(path, error);
  if (error) return std::nullopt;
  return size;
}

}  // namespace

std::optional<ObservationKind> ObservationKindOfText(std::string_view textUtf8) {
  return KindWhere([&](const ObservationKindName& k) { return textUtf8 == k.text; });
}

std::string ReportedName(std::string_view name) {
  return std::string(TrimRight(name.substr(0, std::min(name.size(), kNameBytes))));
}

std::vector<FlaggedObservation> FlaggedObservationsOf(const std::vector<ObservationEntry>& entries,
                                                      const AdjustmentStatistics& s) {
  std::vector<FlaggedObservation> flagged;
  if (!s.sumAgrees) return flagged;
  for (size_t i = 0; i < entries.size() && i < s.tests.size(); ++i) {
    const ObservationTest& t = s.tests[i];
    if (!t.tested || !t.controlled || !(s.baardaChosen ? t.baardaFlag : t.popeFlag)) continue;
    const ObservationEntry& e = entries[i];
    // The report's table prints the names as C strings.
    FlaggedObservation f{ObservationKind::Direction, ReportedName(e.from.c_str()), ReportedName(e.to.c_str())};
    const auto kind = KindWhere([&](const ObservationKindName& k) { return e.kind == Gbk(k.text); });
    if (!kind || f.from.empty() || f.to.empty()) continue;
    f.kind = *kind;
    flagged.push_back(std::move(f));
  }
  return flagged;
}

std::string FlagsPathBesideReport(const std::string& reportPath) {
  const std::string_view text = ".txt";
  const bool txt = reportPath.size() >= text.size() && reportPath.ends_with(text);
  return (txt ? reportPath.substr(0, reportPath.size() - text.size()) : reportPath) + ".flags";
}

bool WriteReportFlags(const std::string& reportPath, const std::vector<FlaggedObservation>& flagged) {
  const auto reportSize = FileSize(reportPath);
  if (!reportSize || flagged.size() > kMaxFlaggedObservations) return false;
  std::string text = Format("%s\nreport %ju\nflags %zu\n", kVersionLine, *reportSize, flagged.size());
  for (const FlaggedObservation& f : flagged) {
    text += Format("%s %s %s\n", WordOf(f.kind), Escaped(ReportedName(f.from)).c_str(),
                   Escaped(ReportedName(f.to)).c_str());
  }
  text += "end\n";
  return WriteFileAtomically(FlagsPathBesideReport(reportPath), text);
}

std::vector<FlaggedObservation> ReadFlaggedObservations(const std::string& reportPath) {
  const auto text = ReadFileUpTo(FlagsPathBesideReport(reportPath), kMaxFlagsFileBytes);
  const auto reportSize = FileSize(reportPath);
  if (!text || !reportSize) return {};
  Lines lines(*text);
  std::string_view line;
  uintmax_t recorded = 0, count = 0;
  if (!lines.Next(line) || line != kVersionLine) return {};
  if (!lines.Next(line) || !CountLine(line, "report", UINTMAX_MAX / 10, recorded) || recorded != *reportSize)
    return {};
  if (!lines.Next(line) || !CountLine(line, "flags", kMaxFlaggedObservations, count)) return {};
  std::vector<FlaggedObservation> flagged;
  flagged.reserve(static_cast<size_t>(count));
  while (flagged.size() < count) {
    if (!lines.Next(line)) return {};
    auto f = FlagLine(line);
    if (!f) return {};
    flagged.push_back(std::move(*f));
  }
  if (!lines.Next(line) || line != "end" || !lines.AtEnd()) return {};
  return flagged;
}

}  // namespace qp
