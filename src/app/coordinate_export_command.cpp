#include "app/coordinate_export_command.h"

#include <QFileInfo>
#include <QInputDialog>
#include <QSettings>

#include "app/qt_text.h"
#include "app/recent_files.h"
#include "workflow/coordinate_export.h"

namespace qp {
namespace {

constexpr const char* kCrsKey = "Coordinate Export/CRS";

QSettings ApplicationSettings() {
  return QSettings(QString::fromUtf8(kSettingsOrganization), QString::fromUtf8(kSettingsApplication));
}

bool IsGeoJson(const QString& path) {
  return QFileInfo(path).suffix().compare(QStringLiteral("geojson"), Qt::CaseInsensitive) == 0;
}

// The reference system given last ("" before the first export).
QString LastExportCrs() { return ApplicationSettings().value(QString::fromUtf8(kCrsKey)).toString(); }

}  // namespace

CrsAsker CrsInputDialogAsker(QWidget* parent) {
  return [parent](const QString& last) -> std::optional<QString> {
    QInputDialog dialog(parent);
    dialog.setWindowTitle(QStringLiteral("坐标参考系"));
    dialog.setLabelText(QStringLiteral("网坐标的参考系 (EPSG 代码或 PROJ 串, 如 EPSG:4547):\n"
                                       "CSV 可留空, 只写平面坐标; GeoJSON 必须给出。"));
    dialog.setTextValue(last);
    dialog.setOkButtonText(QStringLiteral("确定"));
    dialog.setCancelButtonText(QStringLiteral("取消"));
    dialog.resize(460, dialog.sizeHint().height());
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.textValue().trimmed();
  };
}

bool ExportNetworkCoordinates(const CQuorvexPDoc& doc, PlatformServices& platform, const FileChooser& chooseFile,
                              const CrsAsker& askCrs) {
  const QString path = chooseFile(MakeFileRequest("导出坐标", "CSV 文件(*.csv)|*.csv|GeoJSON 文件(*.geojson)|*.geojson||",
                                                  "csv", FileDialogMode::SaveAs));
  if (path.isEmpty()) return false;
  const std::optional<QString> crs = askCrs(LastExportCrs());
  if (!crs) return false;

  CoordinateExportRequest request;
  (IsGeoJson(path) ? request.geojsonPath : request.csvPath) = path.toStdString();
  if (!crs->isEmpty()) request.crs = crs->toStdString();
  const bool written = doc.ShowsPlaneDrawing() ? ExportCoordinates(doc.PlaneNetworkModel(), request, platform)
                                               : ExportCoordinates(doc.HeightNetworkModel(), request, platform);
  if (!written) return false;
  QSettings settings = ApplicationSettings();
  settings.setValue(QString::fromUtf8(kCrsKey), *crs);
  platform.ShowMessage(ToGbk(QStringLiteral("坐标已导出到:\n") + path), Icon::Information);
  return true;
}

}  // namespace qp
