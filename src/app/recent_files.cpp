#include "app/recent_files.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

namespace qp {
namespace {

constexpr const char* kGroup = "Recent File List";


QString Normalised(const QString& path) { return QDir::cleanPath(QFileInfo(path).absoluteFilePath()); }

constexpr const char* kDrawingMark = "drawing";

// The listed files opened as drawings.
QStringList Drawings(const QStringList& files) {
  QSettings settings(QString::fromUtf8(kSettingsOrganization), QString::fromUtf8(kSettingsApplication));
  settings.beginGroup(QString::fromUtf8(kGroup));
  QStringList drawings;
  for (int i = 1; i <= kRecentFileCount; ++i) {
    const QString file = settings.value(QStringLiteral("File%1").arg(i)).toString();
    if (files.contains(file) && settings.value(QStringLiteral("Kind%1").arg(i)).toString() == QLatin1String(kDrawingMark))
      drawings.push_back(file);
  }
  return drawings;
}

void Write(const QStringList& files, const QStringList& drawings) {
  QSettings settings(QString::fromUtf8(kSettingsOrganization), QString::fromUtf8(kSettingsApplication));
  settings.beginGroup(QString::fromUtf8(kGroup));
  settings.remove(QString());
  for (int i = 0; i < files.size() && i < kRecentFileCount; ++i) {
    settings.setValue(QStringLiteral("File%1").arg(i + 1), files[i]);
    if (drawings.contains(files[i])) settings.setValue(QStringLiteral("Kind%1").arg(i + 1), QLatin1String(kDrawingMark));
  }
  settings.endGroup();
  settings.sync();
}

}  // namespace

QStringList RecentFiles() {
  QSettings settings(QString::fromUtf8(kSettingsOrganization), QString::fromUtf8(kSettingsApplication));
  settings.beginGroup(QString::fromUtf8(kGroup));
  QStringList files;
  for (int i = 1; i <= kRecentFileCount; ++i) {
    const QString file = settings.value(QStringLiteral("File%1").arg(i)).toString();
    if (!file.isEmpty() && !files.contains(file)) files.push_back(file);
  }
  return files;
}

void AddRecentFile(const QString& path, RecentKind kind) {
  if (path.isEmpty()) return;
  const QString file = Normalised(path);
  QStringList files = RecentFiles();
  QStringList drawings = Drawings(files);
  files.removeAll(file);
  files.prepend(file);
  drawings.removeAll(file);
  if (kind == RecentKind::Drawing) drawings.push_back(file);
  Write(files, drawings);
}

RecentKind RecentFileKind(const QString& path) {
  const QStringList files = RecentFiles();
  const QStringList drawings = Drawings(files);
  return drawings.contains(path) || drawings.contains(Normalised(path)) ? RecentKind::Drawing : RecentKind::DataFile;
}

void RemoveRecentFile(const QString& path) {
  QStringList files = RecentFiles();
  const QStringList drawings = Drawings(files);
  files.removeAll(path);
  files.removeAll(Normalised(path));
  Write(files, drawings);
}

}  // namespace qp
