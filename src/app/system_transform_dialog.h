// The old/new system transformation dialog "坐标系统转换对话框", the window
// over SystemTransformForm.
#pragma once

#include "app/coordinate_tool_dialog.h"
#include "tools/system_transform.h"

class QLineEdit;
class QPushButton;

namespace qp {

class CQuorvexSystemTranslate : public CoordinateToolDialog<SystemTransformForm> {
  Q_OBJECT

 public:
  CQuorvexSystemTranslate(PlatformServices& platform, FileChooser chooseFile, QWidget* parent = nullptr);

 private:
  void BuildControls();
  void ShowForm() override;

  bool showingForm_ = false;  // the edits are being filled, not typed into
  bool editPending_ = false;  // a typed change waits to be handled

  QLineEdit* title_ = nullptr;
  PointListEdit* oldPoints_ = nullptr;
  PointListEdit* newPoints_ = nullptr;
  QPushButton* transform_ = nullptr;
  QPushButton* exit_ = nullptr;
};

}  // namespace qp
