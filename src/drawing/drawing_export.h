// Exporting the sheet as a .vec file ("P导出图形" / "H导出图形"), toolkit-free.
#pragma once

#include <string>
#include <vector>

#include "common/file_clash.h"
#include "common/platform_services.h"
#include "common/settings_block.h"
#include "drawing/network_drawing.h"

namespace qp {

// The data path with its last three characters replaced by "vec".
std::string VecPathFor(const std::string& dataPath);

// The files of an export of the drawing: the data file and the statistics
// report it reads (neither written), the .vec file and `pictures`, the
// pictures asked for. An export names none of its inputs (FindFileClash).
RunFiles DrawingExportFiles(const std::string& dataPath, std::vector<FileUse> pictures = {});

// Writes the settings block (its title as it stands) and the sheet (diagram,
// then frame and grid) to VecPathFor(dataPath) at once and shows
// "平面图形导出完成...\r\n%s" / "高程图形导出完成...\r\n%s" by the network. A file
// that cannot be written shows nothing and gives false, as does a sheet that
// cannot be drawn. `vecPath` receives the path. The observations the
// statistics report beside the data file flags are drawn in red on the
// diagrams of observation values.
bool ExportNetworkDrawing(const std::string& dataPath, const SettingsBlock& settings, DrawnNetwork network,
                          PlatformServices& platform, std::string* vecPath = nullptr);

}  // namespace qp
