// "导出坐标...": the computed points of the open network written as a CSV or
// GeoJSON file, chosen by the name's extension, in the coordinate reference
// system the user names (remembered for the next time).
#pragma once

#include <QString>
#include <functional>
#include <optional>

#include "app/file_chooser.h"
#include "common/platform_services.h"
#include "workflow/quorvex_doc.h"

namespace qp {

// Asks for the network's coordinate reference system, offering `last`;
// nothing when the user cancelled.
using CrsAsker = std::function<std::optional<QString>(const QString& last)>;

// The toolkit's input box over `parent`.
CrsAsker CrsInputDialogAsker(QWidget* parent);

// Chooses the file, asks for the system and writes the file. The export's
// refusals and the result are told through `platform`. True when written.
bool ExportNetworkCoordinates(const CQuorvexPDoc& doc, PlatformServices& platform, const FileChooser& chooseFile,
                              const CrsAsker& askCrs);

}  // namespace qp
