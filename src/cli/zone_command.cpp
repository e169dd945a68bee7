#include "cli/zone_command.h"

#include <iostream>

#include "cli/command_support.h"
#include "cli/input_text.h"
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
      ComboSetting("输出带号", ZoneNumberItems(), &f.zoneNumberIndex),
  };
}

std::vector<SectionBinding> ZoneSectionBindings(ZoneTransformForm& f) { return {{"换带前坐标", &f.inputText}}; }

}  // namespace

int RunZoneCommand(const CommandOptions& options, PlatformServices& platform) {
  ZoneTransformForm form;
  if (const auto stop = StartToolDialog(options, form, "换带数据文件错误 !", "换带数据文件写入错误 !",
                                        ZoneSettingBindings(form), ZoneSectionBindings(form), platform)) {
    return *stop;
  }
  if (!form.Execute(platform)) return 1;
  std::cout << TerminalText(form.OutputText()) << std::flush;
  return 0;
}

}  // namespace qp
