// The sheet as a PDF document (vector, one page the size of the paper,
// texts as text in an embedded Song face) or as a PNG picture at a chosen
// resolution, drawn by the renderer through Cairo. Toolkit-free: the command
// line writes them without a window system, and the desktop's "另存为图片..."
// writes the same files through the same code.
#pragma once

#include <cstdint>
#include <string>

#include "common/settings_block.h"
#include "drawing/picture_sheet.h"

namespace qp {

// The resolutions a PNG picture may be asked for, dots per inch.
inline constexpr int kMinPngDpi = 50;
inline constexpr int kMaxPngDpi = 1200;
inline constexpr int kDefaultPngDpi = 300;
// The most pixels a PNG picture may hold (an A0 sheet at 600 dpi is beyond
// it): the picture is drawn in bands, but its file and the time it takes
// grow with the pixels. A larger paper needs a lower resolution.
inline constexpr int64_t kMaxPngPixels = int64_t{1} << 29;
// Cairo's largest image side.
inline constexpr int kMaxPngSide = 32767;

// Writes the entities `drawEntities` sends as a one-page PDF drawn on the
// sheet at PictureResolution, through a temporary file (a failure never
// leaves half a file). False with the reason (GBK) in `error`.
bool WritePdfPicture(const std::string& path, const SettingsBlock& settings, const SheetEntities& drawEntities,
                     std::string* error = nullptr);

// The same as a PNG picture drawn at `dotsPerInch` (kMinPngDpi..kMaxPngDpi);
// a picture beyond kMaxPngPixels or kMaxPngSide is refused with the reason.
bool WritePngPicture(const std::string& path, const SettingsBlock& settings, double dotsPerInch,
                     const SheetEntities& drawEntities, std::string* error = nullptr);

// The PDF document and the PNG picture as bytes (what the writers write);
// empty with the reason in `error`.
std::string PdfPictureBytes(const SettingsBlock& settings, const SheetEntities& drawEntities,
                            std::string* error = nullptr);
std::string PngPictureBytes(const SettingsBlock& settings, double dotsPerInch, const SheetEntities& drawEntities,
                            std::string* error = nullptr);

}  // namespace qp
