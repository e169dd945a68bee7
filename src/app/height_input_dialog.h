// The height network input dialog "高程控制网解算": the window over the
// height input form. The form decides everything (filling, the name list,
// confirm and cancel); this class only shows it and passes the user's texts
// and clicks on.
#pragma once

#include "app/network_input_dialog.h"
#include "common/platform_services.h"
#include "height/height_input_form.h"

class QComboBox;
class QLineEdit;

namespace qp {

// CurrentForm() is the form as the controls show it now (GBK, CR LF);
// "取消" by button, Escape or the window's close box asks before closing.
class CQuorDesignControlHeight : public NetworkInputDialog<HeightInputForm> {
  Q_OBJECT

 public:
  // Fills itself from `net` (or from the side file of a network entered
  // through the dialog). "确定" confirms into `target`.
  CQuorDesignControlHeight(HeightNetwork& net, const HeightReportTarget& target, PlatformServices& platform,
                           QWidget* parent = nullptr);

 private:
  void BuildControls();
  void ReadSettings(HeightInputForm& form) const override;
  void ShowSettings() override;
  void AddNameToList(HeightInputForm& form) override { AddNameToHeightList(form, net_, platform_); }
  void ClickNameListItem(HeightInputForm& form, int row) override { ClickHeightNameListItem(form, net_, row); }
  InputCheck ConfirmInput(const HeightInputForm& form) override {
    return ConfirmHeightDialog(form, net_, platform_, target_);
  }
  bool CancelInput(const HeightInputForm& form) override {
    return CancelHeightForm(form, net_, platform_, target_.sidePath);
  }

  HeightNetwork& net_;
  HeightReportTarget target_;
  PlatformServices& platform_;

  QComboBox* mode_ = nullptr;
  QLineEdit* networkName_ = nullptr;
  QComboBox* kind_ = nullptr;
  QLineEdit* priorError_ = nullptr;
};

}  // namespace qp
