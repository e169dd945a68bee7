#include "cli/plane_command.h"

#include <iostream>
#include <optional>

#include "cli/command_support.h"
#include "cli/input_text.h"
#include "cli/run_files.h"
#include "common/gbk_text.h"
#include "common/settings_block.h"
#include "common/name_slot.h"
#include "common/report_file.h"
#include "plane/plane_file.h"
#include "plane/plane_input_form.h"
#include "plane/plane_network.h"
#include "plane/plane_output_files.h"
#include "workflow/network_session.h"

namespace qp {
namespace {

std::vector<SettingBinding> PlaneSettingBindings(PlaneInputForm& f) {
  return {
      ComboSetting("解算方式", PlaneCalcModeItems(), &f.calcMode),
      TextSetting("控制网名", &f.networkName),
      TextSetting("验前中误差", &f.directionError),
      TextSetting("测距固定误差", &f.distanceFixedError),
      TextSetting("测距比例误差", &f.distanceScaleError),
      ComboSetting("闭合差", PlaneClosureModeItems(), &f.closureMode),
      TextSetting("Y坐标平移", &f.yOffset),
      TextSetting("投影面高程", &f.projectionHeight),
      TextSetting("折光系数", &f.refraction),
      ComboSetting("竖直角观测方式", VerticalAngleKindItems(), &f.verticalAngleKind),
      ComboSetting("边长输入方式", DistanceColumnOrderItems(), &f.distanceColumnOrder),
  };
}

// The sections in the order of the boxes, named as the dialog's questions name them.
std::vector<SectionBinding> PlaneSectionBindings(PlaneInputForm& f) {
  std::vector<SectionBinding> bindings;
  for (int box = 0; box < kPlaneTextBoxCount; ++box) bindings.push_back({PlaneBoxCaption(box), &f.boxes[box]});
  return bindings;
}

}  // namespace

int RunPlaneCommand(const CommandOptions& options, PlatformServices& platform) {
  NetworkSession session;
  SettingsBlock& settings = *session.settings;
  PlaneNetwork& net = *session.plane;
  const std::string& path = options.dataPath;
  const std::string pathGbk = Utf8ToGbk(path);
  if (!CheckNoInputOverwritten(DialogRunFiles(options, PlaneComputationOutputs(path)), platform)) return 1;

  auto load = [&] { return ReadWritePlaneFile(path, FileDirection::Read, settings, net, &platform); };
  auto create = [&] {
    ResetSettingsBlock(settings);
    ResetPlaneNetwork(net, pathGbk);
    return ReadWritePlaneFile(path, FileDirection::Write, settings, net);
  };
  if (!OpenDataFile(path, load, create, "平面网数据文件错误 !", "平面网数据文件写入错误 !", platform)) return 1;
  SetSlotText(net.dataFilePath, pathGbk);

  std::optional<InputDocument> input;
  if (!ReadInputOption(options, input, platform)) return 1;
  // The dialog as it opens: filled from the record (or the draft), then
  // from the input file as if typed. False after the input file's message.
  auto fillForm = [&](PlaneInputForm& form, PlaneNetwork& record, const std::string& draftPath) {
    InitializePlaneForm(form, record, draftPath);
    if (!input) return true;
    if (!ApplyInputOrTell(*input, PlaneSettingBindings(form), PlaneSectionBindings(form), platform)) return false;
    SelectPlaneCalcMode(form, record, form.calcMode);
    return true;
  };

  if (options.dump) {
    PlaneInputForm form;
    if (!fillForm(form, net, PlaneDraftPath(ReportPathFor(path)))) return 1;
    std::cout << DumpInputText(PlaneSettingBindings(form), PlaneSectionBindings(form));
    return 0;
  }

  // The whole cycle, the dialog confirmed as after "确定" and "是"; the
  // diagram data are stored with the results, as the desktop stores them.
  if (options.significance) session.significance = *options.significance;
  const PlaneDialogRunner runDialog = [&](PlaneNetwork& record, const PlaneDialogTarget& target) {
    PlaneInputForm form;
    return fillForm(form, record, target.draftPath) &&
           RunPlaneConfirmation(form, record, platform, target.draftPath, target.steps);
  };
  return session.EditPlane(path, platform, runDialog) == NetworkEditResult::Computed ? 0 : 1;
}

}  // namespace qp
