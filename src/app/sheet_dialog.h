// The map sheet dialog "控制网图设置", the window over SheetForm: the scale,
// corner, sheet size and margins (each size with its up/down arrows), the
// resolution, frame and grid choices, the fonts, the remarks, notes and unit
// name. Every action copies the controls into the form, runs the form's rule
// and shows the form again. "确认" stores into the settings block and closes;
// "放弃", Escape and the close box ask before closing.
#pragma once

#include <QDialog>
#include <array>
#include <vector>

#include "app/tool_dialog_support.h"
#include "common/platform_services.h"
#include "common/settings_block.h"
#include "drawing/sheet_form.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QToolButton;

namespace qp {

class CQuorvexSheetDialog : public QDialog {
  Q_OBJECT

 public:
  // Opens on `settings` in plane or height mode; only "确认" writes them.
  CQuorvexSheetDialog(SettingsBlock& settings, bool heightMode, PlatformServices& platform,
                      QWidget* parent = nullptr);

  // "放弃", Escape and the close box: asks "请确认放弃数据输入...".
  void reject() override;

 private:
  void BuildControls();
  void ReadControls();
  void ShowForm();
  template <typename Action>
  void Run(Action action) {
    ReadControls();
    action();
    ShowForm();
  }
  void ChooseFont(SheetFontButton button);
  void Confirm();

  SettingsBlock& settings_;
  PlatformServices& platform_;
  SheetForm form_;
  bool showing_ = false;  // the controls are being filled, not edited

  QComboBox* scale_ = nullptr;
  QLineEdit* cornerX_ = nullptr;
  QLineEdit* cornerY_ = nullptr;
  std::array<QLineEdit*, kSheetSizeFieldCount> sizes_{};
  std::array<std::array<QToolButton*, 2>, kSheetSizeFieldCount> spins_{};  // up, down
  QComboBox* resolution_ = nullptr;
  QComboBox* gridStyle_ = nullptr;
  QComboBox* labelUnit_ = nullptr;
  QCheckBox* showScale_ = nullptr;
  QCheckBox* showGridLabels_ = nullptr;
  QLineEdit* frameSpacing_ = nullptr;
  QLineEdit* titleHeight_ = nullptr;
  std::array<QPushButton*, 5> fontButtons_{};  // by SheetFontButton
  QPushButton* textColour_ = nullptr;
  std::array<QLineEdit*, 4> remarks_{};
  std::array<QLineEdit*, 4> notes_{};
  QLineEdit* unitName_ = nullptr;
  QLineEdit* networkName_ = nullptr;
  std::vector<ControlBinding> bound_;  // the edits and combos that show a text or an index of the form
};

}  // namespace qp
