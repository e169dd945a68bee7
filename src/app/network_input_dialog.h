// What the plane and height input dialogs share: the window over a network's
// input form. The form decides everything (filling, the name list, confirm
// and cancel); the dialog only shows it and passes the user's texts and
// clicks on. Beside the table boxes stands the point-name list (how a click
// on a name inserts it, the names, a new name's edit and "点名增加&A"); below
// them the file name, "确定" and "取消".
#pragma once

#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <array>
#include <optional>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "app/qt_text.h"
#include "app/rejected_line.h"
#include "app/screen_fit.h"
#include "app/tool_dialog_support.h"

class QHBoxLayout;

namespace qp {

// The point-name list's controls, the column they stand in.
struct NameListColumn {
  QComboBox* insertMode;
  QListWidget* list;
  QLineEdit* newName;
  QPushButton* add;
  QVBoxLayout* layout;
};

// The tips of the point-name list's controls.
struct NameListTips {
  const char* insertMode;
  const char* list;
  const char* newName;
};

// The point-name list, `width` wide, with the insert modes `gbkInsertModes`.
NameListColumn BuildNameListColumn(QWidget* dialog, const std::vector<std::string>& gbkInsertModes,
                                   const NameListTips& tips, int width);

// The row of the read-only file name, "确定" (the default button) and "取消".
struct ConfirmRow {
  QLineEdit* fileName;
  QPushButton* ok;
  QPushButton* cancel;
  QHBoxLayout* layout;
};

ConfirmRow BuildConfirmRow(QWidget* dialog);

template <typename InputForm>
class NetworkInputDialog : public QDialog {
 public:
  // The form as the controls show it now (GBK, CR LF).
  InputForm CurrentForm() const;

  // "取消" by button, Escape or the window's close box: asks before closing.
  void reject() override {
    if (CancelInput(CurrentForm())) QDialog::reject();
  }

 protected:
  using QDialog::QDialog;

  // The settings above the tables: read into `form`, and shown from form_.
  virtual void ReadSettings(InputForm& form) const = 0;
  virtual void ShowSettings() = 0;
  // The form's actions on the network: "点名增加&A" with form.newName, a
  // click on the name in `row`, and "确定" and "取消" with what the controls
  // show (an accepted or true answer closes the dialog).
  virtual void AddNameToList(InputForm& form) = 0;
  virtual void ClickNameListItem(InputForm& form, int row) = 0;
  // "确定" answers with the table line it refused, when it refused one.
  virtual InputCheck ConfirmInput(const InputForm& form) = 0;
  virtual bool CancelInput(const InputForm& form) = 0;

  // The point-name list, connected to the form.
  QVBoxLayout* AddNameList(const std::vector<std::string>& gbkInsertModes, const NameListTips& tips, int width);
  // Lays the dialog out, `size` big within the screen: `settings` above,
  // `middle` (the tables beside the point-name list), and below them the row
  // of the file name, "确定" and "取消", connected to the form.
  void LayOut(QLayout* settings, QLayout* middle, QSize size);

  // Shows the whole form.
  void ShowForm();

  // Holds what the controls do not: the name list and the insert mode (and
  // what the network's form keeps besides). The texts live in the edit boxes.
  InputForm form_;
  std::array<QPlainTextEdit*, std::tuple_size_v<decltype(InputForm::boxes)>> boxes_{};

 private:
  void ShowNameList();
  void AddName();
  void NameClicked(QListWidgetItem* item);

  NameListColumn names_{};
  ConfirmRow confirm_{};
};

template <typename InputForm>
InputForm NetworkInputDialog<InputForm>::CurrentForm() const {
  InputForm f = form_;
  ReadSettings(f);
  for (size_t b = 0; b < boxes_.size(); ++b) f.boxes[b] = BoxTextToGbk(boxes_[b]->toPlainText());
  f.insertMode = names_.insertMode->currentIndex();
  f.newName = ToGbk(names_.newName->text());
  return f;
}

template <typename InputForm>
QVBoxLayout* NetworkInputDialog<InputForm>::AddNameList(const std::vector<std::string>& gbkInsertModes,
                                                        const NameListTips& tips, int width) {
  names_ = BuildNameListColumn(this, gbkInsertModes, tips, width);
  connect(names_.insertMode, &QComboBox::activated, this, [this](int index) { form_.insertMode = index; });
  connect(names_.add, &QPushButton::clicked, this, &NetworkInputDialog::AddName);
  connect(names_.list, &QListWidget::itemClicked, this, &NetworkInputDialog::NameClicked);
  return names_.layout;
}

template <typename InputForm>
void NetworkInputDialog<InputForm>::LayOut(QLayout* settings, QLayout* middle, QSize size) {
  confirm_ = BuildConfirmRow(this);
  // On failure every control keeps what the user typed.
  connect(confirm_.ok, &QPushButton::clicked, this, [this] {
    const BlankLineRefusal refusal;
    const InputCheck confirmed = ConfirmInput(CurrentForm());
    if (confirmed) {
      accept();
    } else if (const std::optional<RejectedLine> r = LineToSelect(refusal, confirmed.rejected);
               r && r->box >= 0 && static_cast<size_t>(r->box) < boxes_.size()) {
      // The user finds the refused line at once: selected in its box.
      SelectBoxLine(boxes_[static_cast<size_t>(r->box)], r->line);
    }
  });
  connect(confirm_.cancel, &QPushButton::clicked, this, &NetworkInputDialog::reject);
  auto* whole = new QVBoxLayout(this);
  whole->addLayout(settings);
  whole->addLayout(middle, 1);
  whole->addLayout(confirm_.layout);
  ScrollContentAbove(*whole, 1);
  ResizeWithinScreen(*this, size);
}

template <typename InputForm>
void NetworkInputDialog<InputForm>::ShowForm() {
  ShowSettings();
  for (size_t b = 0; b < boxes_.size(); ++b) boxes_[b]->setPlainText(BoxTextFromGbk(form_.boxes[b]));
  names_.insertMode->setCurrentIndex(form_.insertMode);
  names_.newName->setText(FromGbk(form_.newName));
  confirm_.fileName->setText(FromGbk(form_.fileName));
  ShowNameList();
}

template <typename InputForm>
void NetworkInputDialog<InputForm>::ShowNameList() {
  names_.list->clear();
  for (const std::string& name : form_.nameList) names_.list->addItem(FromGbk(name));
}

template <typename InputForm>
void NetworkInputDialog<InputForm>::AddName() {
  form_.newName = ToGbk(names_.newName->text());
  const size_t before = form_.nameList.size();
  AddNameToList(form_);
  if (form_.nameList.size() != before) {
    names_.list->addItem(FromGbk(form_.nameList.back()));
    names_.list->scrollToBottom();
  }
  names_.newName->setText(FromGbk(form_.newName));
}

template <typename InputForm>
void NetworkInputDialog<InputForm>::NameClicked(QListWidgetItem* item) {
  // The form appends to a box; here the box's text stays in its edit, so the
  // form works on empty boxes and whatever it appended goes to the edit's end
  // (no copy of a long table for every click).
  InputForm scratch;
  scratch.insertMode = form_.insertMode;
  scratch.nameList = form_.nameList;
  ClickNameListItem(scratch, names_.list->row(item));
  for (size_t b = 0; b < boxes_.size(); ++b) {
    if (scratch.boxes[b].empty()) continue;
    QPlainTextEdit* box = boxes_[b];
    box->moveCursor(QTextCursor::End);
    box->insertPlainText(BoxTextFromGbk(scratch.boxes[b]));
    box->ensureCursorVisible();
  }
  if (scratch.nameList != form_.nameList) {
    form_.nameList = std::move(scratch.nameList);
    ShowNameList();
  }
}

}  // namespace qp
