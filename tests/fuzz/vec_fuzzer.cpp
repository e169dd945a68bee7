// The vector export file (.vec): parsed, written back byte for byte, and
// replayed through the renderer when its sheet can be drawn.
#include "drawing/renderer.h"
#include "drawing/sheet_geometry.h"
#include "drawing/vec_file.h"
#include "fuzz_support.h"

using namespace qp;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::span<const unsigned char> bytes(data, size);
  const std::optional<VecDrawing> drawing = ParseVecEntities(bytes);
  if (!drawing) return 0;
  FUZZ_CHECK(sizeof(SettingsBlock) + drawing->entities.size() * sizeof(EntityHeader) <= size,
             "more entities than the file has room for");

  // What was accepted is exactly what the writer makes of it.
  const std::vector<unsigned char> rewritten =
      BuildVecFile(drawing->settings, [&](EntitySink& sink) { ReplayVecEntities(*drawing, sink); });
  FUZZ_CHECK(rewritten.size() == size && std::equal(rewritten.begin(), rewritten.end(), data),
             "the entities read do not write back to the same file");

  const std::optional<SheetGeometry> sheet = SheetGeometryOf(drawing->settings);
  if (!sheet) return 0;
  fuzz::CountingDevice device;
  Renderer renderer(device, RenderSettingsFor(*sheet));
  // The file's own numbers may be anything; the renderer must cope.
  fuzz::CheckingSink sink(&renderer, false);
  ReplayVecEntities(*drawing, sink);
  FUZZ_CHECK(sink.entities == static_cast<long long>(drawing->entities.size()), "entities lost in the replay");
  return 0;
}
