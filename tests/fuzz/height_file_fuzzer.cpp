// The height network data file (.NAH): loaded as the dialog opens it (--dump)
// and as the drawing opens it, then drawn.
#include "cli/height_command.h"
#include "drawing/drawing_export.h"
#include "workflow/drawing_files.h"
#include "fuzz_support.h"
#include "network_drawing_check.h"
#include "height/height_file.h"

using namespace qp;

extern "C" size_t LLVMFuzzerCustomMutator(uint8_t* data, size_t size, size_t maxSize, unsigned int seed) {
  return fuzz::MutateFixedSize(data, size, maxSize, seed, kHeightFileSize, 8192);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::CheckNetworkFile<HeightNetwork>(std::span<const uint8_t>(data, size), "NET.NAH", RunHeightCommand,
                                        OpenHeightDrawing);
  return 0;
}
