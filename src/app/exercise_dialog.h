// The adjustment exercise dialog "测量平差习题解算", the window over
// ExerciseForm. The coefficient grid with its constants and weights columns
// is one scrolling table, so that a bordered system of order eleven is shown
// whole; the restriction and weight-function grids are tables of three rows.
// Every edit of a cell goes to the form at once; after every action the
// whole dialog is shown from the form again.
#pragma once

#include <QDialog>
#include <array>
#include <map>
#include <string>

#include "app/file_chooser.h"
#include "common/platform_services.h"
#include "exercise/exercise_form.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;
class QTableWidgetItem;
class QTabWidget;

namespace qp {

class CQuorvexExciseFirst : public QDialog {
  Q_OBJECT

 public:
  // Opens on the state file at `statePath` (read, or created with a new
  // exercise), which "计算结果" and "退出" keep up to date.
  CQuorvexExciseFirst(const std::string& statePath, PlatformServices& platform, FileChooser chooseFile,
                      QWidget* parent = nullptr);

  // Escape and the close box: asks, and closes without saving.
  void reject() override;

 private:
  void BuildControls();
  void Refresh();
  void RefreshCombos();
  void RefreshTables();
  void ComboChosen(ExerciseCombo combo, int index);
  void CellEdited(QTableWidgetItem* item);
  void OpenFile();
  void SaveFile();
  void Exit();

  PlatformServices& platform_;
  FileChooser chooseFile_;
  ExerciseForm form_;
  bool refreshing_ = false;  // the controls are being filled, not edited

  std::map<ExerciseCombo, QComboBox*> combos_;
  QPushButton* compute_ = nullptr;
  QTableWidget* mainGrid_ = nullptr;         // coefficients, then the constants and weights columns
  QTableWidget* restrictionGrid_ = nullptr;  // restrictions, then their constants
  QTableWidget* functionGrid_ = nullptr;
  QTabWidget* lowerTabs_ = nullptr;  // the restriction and weight-function grids
  QLabel* hint_ = nullptr;           // what to do with the results once computed
  std::array<QLineEdit*, kResultFieldCount> results_{};
  QPushButton* open_ = nullptr;
  QPushButton* save_ = nullptr;
  QPushButton* exit_ = nullptr;
};

}  // namespace qp
