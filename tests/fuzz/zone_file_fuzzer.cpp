// The Gauss projection zone transformation data file (.GST): loaded and dumped, then
// computed from what it holds as the command does without an input file.
#include "cli/zone_command.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  qp::fuzz::CheckDataFileCommand({data, size}, "DATA.GST", qp::RunZoneCommand, true);
  return 0;
}
