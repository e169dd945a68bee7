#include "height/height_file.h"

#include "common/binary_file.h"

namespace qp {

bool ReadHeightFile(const std::string& path, SettingsBlock& settings, HeightNetwork& net) {
  return ReadRecords(path, settings, net);
}

bool WriteHeightFile(const std::string& path, const SettingsBlock& settings, const HeightNetwork& net) {
  return WriteRecords(path, settings, net);
}

}  // namespace qp
