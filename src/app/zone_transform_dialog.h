// The Gauss zone transformation dialog "坐标换带计算", the window over
// ZoneTransformForm: every click and choice copies the controls into the form,
// runs the form's action and shows the form again. Reports() is the viewer a
// "查看转换结果 ?" opened, if any.
#pragma once

#include "app/coordinate_tool_dialog.h"
#include "tools/zone_transform.h"

class QComboBox;
class QLineEdit;
class QPushButton;

namespace qp {

class CQuorvexGaussCount : public CoordinateToolDialog<ZoneTransformForm> {
  Q_OBJECT

 public:
  // `chooseFile` answers "文件选择" (the file dialog when empty).
  CQuorvexGaussCount(PlatformServices& platform, FileChooser chooseFile, QWidget* parent = nullptr);

 private:
  void BuildControls();
  void ShowForm() override;

  QComboBox* system_ = nullptr;
  QLineEdit* title_ = nullptr;
  QLineEdit* oldMeridian_ = nullptr;
  QLineEdit* newMeridian_ = nullptr;
  QComboBox* display_ = nullptr;
  QComboBox* zoneNumber_ = nullptr;
  QPushButton* execute_ = nullptr;
  QPushButton* exit_ = nullptr;
  PointListEdit* input_ = nullptr;
  PointListEdit* output_ = nullptr;
};

}  // namespace qp
