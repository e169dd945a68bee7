// The plane network input dialog "平面控制网解算": the window over the
// plane input form. The form decides everything (filling, enabling, the name
// list, confirm and cancel); this class only shows it and passes the user's
// texts and clicks on.
#pragma once

#include <QDialog>
#include <array>
#include <string>

#include "common/platform_services.h"
#include "plane/plane_input_form.h"

class QComboBox;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPlainTextEdit;
class QPushButton;

namespace qp {

class CQuorDisgnContrloPlane : public QDialog {
  Q_OBJECT

 public:
  // Fills itself from `net` (or from the draft at `draftPath` when the network
  // was never computed). "确定" runs `steps` after reading the input.
  CQuorDisgnContrloPlane(PlaneNetwork& net, std::string draftPath, PlaneConfirmationSteps steps,
                         PlatformServices& platform, QWidget* parent = nullptr);

  // The form as the controls show it now (GBK, CR LF).
  PlaneInputForm CurrentForm() const;

  // "取消" by button, Escape or the window's close box: asks before closing.
  void reject() override;

 private:
  void BuildControls();
  void ShowForm();
  void ShowNameList();
  void ApplyEnabling();
  void Confirm();
  void CalcModeChanged(int index);
  void AddName();
  void NameClicked(QListWidgetItem* item);

  PlaneNetwork& net_;
  std::string draftPath_;
  PlaneConfirmationSteps steps_;
  PlatformServices& platform_;
  // Holds what the controls do not: the name list, the insert mode, whether
  // the texts came from the draft. The texts live in the edit boxes.
  PlaneInputForm form_;

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
  std::array<QPlainTextEdit*, kPlaneTextBoxCount> boxes_{};
  QComboBox* insertMode_ = nullptr;
  QListWidget* nameList_ = nullptr;
  QLineEdit* newName_ = nullptr;
  QPushButton* addName_ = nullptr;
  QLineEdit* fileName_ = nullptr;
  QPushButton* ok_ = nullptr;
  QPushButton* cancel_ = nullptr;
};

}  // namespace qp
