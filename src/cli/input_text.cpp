#include "cli/input_text.h"

#include <algorithm>

#include "common/binary_file.h"
#include "common/format.h"
#include "common/gbk_text.h"
#include "common/numeric_field.h"

namespace qp {
namespace {

constexpr size_t kMaxInputFileSize = 64u << 20;

std::optional<std::string_view> SectionHeader(std::string_view line) {
  line = Trim(line);
  if (line.size() >= 2 && line.front() == '[' && line.back() == ']') return Trim(line.substr(1, line.size() - 2));
  return std::nullopt;
}

}  // namespace

std::string InputLineError(int line, const std::string& what) {
  return FormatText("输入文件第%d行: ", line) + what;
}

std::vector<std::string_view> SplitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  size_t start = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n' || text[i] == '\r') {
      lines.push_back(text.substr(start, i - start));
      if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      start = i + 1;
    }
  }
  if (start < text.size()) lines.push_back(text.substr(start));
  return lines;
}

std::optional<InputDocument> ParseInputText(std::string_view bytes, std::string& error) {
  if (bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
  // Work in UTF-8 so that GBK double bytes can never be mistaken for "[" or "]".
  const std::string utf8 = IsValidUtf8(bytes) ? std::string(bytes) : GbkToUtf8(bytes);
  if (utf8.find('\0') != std::string::npos) {
    error = Gbk("输入文件不是文本文件");
    return std::nullopt;
  }
  InputDocument doc;
  InputSection* current = nullptr;
  bool inSettings = false;
  bool sawSettings = false;
  const auto lines = SplitLines(utf8);
  for (size_t n = 0; n < lines.size(); ++n) {
    const int lineNo = static_cast<int>(n) + 1;
    const std::string_view line = lines[n];
    if (auto header = SectionHeader(line)) {
      const std::string name(*header);
      const bool duplicate =
          (name == kSettingsSection && sawSettings) ||
          std::any_of(doc.sections.begin(), doc.sections.end(), [&](const auto& s) { return s.name == name; });
      if (duplicate) {
        error = InputLineError(lineNo, FormatText("节[%s]重复", QuotedInMessage(Utf8ToGbk(name)).c_str()));
        return std::nullopt;
      }
      inSettings = name == kSettingsSection;
      sawSettings = sawSettings || inSettings;
      current = nullptr;
      if (!inSettings) {
        doc.sections.push_back({name, "", lineNo});
        current = &doc.sections.back();
      }
      continue;
    }
    if (current) {
      current->body += Utf8ToGbk(line);
      current->body += "\r\n";
      continue;
    }
    const std::string_view trimmed = Trim(line);
    if (trimmed.empty() || trimmed.front() == '#') continue;
    if (!inSettings) {
      error = InputLineError(lineNo, Gbk("内容不在任何节内"));
      return std::nullopt;
    }
    const size_t eq = trimmed.find('=');
    if (eq == std::string_view::npos || Trim(trimmed.substr(0, eq)).empty()) {
      error = InputLineError(lineNo, Gbk("设置行应为: 名称 = 值"));
      return std::nullopt;
    }
    doc.settings.push_back(
        {std::string(Trim(trimmed.substr(0, eq))), Utf8ToGbk(Trim(trimmed.substr(eq + 1))), lineNo});
  }
  // Blank lines that separate a section from the next header belong to neither.
  for (auto& section : doc.sections) {
    while (section.body.size() >= 4 && section.body.compare(section.body.size() - 4, 4, "\r\n\r\n") == 0) {
      section.body.resize(section.body.size() - 2);
    }
    if (section.body == "\r\n") section.body.clear();
  }
  return doc;
}

SettingBinding NumberedComboSetting(const char* key, std::vector<std::string> items, int first, size_t maxDigits,
                                    int* index) {
  return {key, [items = std::move(items), first, maxDigits, index](const std::string& value) {
            if (const auto item = std::find(items.begin(), items.end(), value); item != items.end()) {
              *index = static_cast<int>(item - items.begin());
              return true;
            }
            if (value.empty() || value.size() > maxDigits ||
                !std::all_of(value.begin(), value.end(), [](char c) { return c >= '0' && c <= '9'; })) {
              return false;
            }
            const int i = std::stoi(value) - first;
            if (i < 0 || i >= static_cast<int>(items.size())) return false;
            *index = i;
            return true;
          },
          [first, index] { return std::to_string(*index + first); }};
}

SettingBinding ComboSetting(const char* key, const std::vector<std::string>& items, int* index) {
  return NumberedComboSetting(key, items, 0, 3, index);
}

SettingBinding TextSetting(const char* key, std::string* text) {
  return {key, [text](const std::string& value) {
            *text = value;
            return true;
          },
          [text] { return GbkToUtf8(*text); }};
}

SettingBinding CheckSetting(const char* key, bool* state) {
  return {key, [state](const std::string& value) {
            if (value != "0" && value != "1") return false;
            *state = value == "1";
            return true;
          },
          [state] { return std::string(*state ? "1" : "0"); }};
}

bool ApplyInputDocument(const InputDocument& doc, const std::vector<SettingBinding>& settings,
                        const std::vector<SectionBinding>& sections, std::string& error) {
  for (const auto& section : doc.sections) {
    if (std::none_of(sections.begin(), sections.end(), [&](const auto& b) { return section.name == b.name; })) {
      error = InputLineError(section.line, FormatText("未知的节[%s]", QuotedInMessage(Utf8ToGbk(section.name)).c_str()));
      return false;
    }
  }
  for (const auto& setting : doc.settings) {
    auto binding = std::find_if(settings.begin(), settings.end(), [&](const auto& b) { return setting.key == b.key; });
    if (binding == settings.end()) {
      error = InputLineError(setting.line, FormatText("未知的设置项[%s]", QuotedInMessage(Utf8ToGbk(setting.key)).c_str()));
      return false;
    }
    if (!binding->apply(setting.value)) {
      error = InputLineError(setting.line, FormatText("设置项[%s]的值[%s]不正确", Utf8ToGbk(setting.key).c_str(),
                                                      QuotedInMessage(setting.value).c_str()));
      return false;
    }
  }
  for (const auto& binding : sections) {
    auto section = std::find_if(doc.sections.begin(), doc.sections.end(),
                                [&](const auto& s) { return s.name == binding.name; });
    *binding.box = section == doc.sections.end() ? std::string() : section->body;
  }
  return true;
}

std::string TerminalText(std::string_view gbkText) {
  std::string text = GbkToUtf8(gbkText);
  text.erase(std::remove(text.begin(), text.end(), '\r'), text.end());
  return text;
}

std::string DumpInputText(const std::vector<SettingBinding>& settings, const std::vector<SectionBinding>& sections) {
  std::string out = "[" + std::string(kSettingsSection) + "]\n";
  for (const auto& setting : settings) out += std::string(setting.key) + " = " + setting.show() + "\n";
  for (const auto& section : sections) {
    out += "\n[" + std::string(section.name) + "]\n";
    std::string body = TerminalText(*section.box);
    while (!body.empty() && body.back() == '\n') body.pop_back();
    if (!body.empty()) out += body + "\n";
  }
  return out;
}

std::optional<InputDocument> ReadInputFile(const std::string& path, std::string& error) {
  if (!FileExists(path)) {
    error = FormatText("输入文件不存在: %s", Utf8ToGbk(path).c_str());
    return std::nullopt;
  }
  const auto bytes = ReadFileUpTo(path, kMaxInputFileSize);
  if (!bytes) {
    error = FormatText("无法读取输入文件(不是普通文件或大于64MB): %s", Utf8ToGbk(path).c_str());
    return std::nullopt;
  }
  return ParseInputText(*bytes, error);
}

}  // namespace qp
