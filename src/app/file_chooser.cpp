#include "app/file_chooser.h"

#include <QFileDialog>
#include <QStringList>

namespace qp {

QString ToolkitFilter(const QString& barSeparated) {
  const QStringList parts = barSeparated.split(QLatin1Char('|'));
  QStringList filters;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    const QString& description = parts[i];
    const QString& pattern = parts[i + 1];
    if (description.isEmpty()) break;  // the closing "||"
    // The toolkit takes the patterns from the parentheses of the description.
    if (description.contains(QLatin1Char('(') + pattern + QLatin1Char(')'))) {
      filters << description;
    } else {
      filters << description + QStringLiteral(" (") + pattern + QLatin1Char(')');
    }
  }
  return filters.join(QStringLiteral(";;"));
}

FileRequest MakeFileRequest(const char* utf8Title, const char* utf8BarFilter, const char* suffix,
                            FileDialogMode mode) {
  return {QString::fromUtf8(utf8Title), ToolkitFilter(QString::fromUtf8(utf8BarFilter)), QString::fromUtf8(suffix),
          mode};
}

QString ChooseFileWithDialog(QWidget* parent, const FileRequest& request) {
  QFileDialog dialog(parent, request.title, QString(), request.filter);
  switch (request.mode) {
    case FileDialogMode::OpenOrNew:
      dialog.setAcceptMode(QFileDialog::AcceptOpen);
      dialog.setFileMode(QFileDialog::AnyFile);  // a new file's name is welcome
      dialog.setLabelText(QFileDialog::Accept, QStringLiteral("打开"));
      break;
    case FileDialogMode::OpenExisting:
      dialog.setAcceptMode(QFileDialog::AcceptOpen);
      dialog.setFileMode(QFileDialog::ExistingFile);
      dialog.setLabelText(QFileDialog::Accept, QStringLiteral("打开"));
      break;
    case FileDialogMode::SaveAs:
      dialog.setAcceptMode(QFileDialog::AcceptSave);
      dialog.setFileMode(QFileDialog::AnyFile);
      dialog.setLabelText(QFileDialog::Accept, QStringLiteral("保存"));
      break;
  }
  dialog.setDefaultSuffix(request.suffix);
  dialog.setLabelText(QFileDialog::Reject, QStringLiteral("取消"));
  dialog.setLabelText(QFileDialog::FileName, QStringLiteral("文件名"));
  dialog.setLabelText(QFileDialog::FileType, QStringLiteral("文件类型"));
  dialog.setLabelText(QFileDialog::LookIn, QStringLiteral("查找范围"));
  if (dialog.exec() != QDialog::Accepted) return QString();
  return dialog.selectedFiles().value(0);
}

FileChooser FileDialogChooser(QWidget* parent) {
  return [parent](const FileRequest& request) { return ChooseFileWithDialog(parent, request); };
}

}  // namespace qp
