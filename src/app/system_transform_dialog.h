// The old/new system transformation dialog "坐标系统转换对话框", the window
// over SystemTransformForm.
#pragma once

#include <QDialog>

#include "app/file_chooser.h"
#include "app/tool_dialog_support.h"
#include "tools/system_transform.h"

class QLineEdit;
class QPushButton;

namespace qp {

class CQuorvexSystemTranslate : public QDialog {
  Q_OBJECT

 public:
  CQuorvexSystemTranslate(PlatformServices& platform, FileChooser chooseFile, QWidget* parent = nullptr);

  const SystemTransformForm& Form() const { return form_; }
  ReportViewer* Reports() const { return platform_.Viewer(); }

  // "退出", Escape and the close box: asks before closing.
  void reject() override;

 private:
  void BuildControls();
  void ReadControls();
  void ShowForm();
  void ChooseFile();
  void PointTextEdited();
  void Transform();

  DialogPlatform platform_;
  FileChooser chooseFile_;
  SystemTransformForm form_;
  bool showingForm_ = false;  // the edits are being filled, not typed into
  bool editPending_ = false;  // a typed change waits to be handled

  QPushButton* fileButton_ = nullptr;
  QLineEdit* fileName_ = nullptr;
  QLineEdit* title_ = nullptr;
  PointListEdit* oldPoints_ = nullptr;
  PointListEdit* newPoints_ = nullptr;
  QPushButton* transform_ = nullptr;
  QPushButton* exit_ = nullptr;
};

}  // namespace qp
