// The display settings dialogs of the diagrams, windows over the display
// forms: "平面网显示设置对话框" (CQuorvexDisplayPlane) and "高程控制网显示设置对话框"
// (CQuorvexDisplay). Both show the network name, the diagram kind, the closure
// list (a double click toggles a line), the fonts of texts and numbers with
// their height edits, and the text colour; the plane dialog adds the
// breakthrough warning and the ellipse size. Only "确定" writes the model.
#pragma once

#include <QDialog>
#include <array>
#include <memory>

#include "common/platform_services.h"
#include "drawing/display_form.h"

class QCheckBox;
class QComboBox;
class QGridLayout;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPushButton;

namespace qp {

// What both dialogs share.
class DisplayDialogBase : public QDialog {
  Q_OBJECT

 public:
  // "取消", Escape and the close box: asks "请确认放弃...".
  void reject() override;
  // The check box "注记避让" (kept beside the data file, not in the record):
  // shown as given, read back into the form on "确定".
  void SetDeclutter(bool on);
  bool Declutter() const { return form_->declutter; }
  const DisplayForm& Form() const { return *form_; }

 protected:
  DisplayDialogBase(std::unique_ptr<DisplayForm> form, float resolution, PlatformServices& platform,
                    QWidget* parent);

  // Lays the dialog out with the settings only one of the dialogs has.
  void LayOut(QGridLayout* extras);
  // "确定": the form's confirmation into the model.
  virtual bool ConfirmForm() = 0;

  struct FontRow {
    QPushButton* button = nullptr;  // caption "face,height"
    QLineEdit* height = nullptr;
  };

  FontRow& RowOf(DiagramFontRole role) { return fontRows_[role == DiagramFontRole::Text ? 0 : 1]; }

  PlatformServices& platform_;
  std::unique_ptr<DisplayForm> form_;
  QPushButton* ok_ = nullptr;
  QPushButton* cancel_ = nullptr;

 private:
  void BuildControls();
  void FillClosures();
  void ShowFonts();
  void ChooseFont(DiagramFontRole role);

  double resolution_;
  QLineEdit* name_ = nullptr;
  QComboBox* kind_ = nullptr;
  QListWidget* closures_ = nullptr;
  QPushButton* showAll_ = nullptr;
  QPushButton* hideAll_ = nullptr;
  QPushButton* restoreDefault_ = nullptr;
  std::array<FontRow, 2> fontRows_{};
  QPushButton* colour_ = nullptr;
  QCheckBox* declutter_ = nullptr;
};

// "平面网显示设置对话框".
class CQuorvexDisplayPlane : public DisplayDialogBase {
  Q_OBJECT

 public:
  // `resolution` (dots per inch of the sheet) converts chosen fonts.
  CQuorvexDisplayPlane(PlaneModel& model, float resolution, PlatformServices& platform, QWidget* parent = nullptr);

 private:
  bool ConfirmForm() override;
  PlaneDisplayForm& Plane() { return static_cast<PlaneDisplayForm&>(*form_); }

  PlaneModel& model_;
  QCheckBox* warning_ = nullptr;
  QLineEdit* warningDistance_ = nullptr;
  QLineEdit* ellipseRadius_ = nullptr;
};

// "高程控制网显示设置对话框".
class CQuorvexDisplay : public DisplayDialogBase {
  Q_OBJECT

 public:
  CQuorvexDisplay(HeightModel& model, float resolution, PlatformServices& platform, QWidget* parent = nullptr);

 private:
  bool ConfirmForm() override { return static_cast<HeightDisplayForm&>(*form_).Confirm(model_, platform_); }

  HeightModel& model_;
};

}  // namespace qp
