#include "cli/run_files.h"

#include "common/binary_file.h"
#include "common/report_file.h"

namespace qp {

RunFiles DialogRunFiles(const CommandOptions& options, std::vector<FileUse> outputs) {
  RunFiles files;
  files.dataFile = {options.dataPath, "数据文件"};
  files.dataFileWritten = !options.dump || !FileExists(options.dataPath);
  if (options.inputPath) files.inputs.push_back({*options.inputPath, "输入文件"});
  if (!options.dump) files.outputs = std::move(outputs);
  return files;
}

RunFiles ToolRunFiles(const CommandOptions& options) {
  return DialogRunFiles(options, {{ReportPathFor(options.dataPath), "报告文件"}});
}

}  // namespace qp
