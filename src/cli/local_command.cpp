#include "cli/local_command.h"

#include <iostream>

#include "cli/command_support.h"
#include "cli/input_text.h"
#include "common/format.h"
#include "common/gbk_text.h"
#include "common/numeric_field.h"
#include "tools/independent_system.h"
#include "tools/point_list.h"

namespace qp {
namespace {

// A control of the reference group, the system name or the radius: they are
// frozen once the reference data are confirmed.
struct ReferenceControl {
  const char* key;
  std::string* text;
  const char* numberFormat;  // how the control shows its number; nullptr for a name
};

std::vector<ReferenceControl> ReferenceControls(IndependentSystemForm& f) {
  return {
      {"坐标系统名称", &f.systemName, nullptr}, {"参考点点名", &f.referenceName, nullptr},
      {"中央子午线", &f.meridianText, "%.6f"},  {"参考点X坐标", &f.referenceXText, "%.3f"},
      {"参考点Y坐标", &f.referenceYText, "%.3f"}, {"投影高程面", &f.heightText, "%.3f"},
      {"设定坐标X", &f.setXText, "%.3f"},       {"设定坐标Y", &f.setYText, "%.3f"},
      {"有效半径m", &f.radiusText, "%.0f"},
  };
}

std::vector<SettingBinding> LocalSettingBindings(IndependentSystemForm& f) {
  std::vector<SettingBinding> bindings;
  for (const auto& control : ReferenceControls(f)) bindings.push_back(TextSetting(control.key, control.text));
  bindings.push_back(ComboSetting("坐标系统", GeodeticSystemItems(), &f.systemIndex));
  bindings.push_back(ComboSetting("转换方式", IndependentModeItems(), &f.modeIndex));
  return bindings;
}

std::vector<SectionBinding> LocalSectionBindings(IndependentSystemForm& f) {
  return {{"国家坐标系统坐标", &f.nationalText}, {"独立坐标系统坐标", &f.independentText}};
}

// With confirmed reference data the dialog's reference controls are disabled:
// an input file may repeat what they show but not change it.
bool KeepsConfirmedReference(IndependentSystemForm& f, const InputDocument& doc, std::string& error) {
  if (!f.Confirmed()) return true;
  auto refuse = [&error](const InputSetting& setting) {
    error = InputLineError(setting.line,
                           FormatText("参考点信息已确认, 设置项[%s]不能修改", Utf8ToGbk(setting.key).c_str()));
    return false;
  };
  for (const auto& setting : doc.settings) {
    if (setting.key == "坐标系统") {
      int index = f.systemIndex;
      if (!ComboSetting("坐标系统", GeodeticSystemItems(), &index).apply(setting.value)) continue;
      if (index != f.systemIndex) return refuse(setting);
      continue;
    }
    for (const auto& control : ReferenceControls(f)) {
      if (setting.key != control.key) continue;
      const std::string value = control.numberFormat ? Format(control.numberFormat, LeadingNumber(setting.value))
                                                     : std::string(Trim(setting.value));
      if (value != *control.text) return refuse(setting);
    }
  }
  return true;
}

}  // namespace

int RunLocalCommand(const CommandOptions& options, PlatformServices& platform) {
  IndependentSystemForm form;
  auto check = [&form](const InputDocument& doc, std::string& error) {
    return KeepsConfirmedReference(form, doc, error);
  };
  if (const auto stop = StartToolDialog(options, form, "独立坐标系统数据文件错误 !", "独立坐标系统数据文件写入错误 !",
                                        LocalSettingBindings(form), LocalSectionBindings(form), platform, check)) {
    return *stop;
  }
  switch (form.Execute(platform).outcome) {
    case ConversionOutcome::Converted:
      std::cout << TerminalText(form.ResultText()) << std::flush;
      return form.WroteFiles() ? 0 : 1;
    case ConversionOutcome::Stopped:
      return 1;
    case ConversionOutcome::NothingToDo:
      // The dialog does nothing here; a command that did nothing must say so.
      platform.ShowMessage(Gbk("独立坐标系统数据输入不正确 !"));
      return 1;
  }
  return 1;
}

}  // namespace qp
