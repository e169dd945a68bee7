// The Gauss zone transformation dialog "坐标换带计算", the window over
// ZoneTransformForm: every click and choice copies the controls into the form,
// runs the form's action and shows the form again.
#pragma once

#include <QDialog>

#include "app/file_chooser.h"
#include "app/tool_dialog_support.h"
#include "tools/zone_transform.h"

class QComboBox;
class QLineEdit;
class QPushButton;

namespace qp {

class CQuorvexGaussCount : public QDialog {
  Q_OBJECT

 public:
  // `chooseFile` answers "文件选择" (the file dialog when empty).
  CQuorvexGaussCount(PlatformServices& platform, FileChooser chooseFile, QWidget* parent = nullptr);

  const ZoneTransformForm& Form() const { return form_; }
  // The viewer a "查看转换结果 ?" opened, if any.
  ReportViewer* Reports() const { return platform_.Viewer(); }

  // "退出", Escape and the close box: asks before closing.
  void reject() override;

 private:
  void BuildControls();
  void ReadControls();
  void ShowForm();
  void ChooseFile();
  void Execute();
  void SelectDisplay(int index);

  DialogPlatform platform_;
  FileChooser chooseFile_;
  ZoneTransformForm form_;

  QPushButton* fileButton_ = nullptr;
  QLineEdit* fileName_ = nullptr;
  QComboBox* system_ = nullptr;
  QLineEdit* title_ = nullptr;
  QLineEdit* oldMeridian_ = nullptr;
  QLineEdit* newMeridian_ = nullptr;
  QComboBox* display_ = nullptr;
  QPushButton* execute_ = nullptr;
  QPushButton* exit_ = nullptr;
  PointListEdit* input_ = nullptr;
  PointListEdit* output_ = nullptr;
};

}  // namespace qp
