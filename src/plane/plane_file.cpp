#include "plane/plane_file.h"

#include "common/binary_file.h"

namespace qp {

bool ReadWritePlaneFile(const std::string& path, FileDirection direction, SettingsBlock& settings,
                        PlaneNetwork& net) {
  if (direction == FileDirection::Write) {
    return WriteRecords(path, settings, net);
  }
  return ReadRecords(path, settings, net);
}

}  // namespace qp
