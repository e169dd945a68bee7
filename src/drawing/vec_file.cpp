#include "drawing/vec_file.h"

#include "common/binary_file.h"

namespace qp {

void VecWriter::Append(const void* data, size_t size) {
  const auto* p = static_cast<const unsigned char*>(data);
  out_.insert(out_.end(), p, p + size);
}

void VecWriter::WriteSettings(const SettingsBlock& block) { Append(&block, sizeof block); }

void VecWriter::Shape(const EntityHeader& header, const ShapeBlock& block, std::span<const GroundPoint> points) {
  Append(&header, sizeof header);
  Append(&block, sizeof block);
  for (const GroundPoint& p : points) {
    Append(&p.x, sizeof p.x);  // X (north), then Y (east)
    Append(&p.y, sizeof p.y);
  }
}

void VecWriter::Text(const EntityHeader& header, const TextBlock& block) {
  Append(&header, sizeof header);
  Append(&block, sizeof block);
}

std::vector<unsigned char> BuildVecFile(const SettingsBlock& block, const std::function<void(EntitySink&)>& draw) {
  std::vector<unsigned char> bytes;
  VecWriter writer(bytes);
  writer.WriteSettings(block);
  if (draw) draw(writer);
  return bytes;
}

bool WriteVecFile(const std::string& path, const SettingsBlock& block, const std::function<void(EntitySink&)>& draw) {
  const std::vector<unsigned char> bytes = BuildVecFile(block, draw);
  return WriteFileAtomically(path, {std::span<const unsigned char>(bytes)});
}

std::optional<VecDrawing> ParseVecEntities(std::span<const unsigned char> bytes) {
  if (bytes.size() < sizeof(SettingsBlock)) return std::nullopt;
  VecDrawing drawing;
  std::memcpy(&drawing.settings, bytes.data(), sizeof(SettingsBlock));
  size_t at = sizeof(SettingsBlock);
  auto take = [&](void* to, size_t size) {
    if (bytes.size() - at < size) return false;
    std::memcpy(to, bytes.data() + at, size);
    at += size;
    return true;
  };
  while (at < bytes.size()) {
    VecEntity e;
    std::memset(&e.shape, 0, sizeof e.shape);
    std::memset(&e.text, 0, sizeof e.text);
    if (!take(&e.header, sizeof e.header)) return std::nullopt;
    if (e.header.kind == static_cast<uint8_t>(EntityKind::Shape)) {
      if (!take(&e.shape, sizeof e.shape)) return std::nullopt;
      const int32_t n = e.shape.pointCount;
      if (n < 0 || n > kMaxShapePoints) return std::nullopt;
      if ((bytes.size() - at) / 16 < static_cast<size_t>(n)) return std::nullopt;
      e.points.resize(static_cast<size_t>(n));
      for (GroundPoint& p : e.points) {
        take(&p.x, sizeof p.x);
        take(&p.y, sizeof p.y);
      }
    } else if (e.header.kind == static_cast<uint8_t>(EntityKind::Text)) {
      if (!take(&e.text, sizeof e.text)) return std::nullopt;
      if (e.text.length < 0 || e.text.length >= static_cast<int32_t>(kTextSize)) return std::nullopt;
    } else {
      return std::nullopt;
    }
    drawing.entities.push_back(std::move(e));
  }
  return drawing;
}

std::optional<VecDrawing> ReadVecFile(const std::string& path) {
  const auto bytes = ReadFileUpTo(path, size_t{1} << 30);
  if (!bytes) return std::nullopt;
  return ParseVecEntities(std::span<const unsigned char>(reinterpret_cast<const unsigned char*>(bytes->data()),
                                                         bytes->size()));
}

void ReplayVecEntities(const VecDrawing& drawing, EntitySink& sink) {
  for (const VecEntity& e : drawing.entities) {
    if (e.IsShape()) sink.Shape(e.header, e.shape, e.points);
    else sink.Text(e.header, e.text);
  }
}

}  // namespace qp
