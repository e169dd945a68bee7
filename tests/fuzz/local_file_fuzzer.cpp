// The independent coordinate system data file (.SLT): loaded and dumped, then
// computed from what it holds as the command does without an input file.
#include "cli/local_command.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  qp::fuzz::CheckDataFileCommand({data, size}, "DATA.SLT", qp::RunLocalCommand, true);
  return 0;
}
