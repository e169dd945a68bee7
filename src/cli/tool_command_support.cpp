#include "cli/tool_command_support.h"

#include <algorithm>

namespace qp {

bool ApplyInputOption(const CommandOptions& options, const std::vector<SettingBinding>& settings,
                      const std::vector<SectionBinding>& sections, PlatformServices& platform,
                      const std::function<bool(const InputDocument&, std::string&)>& check) {
  if (!options.inputPath) return true;
  std::string error;
  auto doc = ReadInputFile(*options.inputPath, error);
  if (!doc || (check && !check(*doc, error)) || !ApplyInputDocument(*doc, settings, sections, error)) {
    platform.ShowMessage(error);
    return false;
  }
  return true;
}

std::string TerminalText(std::string_view gbkText) {
  std::string text = GbkToUtf8(gbkText);
  text.erase(std::remove(text.begin(), text.end(), '\r'), text.end());
  return text;
}

}  // namespace qp
