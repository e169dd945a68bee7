// quorvex display NET.NAP|NET.NAH [--input FILE] [--dump] [--yes | --no]
#pragma once

#include "cli/command_options.h"
#include "cli/network_file_kind.h"
#include "common/platform_services.h"

namespace qp {

// The display settings dialog of the network in the data file, filled from
// the record and from --input, confirmed, and the data file written. Exit
// status: 0 done, 1 stopped with a message, 2 not a network data file name.
int RunDisplayCommand(const CommandOptions& options, PlatformServices& platform);

}  // namespace qp
