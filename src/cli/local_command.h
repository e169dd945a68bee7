// quorvex local FILE.SLT [--input FILE] [--dump] [--yes | --no]
#pragma once

#include "cli/command_options.h"
#include "common/platform_services.h"

namespace qp {

// Runs "坐标转换" on the data file in the mode of 转换方式 and prints the
// converted list. The question that freezes the reference data is answered
// by --yes / --no (default: no). Exit status: 0 done, 1 stopped with a message.
int RunLocalCommand(const CommandOptions& options, PlatformServices& platform);

}  // namespace qp
