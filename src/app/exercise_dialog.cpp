#include "app/exercise_dialog.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSplitter>
#include <QTabBar>
#include <QTabWidget>
#include <algorithm>
#include <QTableWidget>
#include <QVBoxLayout>
#include <array>

#include "app/qt_text.h"
#include "app/screen_fit.h"

namespace qp {
namespace {

constexpr int kCellWidth = 76;
// The tab widget's frame round a page (both sides together), px.
constexpr int kTabFrame = 6;

// A grid of number cells. Enter finishes the cell and moves down instead of
// reaching the dialog's default button: typing a matrix is a run of Enters.
class ExerciseTable : public QTableWidget {
 public:
  ExerciseTable(int rows, int columns, QWidget* parent) : QTableWidget(rows, columns, parent) {
    horizontalHeader()->setDefaultSectionSize(kCellWidth);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setMinimumWidth(44);
    verticalHeader()->setDefaultAlignment(Qt::AlignCenter);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::AllEditTriggers);
    setTabKeyNavigation(true);
  }

  // A table that shows all its cells without scrolling.
  void FitToCells() {
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setFixedHeight(HeightForRows(rowCount()));
    setMinimumWidth(verticalHeader()->sizeHint().width() + columnCount() * kCellWidth + 2 * frameWidth());
  }

  // The height that shows `rows` rows.
  int HeightForRows(int rows) const {
    return horizontalHeader()->sizeHint().height() + rows * verticalHeader()->defaultSectionSize() + 2 * frameWidth();
  }

 protected:
  void keyPressEvent(QKeyEvent* event) override {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
      const QModelIndex here = currentIndex();
      if (here.isValid() && here.row() + 1 < rowCount()) setCurrentCell(here.row() + 1, here.column());
      event->accept();
      return;
    }
    QTableWidget::keyPressEvent(event);
  }
};

// Which part of the form a run of table columns shows.
struct TablePart {
  QTableWidget* table;
  ExerciseGrid grid;
  int firstColumn;  // in the table
  int columns;
  ExerciseTip tip;
};

// The runs of the three tables, with `columns` unknowns in use.
std::array<TablePart, 6> TableParts(int columns, QTableWidget* main, QTableWidget* restrictions,
                                    QTableWidget* functions) {
  return {{{main, ExerciseGrid::Coefficients, 0, columns, ExerciseTip::CoefficientGrid},
           {main, ExerciseGrid::Constants, columns, 1, ExerciseTip::ConstantsColumn},
           {main, ExerciseGrid::Weights, columns + 1, 1, ExerciseTip::WeightsColumn},
           {restrictions, ExerciseGrid::Restrictions, 0, kExerciseGridSize, ExerciseTip::RestrictionGrid},
           {restrictions, ExerciseGrid::RestrictionConstants, kExerciseGridSize, 1, ExerciseTip::RestrictionGrid},
           {functions, ExerciseGrid::WeightFunctions, 0, kExerciseGridSize, ExerciseTip::WeightFunctionGrid}}};
}

QString Tip(ExerciseTip tip) { return FromGbk(ExerciseToolTip(tip)); }

// "打开文件" and "保存文件" ask for an exercise file.
FileRequest ExerciseFileRequest(FileDialogMode mode) {
  const ExerciseDialogTexts& texts = ExerciseTexts();
  return {FromGbk(texts.fileDialogTitle), ToolkitFilter(FromGbk(texts.fileFilter)), FromGbk(texts.fileExtension),
          mode};
}

}  // namespace

CQuorvexExciseFirst::CQuorvexExciseFirst(const std::string& statePath, PlatformServices& platform,
                                         FileChooser chooseFile, QWidget* parent)
    : QDialog(parent), platform_(platform), chooseFile_(std::move(chooseFile)), form_(platform) {
  setObjectName(QStringLiteral("exerciseDialog"));
  setWindowTitle(FromGbk(ExerciseTexts().caption));
  if (!chooseFile_) chooseFile_ = FileDialogChooser(this);
  BuildControls();
  form_.Open(statePath);
  Refresh();
}

void CQuorvexExciseFirst::BuildControls() {
  const ExerciseDialogTexts& texts = ExerciseTexts();

  // The method, the counts and the display.
  struct ComboInfo {
    ExerciseCombo combo;
    const char* objectName;
    const char* caption;
    ExerciseTip tip;
  };
  const ComboInfo comboInfo[] = {
      {ExerciseCombo::Method, "methodCombo", "方式选择", ExerciseTip::Method},
      {ExerciseCombo::Observations, "observationsCombo", "观测值个数", ExerciseTip::Observations},
      {ExerciseCombo::Unknowns, "unknownsCombo", "未知数个数", ExerciseTip::Unknowns},
      {ExerciseCombo::Restrictions, "restrictionsCombo", "限制条件数", ExerciseTip::Restrictions},
      {ExerciseCombo::Conditions, "conditionsCombo", "条件式个数", ExerciseTip::Conditions},
      {ExerciseCombo::Parameters, "parametersCombo", "附参数个数", ExerciseTip::Parameters},
      {ExerciseCombo::Functions, "functionsCombo", "权函数式个数", ExerciseTip::Functions},
      {ExerciseCombo::Display, "displayCombo", "显示选择", ExerciseTip::Display},
  };
  auto* choices = new QGridLayout;
  int slot = 0;
  for (const ComboInfo& info : comboInfo) {
    auto* combo = new QComboBox(this);
    combo->setObjectName(QString::fromUtf8(info.objectName));
    combo->setToolTip(Tip(info.tip));
    combo->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    combos_[info.combo] = combo;
    const int row = slot / 4;
    const int column = (slot % 4) * 2;
    choices->addWidget(new QLabel(QString::fromUtf8(info.caption), this), row, column);
    choices->addWidget(combo, row, column + 1);
    ++slot;
    const ExerciseCombo which = info.combo;
    connect(combo, &QComboBox::activated, this, [this, which](int index) { ComboChosen(which, index); });
  }
  for (int c = 1; c < 8; c += 2) choices->setColumnStretch(c, 1);

  compute_ = new QPushButton(this);
  compute_->setObjectName(QStringLiteral("computeButton"));
  compute_->setCheckable(true);
  compute_->setAutoDefault(false);
  compute_->setToolTip(Tip(ExerciseTip::Compute));
  connect(compute_, &QPushButton::clicked, this, [this] {
    form_.ToggleComputing();
    Refresh();
  });
  choices->setColumnMinimumWidth(8, 12);
  choices->addWidget(compute_, 0, 9, 2, 1, Qt::AlignVCenter);

  // The grids.
  auto grid = [this](int rows, int columns, const char* name, ExerciseTip tip) {
    auto* table = new ExerciseTable(rows, columns, this);
    table->setObjectName(QString::fromUtf8(name));
    table->setToolTip(Tip(tip));
    connect(table, &QTableWidget::itemChanged, this, &CQuorvexExciseFirst::CellEdited);
    return table;
  };
  mainGrid_ = grid(kExerciseGridSize, kExerciseGridSize + 2, "coefficientGrid", ExerciseTip::CoefficientGrid);
  restrictionGrid_ = grid(kMaxRestrictions, kExerciseGridSize + 1, "restrictionGrid", ExerciseTip::RestrictionGrid);
  functionGrid_ = grid(kMaxWeightFunctions, kExerciseGridSize, "weightFunctionGrid", ExerciseTip::WeightFunctionGrid);
  // The restrictions and the weight functions share one place under the
  // main grid, a tab each; the splitter between gives the main grid the
  // room a small screen cannot give all three at once.
  for (QTableWidget* table : {restrictionGrid_, functionGrid_}) static_cast<ExerciseTable*>(table)->FitToCells();
  lowerTabs_ = new QTabWidget(this);
  lowerTabs_->setObjectName(QStringLiteral("lowerGrids"));
  lowerTabs_->addTab(restrictionGrid_, FromGbk(texts.restrictionGroup));
  lowerTabs_->addTab(functionGrid_, FromGbk(texts.functionGroup));
  // The tabs are as tall as the grids they hold, never more.
  lowerTabs_->setMaximumHeight(lowerTabs_->tabBar()->sizeHint().height() +
                               std::max(restrictionGrid_->height(), functionGrid_->height()) + kTabFrame);
  auto* grids = new QSplitter(Qt::Vertical, this);
  grids->setObjectName(QStringLiteral("gridSplitter"));
  grids->setChildrenCollapsible(false);
  grids->addWidget(mainGrid_);
  grids->addWidget(lowerTabs_);
  grids->setStretchFactor(0, 1);
  grids->setSizes({QWIDGETSIZE_MAX, lowerTabs_->maximumHeight()});
  // At least three rows of the main grid; the rest scroll inside it.
  mainGrid_->setMinimumHeight(static_cast<ExerciseTable*>(mainGrid_)->HeightForRows(3));
  hint_ = new QLabel(this);
  hint_->setObjectName(QStringLiteral("computedHint"));

  // The results: weight reciprocals and standard errors of the three weight
  // functions, m0 and [PVV].
  auto* resultGroup = new QGroupBox(FromGbk(texts.resultGroup), this);
  resultGroup->setObjectName(QStringLiteral("resultGroup"));
  auto* resultGrid = new QGridLayout(resultGroup);
  const ExerciseTip resultTips[kResultFieldCount] = {
      ExerciseTip::ReciprocalWeights, ExerciseTip::ReciprocalWeights, ExerciseTip::ReciprocalWeights,
      ExerciseTip::StandardErrors,    ExerciseTip::StandardErrors,    ExerciseTip::StandardErrors,
      ExerciseTip::UnitWeightError,   ExerciseTip::Pvv,
  };
  for (int f = 0; f < kResultFieldCount; ++f) {
    auto* field = new QLineEdit(resultGroup);
    field->setObjectName(QStringLiteral("resultField%1").arg(f));
    field->setReadOnly(true);
    field->setToolTip(Tip(resultTips[f]));
    field->setMinimumWidth(kCellWidth);
    results_[static_cast<size_t>(f)] = field;
  }
  for (int i = 0; i < kMaxWeightFunctions; ++i) {
    resultGrid->addWidget(new QLabel(QStringLiteral("Ф%1").arg(i + 1), resultGroup), 0, i + 1, Qt::AlignCenter);
    resultGrid->addWidget(results_[static_cast<size_t>(kReciprocalWeightField + i)], 1, i + 1);
    resultGrid->addWidget(results_[static_cast<size_t>(kStandardErrorField + i)], 2, i + 1);
  }
  resultGrid->addWidget(new QLabel(QStringLiteral("权倒数"), resultGroup), 1, 0);
  resultGrid->addWidget(new QLabel(QStringLiteral("中误差"), resultGroup), 2, 0);
  resultGrid->addWidget(new QLabel(QStringLiteral("MO"), resultGroup), 1, 4, Qt::AlignRight);
  resultGrid->addWidget(results_[kUnitWeightErrorField], 1, 5);
  resultGrid->addWidget(new QLabel(QStringLiteral("[PVV]"), resultGroup), 2, 4, Qt::AlignRight);
  resultGrid->addWidget(results_[kPvvField], 2, 5);

  // The file buttons and the way out; "退出" is the dialog's default action.
  open_ = new QPushButton(FromGbk(texts.openButton), this);
  save_ = new QPushButton(FromGbk(texts.saveButton), this);
  exit_ = new QPushButton(FromGbk(texts.exitButton), this);
  open_->setObjectName(QStringLiteral("openButton"));
  save_->setObjectName(QStringLiteral("saveButton"));
  exit_->setObjectName(QStringLiteral("exitButton"));
  open_->setToolTip(Tip(ExerciseTip::OpenFile));
  save_->setToolTip(Tip(ExerciseTip::SaveFile));
  open_->setAutoDefault(false);
  save_->setAutoDefault(false);
  exit_->setDefault(true);
  connect(open_, &QPushButton::clicked, this, &CQuorvexExciseFirst::OpenFile);
  connect(save_, &QPushButton::clicked, this, &CQuorvexExciseFirst::SaveFile);
  connect(exit_, &QPushButton::clicked, this, &CQuorvexExciseFirst::Exit);
  auto* buttons = new QVBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(open_);
  buttons->addWidget(save_);
  buttons->addWidget(exit_);

  auto* bottom = new QHBoxLayout;
  bottom->addWidget(resultGroup, 1);
  bottom->addSpacing(12);
  bottom->addLayout(buttons);

  auto* whole = new QVBoxLayout(this);
  whole->addLayout(choices);
  whole->addWidget(grids, 1);
  whole->addWidget(hint_);
  whole->addLayout(bottom);
  ResizeWithinScreen(*this, QSize(1060, 840));
}

void CQuorvexExciseFirst::Refresh() {
  refreshing_ = true;
  RefreshCombos();
  compute_->setText(FromGbk(form_.ComputeCaption()));
  compute_->setChecked(form_.computing());
  compute_->setEnabled(form_.ComputeEnabled());
  for (QPushButton* b : {open_, save_, exit_}) b->setEnabled(form_.FileButtonsEnabled());
  RefreshTables();
  for (int f = 0; f < kResultFieldCount; ++f) results_[static_cast<size_t>(f)]->setText(FromGbk(form_.ResultField(f)));
  hint_->setText(FromGbk(form_.Hint()));
  hint_->setVisible(!hint_->text().isEmpty());
  refreshing_ = false;
}

void CQuorvexExciseFirst::RefreshCombos() {
  for (const auto& [which, combo] : combos_) {
    QStringList items;
    for (const std::string& item : form_.ComboItems(which)) items << FromGbk(item);
    QStringList shown;
    for (int i = 0; i < combo->count(); ++i) shown << combo->itemText(i);
    if (shown != items) {
      combo->clear();
      combo->addItems(items);
    }
    // Wide enough for the longest entry, whatever the layout would give.
    combo->setMinimumWidth(combo->sizeHint().width());
    combo->setCurrentIndex(form_.ComboIndex(which));
    combo->setEnabled(form_.ComboEnabled(which));
  }
}

void CQuorvexExciseFirst::RefreshTables() {
  const int size = form_.Rows(ExerciseGrid::Coefficients);
  const int columns = form_.Columns(ExerciseGrid::Coefficients);
  mainGrid_->setRowCount(size);
  mainGrid_->setColumnCount(columns + 2);

  // Results are shown in every cell, readable but not for typing; the raw
  // data take input only in the cells the method and counts use, and not
  // while computing.
  const bool results = form_.ShowingResults();
  const bool typing = !form_.computing();
  const QBrush unusedCell = palette().brush(QPalette::Disabled, QPalette::Window);
  for (const TablePart& part : TableParts(columns, mainGrid_, restrictionGrid_, functionGrid_)) {
    QTableWidget* table = part.table;
    for (int row = 0; row < form_.Rows(part.grid); ++row) {
      for (int c = 0; c < part.columns; ++c) {
        QTableWidgetItem* item = table->item(row, part.firstColumn + c);
        if (!item) {
          item = new QTableWidgetItem;
          item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
          table->setItem(row, part.firstColumn + c, item);
        }
        const bool used = form_.CellEnabled(part.grid, row, c);
        const bool shown = used || (results && table == mainGrid_);
        Qt::ItemFlags flags = Qt::ItemIsSelectable;
        if (shown) flags |= Qt::ItemIsEnabled;
        if (used && typing) flags |= Qt::ItemIsEditable;
        item->setFlags(flags);
        item->setBackground(shown ? QBrush() : unusedCell);
        const QString text = FromGbk(form_.Cell(part.grid, row, c));
        if (item->text() != text) item->setText(text);
        item->setToolTip(Tip(part.tip));
      }
    }
  }

  // The labels of rows and columns.
  QStringList columnLabels;
  for (int c = 0; c < columns; ++c) columnLabels << FromGbk(form_.ColumnLabel(c));
  QStringList unknownLabels = columnLabels.mid(0, kExerciseGridSize);
  mainGrid_->setHorizontalHeaderLabels(columnLabels + QStringList{QStringLiteral("常数项"), QStringLiteral("权")});
  QStringList rowLabels;
  for (int r = 0; r < size; ++r) rowLabels << FromGbk(form_.RowLabel(r));
  mainGrid_->setVerticalHeaderLabels(rowLabels);
  restrictionGrid_->setHorizontalHeaderLabels(unknownLabels + QStringList{QStringLiteral("常数项")});
  restrictionGrid_->setVerticalHeaderLabels(QStringList(kMaxRestrictions, QString()));
  functionGrid_->setHorizontalHeaderLabels(unknownLabels);
  QStringList functionLabels;
  for (int r = 0; r < kMaxWeightFunctions; ++r) functionLabels << FromGbk(form_.FunctionLabel(r));
  functionGrid_->setVerticalHeaderLabels(functionLabels);
}

void CQuorvexExciseFirst::ComboChosen(ExerciseCombo combo, int index) {
  // A refused choice (a failed computation) shows the combo as it was.
  form_.SelectCombo(combo, index);
  Refresh();
}

void CQuorvexExciseFirst::CellEdited(QTableWidgetItem* item) {
  if (refreshing_) return;
  const int column = item->column();
  const int columns = form_.Columns(ExerciseGrid::Coefficients);
  for (const TablePart& part : TableParts(columns, mainGrid_, restrictionGrid_, functionGrid_)) {
    if (part.table == item->tableWidget() && column >= part.firstColumn && column < part.firstColumn + part.columns) {
      form_.SetCell(part.grid, item->row(), column - part.firstColumn, ToGbk(item->text()));
      return;
    }
  }
}

void CQuorvexExciseFirst::OpenFile() {
  const QString path = chooseFile_(ExerciseFileRequest(FileDialogMode::OpenExisting));
  if (path.isEmpty()) return;
  form_.OpenFile(path.toStdString());
  Refresh();
}

void CQuorvexExciseFirst::SaveFile() {
  const QString path = chooseFile_(ExerciseFileRequest(FileDialogMode::SaveAs));
  if (path.isEmpty()) return;
  // A file that cannot be written is passed over in silence.
  form_.SaveFile(path.toStdString());
  Refresh();
}

void CQuorvexExciseFirst::Exit() {
  if (form_.Exit()) accept();
}

void CQuorvexExciseFirst::reject() {
  if (form_.Escape()) QDialog::reject();
}

}  // namespace qp
