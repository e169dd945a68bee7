// The multi-line edit boxes of the dialogs' tables: one record a line.
#pragma once

#include <QPlainTextEdit>

class QMimeData;
class QWidget;

namespace qp {

// A box of records, one a line: never wrapped, Tab moves on, and pasted text
// keeps one line per record whatever its line ends were.
class TableEdit : public QPlainTextEdit {
 public:
  explicit TableEdit(QWidget* parent);

 protected:
  void insertFromMimeData(const QMimeData* source) override;
};

// A box of "name, x, y" lines in the report font, whose columns line up.
class PointListEdit : public TableEdit {
 public:
  explicit PointListEdit(QWidget* parent);
};

}  // namespace qp
