// The coordinate system transformation data file (.TRS): loaded and dumped, then
// computed from what it holds as the command does without an input file.
#include "cli/transform_command.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  qp::fuzz::CheckDataFileCommand({data, size}, "DATA.TRS", qp::RunTransformCommand, true);
  return 0;
}
