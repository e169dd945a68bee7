// quorvex height NET.NAH [--input FILE] [--dump] [--yes | --no]
#pragma once

#include "cli/command_options.h"
#include "common/platform_services.h"

namespace qp {

// Exit status: 0 done, 1 stopped with a message.
int RunHeightCommand(const CommandOptions& options, PlatformServices& platform);

}  // namespace qp
