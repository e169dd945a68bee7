#include "cli/sheet_command.h"

#include "cli/network_file_kind.h"

#include <iostream>
#include <memory>

#include "cli/command_support.h"
#include "cli/input_text.h"
#include "cli/run_files.h"
#include "common/binary_file.h"
#include "common/format.h"
#include "common/gbk_text.h"
#include "common/numeric_field.h"
#include "common/settings_block.h"
#include "drawing/sheet_canvas.h"
#include "workflow/drawing_files.h"
#include "drawing/sheet_form.h"
#include "height/height_file.h"
#include "height/height_network.h"
#include "plane/plane_file.h"
#include "plane/plane_network.h"

namespace qp {
namespace {

constexpr const char* kSizeKeys[kSheetSizeFieldCount] = {"图幅高度", "图幅宽度", "上边距", "下边距", "左边距", "右边距"};
constexpr const char* kRemarkKeys[4] = {"说明1", "说明2", "说明3", "说明4"};
constexpr const char* kNoteKeys[4] = {"附注1", "附注2", "附注3", "附注4"};

// The controls the height sheet only shows (key, text shown).
std::vector<std::pair<const char*, std::string*>> SheetOnlyControls(SheetForm& f) {
  std::vector<std::pair<const char*, std::string*>> controls = {
      {"比例尺", &f.scaleText}, {"西南角X", &f.cornerXText}, {"西南角Y", &f.cornerYText}};
  for (int i = 0; i < kSheetSizeFieldCount; ++i) controls.emplace_back(kSizeKeys[i], &f.sizeTexts[i]);
  return controls;
}

// An edit whose dump leaves out the spaces around its text.
SettingBinding TrimmedTextSetting(const char* key, std::string* text) {
  SettingBinding binding = TextSetting(key, text);
  binding.show = [text] { return GbkToUtf8(Trim(*text)); };
  return binding;
}

std::vector<SettingBinding> SheetSettingBindings(SheetForm& f) {
  std::vector<SettingBinding> bindings;
  for (const auto& [key, text] : SheetOnlyControls(f)) bindings.push_back(TrimmedTextSetting(key, text));
  // The combo's index or item, or the dots per inch themselves.
  bindings.push_back({"分辨率", [&f](const std::string& value) {
                        for (int i = 0; i < 3; ++i) {
                          if (value == Format("%.0f", kResolutions[i])) {
                            f.resolutionIndex = i;
                            return true;
                          }
                        }
                        return ComboSetting("分辨率", SheetResolutionItems(), &f.resolutionIndex).apply(value);
                      },
                      [&f] { return std::to_string(f.resolutionIndex); }});
  bindings.push_back({"格网方式", [&f](const std::string& value) {
                        int index = f.gridStyle;
                        if (!ComboSetting("格网方式", SheetGridStyleItems(), &index).apply(value)) return false;
                        f.SelectGridStyle(index);
                        return true;
                      },
                      [&f] { return std::to_string(f.gridStyle); }});
  bindings.push_back(ComboSetting("格网注记", SheetLabelUnitItems(), &f.labelUnit));
  bindings.push_back(CheckSetting("显示比例尺", &f.showScale));
  bindings.push_back(CheckSetting("显示格网注记", &f.showGridLabels));
  bindings.push_back(TrimmedTextSetting("内外边框间距", &f.frameSpacingText));
  // Typing the height the edit already shows changes nothing.
  bindings.push_back({"图名字高", [&f](const std::string& value) {
                        return value == Trim(f.titleHeightText) || f.EditTitleHeight(value);
                      },
                      [&f] { return GbkToUtf8(Trim(f.titleHeightText)); }});
  for (int i = 0; i < 4; ++i) bindings.push_back(TextSetting(kRemarkKeys[i], &f.remarks[i]));
  for (int i = 0; i < 4; ++i) bindings.push_back(TextSetting(kNoteKeys[i], &f.notes[i]));
  bindings.push_back(TextSetting("绘图单位名称", &f.unitName));
  return bindings;
}

// The height sheet's scale, corner, size and margins follow its network: an
// input file may repeat what the dialog shows but not change it.
bool KeepsFittedSheet(SheetForm& f, const InputDocument& doc, std::string& error) {
  if (!f.HeightMode()) return true;
  for (const auto& setting : doc.settings) {
    for (const auto& [key, text] : SheetOnlyControls(f)) {
      if (setting.key != key || Trim(setting.value) == Trim(*text)) continue;
      error = InputLineError(setting.line, FormatText("高程网图幅的比例尺、西南角和图幅尺寸由网形决定, 设置项[%s]不能修改",
                                                      Utf8ToGbk(setting.key).c_str()));
      return false;
    }
  }
  return true;
}

}  // namespace

int RunSheetCommand(const CommandOptions& options, PlatformServices& platform) {
  const NetworkFileKind kind = NetworkFileKindOf(options.dataPath);
  if (kind == NetworkFileKind::Unknown) {
    platform.ShowMessage(Gbk("数据文件应为平面网数据文件(*.NAP)或高程网数据文件(*.NAH)"));
    return 2;
  }
  if (!CheckNoInputOverwritten(DialogRunFiles(options), platform)) return 1;
  const bool height = kind == NetworkFileKind::Height;
  const std::string& path = options.dataPath;
  auto settings = std::make_unique<SettingsBlock>();
  // One of the two records, as the file holds; the sheet belongs to a stored
  // network: a missing file is not created.
  std::unique_ptr<PlaneNetwork> plane = height ? nullptr : std::make_unique<PlaneNetwork>();
  std::unique_ptr<HeightNetwork> heightNet = height ? std::make_unique<HeightNetwork>() : nullptr;
  const bool read =
      FileExists(path) && (height ? ReadHeightFile(path, *settings, *heightNet, &platform)
                                  : ReadWritePlaneFile(path, FileDirection::Read, *settings, *plane, &platform));
  if (!read) {
    platform.ShowMessage(Gbk(height ? "高程网数据文件错误 !" : "平面网数据文件错误 !"));
    return 1;
  }

  SheetForm form(*settings, height);
  auto check = [&form](const InputDocument& doc, std::string& error) { return KeepsFittedSheet(form, doc, error); };
  if (!ApplyInputOption(options, SheetSettingBindings(form), {}, platform, check)) return 1;
  if (options.dump) {
    std::cout << DumpInputText(SheetSettingBindings(form), {});
    return 0;
  }
  // Running the command is the answer to "请确认输入数据结束...".
  if (!form.ConfirmWithoutQuestion(*settings, platform)) return 1;
  return FinishSettingsDialog(true, path, *settings, plane.get(), heightNet.get(), platform) ? 0 : 1;
}

}  // namespace qp
