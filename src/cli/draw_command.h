// quorvex draw NET.NAP|NET.NAH [--kind K] [--svg FILE] [--dxf FILE] [--pdf FILE]
// [--png FILE [--dpi N]]: opens the drawing without computing it, selects the
// diagram kind, writes NET.vec and the pictures. Never writes the data file.
#pragma once

#include <string>

#include "cli/command_options.h"
#include "cli/network_file_kind.h"
#include "common/platform_services.h"

namespace qp {

// The largest diagram kind of the network (plane 7, height 3).
int MaxDiagramKind(NetworkFileKind network);

// --kind K, --svg FILE, --dxf FILE, --pdf FILE, --png FILE and --dpi N.
bool IsDrawOption(const std::string& option);
// Takes one of them into `options`; the usage message when the value is
// wrong (a kind of more than two digits, a resolution outside
// kMinPngDpi..kMaxPngDpi) or the option repeated.
std::string ParseDrawOption(const std::string& option, const std::string& value, CommandOptions& options);

int RunDrawCommand(const CommandOptions& options, PlatformServices& platform);

}  // namespace qp
