#include "height/height_file.h"

#include <cstring>

#include "common/binary_file.h"

namespace qp {

bool ReadHeightFile(const std::string& path, SettingsBlock& settings, HeightNetwork& net) {
  const auto bytes = ReadFileOfExactSize(path, kHeightFileSize);
  if (!bytes) return false;
  std::memcpy(&settings, bytes->data(), sizeof settings);
  std::memcpy(&net, bytes->data() + sizeof settings, sizeof net);
  return true;
}

bool WriteHeightFile(const std::string& path, const SettingsBlock& settings, const HeightNetwork& net) {
  return WriteFileAtomically(path, {BytesOf(settings), BytesOf(net)});
}

}  // namespace qp
