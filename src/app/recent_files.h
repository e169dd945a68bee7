// The recent-file list of the 文件 menu: the four network files last opened,
// most recent first, each with how it was opened (as a data file to edit and
// compute, or as a drawing), kept in the user's settings between runs.
#pragma once

#include <QString>
#include <QStringList>

namespace qp {

inline constexpr const char* kSettingsOrganization = "应用程序向导生成的本地应用程序";
inline constexpr const char* kSettingsApplication = "QuorvexPlus";
inline constexpr int kRecentFileCount = 4;

enum class RecentKind { DataFile, Drawing };

// The stored list, most recent first (at most four, no empty entries).
QStringList RecentFiles();
// Puts `path` at the head of the list, dropping an older entry of the same
// file and the oldest beyond four.
void AddRecentFile(const QString& path, RecentKind kind = RecentKind::DataFile);
// How a listed file was last opened (a data file when it is not listed).
RecentKind RecentFileKind(const QString& path);
void RemoveRecentFile(const QString& path);

}  // namespace qp
