#include "cli/display_command.h"

#include <algorithm>
#include <cctype>
#include <iostream>
#include <memory>
#include <optional>

#include "cli/command_support.h"
#include "cli/input_text.h"
#include "cli/run_files.h"
#include "common/binary_file.h"
#include "common/format.h"
#include "common/gbk_text.h"
#include "common/numeric_field.h"
#include "drawing/declutter_setting.h"
#include "drawing/display_form.h"
#include "workflow/display_settings_file.h"
#include "height/height_file.h"
#include "height/height_model_record.h"
#include "plane/plane_file.h"
#include "plane/plane_model_record.h"

namespace qp {
namespace {

constexpr const char* kClosureSection = "闭合差显示";

// "R,G,B" with each part 0..255, as 0x00BBGGRR.
std::optional<int32_t> ParseColour(const std::string& value) {
  int32_t colour = 0;
  std::string_view rest = value;
  for (int part = 0; part < 3; ++part) {
    const size_t comma = part < 2 ? rest.find(',') : rest.size();
    if (comma == std::string_view::npos) return std::nullopt;
    const std::string_view field = Trim(rest.substr(0, comma));
    if (field.empty() || field.size() > 3 || !std::all_of(field.begin(), field.end(), ::isdigit)) return std::nullopt;
    const int v = std::stoi(std::string(field));
    if (v > 255) return std::nullopt;
    colour |= v << (8 * part);
    rest = part < 2 ? rest.substr(comma + 1) : std::string_view();
  }
  return colour;
}

std::string ColourText(int32_t colour) {
  return Format("%d,%d,%d", colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
}

// A record text as one line of the dump: a damaged name or face holding line
// breaks must not start a new setting or section.
std::string OneLine(const std::string& gbk) {
  std::string text = GbkToUtf8(gbk);
  std::replace_if(text.begin(), text.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
  return text;
}

// The font face and height keys of both dialogs. A value equal to what the
// control already shows changes nothing (so a dump reads back unchanged);
// anything else is handled as the control handles a choice or a keystroke,
// and a value the control would refuse is an error.
void AddFontBindings(DisplayForm& f, std::vector<SettingBinding>& bindings) {
  const std::pair<DiagramFontRole, std::pair<const char*, const char*>> fonts[] = {
      {DiagramFontRole::Text, {"文本字体", "文本字高"}}, {DiagramFontRole::Number, {"数字字体", "数字字高"}}};
  for (const auto& [fontRole, keys] : fonts) {
    const DiagramFontRole role = fontRole;  // a plain variable: lambdas may capture it with any compiler
    bindings.push_back({keys.first, [&f, role](const std::string& v) {
                          return v == f.Font(role).face || f.SetFontFace(role, v);
                        },
                        [&f, role] { return OneLine(f.Font(role).face); }});
    bindings.push_back({keys.second, [&f, role](const std::string& v) {
                          return v == f.HeightText(role) || f.EditHeight(role, v);
                        },
                        [&f, role] { return GbkToUtf8(f.HeightText(role)); }});
  }
  bindings.push_back({"文字颜色", [&f](const std::string& v) {
                        const auto colour = ParseColour(v);
                        if (colour) f.SetTextColour(*colour);
                        return colour.has_value();
                      },
                      [&f] { return ColourText(f.TextColour()); }});
}

// An edit that takes only a number.
SettingBinding NumberSetting(const char* key, std::string* text) {
  SettingBinding binding = TextSetting(key, text);
  binding.apply = [text](const std::string& v) {
    const bool number = !v.empty() && IsNumericField(v);
    if (number) *text = v;
    return number;
  };
  return binding;
}

std::vector<SettingBinding> CommonBindings(DisplayForm& f) {
  std::vector<SettingBinding> bindings{ComboSetting("绘图选项", f.KindItems(), &f.kindIndex)};
  AddFontBindings(f, bindings);
  bindings.push_back(CheckSetting("注记避让", &f.declutter));
  return bindings;
}

std::vector<SettingBinding> PlaneBindings(PlaneDisplayForm& f) {
  std::vector<SettingBinding> bindings = CommonBindings(f);
  bindings.push_back(NumberSetting("椭圆尺度", &f.ellipseRadiusText));
  bindings.push_back(CheckSetting("贯通预警", &f.breakthroughWarning));
  bindings.push_back(NumberSetting("贯通预警距离", &f.warningDistanceText));
  return bindings;
}

// The dialog in the input format: the settings, the read-only network name as
// a comment, and the closure list one line per entry.
std::string DumpForm(const DisplayForm& f, const std::vector<SettingBinding>& settings) {
  std::string list;
  for (const auto& line : f.ClosureLines()) list += line + "\r\n";
  const std::string text = DumpInputText(settings, {{kClosureSection, &list}});
  const size_t afterHeader = text.find('\n') + 1;
  return text.substr(0, afterHeader) + "# 控制网名: " + OneLine(f.NetworkName()) + "\n" + text.substr(afterHeader);
}

// The closure list section: one line per list entry, in list order, either
// the line as the list shows it ("[Y]" or "[N]" and the entry's text, which
// must match, so a list from another network is not taken by accident) or
// just "Y" or "N". The list takes the flags only when every line is right.
bool ApplyClosureSection(DisplayForm& f, const InputSection& section, std::string& error) {
  std::vector<std::string_view> lines = SplitLines(section.body);
  // A blank line ends the list, as in a text box.
  lines.erase(std::find_if(lines.begin(), lines.end(), [](std::string_view line) { return Trim(line).empty(); }),
              lines.end());
  const auto& entries = f.Closures();
  std::vector<bool> drawn;
  for (size_t i = 0; i < lines.size(); ++i) {
    const int lineNo = section.line + 1 + static_cast<int>(i);
    if (i >= entries.size()) {
      error = InputLineError(lineNo, FormatText("闭合差显示只有%d行", static_cast<int>(entries.size())));
      return false;
    }
    const std::string_view line = Trim(lines[i]);
    const std::string_view marker = line.substr(0, 3);
    const bool shortForm = line == "Y" || line == "N";
    if (!shortForm && ((marker != "[Y]" && marker != "[N]") || Trim(line.substr(3)) != Trim(entries[i].text))) {
      error = InputLineError(lineNo, FormatText("应为[Y]或[N]后接闭合差: %s", entries[i].text.c_str()));
      return false;
    }
    drawn.push_back(shortForm ? line == "Y" : marker == "[Y]");
  }
  if (drawn.size() < entries.size()) {
    error = InputLineError(section.line, FormatText("闭合差显示应有%d行, 只给出%d行", static_cast<int>(entries.size()),
                                                    static_cast<int>(drawn.size())));
    return false;
  }
  for (size_t i = 0; i < drawn.size(); ++i) f.SetClosureDrawn(static_cast<int>(i), drawn[i]);
  return true;
}

// The command on one kind of network: read the file (it must exist and be
// readable), fill the form, dump or confirm and write.
template <typename Record, typename Form, typename Read, typename ModelOf, typename Bindings, typename Finish>
int RunOnNetwork(const CommandOptions& options, PlatformServices& platform, const char* unreadable, Read read,
                 ModelOf modelOf, Bindings bindings, Finish finish) {
  if (!CheckNoInputOverwritten(DialogRunFiles(options), platform)) return 1;
  auto settings = std::make_unique<SettingsBlock>();
  auto net = std::make_unique<Record>();
  if (!FileExists(options.dataPath) || !read(options.dataPath, *settings, *net, &platform)) {
    platform.ShowMessage(Gbk(unreadable));
    return 1;
  }
  auto model = modelOf(*net);
  Form form(model);
  form.declutter = DeclutterFor(options.dataPath);
  // The --input file's settings, then its closure list.
  const std::vector<SettingBinding> settingBindings = bindings(form);
  std::string list;
  const auto closures = [&form](const InputDocument& doc, std::string& error) {
    return std::all_of(doc.sections.begin(), doc.sections.end(), [&](const InputSection& section) {
      return section.name != kClosureSection || ApplyClosureSection(form, section, error);
    });
  };
  if (!ApplyInputOption(options, settingBindings, {{kClosureSection, &list}}, platform, {}, closures)) return 1;
  if (options.dump) {
    std::cout << DumpForm(form, settingBindings);
    return 0;
  }
  // Running the command is the answer "是" to "请确认退出...".
  form.Apply(model);
  if (!finish(true, options.dataPath, *settings, model, *net, platform)) return 1;
  if (!StoreDeclutter(options.dataPath, form.declutter)) {
    platform.ShowMessage(Gbk("注记避让设置写入错误 !"));
    return 1;
  }
  return 0;
}

bool ReadPlane(const std::string& path, SettingsBlock& settings, PlaneNetwork& net, PlatformServices* tell) {
  return ReadWritePlaneFile(path, FileDirection::Read, settings, net, tell);
}

}  // namespace

int RunDisplayCommand(const CommandOptions& options, PlatformServices& platform) {
  switch (NetworkFileKindOf(options.dataPath)) {
    case NetworkFileKind::Plane:
      return RunOnNetwork<PlaneNetwork, PlaneDisplayForm>(options, platform, "平面网数据文件错误 !", ReadPlane,
                                                          PlaneModelFromRecord, PlaneBindings,
                                                          FinishPlaneDisplayDialog);
    case NetworkFileKind::Height:
      return RunOnNetwork<HeightNetwork, HeightDisplayForm>(options, platform, "高程网数据文件错误 !",
                                                            ReadHeightFile, HeightModelFromRecord, CommonBindings,
                                                            FinishHeightDisplayDialog);
    case NetworkFileKind::Unknown:
      break;
  }
  platform.ShowMessage(Gbk("数据文件应为平面网(.NAP)或高程网(.NAH)数据文件"));
  return 2;
}

}  // namespace qp
