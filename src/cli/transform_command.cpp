#include "cli/transform_command.h"

#include <iostream>

#include "cli/command_support.h"
#include "cli/input_text.h"
#include "tools/system_transform.h"

namespace qp {
namespace {

std::vector<SettingBinding> TransformSettingBindings(SystemTransformForm& f) {
  return {TextSetting("输出标识", &f.title)};
}

std::vector<SectionBinding> TransformSectionBindings(SystemTransformForm& f) {
  return {{"旧坐标", &f.oldText}, {"新坐标", &f.newText}};
}

}  // namespace

int RunTransformCommand(const CommandOptions& options, PlatformServices& platform) {
  SystemTransformForm form;
  if (const auto stop = StartToolDialog(options, form, "坐标转换数据文件错误 !", "坐标转换数据文件写入错误 !",
                                        TransformSettingBindings(form), TransformSectionBindings(form), platform)) {
    return *stop;
  }
  if (!form.Execute(platform)) return 1;
  std::cout << TerminalText(form.ResultText()) << std::flush;
  return 0;
}

}  // namespace qp
