#include "cli/command_support.h"

#include "common/binary_file.h"
#include "common/gbk_text.h"
#include "common/numeric_field.h"
#include "common/table_line_reader.h"

namespace qp {

bool OpenDataFile(const std::string& path, const std::function<bool()>& load, const std::function<bool()>& create,
                  const char* unreadable, const char* unwritable, PlatformServices& platform) {
  if (FileExists(path)) return load() || ShowAndFail(platform, Gbk(unreadable));
  return create() || ShowAndFail(platform, Gbk(unwritable));
}

bool ReadInputOption(const CommandOptions& options, std::optional<InputDocument>& input, PlatformServices& platform) {
  if (!options.inputPath) return true;
  std::string error;
  input = ReadInputFile(*options.inputPath, error);
  return input.has_value() || ShowAndFail(platform, error);
}

bool ApplyInputOrTell(const InputDocument& doc, const std::vector<SettingBinding>& settings,
                      const std::vector<SectionBinding>& sections, PlatformServices& platform) {
  std::string error;
  return ApplyInputDocument(doc, settings, sections, error) || ShowAndFail(platform, error);
}

bool ApplyInputOption(const CommandOptions& options, const std::vector<SettingBinding>& settings,
                      const std::vector<SectionBinding>& sections, PlatformServices& platform,
                      const InputDocumentStep& check, const InputDocumentStep& then) {
  std::optional<InputDocument> doc;
  if (!ReadInputOption(options, doc, platform)) return false;
  if (!doc) return true;
  std::string error;
  const bool applied = (!check || check(*doc, error)) && ApplyInputDocument(*doc, settings, sections, error) &&
                       (!then || then(*doc, error));
  if (!applied) platform.ShowMessage(error);
  return applied;
}

int RunNotingCutTables(const std::function<int(const CommandOptions&, PlatformServices&)>& run,
                       const CommandOptions& options, PlatformServices& platform, std::ostream& notes) {
  TableOverflowRecorder recorder;
  const int status = run(options, platform);
  if (recorder.Overflows().empty() || !options.inputPath) return status;
  std::string error;
  const auto doc = ReadInputFile(*options.inputPath, error);
  if (!doc) return status;
  for (const TableOverflow& cut : recorder.Overflows()) {
    for (const InputSection& section : doc->sections) {
      if (Trim(section.body).size() != cut.textSize ||
          TableOverflowRecorder::HashOf(section.body) != cut.textHash) {
        continue;
      }
      notes << "注意: [" << section.name << "]超出容量, 读入" << cut.read << "行, 其余" << cut.ignored
            << "行未读入\n";
      break;
    }
  }
  return status;
}

}  // namespace qp
