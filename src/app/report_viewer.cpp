#include "app/report_viewer.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QShortcut>
#include <QTextCursor>
#include <QTextDocument>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

#include "app/gbk_cells.h"
#include "app/qt_text.h"
#include "app/screen_fit.h"
#include "common/binary_file.h"

namespace qp {

// Reports are laid out in GBK byte columns: a Chinese character takes the
// width of two digits, which a CJK monospaced face keeps.
QFont ReportFont() {
  QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
  // Faces whose Chinese glyphs are exactly two Latin cells wide, in order of
  // preference; the system's fixed face is the last resort.
  font.setFamilies({QStringLiteral("WenQuanYi Zen Hei Mono"), QStringLiteral("Noto Sans Mono CJK SC"),
                    QStringLiteral("WenQuanYi Micro Hei Mono"), font.family()});
  font.setStyleHint(QFont::Monospace);
  return font;
}

namespace {

constexpr size_t kLargestReport = size_t{512} << 20;

// Shows `window` in front of the others; a new window opens centred over the
// window it belongs to.
void BringToFront(QWidget& window) {
  QWidget* owner = window.parentWidget() ? window.parentWidget()->window() : nullptr;
  if (!window.isVisible()) CentreWithinScreen(window, owner);
  window.show();
  window.raise();
  window.activateWindow();
}

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
  auto* find = new QPushButton(QStringLiteral("查找(&F)"), this);
  auto* print = new QPushButton(QStringLiteral("打印(&P)..."), this);
  find->setToolTip(QStringLiteral("在报告中查找 (Ctrl+F)"));
  print->setToolTip(QStringLiteral("打印报告 (Ctrl+P)"));
  auto* editor = new QPushButton(QStringLiteral("用编辑器打开"), this);
  editor->setToolTip(QStringLiteral("在系统的文本编辑器中打开报告文件(GBK编码)"));
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(pathLabel_, 1);
  buttons->addWidget(reload);
  buttons->addWidget(find);
  buttons->addWidget(print);
  buttons->addWidget(editor);

  // The find bar under the report: Enter finds the next, Shift+Enter the
  // previous, Escape closes it.
  findBar_ = new QWidget(this);
  findText_ = new QLineEdit(findBar_);
  findText_->setObjectName(QStringLiteral("findText"));
  findText_->setPlaceholderText(QStringLiteral("查找内容"));
  findText_->setClearButtonEnabled(true);
  auto* next = new QPushButton(QStringLiteral("下一个"), findBar_);
  auto* previous = new QPushButton(QStringLiteral("上一个"), findBar_);
  findResult_ = new QLabel(findBar_);
  auto* findRow = new QHBoxLayout(findBar_);
  findRow->setContentsMargins(0, 0, 0, 0);
  findRow->addWidget(new QLabel(QStringLiteral("查找:"), findBar_));
  findRow->addWidget(findText_, 1);
  findRow->addWidget(next);
  findRow->addWidget(previous);
  findRow->addWidget(findResult_);
  findBar_->hide();

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(buttons);
  layout->addWidget(text_, 1);
  layout->addWidget(findBar_);
  ResizeWithinScreen(*this, QSize(960, 700));
  connect(reload, &QPushButton::clicked, this, [this] { Reload(); });
  connect(editor, &QPushButton::clicked, this, [this] { OpenInEditor(); });
  connect(print, &QPushButton::clicked, this, &ReportViewer::Print);
  auto showFind = [this] {
    findBar_->show();
    const QString selected = text_->textCursor().selectedText();
    if (!selected.isEmpty() && !selected.contains(QChar::ParagraphSeparator)) findText_->setText(selected);
    findText_->setFocus();
    findText_->selectAll();
  };
  connect(find, &QPushButton::clicked, this, showFind);
  connect(new QShortcut(QKeySequence::Find, this), &QShortcut::activated, this, showFind);
  connect(new QShortcut(QKeySequence::Print, this), &QShortcut::activated, this, &ReportViewer::Print);
  connect(new QShortcut(QKeySequence::FindNext, this), &QShortcut::activated, this, [this] { Find(findText_->text()); });
  connect(new QShortcut(QKeySequence::FindPrevious, this), &QShortcut::activated, this,
          [this] { Find(findText_->text(), true); });
  auto* closeFind = new QShortcut(QKeySequence(Qt::Key_Escape), findBar_);
  closeFind->setContext(Qt::WidgetWithChildrenShortcut);
  connect(closeFind, &QShortcut::activated, this, [this] {
    findBar_->hide();
    text_->setFocus();
  });
  connect(findText_, &QLineEdit::returnPressed, this, [this] {
    Find(findText_->text(), QGuiApplication::keyboardModifiers() & Qt::ShiftModifier);
  });
  connect(next, &QPushButton::clicked, this, [this] { Find(findText_->text()); });
  connect(previous, &QPushButton::clicked, this, [this] { Find(findText_->text(), true); });
}

bool ReportViewer::ShowReport(const QString& path) {
  path_ = path;
  if (!Reload()) return false;
  BringToFront(*this);
  return true;
}

QString ReportViewer::Text() const { return text_->toPlainText(); }

bool ReportViewer::Reload() {
  const auto bytes = ReadFileUpTo(path_.toStdString(), kLargestReport);
  if (!bytes) return false;
  setWindowTitle(QFileInfo(path_).fileName() + QStringLiteral(" - 报告"));
  pathLabel_->setText(path_);
  text_->setPlainText(BoxTextFromGbk(*bytes));
  AlignToGbkCells(*text_->document(), text_->font());
  return true;
}

bool ReportViewer::Find(const QString& text, bool backwards) {
  if (text.isEmpty()) return false;
  const QTextDocument::FindFlags flags = backwards ? QTextDocument::FindBackward : QTextDocument::FindFlags();
  bool found = text_->find(text, flags);
  if (!found) {
    // Wrap round to the other end of the report.
    const QTextCursor kept = text_->textCursor();
    QTextCursor from = kept;
    from.movePosition(backwards ? QTextCursor::End : QTextCursor::Start);
    text_->setTextCursor(from);
    found = text_->find(text, flags);
    if (!found) text_->setTextCursor(kept);
  }
  findResult_->setText(found ? QString() : QStringLiteral("找不到“%1”").arg(text));
  return found;
}

void ReportViewer::Print() {
  QPrinter printer(QPrinter::HighResolution);
  QPrintDialog dialog(&printer, this);
  dialog.setWindowTitle(QStringLiteral("打印报告"));
  if (text_->textCursor().hasSelection()) dialog.setOption(QAbstractPrintDialog::PrintSelection);
  if (dialog.exec() != QDialog::Accepted) return;
  if (printer.printRange() == QPrinter::Selection) {
    QTextDocument part;
    part.setDefaultFont(text_->font());
    part.setPlainText(text_->textCursor().selectedText().replace(QChar::ParagraphSeparator, QLatin1Char('\n')));
    part.print(&printer);
  } else {
    text_->print(&printer);
  }
}

// The user's editor, if the desktop has one for text files; otherwise say so
// and keep the report in this window.
void ReportViewer::OpenInEditor() {
  if (QDesktopServices::openUrl(QUrl::fromLocalFile(path_))) return;
  QMessageBox box(QMessageBox::Information, QStringLiteral("用编辑器打开"),
                  QStringLiteral("没有找到可用的文本编辑器, 无法在编辑器中打开\n%1\n\n报告仍可在本窗口中查看、查找和打印。")
                      .arg(path_),
                  QMessageBox::NoButton, this);
  QPushButton* view = box.addButton(QStringLiteral("在本窗口中查看"), QMessageBox::AcceptRole);
  box.addButton(QStringLiteral("关闭"), QMessageBox::RejectRole);
  box.setDefaultButton(view);
  box.exec();
  if (box.clickedButton() == view) {
    Reload();
    BringToFront(*this);
  }
}

HelpViewer::HelpViewer(QWidget* parent) : QWidget(parent, Qt::Window) {
  setObjectName(QStringLiteral("helpViewer"));
  setWindowTitle(QStringLiteral("使用说明"));
  browser_ = new QTextBrowser(this);
  browser_->setOpenExternalLinks(true);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(browser_);
  ResizeWithinScreen(*this, QSize(760, 640));
}

bool HelpViewer::ShowHelp(const QString& path) {
  if (!QFileInfo(path).isReadable()) return false;
  browser_->setSource(QUrl::fromLocalFile(path));
  BringToFront(*this);
  return true;
}

}  // namespace qp
