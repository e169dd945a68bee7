// The .NAH height network data file: the 4544-byte drawing settings block
// followed by the height network record image, 596,416 bytes in all.
#pragma once

#include <string>

#include "common/platform_services.h"
#include "common/settings_block.h"
#include "height/height_network.h"

namespace qp {

inline constexpr size_t kHeightFileSize = sizeof(SettingsBlock) + sizeof(HeightNetwork);
static_assert(kHeightFileSize == 596416);

// Reads the file at `path` (a file-system path). Succeeds only for a file of
// exactly the expected length whose stored values are all finite (a NaN or an
// infinity anywhere is damage), and replaces `settings` and `net` only then,
// with the settings block's values that are not finite reset
// (ResetNonFiniteSettings): a failed read leaves both untouched.
// A failure shows no message (callers report it); what was reset is told to
// `tell`, when given, in one message.
bool ReadHeightFile(const std::string& path, SettingsBlock& settings, HeightNetwork& net,
                    PlatformServices* tell = nullptr);

// Writes both blocks; never leaves a half-written file behind.
bool WriteHeightFile(const std::string& path, const SettingsBlock& settings, const HeightNetwork& net);

}  // namespace qp
