// quorvex sheet NET.NAP|NET.NAH [--input FILE] [--dump] [--yes | --no]
#pragma once

#include "cli/command_options.h"
#include "common/platform_services.h"

namespace qp {

// The map sheet dialog ("控制网图设置") on a stored plane (.NAP) or height
// (.NAH) network, the kind following the extension in any letter case.
// Exit status: 0 done, 1 stopped with a message, 2 not a network data file
// name.
int RunSheetCommand(const CommandOptions& options, PlatformServices& platform);

}  // namespace qp
