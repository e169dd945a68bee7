// The plane network input dialog "平面控制网解算": the window over the
// plane input form. The form decides everything (filling, enabling, the name
// list, confirm and cancel); this class only shows it and passes the user's
// texts and clicks on.
#pragma once

#include <string>

#include "app/network_input_dialog.h"
#include "common/platform_services.h"
#include "plane/plane_input_form.h"

class QComboBox;
class QLineEdit;

namespace qp {

// CurrentForm() is the form as the controls show it now (GBK, CR LF);
// "取消" by button, Escape or the window's close box asks before closing.
class CQuorDisgnContrloPlane : public NetworkInputDialog<PlaneInputForm> {
  Q_OBJECT

 public:
  // Fills itself from `net` (or from the draft at `draftPath` when the network
  // was never computed). "确定" runs `steps` after reading the input.
  CQuorDisgnContrloPlane(PlaneNetwork& net, std::string draftPath, PlaneConfirmationSteps steps,
                         PlatformServices& platform, QWidget* parent = nullptr);

 private:
  void BuildControls();
  void ReadSettings(PlaneInputForm& form) const override;
  void ShowSettings() override;
  void ApplyEnabling();
  void AddNameToList(PlaneInputForm& form) override { AddNameToPlaneList(form, net_, platform_); }
  void ClickNameListItem(PlaneInputForm& form, int row) override { ClickPlaneNameListItem(form, net_, row); }
  InputCheck ConfirmInput(const PlaneInputForm& form) override {
    return ConfirmPlaneForm(form, net_, platform_, draftPath_, steps_);
  }
  bool CancelInput(const PlaneInputForm& form) override { return CancelPlaneForm(form, net_, platform_, draftPath_); }

  PlaneNetwork& net_;
  std::string draftPath_;
  PlaneConfirmationSteps steps_;
  PlatformServices& platform_;

  QComboBox* calcMode_ = nullptr;
  QLineEdit* networkName_ = nullptr;
  QLineEdit* directionError_ = nullptr;
  QLineEdit* distanceFixedError_ = nullptr;
  QLineEdit* distanceScaleError_ = nullptr;
  QComboBox* closureMode_ = nullptr;
  QLineEdit* yOffset_ = nullptr;
  QLineEdit* projectionHeight_ = nullptr;
  QLineEdit* refraction_ = nullptr;
  QComboBox* verticalAngleKind_ = nullptr;
  QComboBox* distanceOrder_ = nullptr;
};

}  // namespace qp
