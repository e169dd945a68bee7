// Stand-ins for the two outside programs: the report viewer shows a GBK text
// report in a window of its own (and hands the file to the user's editor on
// request); the help viewer shows the help document shipped with the program.
#pragma once

#include <QFont>
#include <QString>
#include <QWidget>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QTextBrowser;

namespace qp {

// The monospaced face of reports and of the tools' point lists: a Chinese
// character is as wide as two digits, so columns counted in GBK bytes line up.
QFont ReportFont();

class ReportViewer : public QWidget {
  Q_OBJECT

 public:
  explicit ReportViewer(QWidget* parent = nullptr);

  // Shows the report at `path` (a file-system path); false, showing nothing,
  // when it cannot be read.
  bool ShowReport(const QString& path);
  const QString& Path() const { return path_; }
  QString Text() const;
  QPlainTextEdit* TextView() const { return text_; }
  // Finds `text` after the cursor (before it with `backwards`), wrapping round
  // the report; false, leaving the selection, when it is nowhere.
  bool Find(const QString& text, bool backwards = false);
  void Print();

 private:
  bool Reload();
  void OpenInEditor();

  QString path_;
  QLabel* pathLabel_ = nullptr;
  QPlainTextEdit* text_ = nullptr;
  QWidget* findBar_ = nullptr;
  QLineEdit* findText_ = nullptr;
  QLabel* findResult_ = nullptr;
};

class HelpViewer : public QWidget {
  Q_OBJECT

 public:
  explicit HelpViewer(QWidget* parent = nullptr);
  bool ShowHelp(const QString& path);

 private:
  QTextBrowser* browser_ = nullptr;
};

}  // namespace qp
