// The trigonometric height network a plane computation with slope distances
// hands over: the plane network's known heights and the height differences of
// its horizontal distances, stored beside the plane data file as "…BPT.NAH".
#pragma once

#include <string>

#include "common/settings_block.h"
#include "height/height_network.h"
#include "plane/plane_model.h"

namespace qp {

// "<plane data path without its last four characters>BPT.NAH".
std::string DerivedHeightPathFor(const std::string& planeDataPath);

enum class DerivedHeightWrite {
  Written,
  // A file of the wrong length (or a FIFO, a device) is at the path: it is
  // never replaced.
  WrongFileKept,
  WriteFailed,
};

// Derives the network into `out` (reset first): adjusting, kind 1, the
// known-height points as known points, every horizontal distance as a height
// difference weighted by its length in km, and the plane coordinates of every
// point that takes part; writes it with `settings` to the path derived from
// `planeDataPath` (a file-system path).
DerivedHeightWrite WriteDerivedHeightNetwork(const PlaneModel& plane, const SettingsBlock& settings,
                                             const std::string& planeDataPath, HeightNetwork& out);

// The message (UTF-8) a failed hand-over shows; nullptr after a success.
const char* DerivedHeightWriteMessage(DerivedHeightWrite result);

}  // namespace qp
