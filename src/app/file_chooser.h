// The file dialogs of the application: what a command or a dialog asks for
// (title, filter, suffix, whether the file must exist or is to be written)
// and the chooser that answers with a path. Tests put a chooser of their own
// in place of the window.
#pragma once

#include <QString>
#include <functional>

class QWidget;

namespace qp {

enum class FileDialogMode {
  OpenOrNew,     // an existing file or the name of a new one
  OpenExisting,  // existing files only
  SaveAs,        // a file to be written (an existing one is replaced after asking)
};

struct FileRequest {
  QString title;
  QString filter;  // in the toolkit's form: "平差数据文件(*.STY)"
  QString suffix;  // given to a name typed without one
  FileDialogMode mode = FileDialogMode::OpenOrNew;
  QString suggestedPath;  // the name the dialog opens on; empty for none
};

// Returns the chosen path; empty when the user cancelled.
using FileChooser = std::function<QString(const FileRequest&)>;

// A filter written as "description|pattern|...||" in the toolkit's form
// "description(pattern);;...".
QString ToolkitFilter(const QString& barSeparated);

// The request built from a bar-separated filter.
FileRequest MakeFileRequest(const char* utf8Title, const char* utf8BarFilter, const char* suffix,
                            FileDialogMode mode);

// The chooser that answers with the toolkit's file dialog over `parent`.
FileChooser FileDialogChooser(QWidget* parent);

}  // namespace qp
