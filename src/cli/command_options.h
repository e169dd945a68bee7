// Options shared by every subcommand of the command-line driver:
//   quorvex <command> DATAFILE [--input FILE] [--dump] [--yes | --no] [--show N]
#pragma once

#include <optional>
#include <string>

namespace qp {

struct CommandOptions {
  std::string dataPath;
  std::optional<std::string> inputPath;
  bool dump = false;
  std::optional<int> show;  // exercise solver: the display entry
};

}  // namespace qp
