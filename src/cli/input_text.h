// The input text format of the command-line driver: sections "[name]"; the
// section "[设置]" holds "key = value" lines, every other section is the
// verbatim text of one text box of a dialog. Files may be UTF-8 (with or
// without BOM) or GBK.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qp {

inline constexpr const char* kSettingsSection = "设置";

struct InputSetting {
  std::string key;    // UTF-8
  std::string value;  // GBK, trimmed
  int line = 0;       // from 1
};

struct InputSection {
  std::string name;   // UTF-8
  std::string body;   // GBK, lines ending in CR LF as in an edit box
  int line = 0;
};

struct InputDocument {
  std::vector<InputSetting> settings;
  std::vector<InputSection> sections;
};

// A message (GBK) about a line of the input file: its number, then `what` (GBK).
std::string InputLineError(int line, const std::string& what);

// Splits text into lines, accepting LF, CR LF and lone CR line ends. GBK text
// splits as safely as UTF-8: neither has CR or LF inside a character.
std::vector<std::string_view> SplitLines(std::string_view text);

// Parses the file's bytes. On failure returns nullopt and sets `error` (GBK)
// naming the line.
std::optional<InputDocument> ParseInputText(std::string_view bytes, std::string& error);

// How a dialog's controls take settings and sections.
struct SettingBinding {
  const char* key;  // UTF-8 caption
  // Applies a GBK value; false when the value is not acceptable.
  std::function<bool(const std::string& value)> apply;
  // What the control shows, as a dump writes it (UTF-8, one line).
  std::function<std::string()> show;
};

struct SectionBinding {
  const char* name;  // UTF-8
  std::string* box;  // GBK text of the box
};

// A combo setting: the index, or the item text (UTF-8 key, GBK items). It
// shows the index.
SettingBinding ComboSetting(const char* key, const std::vector<std::string>& items, int* index);
// A combo setting whose items are numbered from `first`: an item's number (at
// most `maxDigits` digits) or its text. It shows the item's number.
SettingBinding NumberedComboSetting(const char* key, std::vector<std::string> items, int first, size_t maxDigits,
                                    int* index);
// A plain text setting.
SettingBinding TextSetting(const char* key, std::string* text);
// A check box: "1" checked, "0" not.
SettingBinding CheckSetting(const char* key, bool* state);

// Applies the document: every bound section replaces its box (a missing one
// empties it); settings change only the controls they name. Unknown keys and
// sections are errors naming their line.
bool ApplyInputDocument(const InputDocument& doc, const std::vector<SettingBinding>& settings,
                        const std::vector<SectionBinding>& sections, std::string& error);

// A GBK edit text (CR LF lines) as UTF-8 with LF line ends.
std::string TerminalText(std::string_view gbkText);

// Writes the settings ("key = value", as each control shows its value) and
// the sections back in the input format, in UTF-8 with LF line ends.
std::string DumpInputText(const std::vector<SettingBinding>& settings, const std::vector<SectionBinding>& sections);

// Reads an input file (at most 64 MiB). On failure sets `error` (GBK).
std::optional<InputDocument> ReadInputFile(const std::string& path, std::string& error);

}  // namespace qp
