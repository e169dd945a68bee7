// quorvex arrange NET.NAP|NET.NAH [--kind K]: opens the drawing without
// computing it, arranges the movable texts of diagram kind K (default: the
// stored kind) as "注记整理" does and saves the data file and its label marks
// as "保存数据" does. The stored diagram kind is kept. A data file that
// cannot be read is the data-file error: exit 1, nothing written.
#pragma once

#include "cli/command_options.h"
#include "common/platform_services.h"

namespace qp {

int RunArrangeCommand(const CommandOptions& options, PlatformServices& platform);

}  // namespace qp
