// The height network input dialog "高程控制网解算": the window over the
// height input form. The form decides everything (filling, the name list,
// confirm and cancel); this class only shows it and passes the user's texts
// and clicks on.
#pragma once

#include <QDialog>
#include <array>

#include "common/platform_services.h"
#include "height/height_input_form.h"

class QComboBox;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPlainTextEdit;
class QPushButton;

namespace qp {

class CQuorDesignControlHeight : public QDialog {
  Q_OBJECT

 public:
  // Fills itself from `net` (or from the side file of a network entered
  // through the dialog). "确定" confirms into `target`.
  CQuorDesignControlHeight(HeightNetwork& net, const HeightReportTarget& target, PlatformServices& platform,
                           QWidget* parent = nullptr);

  // The form as the controls show it now (GBK, CR LF).
  HeightInputForm CurrentForm() const;

  // "取消" by button, Escape or the window's close box: asks before closing.
  void reject() override;

 private:
  void BuildControls();
  void ShowForm();
  void ShowNameList();
  void Confirm();
  void AddName();
  void NameClicked(QListWidgetItem* item);

  HeightNetwork& net_;
  HeightReportTarget target_;
  PlatformServices& platform_;
  // Holds what the controls do not: the name list and the insert mode. The
  // texts live in the edit boxes.
  HeightInputForm form_;

  QComboBox* mode_ = nullptr;
  QLineEdit* networkName_ = nullptr;
  QComboBox* kind_ = nullptr;
  QLineEdit* priorError_ = nullptr;
  std::array<QPlainTextEdit*, kHeightTextBoxCount> boxes_{};
  QComboBox* insertMode_ = nullptr;
  QListWidget* nameList_ = nullptr;
  QLineEdit* newName_ = nullptr;
  QPushButton* addName_ = nullptr;
  QLineEdit* fileName_ = nullptr;
  QPushButton* ok_ = nullptr;
  QPushButton* cancel_ = nullptr;
};

}  // namespace qp
