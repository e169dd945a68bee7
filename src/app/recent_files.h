// The recent-file list of the 文件 menu: the four network data files last
// opened, most recent first, kept in the user's settings between runs.
#pragma once

#include <QString>
#include <QStringList>

namespace qp {

inline constexpr const char* kSettingsOrganization = "应用程序向导生成的本地应用程序";
inline constexpr const char* kSettingsApplication = "QuorvexPlus";
inline constexpr int kRecentFileCount = 4;

// The stored list, most recent first (at most four, no empty entries).
QStringList RecentFiles();
// Puts `path` at the head of the list, dropping an older entry of the same
// file and the oldest beyond four.
void AddRecentFile(const QString& path);
void RemoveRecentFile(const QString& path);

}  // namespace qp
