// The files a command's run reads and writes, for the check every command
// makes before it writes anything (CheckNoInputOverwritten): no run may write
// over one of its inputs (the data file, the --input text, the statistics
// report a drawing reads).
#pragma once

#include <vector>

#include "cli/command_options.h"
#include "common/file_clash.h"

namespace qp {

// The files of a dialog command: the data file (written back, or created
// when missing), the --input file, and `outputs`, the further files a
// confirmed run writes. A --dump run writes none of them.
RunFiles DialogRunFiles(const CommandOptions& options, std::vector<FileUse> outputs = {});

// The files of a coordinate tool's run: the dialog command's, and the report
// beside the data file.
RunFiles ToolRunFiles(const CommandOptions& options);

}  // namespace qp
