#include "app/recent_files.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

namespace qp {
namespace {

constexpr const char* kGroup = "Recent File List";


QString Normalised(const QString& path) { return QDir::cleanPath(QFileInfo(path).absoluteFilePath()); }

void Write(const QStringList& files) {
  QSettings settings(QString::fromUtf8(kSettingsOrganization), QString::fromUtf8(kSettingsApplication));
  settings.beginGroup(QString::fromUtf8(kGroup));
  settings.remove(QString());
  for (int i = 0; i < files.size() && i < kRecentFileCount; ++i) {
    settings.setValue(QStringLiteral("File%1").arg(i + 1), files[i]);
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

void AddRecentFile(const QString& path) {
  if (path.isEmpty()) return;
  const QString file = Normalised(path);
  QStringList files = RecentFiles();
  files.removeAll(file);
  files.prepend(file);
  Write(files);
}

void RemoveRecentFile(const QString& path) {
  QStringList files = RecentFiles();
  files.removeAll(path);
  files.removeAll(Normalised(path));
  Write(files);
}

}  // namespace qp
