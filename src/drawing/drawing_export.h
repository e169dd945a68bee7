// The drawing's file commands, toolkit-free: exporting the sheet as a .vec
// file ("P导出图形" / "H导出图形"), saving the drawing data into the network's
// data file ("保存数据") and opening a drawing from a data file without
// computing it ("P图形文件" / "H图形文件").
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "common/file_clash.h"
#include "common/platform_services.h"
#include "common/settings_block.h"
#include "height/height_model.h"
#include "height/height_network.h"
#include "plane/plane_model.h"
#include "plane/plane_network.h"

namespace qp {

// The data path with its last three characters replaced by "vec".
std::string VecPathFor(const std::string& dataPath);

// The files of an export of the drawing: the data file and the statistics
// report it reads (neither written), the .vec file and `pictures`, the
// pictures asked for. An export names none of its inputs (FindFileClash).
RunFiles DrawingExportFiles(const std::string& dataPath, std::vector<FileUse> pictures = {});

// Writes the settings block and the sheet (diagram, then frame and grid) to
// VecPathFor(dataPath) at once and shows "平面图形导出完成...\r\n%s" /
// "高程图形导出完成...\r\n%s". A file that cannot be written shows nothing and
// gives false, as does a sheet that cannot be drawn. `vecPath` receives the path.
// The observations the statistics report beside the data file flags are drawn
// in red on the diagrams of observation values.
bool ExportPlaneDrawing(const std::string& dataPath, SettingsBlock& settings, const PlaneModel& model,
                        PlatformServices& platform, std::string* vecPath = nullptr);
bool ExportHeightDrawing(const std::string& dataPath, SettingsBlock& settings, const HeightModel& model,
                         PlatformServices& platform, std::string* vecPath = nullptr);

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

// "保存数据": asks "请确认保存当前图形数据..."; on Yes writes the data file,
// clears `drawingModified` and shows the path. A failed write keeps the flag
// and says so ("平面网数据文件写入错误 !" / "高程网数据文件写入错误 !" and the
// path): the user must not believe the moved texts are stored.
SaveResult SaveGraphicData(const std::string& dataPath, SettingsBlock& settings, PlaneNetwork* plane,
                           HeightNetwork* height, bool& drawingModified, PlatformServices& platform);

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
