// The .NAP plane network data file: the 4544-byte drawing settings block
// followed by the plane network record image, 803,264 bytes in all.
#pragma once

#include <string>
#include <vector>

#include "common/platform_services.h"
#include "common/settings_block.h"
#include "plane/plane_network.h"

namespace qp {

inline constexpr size_t kPlaneFileSize = sizeof(SettingsBlock) + sizeof(PlaneNetwork);
static_assert(kPlaneFileSize == 803264);

enum class FileDirection { Read, Write };

// True when every floating-point value the record stores is finite. A file
// holding a NaN or an infinity anywhere is damaged: it is refused as a whole,
// like one of the wrong length, so that no such value reaches a form, a dump,
// a report or the screen.
bool StoredPlaneValuesFinite(const PlaneNetwork& net);

// The values of a file just read that are reset rather than refused: the
// settings block's (ResetNonFiniteSettings) and the traverse closures holding
// a value that is not finite (dropped; the raw-data report finds them again).
// Returns the names of what was reset (UTF-8).
std::vector<std::string> ResetNonFinitePlaneValues(SettingsBlock& settings, PlaneNetwork& net);

// Reads or writes the file at `path` (a file-system path). A read succeeds only
// for a file of exactly the expected length whose stored values are all finite
// (StoredPlaneValuesFinite), and replaces `settings` and `net` only then, with
// ResetNonFinitePlaneValues applied; a failed read leaves both untouched. A
// write never leaves a half-written file. Failures show no message (callers
// report them); what a read reset is told to `tell`, when given, in one message.
bool ReadWritePlaneFile(const std::string& path, FileDirection direction, SettingsBlock& settings,
                        PlaneNetwork& net, PlatformServices* tell = nullptr);

}  // namespace qp
