// quorvex: the command-line driver. Runs the workflows of the desktop
// application on data files, with input text files in place of the dialogs.
#include <clocale>
#include <iostream>
#include <string>
#include <vector>

#include "adjustment/numeric_threads.h"
#include "cli/arrange_command.h"
#include "cli/cli_platform.h"
#include "cli/command_options.h"
#include "cli/command_support.h"
#include "cli/display_command.h"
#include "cli/draw_command.h"
#include "cli/export_command.h"
#include "cli/exercise_command.h"
#include "cli/height_command.h"
#include "cli/local_command.h"
#include "cli/plane_command.h"
#include "cli/sheet_command.h"
#include "cli/transform_command.h"
#include "cli/zone_command.h"
#include "statistics/adjustment_statistics.h"

namespace {

struct Command {
  const char* name;
  const char* extension;  // given to a data file name without one; nullptr: the name must carry it
  bool takesShow;
  bool isDraw;  // takes --kind/--svg/--dxf and none of the dialog options
  int (*run)(const qp::CommandOptions&, qp::PlatformServices&);
};

const Command kCommands[] = {
    {"plane", ".NAP", false, false, qp::RunPlaneCommand},
    {"height", ".NAH", false, false, qp::RunHeightCommand},
    {"zone", ".GST", false, false, qp::RunZoneCommand},
    {"transform", ".TRS", false, false, qp::RunTransformCommand},
    {"local", ".SLT", false, false, qp::RunLocalCommand},
    {"exercise", ".STY", true, false, qp::RunExerciseCommand},
    {"sheet", nullptr, false, false, qp::RunSheetCommand},
    {"display", nullptr, false, false, qp::RunDisplayCommand},
    {"draw", nullptr, false, true, qp::RunDrawCommand},
    {"arrange", nullptr, false, true, qp::RunArrangeCommand},
    {"export", nullptr, false, false, qp::RunExportCommand},
};

constexpr const char* kUsage =
    "用法:\n"
    "  quorvex plane     NET.NAP  [--input FILE] [--dump] [--yes | --no] [--alpha P]\n"
    "  quorvex height    NET.NAH  [--input FILE] [--dump] [--yes | --no] [--alpha P]\n"
    "  quorvex sheet     NET.NAP|NET.NAH [--input FILE] [--dump] [--yes | --no]\n"
    "  quorvex zone      FILE.GST [--input FILE] [--dump] [--yes | --no]\n"
    "  quorvex transform FILE.TRS [--input FILE] [--dump] [--yes | --no]\n"
    "  quorvex local     FILE.SLT [--input FILE] [--dump] [--yes | --no]\n"
    "  quorvex exercise  FILE.STY [--input FILE] [--dump] [--show 1|2]\n"
    "  quorvex display   NET.NAP|NET.NAH [--input FILE] [--dump] [--yes | --no]\n"
    "  quorvex draw      NET.NAP|NET.NAH [--kind K] [--svg FILE] [--dxf FILE] [--pdf FILE] [--png FILE [--dpi N]]\n"
    "  quorvex arrange   NET.NAP|NET.NAH [--kind K] [--yes | --no]\n"
    "  quorvex export    NET.NAP|NET.NAH [--csv FILE] [--geojson FILE] [--crs CRS]\n"
    "  quorvex --help | --version\n"
    "\n"
    "  plane      平面控制网: 读入(或新建)数据文件, 按输入文件填写并确认输入, 计算并写报告\n"
    "  height     高程控制网: 同上, 水准网或三角高程网\n"
    "             平差后另写统计检验报告 NET统计检验.txt(整体检验, 数据探测, 可靠性)\n"
    "  sheet      控制网图设置: 按输入文件填写并确认图幅(比例尺, 西南角, 图幅尺寸, 格网, 注记), 写回数据文件\n"
    "  zone       高斯投影换带计算, 写 .GST 数据文件和报告, 输出换带结果\n"
    "  transform  新旧坐标系统转换, 写 .TRS 数据文件和报告, 输出转换后的坐标\n"
    "  local      独立坐标系统的建立与换算, 写 .SLT 数据文件和报告, 输出换算结果\n"
    "  exercise   测量平差习题解算, 写 .STY 数据文件, 输出 --show 选择的显示内容\n"
    "  display    平面网或高程网的显示设置(绘图选项, 字体字高, 闭合差显示; 平面网还有椭圆尺度和贯通预警),\n"
    "             确认后写数据文件; 数据文件须已存在\n"
    "  draw       打开控制网图形(不重新计算), 导出矢量图形 NET.vec; 不修改数据文件\n"
    "  arrange    注记整理: 打开控制网图形(不重新计算), 把点名和闭合差注记移到不与其它注记, 符号和线相压的位置,\n"
    "             保存数据文件(同\"保存数据\")和注记标记文件 NET.NAP.labels; 手工移动过的注记不压盖时保持不动\n"
    "  export     导出计算后的点位: CSV (UTF-8, 点名, 类型, X, Y, H, 中误差和误差椭圆, 单位同报告; 不给 --csv 时写到标准输出)\n"
    "             和 GeoJSON (经纬度, 经 PROJ 由 --crs 换算); 不修改数据文件\n"
    "\n"
    "  --input    输入文本文件(UTF-8 或 GBK): [设置] 节为\"键 = 值\", 其余各节为对话框的文本框内容\n"
    "  --dump     按输入文本格式输出对话框内容, 不计算\n"
    "  --yes/--no 非交互运行时对其它询问的回答(缺省: 询问的默认按钮)\n"
    "  --alpha P  plane, height: 统计检验报告中整体检验的显著水平, 如 0.05 或 5% (缺省 5%)\n"
    "  --kind K   图形种类: 平面网 0-7, 高程网 0-3 (同工具栏的图形选择, 只在本次绘图中有效)\n"
    "  --svg/--dxf FILE  另外输出 SVG 图形(整张图纸, 毫米)或 DXF 图形(地面坐标, x 为东 y 为北)\n"
    "  --pdf/--png FILE  另外输出 PDF 文档(矢量, 一页为整张图纸)或 PNG 图像; --dpi N: PNG 分辨率 (50-1200, 缺省 300)\n"
    "  --crs CRS  export: 网的坐标参考系, 如 EPSG:4547 (CGCS2000 3度带 114E) 或独立坐标系统的 PROJ 字符串;\n"
    "             54/80 坐标系统只有近似的基准转换时拒绝导出经纬度\n"
    "\n"
    "退出状态: 0 成功, 1 因提示信息而停止, 2 用法错误\n";

int UsageError(const std::string& what) {
  std::cerr << "quorvex: " << what << "\n\n" << kUsage;
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  std::setlocale(LC_ALL, "C");
  qp::ApplyNumericThreadPolicy();
  std::vector<std::string> args(argv + 1, argv + argc);
  if (args.empty()) return UsageError("缺少命令");
  if (args[0] == "--help" || args[0] == "-h") {
    std::cout << kUsage;
    return 0;
  }
  if (args[0] == "--version") {
    std::cout << "quorvex (QuorvexPlus 测量数据处理系统) " << QUORVEX_VERSION << "\n";
    return 0;
  }

  const Command* command = nullptr;
  for (const auto& c : kCommands) {
    if (args[0] == c.name) command = &c;
  }
  if (!command) return UsageError("未知的命令: " + args[0]);

  qp::CommandOptions options;
  qp::ScriptedAnswer answer = qp::ScriptedAnswer::Default;
  for (size_t i = 1; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (command->run == qp::RunExportCommand && qp::IsExportOption(a)) {
      if (i + 1 >= args.size()) return UsageError(a + " 后缺少参数");
      if (const std::string why = qp::ParseExportOption(a, args[++i], options); !why.empty()) return UsageError(why);
    } else if (command->run == qp::RunExportCommand && !a.empty() && a[0] == '-') {
      return UsageError("未知的选项: " + a);
    } else if (command->isDraw && qp::IsDrawOption(a)) {
      if (i + 1 >= args.size()) return UsageError(a + " 后缺少参数");
      if (const std::string why = qp::ParseDrawOption(a, args[++i], options); !why.empty()) return UsageError(why);
    } else if (command->isDraw && !a.empty() && a[0] == '-' &&
               !(command->run == qp::RunArrangeCommand && (a == "--yes" || a == "--no"))) {
      return UsageError("未知的选项: " + a);
    } else if (a == "--input") {
      if (i + 1 >= args.size()) return UsageError("--input 后缺少文件名");
      if (options.inputPath) return UsageError("--input 只能给出一次");
      options.inputPath = args[++i];
    } else if (a == "--dump") {
      options.dump = true;
    } else if (a == "--yes" || a == "--no") {
      if (answer != qp::ScriptedAnswer::Default) return UsageError("--yes 和 --no 只能给出一个");
      answer = a == "--yes" ? qp::ScriptedAnswer::Yes : qp::ScriptedAnswer::No;
    } else if (a == "--show" && command->takesShow) {
      if (i + 1 >= args.size() || (args[i + 1] != "1" && args[i + 1] != "2")) {
        return UsageError("--show 后应为 1 或 2");
      }
      options.show = std::stoi(args[++i]);
    } else if (a == "--alpha" && (args[0] == "plane" || args[0] == "height")) {
      double alpha = 0.0;
      if (i + 1 >= args.size() || !qp::ParseSignificance(args[i + 1], alpha)) {
        return UsageError("--alpha 后应为显著水平, 如 0.05 或 5%, 不大于 50%");
      }
      if (options.significance) return UsageError("--alpha 只能给出一次");
      options.significance = alpha;
      ++i;
    } else if (!a.empty() && a[0] == '-') {
      return UsageError("未知的选项: " + a);
    } else if (options.dataPath.empty()) {
      options.dataPath = a;
    } else {
      return UsageError("多余的参数: " + a);
    }
  }
  if (options.dataPath.empty()) return UsageError("缺少数据文件名");
  // A name without extension gets the default one, as in the file dialog.
  const size_t slash = options.dataPath.find_last_of('/');
  const std::string base = options.dataPath.substr(slash == std::string::npos ? 0 : slash + 1);
  if (base.empty()) return UsageError("数据文件名不正确: " + options.dataPath);
  if (base.find('.') == std::string::npos) {
    if (!command->extension) return UsageError("数据文件名应带扩展名: " + options.dataPath);
    options.dataPath += command->extension;
  }
  if (command->run == qp::RunArrangeCommand &&
      (options.svgPath || options.dxfPath || options.pdfPath || options.pngPath)) {
    return UsageError("arrange 不输出图形文件");
  }
  if (command->run == qp::RunExportCommand) {
    if (qp::NetworkFileKindOf(options.dataPath) == qp::NetworkFileKind::Unknown) {
      return UsageError("export 的数据文件应为 .NAP 或 .NAH: " + options.dataPath);
    }
    if (options.geojsonPath && !options.crs) return UsageError("GeoJSON 需要 --crs 给出网的坐标参考系, 如 EPSG:4547");
  }
  if (command->isDraw) {
    const qp::NetworkFileKind network = qp::NetworkFileKindOf(options.dataPath);
    if (network == qp::NetworkFileKind::Unknown) return UsageError(std::string(command->name) + " 的数据文件应为 .NAP 或 .NAH: " + options.dataPath);
    if (options.kind && *options.kind > qp::MaxDiagramKind(network)) {
      return UsageError("--kind 超出范围 (0-" + std::to_string(qp::MaxDiagramKind(network)) + ")");
    }
    if (options.dpi && !options.pngPath) return UsageError("--dpi 只用于 --png");
  }

  qp::CliPlatform platform(answer);
  return qp::RunNotingCutTables(command->run, options, platform, std::cerr);
}
