#include "app/file_chooser.h"

#include <QAbstractButton>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QStringList>

namespace qp {
namespace {

// The patterns in the parentheses of a filter entry.
QStringList FilterPatterns(const QString& nameFilter) {
  const qsizetype open = nameFilter.lastIndexOf(QLatin1Char('('));
  const qsizetype close = nameFilter.lastIndexOf(QLatin1Char(')'));
  if (open < 0 || close <= open) return {};
  return nameFilter.mid(open + 1, close - open - 1).split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

QString SuffixOfPattern(const QString& pattern) {
  if (!pattern.startsWith(QStringLiteral("*."))) return QString();
  const QString suffix = pattern.mid(2);
  const bool plain = !suffix.isEmpty() && !suffix.contains(QLatin1Char('*')) && !suffix.contains(QLatin1Char('?')) &&
                     !suffix.contains(QLatin1Char('.'));
  return plain ? suffix : QString();
}

// The suffix of one filter entry, "PNG 图片(*.png)" -> "png"; empty when its
// first pattern names no single suffix ("*.*").
QString FilterSuffix(const QString& nameFilter) {
  return SuffixOfPattern(FilterPatterns(nameFilter).value(0));
}

// The file a save dialog writes for the name typed there: a typed extension
// of one of the offered kinds wins, otherwise the chosen entry's suffix (or
// `fallbackSuffix` when the entry has none) is added.
QString SavePathForFilter(const QString& typedPath, const QString& chosenFilter, const QString& allFilters,
                          const QString& fallbackSuffix) {
  const QString typedSuffix = QFileInfo(typedPath).suffix();
  if (!typedSuffix.isEmpty()) {
    for (const QString& entry : allFilters.split(QStringLiteral(";;"))) {
      for (const QString& pattern : FilterPatterns(entry)) {
        if (SuffixOfPattern(pattern).compare(typedSuffix, Qt::CaseInsensitive) == 0) return typedPath;
      }
    }
  }
  const QString chosenSuffix = FilterSuffix(chosenFilter);
  // An entry of any kind ("*.*") keeps whatever suffix was typed.
  if (chosenSuffix.isEmpty() && !typedSuffix.isEmpty()) return typedPath;
  const QString suffix = chosenSuffix.isEmpty() ? fallbackSuffix : chosenSuffix;
  if (suffix.isEmpty()) return typedPath;
  // A name typed without a suffix, or with one of another kind: the dot of
  // "tri." or "tri.v2" stays a part of the name.
  if (typedPath.endsWith(QLatin1Char('.'))) return typedPath + suffix;
  return typedPath + QLatin1Char('.') + suffix;
}

// The save dialog: the file written takes the suffix of the chosen file type
// unless one of the offered kinds was typed, and the overwrite question names
// that file.
class SaveFileDialog : public QFileDialog {
 public:
  SaveFileDialog(QWidget* parent, const FileRequest& request)
      : QFileDialog(parent, request.title, QString(), request.filter), request_(request) {
    setOption(QFileDialog::DontConfirmOverwrite);
  }
  const QString& Chosen() const { return chosen_; }

  void accept() override {
    if (request_.mode != FileDialogMode::SaveAs) {
      QFileDialog::accept();
      return;
    }
    const QString typed = selectedFiles().value(0);
    if (typed.isEmpty() || QFileInfo(typed).isDir()) {
      QFileDialog::accept();  // into the folder
      return;
    }
    const QString path = SavePathForFilter(typed, selectedNameFilter(), request_.filter, request_.suffix);
    const QFileInfo written(path);
    if (written.isDir()) return;
    if (written.exists() && !ConfirmReplace(written.fileName())) return;
    chosen_ = path;
    QDialog::accept();
  }

 private:
  bool ConfirmReplace(const QString& fileName) {
    QMessageBox box(QMessageBox::Warning, windowTitle(), QStringLiteral("%1 已存在。\n要替换它吗?").arg(fileName),
                    QMessageBox::Yes | QMessageBox::No, this);
    box.button(QMessageBox::Yes)->setText(QStringLiteral("是(&Y)"));
    box.button(QMessageBox::No)->setText(QStringLiteral("否(&N)"));
    box.setDefaultButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
  }

  FileRequest request_;
  QString chosen_;
};

// The toolkit's file dialog with Chinese button captions.
QString ChooseFileWithDialog(QWidget* parent, const FileRequest& request) {
  SaveFileDialog dialog(parent, request);
  // The dialog's own widgets, whose captions and save rules are set here.
  dialog.setOption(QFileDialog::DontUseNativeDialog);
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
  // A save dialog adds the chosen type's suffix itself.
  if (request.mode != FileDialogMode::SaveAs) dialog.setDefaultSuffix(request.suffix);
  if (!request.suggestedPath.isEmpty()) {
    const QFileInfo suggested(request.suggestedPath);
    dialog.setDirectory(suggested.absolutePath());
    dialog.selectFile(suggested.fileName());
  }
  dialog.setLabelText(QFileDialog::Reject, QStringLiteral("取消"));
  dialog.setLabelText(QFileDialog::FileName, QStringLiteral("文件名"));
  dialog.setLabelText(QFileDialog::FileType, QStringLiteral("文件类型"));
  dialog.setLabelText(QFileDialog::LookIn, QStringLiteral("查找范围"));
  if (dialog.exec() != QDialog::Accepted) return QString();
  if (request.mode == FileDialogMode::SaveAs) return dialog.Chosen();
  return dialog.selectedFiles().value(0);
}

}  // namespace

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

FileChooser FileDialogChooser(QWidget* parent) {
  return [parent](const FileRequest& request) { return ChooseFileWithDialog(parent, request); };
}

}  // namespace qp
