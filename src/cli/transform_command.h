// quorvex transform FILE.TRS [--input FILE] [--dump] [--yes | --no]
#pragma once

#include "cli/command_options.h"
#include "common/platform_services.h"

namespace qp {

// Runs "转换" on the data file and prints every old point carried into the
// new system. Exit status: 0 done, 1 stopped with a message.
int RunTransformCommand(const CommandOptions& options, PlatformServices& platform);

}  // namespace qp
