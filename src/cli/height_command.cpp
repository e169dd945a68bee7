#include "cli/height_command.h"

#include <iostream>
#include <optional>

#include "cli/command_support.h"
#include "cli/input_text.h"
#include "cli/run_files.h"
#include "common/gbk_text.h"
#include "common/name_slot.h"
#include "common/report_file.h"
#include "common/settings_block.h"
#include "height/height_file.h"
#include "height/height_input_form.h"
#include "height/height_network.h"
#include "height/height_output_files.h"
#include "workflow/network_session.h"

namespace qp {
namespace {

std::vector<SettingBinding> HeightSettingBindings(HeightInputForm& f) {
  return {
      ComboSetting("解算方式", HeightModeItems(), &f.mode),
      TextSetting("控制网名", &f.networkName),
      ComboSetting("网形类别", HeightKindItems(), &f.kind),
      TextSetting("验前误差", &f.priorError),
  };
}

std::vector<SectionBinding> HeightSectionBindings(HeightInputForm& f) {
  std::vector<SectionBinding> bindings;
  for (const int box : {kHeightKnownBox, kHeightApproxBox, kHeightPairsBox, kHeightDifferencesBox,
                        kHeightCoordinatesBox}) {
    bindings.push_back({HeightBoxCaption(box), &f.boxes[box]});
  }
  return bindings;
}

}  // namespace

int RunHeightCommand(const CommandOptions& options, PlatformServices& platform) {
  NetworkSession session;
  SettingsBlock& settings = *session.settings;
  HeightNetwork& net = *session.height;
  const std::string& path = options.dataPath;
  const std::string pathGbk = Utf8ToGbk(path);
  if (!CheckNoInputOverwritten(DialogRunFiles(options, HeightComputationOutputs(path)), platform)) return 1;

  auto load = [&] { return ReadHeightFile(path, settings, net, &platform); };
  auto create = [&] {
    ResetSettingsBlock(settings);
    ResetHeightNetwork(net, pathGbk);
    return WriteHeightFile(path, settings, net);
  };
  if (!OpenDataFile(path, load, create, "高程网数据文件错误 !", "高程网数据文件写入错误 !", platform)) return 1;
  SetSlotText(net.dataFilePath, pathGbk);

  std::optional<InputDocument> input;
  if (!ReadInputOption(options, input, platform)) return 1;
  // The dialog as it opens: filled from the record (or the side file), then
  // from the input file as if typed. False after the input file's message.
  auto fillForm = [&](HeightInputForm& form, const HeightNetwork& record, const std::string& sidePath) {
    InitializeHeightForm(form, record, sidePath);
    return !input || ApplyInputOrTell(*input, HeightSettingBindings(form), HeightSectionBindings(form), platform);
  };

  if (options.dump) {
    HeightInputForm form;
    if (!fillForm(form, net, HeightSidePath(path))) return 1;
    std::cout << DumpInputText(HeightSettingBindings(form), HeightSectionBindings(form));
    return 0;
  }

  // The whole cycle, the dialog confirmed as after "确定" and "是"; the
  // diagram data are stored with the results, as the desktop stores them.
  if (options.significance) session.significance = *options.significance;
  const HeightDialogRunner runDialog = [&](HeightNetwork& record, const HeightReportTarget& target) {
    HeightInputForm form;
    return fillForm(form, record, target.sidePath) && RunHeightConfirmation(form, record, platform, target);
  };
  return session.EditHeight(path, platform, runDialog) == NetworkEditResult::Computed ? 0 : 1;
}

}  // namespace qp
