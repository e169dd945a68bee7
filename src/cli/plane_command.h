// quorvex plane NET.NAP [--input FILE] [--dump] [--yes | --no]
#pragma once

#include <optional>
#include <string>

#include "common/platform_services.h"

namespace qp {

struct PlaneCommandOptions {
  std::string dataPath;
  std::optional<std::string> inputPath;
  bool dump = false;
};

// Exit status: 0 done, 1 stopped with a message.
int RunPlaneCommand(const PlaneCommandOptions& options, PlatformServices& platform);

}  // namespace qp
