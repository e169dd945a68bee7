#include "app/tool_dialog_support.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QScrollArea>
#include <QTextBlock>
#include <QTextCursor>

#include "app/qt_text.h"
#include "app/report_viewer.h"
#include "tools/point_list.h"

namespace qp {

bool DialogPlatform::Launch(const std::string& program, const std::vector<std::string>& arguments,
                            const std::string& workingDirectory) {
  if (program != kTextEditorProgram || arguments.size() != 1) {
    return base_.Launch(program, arguments, workingDirectory);
  }
  if (!viewer_) viewer_ = new ReportViewer(owner_);
  // A report that cannot be read shows nothing, as a failed editor start would.
  return viewer_->ShowReport(FromUtf8(arguments.front()));
}

void SelectBoxLine(QPlainTextEdit* box, int line) {
  if (!box || line < 0) return;
  const QTextBlock block = box->document()->findBlockByNumber(line);
  if (!block.isValid()) return;
  QTextCursor cursor(block);
  cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
  box->setTextCursor(cursor);
  box->ensureCursorVisible();
  // A dialog whose content scrolls on a small screen shows the box too.
  for (QWidget* w = box->parentWidget(); w; w = w->parentWidget()) {
    if (auto* scroll = qobject_cast<QScrollArea*>(w)) {
      scroll->ensureWidgetVisible(box);
      break;
    }
  }
  box->setFocus(Qt::OtherFocusReason);
}

QComboBox* GbkCombo(QWidget* parent, const std::vector<std::string>& gbkItems) {
  auto* combo = new QComboBox(parent);
  for (const std::string& item : gbkItems) combo->addItem(FromGbk(item));
  return combo;
}

QLineEdit* EditWithTip(QWidget* parent, const char* objectName, const char* tip) {
  auto* edit = new QLineEdit(parent);
  edit->setObjectName(QString::fromUtf8(objectName));
  edit->setToolTip(QString::fromUtf8(tip));
  return edit;
}

QComboBox* ComboWithTip(QWidget* parent, const std::vector<std::string>& gbkItems, const char* objectName,
                        const char* tip) {
  QComboBox* combo = GbkCombo(parent, gbkItems);
  combo->setObjectName(QString::fromUtf8(objectName));
  combo->setToolTip(QString::fromUtf8(tip));
  return combo;
}

void SetObjectNames(std::initializer_list<std::pair<QWidget*, const char*>> names) {
  for (const auto& [widget, name] : names) widget->setObjectName(QString::fromUtf8(name));
}

void SetToolTips(const std::vector<std::pair<const char*, const char*>>& tips,
                 const std::map<std::string, QWidget*>& controls) {
  for (const auto& [key, tip] : tips) {
    if (const auto control = controls.find(key); control != controls.end()) {
      control->second->setToolTip(QString::fromUtf8(tip));
    }
  }
}

void NameControls(std::initializer_list<NamedControl> controls) {
  for (const NamedControl& c : controls) {
    if (c.objectName) c.widget->setObjectName(QString::fromUtf8(c.objectName));
    if (c.tip) c.widget->setToolTip(QString::fromUtf8(c.tip));
  }
}

void AddLabelled(QGridLayout* grid, QWidget* parent, int row, int column, const char* caption, QWidget* control,
                 int columnSpan) {
  grid->addWidget(new QLabel(QString::fromUtf8(caption), parent), row, column);
  grid->addWidget(control, row, column + 1, 1, columnSpan);
}

void ShowText(QLineEdit* edit, const QString& text) {
  if (edit->text() != text) edit->setText(text);
}

void ShowText(QPlainTextEdit* edit, const QString& text) {
  if (edit->toPlainText() != text) edit->setPlainText(text);
}

ControlBinding Bound(QLineEdit* edit, std::string& text) {
  return {[edit, &text] { text = ToGbk(edit->text()); }, [edit, &text] { ShowText(edit, FromGbk(text)); }};
}

ControlBinding Bound(QPlainTextEdit* box, std::string& text) {
  return {[box, &text] { text = BoxTextToGbk(box->toPlainText()); },
          [box, &text] { ShowText(box, BoxTextFromGbk(text)); }};
}

ControlBinding Bound(QComboBox* combo, int& index) {
  return {[combo, &index] { index = combo->currentIndex(); }, [combo, &index] { combo->setCurrentIndex(index); }};
}

}  // namespace qp
