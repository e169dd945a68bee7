// quorvex zone FILE.GST [--input FILE] [--dump] [--yes | --no]
#pragma once

#include "cli/command_options.h"
#include "common/platform_services.h"

namespace qp {

// Runs "换带执行" on the data file and prints the output edit. Exit status: 0
// done, 1 stopped with a message.
int RunZoneCommand(const CommandOptions& options, PlatformServices& platform);

}  // namespace qp
