#include "app/table_edit.h"

#include <QMimeData>

#include "app/report_viewer.h"

namespace qp {

TableEdit::TableEdit(QWidget* parent) : QPlainTextEdit(parent) {
  setLineWrapMode(QPlainTextEdit::NoWrap);
  setTabChangesFocus(true);
}

void TableEdit::insertFromMimeData(const QMimeData* source) {
  if (!source->hasText()) return;
  QString text = source->text();
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  insertPlainText(text);
}

PointListEdit::PointListEdit(QWidget* parent) : TableEdit(parent) { setFont(ReportFont()); }

}  // namespace qp
