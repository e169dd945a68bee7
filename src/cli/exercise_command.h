// quorvex exercise FILE.STY [--input FILE] [--dump] [--show 1|2]
#pragma once

#include "cli/command_options.h"
#include "common/platform_services.h"

namespace qp {

// Fills the exercise solver from FILE.STY (created when missing) and the
// input file, turns "计算结果" on (which writes FILE.STY), selects the display
// entry (default: the last one) and prints what it shows in UTF-8.
// Exit status: 0 done, 1 stopped with a message.
int RunExerciseCommand(const CommandOptions& options, PlatformServices& platform);

}  // namespace qp
