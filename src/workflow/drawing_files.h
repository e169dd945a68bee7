// The drawing's data-file commands, toolkit-free: saving the drawing data
// into the network's data file ("保存数据"), the end of a settings dialog and
// opening a drawing from a data file without computing it ("P图形文件" /
// "H图形文件").
#pragma once

#include <optional>
#include <string>

#include "common/platform_services.h"
#include "common/settings_block.h"
#include "height/height_network.h"
#include "plane/plane_network.h"

namespace qp {

// Writes the network's data file (the plane one when `plane` is given) with
// the current settings, without a question.
bool WriteGraphicData(const std::string& dataPath, SettingsBlock& settings, PlaneNetwork* plane,
                      HeightNetwork* height);

// The end of a settings dialog (map sheet, display): confirmed, the data file
// is written with the new settings (false after the write-error message when
// it could not be); cancelled, the data file is read back into the settings
// and the record (false when it could not be read; then nothing changed). The
// caller redraws on true.
bool FinishSettingsDialog(bool confirmed, const std::string& dataPath, SettingsBlock& settings, PlaneNetwork* plane,
                          HeightNetwork* height, PlatformServices& platform);

enum class SaveResult { Declined, Saved, Failed };

// "保存数据": asks "请确认保存当前图形数据..." (unless `confirmed`: the user
// chose to save already); on Yes writes the data file, clears
// `drawingModified` and shows the path. A failed write keeps the flag
// and says so ("平面网数据文件写入错误 !" / "高程网数据文件写入错误 !" and the
// path): the user must not believe the moved texts are stored.
SaveResult SaveGraphicData(const std::string& dataPath, SettingsBlock& settings, PlaneNetwork* plane,
                           HeightNetwork* height, bool& drawingModified, PlatformServices& platform,
                           bool confirmed = false);

struct CanvasSize {
  int heightPx = 0;
  int widthPx = 0;
};

// Reads a drawing without computing it. The records change only when the
// file reads and its sheet can be drawn; otherwise "平面网数据文件错误 !" /
// "高程网数据文件错误 !" is shown and nothing is returned. The plane form
// then runs the near-pair check (which may switch to the partial relative
// ellipses and sound the tone). Gives the canvas size of the sheet.
std::optional<CanvasSize> OpenPlaneDrawing(const std::string& dataPath, SettingsBlock& settings, PlaneNetwork& net,
                                           PlatformServices& platform);
std::optional<CanvasSize> OpenHeightDrawing(const std::string& dataPath, SettingsBlock& settings, HeightNetwork& net,
                                            PlatformServices& platform);

}  // namespace qp
