// The vector export file (.vec): the 4544-byte settings block, then every
// entity in drawing order, each a header followed by its shape block and
// points or by its text block. There is no entity count: a reader walks the
// entities to the end of the file, telling them apart by the header's kind.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "common/settings_block.h"
#include "drawing/entities.h"

namespace qp {

// Appends every entity it receives, byte for byte, to a buffer.
class VecWriter : public EntitySink {
 public:
  explicit VecWriter(std::vector<unsigned char>& out) : out_(out) {}
  // Starts the file: the settings block.
  void WriteSettings(const SettingsBlock& block);
  void Shape(const EntityHeader& header, const ShapeBlock& block, std::span<const GroundPoint> points) override;
  void Text(const EntityHeader& header, const TextBlock& block) override;

 private:
  void Append(const void* data, size_t size);
  std::vector<unsigned char>& out_;
};

// The whole file in memory: the settings block, then what `draw` emits.
std::vector<unsigned char> BuildVecFile(const SettingsBlock& block, const std::function<void(EntitySink&)>& draw);
// Builds the file and writes it to `path` at once (a temporary file renamed
// over the target). False when it cannot be written.
bool WriteVecFile(const std::string& path, const SettingsBlock& block, const std::function<void(EntitySink&)>& draw);

struct VecEntity {
  EntityHeader header;
  ShapeBlock shape;   // kind 1
  std::vector<GroundPoint> points;
  TextBlock text;     // kind 2
  bool IsShape() const { return header.kind == static_cast<uint8_t>(EntityKind::Shape); }
};

struct VecDrawing {
  SettingsBlock settings;
  std::vector<VecEntity> entities;
};

// Parses a whole .vec file. Nothing when the bytes are not exactly a settings
// block and a run of whole entities: shorter than the block, an unknown
// record kind, a point count below 0 or above kMaxShapePoints, a text length
// outside its field, or an entity cut short.
std::optional<VecDrawing> ParseVecEntities(std::span<const unsigned char> bytes);
// The file at `path` (at most 1 GiB), parsed.
std::optional<VecDrawing> ReadVecFile(const std::string& path);
// Sends the parsed entities to a sink in their order.
void ReplayVecEntities(const VecDrawing& drawing, EntitySink& sink);

}  // namespace qp
