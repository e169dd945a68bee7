#include "plane/plane_file.h"

#include <cstring>

#include "common/binary_file.h"

namespace qp {

bool ReadWritePlaneFile(const std::string& path, FileDirection direction, SettingsBlock& settings,
                        PlaneNetwork& net) {
  if (direction == FileDirection::Write) {
    return WriteFileAtomically(path, {BytesOf(settings), BytesOf(net)});
  }
  const auto bytes = ReadFileOfExactSize(path, kPlaneFileSize);
  if (!bytes) return false;
  std::memcpy(&settings, bytes->data(), sizeof settings);
  std::memcpy(&net, bytes->data() + sizeof settings, sizeof net);
  return true;
}

}  // namespace qp
