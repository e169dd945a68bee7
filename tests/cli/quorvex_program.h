// The quorvex program run as a process, for its exit statuses.
#pragma once

#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

namespace qp::testing {

// Runs the program with `arguments` (no input, output discarded); its exit
// status, or -1 when it did not exit.
inline int RunQuorvexProgram(const std::string& arguments) {
  const std::string command = std::string(QUORVEX_CLI_PATH) + " " + arguments + " >/dev/null 2>&1 </dev/null";
  const int status = std::system(command.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// What the program writes to stderr when run with `arguments`.
inline std::string QuorvexProgramErrors(const std::string& arguments, const std::string& file) {
  const std::string command = std::string(QUORVEX_CLI_PATH) + " " + arguments + " >/dev/null 2>" + file + " </dev/null";
  if (std::system(command.c_str()) == -1) return {};
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

}  // namespace qp::testing
