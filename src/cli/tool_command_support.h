// What the coordinate-tool commands share: opening the data file as the
// command-line contract wants it, applying an input file, printing a result
// edit's text.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "cli/command_options.h"
#include "cli/input_text.h"
#include "common/binary_file.h"
#include "common/gbk_text.h"
#include "common/platform_services.h"

namespace qp {

// An existing data file is loaded, and one that cannot be (wrong length,
// unreadable, damaged) is refused and left as it is; a missing one is created
// (running the command is the answer to the new-file question).
// `unreadable` and `unwritable` are the UTF-8 message texts.
template <typename Form>
bool OpenToolDataFile(Form& form, const std::string& path, const char* unreadable, const char* unwritable,
                      PlatformServices& platform) {
  if (FileExists(path)) {
    if (form.LoadFile(path)) return true;
    platform.ShowMessage(Gbk(unreadable));
    return false;
  }
  if (form.CreateFile(path)) return true;
  platform.ShowMessage(Gbk(unwritable));
  return false;
}

// Reads --input FILE (when given) and applies it to the bindings; shows the
// error and returns false when the file or a line of it is not acceptable.
// `check`, when given, may refuse the document before it is applied.
bool ApplyInputOption(const CommandOptions& options, const std::vector<SettingBinding>& settings,
                      const std::vector<SectionBinding>& sections, PlatformServices& platform,
                      const std::function<bool(const InputDocument&, std::string&)>& check = {});

// A GBK edit text (CR LF lines) as UTF-8 with LF line ends.
std::string TerminalText(std::string_view gbkText);

}  // namespace qp
