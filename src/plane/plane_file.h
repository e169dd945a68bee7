// The .NAP plane network data file: the 4544-byte drawing settings block
// followed by the plane network record image, 803,264 bytes in all.
#pragma once

#include <string>

#include "common/platform_services.h"
#include "common/settings_block.h"
#include "plane/plane_network.h"

namespace qp {

inline constexpr size_t kPlaneFileSize = sizeof(SettingsBlock) + sizeof(PlaneNetwork);
static_assert(kPlaneFileSize == 803264);

enum class FileDirection { Read, Write };

// Reads or writes the file at `path` (a file-system path). A read succeeds only
// for a file of exactly the expected length whose stored values are all finite
// (a NaN or an infinity anywhere is damage: no such value may reach a form, a
// dump, a report or the screen), and replaces `settings` and `net` only then; a
// failed read leaves both untouched. What is reset rather than refused: the
// settings block's values that are not finite (ResetNonFiniteSettings) and the
// traverse closures holding one (dropped; the raw-data report finds them
// again), told to `tell`, when given, in one message. A write never leaves a
// half-written file. Failures show no message: callers report them.
bool ReadWritePlaneFile(const std::string& path, FileDirection direction, SettingsBlock& settings,
                        PlaneNetwork& net, PlatformServices* tell = nullptr);

}  // namespace qp
