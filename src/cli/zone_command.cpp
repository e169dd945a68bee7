#include "cli/zone_command.h"

#include <iostream>

#include "cli/command_support.h"
#include "cli/input_text.h"
#include "cli/run_files.h"
#include "tools/point_list.h"
#include "tools/zone_transform.h"

namespace qp {
namespace {

std::vector<SettingBinding> ZoneSettingBindings(ZoneTransformForm& f) {
  return {
      ComboSetting("系统选择", GeodeticSystemItems(), &f.systemIndex),
      TextSetting("输出标识", &f.title),
      TextSetting("换带前经度", &f.oldMeridianText),
      TextSetting("换带后经度", &f.newMeridianText),
      ComboSetting("显示选择", ZoneDisplayItems(), &f.displayIndex),
  };
}

std::vector<SectionBinding> ZoneSectionBindings(ZoneTransformForm& f) { return {{"换带前坐标", &f.inputText}}; }

}  // namespace

int RunZoneCommand(const CommandOptions& options, PlatformServices& platform) {
  if (!CheckNoInputOverwritten(ToolRunFiles(options), platform)) return 1;
  ZoneTransformForm form;
  if (!OpenToolDataFile(form, options.dataPath, "换带数据文件错误 !", "换带数据文件写入错误 !", platform)) return 1;
  if (!ApplyInputOption(options, ZoneSettingBindings(form), ZoneSectionBindings(form), platform)) return 1;
  if (options.dump) {
    std::cout << DumpInputText(ZoneSettingBindings(form), ZoneSectionBindings(form));
    return 0;
  }
  if (!form.Execute(platform)) return 1;
  std::cout << TerminalText(form.OutputText()) << std::flush;
  return 0;
}

}  // namespace qp
