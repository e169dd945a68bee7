#include "cli/transform_command.h"

#include <iostream>

#include "cli/command_support.h"
#include "cli/input_text.h"
#include "cli/run_files.h"
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
  if (!CheckNoInputOverwritten(ToolRunFiles(options), platform)) return 1;
  SystemTransformForm form;
  if (!OpenToolDataFile(form, options.dataPath, "坐标转换数据文件错误 !", "坐标转换数据文件写入错误 !", platform)) {
    return 1;
  }
  if (!ApplyInputOption(options, TransformSettingBindings(form), TransformSectionBindings(form), platform)) return 1;
  if (options.dump) {
    std::cout << DumpInputText(TransformSettingBindings(form), TransformSectionBindings(form));
    return 0;
  }
  if (!form.Execute(platform)) return 1;
  std::cout << TerminalText(form.ResultText()) << std::flush;
  return 0;
}

}  // namespace qp
