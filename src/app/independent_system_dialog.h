// The independent coordinate system dialog "独立坐标系统建立与计算", the
// window over IndependentSystemForm; which controls take input follows the
// form's enabling after every action.
#pragma once

#include "app/coordinate_tool_dialog.h"
#include "tools/independent_system.h"

class QComboBox;
class QGroupBox;
class QLineEdit;
class QPushButton;

namespace qp {

class CQuorvexIndependant : public CoordinateToolDialog<IndependentSystemForm> {
  Q_OBJECT

 public:
  CQuorvexIndependant(PlatformServices& platform, FileChooser chooseFile, QWidget* parent = nullptr);

 private:
  void BuildControls();
  void ShowForm() override;

  QLineEdit* systemName_ = nullptr;
  QGroupBox* referenceGroup_ = nullptr;
  QLineEdit* referenceName_ = nullptr;
  QLineEdit* meridian_ = nullptr;
  QLineEdit* referenceX_ = nullptr;
  QLineEdit* referenceY_ = nullptr;
  QComboBox* system_ = nullptr;
  QLineEdit* height_ = nullptr;
  QLineEdit* setX_ = nullptr;
  QLineEdit* setY_ = nullptr;
  QLineEdit* radius_ = nullptr;
  QComboBox* mode_ = nullptr;
  PointListEdit* national_ = nullptr;
  PointListEdit* independent_ = nullptr;
  QPushButton* convert_ = nullptr;
  QPushButton* viewReport_ = nullptr;
  QPushButton* exit_ = nullptr;
};

}  // namespace qp
