// What the subcommands share: opening the data file as the command-line
// contract wants it, reading and applying an input file.
#pragma once

#include <functional>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "cli/command_options.h"
#include "cli/input_text.h"
#include "cli/run_files.h"
#include "common/platform_services.h"

namespace qp {

// An existing data file is loaded (`load`), and one that cannot be (wrong
// length, unreadable, damaged) is refused and left as it is; a missing one is
// created (`create`): running the command is the answer to the new-file
// question. `unreadable` and `unwritable` are the UTF-8 message texts shown
// when `load` or `create` fails.
bool OpenDataFile(const std::string& path, const std::function<bool()>& load, const std::function<bool()>& create,
                  const char* unreadable, const char* unwritable, PlatformServices& platform);

// Reads --input FILE, when given, into `input`; shows the error and returns
// false when the file cannot be read or parsed.
bool ReadInputOption(const CommandOptions& options, std::optional<InputDocument>& input, PlatformServices& platform);

// ApplyInputDocument, showing the error when a line is not acceptable.
bool ApplyInputOrTell(const InputDocument& doc, const std::vector<SettingBinding>& settings,
                      const std::vector<SectionBinding>& sections, PlatformServices& platform);

// A step over the whole input document; false with `error` set refuses it.
using InputDocumentStep = std::function<bool(const InputDocument& doc, std::string& error)>;

// Reads --input FILE (when given) and applies it to the bindings; shows the
// error and returns false when the file or a line of it is not acceptable.
// `check`, when given, may refuse the document before it is applied, and
// `then` takes (or refuses) what the bindings leave once they have applied it.
bool ApplyInputOption(const CommandOptions& options, const std::vector<SettingBinding>& settings,
                      const std::vector<SectionBinding>& sections, PlatformServices& platform,
                      const InputDocumentStep& check = {}, const InputDocumentStep& then = {});

// The start every coordinate tool's command shares: its files checked, its
// data file opened (or created) by the form, the --input file applied and,
// with --dump, the dialog printed. The exit status to stop with, or nothing
// when the tool goes on to compute.
template <typename Form>
std::optional<int> StartToolDialog(const CommandOptions& options, Form& form, const char* unreadable,
                                   const char* unwritable, const std::vector<SettingBinding>& settings,
                                   const std::vector<SectionBinding>& sections, PlatformServices& platform,
                                   const InputDocumentStep& check = {}) {
  const std::string& path = options.dataPath;
  if (!CheckNoInputOverwritten(ToolRunFiles(options), platform) ||
      !OpenDataFile(path, [&] { return form.LoadFile(path); }, [&] { return form.CreateFile(path); }, unreadable,
                    unwritable, platform) ||
      !ApplyInputOption(options, settings, sections, platform, check)) {
    return 1;
  }
  if (!options.dump) return std::nullopt;
  std::cout << DumpInputText(settings, sections);
  return 0;
}

// Runs `run` and then writes to `notes` (UTF-8) one line for every table of
// the --input file that was cut at its capacity: the section, how many lines
// were read and how many ignored. The exit status is `run`'s.
int RunNotingCutTables(const std::function<int(const CommandOptions&, PlatformServices&)>& run,
                       const CommandOptions& options, PlatformServices& platform, std::ostream& notes);

}  // namespace qp
