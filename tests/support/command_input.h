// The options of a command-line run given its input as text.
#pragma once

#include <string>

#include "cli/command_options.h"
#include "support/test_files.h"

namespace qp::testing {

// Options for the data file `dataPath`; a non-empty `inputText` is written to
// in.txt in `dir` and given as --input.
inline CommandOptions OptionsWithInput(const TempDir& dir, const std::string& dataPath, const std::string& inputText,
                                       bool dump) {
  CommandOptions options;
  options.dataPath = dataPath;
  if (!inputText.empty()) {
    WriteBytes(dir.File("in.txt"), inputText);
    options.inputPath = dir.File("in.txt");
  }
  options.dump = dump;
  return options;
}

}  // namespace qp::testing
