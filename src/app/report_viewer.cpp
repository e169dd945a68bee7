#include "app/report_viewer.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

#include "app/qt_text.h"
#include "common/binary_file.h"

namespace qp {

// Reports are laid out in GBK byte columns: a Chinese character takes the
// width of two digits, which a CJK monospaced face keeps.
QFont ReportFont() {
  QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
  font.setFamilies({QStringLiteral("WenQuanYi Micro Hei Mono"), QStringLiteral("Noto Sans Mono CJK SC"),
                    font.family()});
  font.setStyleHint(QFont::Monospace);
  return font;
}

namespace {

constexpr size_t kLargestReport = size_t{512} << 20;

}  // namespace

ReportViewer::ReportViewer(QWidget* parent) : QWidget(parent, Qt::Window) {
  setObjectName(QStringLiteral("reportViewer"));
  pathLabel_ = new QLabel(this);
  pathLabel_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  text_ = new QPlainTextEdit(this);
  text_->setObjectName(QStringLiteral("reportText"));
  text_->setReadOnly(true);
  text_->setLineWrapMode(QPlainTextEdit::NoWrap);
  text_->setFont(ReportFont());
  auto* reload = new QPushButton(QStringLiteral("重新载入"), this);
  auto* editor = new QPushButton(QStringLiteral("用编辑器打开"), this);
  editor->setToolTip(QStringLiteral("在系统的文本编辑器中打开报告文件(GBK编码)"));
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(pathLabel_, 1);
  buttons->addWidget(reload);
  buttons->addWidget(editor);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(buttons);
  layout->addWidget(text_, 1);
  resize(960, 700);
  connect(reload, &QPushButton::clicked, this, [this] { Reload(); });
  connect(editor, &QPushButton::clicked, this, [this] { OpenInEditor(); });
}

bool ReportViewer::ShowReport(const QString& path) {
  path_ = path;
  if (!Reload()) return false;
  show();
  raise();
  activateWindow();
  return true;
}

QString ReportViewer::Text() const { return text_->toPlainText(); }

bool ReportViewer::Reload() {
  const auto bytes = ReadFileUpTo(path_.toStdString(), kLargestReport);
  if (!bytes) return false;
  setWindowTitle(QFileInfo(path_).fileName() + QStringLiteral(" - 报告"));
  pathLabel_->setText(path_);
  text_->setPlainText(BoxTextFromGbk(*bytes));
  return true;
}

void ReportViewer::OpenInEditor() { QDesktopServices::openUrl(QUrl::fromLocalFile(path_)); }

HelpViewer::HelpViewer(QWidget* parent) : QWidget(parent, Qt::Window) {
  setObjectName(QStringLiteral("helpViewer"));
  setWindowTitle(QStringLiteral("使用说明"));
  browser_ = new QTextBrowser(this);
  browser_->setOpenExternalLinks(true);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(browser_);
  resize(760, 640);
}

bool HelpViewer::ShowHelp(const QString& path) {
  if (!QFileInfo(path).isReadable()) return false;
  browser_->setSource(QUrl::fromLocalFile(path));
  show();
  raise();
  activateWindow();
  return true;
}

}  // namespace qp
