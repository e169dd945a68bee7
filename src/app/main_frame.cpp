#include "app/main_frame.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QPalette>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QUrl>

#include "app/display_dialogs.h"
#include "app/exercise_dialog.h"
#include "app/height_input_dialog.h"
#include "app/independent_system_dialog.h"
#include "app/plane_input_dialog.h"
#include "app/quorvex_view.h"
#include "app/sheet_printing.h"
#include "app/qt_text.h"
#include "app/report_viewer.h"
#include "app/sheet_dialog.h"
#include "app/system_transform_dialog.h"
#include "app/zone_transform_dialog.h"
#include "common/gbk_text.h"
#include "statistics/statistics_report.h"
#include "exercise/exercise_file.h"

namespace qp {
namespace {

constexpr const char* kHelpFileName = "QuorvexPlusSay.html";
constexpr int kStatusPaneWidths[] = {320, 200, 100};  // panes 1..3; pane 0 takes the rest

// The commands of the drawing view's toolbar buttons.
bool IsViewCommand(int id) {
  return id == kCmdShowAll || id == kCmdShowPosition || id == kCmdMoveText || id == kCmdMovePoint ||
         id == kCmdMeasure || id == kCmdRefresh;
}

bool HasSuffix(const QString& path, const char* suffix) {
  return QFileInfo(path).suffix().compare(QLatin1String(suffix), Qt::CaseInsensitive) == 0;
}

}  // namespace

CMainFrame::CMainFrame(CQuorvexPDoc& doc, PlatformServices& platform, QWidget* parent)
    : QMainWindow(parent), doc_(doc), platform_(platform) {
  setObjectName(QStringLiteral("mainFrame"));
  chooseFile_ = FileDialogChooser(this);

  view_ = new CQuorvexPView(doc_, platform_, this);
  setCentralWidget(view_);

  BuildMenus();
  BuildToolbars();
  BuildStatusBar();
  connect(view_, &CQuorvexPView::StatusText, this, [this](int pane, const QString& text) {
    if (pane > 0 && pane < static_cast<int>(statusPanes_.size())) statusPanes_[static_cast<size_t>(pane)]->setText(text);
  });
  connect(view_, &CQuorvexPView::StateChanged, this, &CMainFrame::RefreshActions);
  setAcceptDrops(true);
  resize(1024, 720);
  RefreshFromDocument();
}

CMainFrame::~CMainFrame() = default;

QAction* CMainFrame::AddCommand(int commandId, const char* caption) {
  auto* action = new QAction(QString::fromUtf8(caption), this);
  action->setData(commandId);
  connect(action, &QAction::triggered, this, [this, commandId] { RunCommand(commandId); });
  actions_.emplace_back(commandId, action);
  return action;
}

void CMainFrame::BuildMenus() {
  for (const MenuInfo& info : MainMenus()) {
    QMenu* menu = menuBar()->addMenu(QString::fromUtf8(info.caption));
    for (const CommandInfo& item : info.items) {
      if (item.id == 0) {
        menu->addSeparator();
      } else {
        menu->addAction(AddCommand(item.id, item.caption));
      }
    }
  }
}

void CMainFrame::BuildToolbars() {
  QToolBar* tools = addToolBar(QStringLiteral("工具栏"));
  tools->setObjectName(QStringLiteral("toolBar"));
  tools->setToolButtonStyle(Qt::ToolButtonTextOnly);
  for (const CommandInfo& button : ToolbarCommands()) tools->addAction(AddCommand(button.id, button.caption));

  // The dialog bar, docked on its own row at the top.
  addToolBarBreak(Qt::TopToolBarArea);
  QToolBar* dialogBar = addToolBar(QStringLiteral("对话条"));
  dialogBar->setObjectName(QStringLiteral("dialogBar"));
  dialogBar->setMovable(false);
  diagramSelector_ = new QComboBox(dialogBar);
  diagramSelector_->setObjectName(QStringLiteral("diagramSelector"));  // 1058
  diagramSelector_->setMinimumContentsLength(10);
  diagramSelector_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  pointSelector_ = new QComboBox(dialogBar);
  pointSelector_->setObjectName(QStringLiteral("pointSelector"));  // 1059
  pointSelector_->setMinimumContentsLength(10);
  pointSelector_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  dialogBar->addWidget(diagramSelector_);
  dialogBar->addSeparator();
  dialogBar->addWidget(pointSelector_);

  connect(diagramSelector_, &QComboBox::activated, this, [this](int index) {
    doc_.SelectDiagramKind(index);
    view_->DrawingChanged();
    RefreshFromDocument();
  });
  connect(pointSelector_, &QComboBox::activated, this,
          [this](int index) { view_->LocatePoint(pointSelector_->itemText(index)); });
}

void CMainFrame::BuildStatusBar() {
  for (size_t i = 0; i < statusPanes_.size(); ++i) {
    auto* pane = new QLabel(this);
    pane->setObjectName(QStringLiteral("statusPane%1").arg(i));
    pane->setFrameShape(QFrame::Panel);
    pane->setFrameShadow(QFrame::Sunken);
    statusPanes_[i] = pane;
  }
  statusPanes_[0]->setText(QStringLiteral("就绪"));
  statusBar()->addWidget(statusPanes_[0], 1);
  for (size_t i = 1; i < statusPanes_.size(); ++i) {
    statusPanes_[i]->setFixedWidth(kStatusPaneWidths[i - 1]);
    statusBar()->addPermanentWidget(statusPanes_[i]);
  }
}

std::vector<QAction*> CMainFrame::ActionsOf(int commandId) const {
  std::vector<QAction*> found;
  for (const auto& [id, action] : actions_) {
    if (id == commandId) found.push_back(action);
  }
  return found;
}

void CMainFrame::RefreshFromDocument() {
  RefreshActions();
  setWindowTitle(FromUtf8(doc_.Title()) + QStringLiteral(" - ") + FromUtf8(kApplicationName));
  RefreshSelectors();
}

void CMainFrame::RefreshActions() {
  for (const auto& [id, action] : actions_) {
    const bool viewCommand = IsViewCommand(id);
    action->setEnabled(doc_.IsEnabled(id) && (!viewCommand || view_->ViewCommandAllowed(id)));
    if (viewCommand) {
      action->setCheckable(id != kCmdRefresh);
      action->setChecked(view_->ViewCommandActive(id));
    }
  }
}

void CMainFrame::RefreshSelectors() {
  const std::vector<std::string> kinds = doc_.DiagramItems();
  int kind = doc_.CurrentDiagramKind();
  if (kind >= static_cast<int>(kinds.size())) {
    doc_.SelectDiagramKind(0);
    kind = doc_.CurrentDiagramKind();
  }
  diagramSelector_->clear();
  for (const std::string& item : kinds) diagramSelector_->addItem(FromUtf8(item));
  diagramSelector_->setCurrentIndex(kinds.empty() ? -1 : kind);

  pointSelector_->clear();
  for (const std::string& name : doc_.PointNames()) pointSelector_->addItem(FromUtf8(name));

  const bool open = doc_.State().workMode != kNothingOpen;
  diagramSelector_->setEnabled(open);
  pointSelector_->setEnabled(open);
}

void CMainFrame::RunCommand(int commandId) {
  if (!doc_.IsEnabled(commandId)) return;
  const uint64_t generation = doc_.DrawingGeneration();
  switch (commandId) {
    case kCmdPlaneDrawingFile:
    case kCmdHeightDrawingFile: {
      const bool plane = commandId == kCmdPlaneDrawingFile;
      const QString path = chooseFile_(plane ? MakeFileRequest("平面网数据文件", "平面网数据文件(*.NAP)|*.NAP||", "NAP",
                                                               FileDialogMode::OpenExisting)
                                             : MakeFileRequest("高程网数据文件", "高程网数据文件(*.NAH)|*.NAH||", "NAH",
                                                               FileDialogMode::OpenExisting));
      if (path.isEmpty()) break;
      if (plane) doc_.OpenPlaneDrawingFile(path.toStdString(), platform_);
      else doc_.OpenHeightDrawingFile(path.toStdString(), platform_);
      break;
    }
    case kCmdPlaneSheetSettings:
    case kCmdHeightSheetSettings:
      doc_.EditSheetSettings(platform_, [this](SettingsBlock& settings, bool heightMode) {
        CQuorvexSheetDialog dialog(settings, heightMode, platform_, this);
        return dialog.exec() == QDialog::Accepted;
      });
      break;
    case kCmdPlaneDisplaySettings:
      doc_.EditPlaneDisplay(platform_, [this](PlaneNetwork& net) {
        CQuorvexDisplayPlane dialog(net, doc_.Settings().resolution, platform_, this);
        return dialog.exec() == QDialog::Accepted;
      });
      break;
    case kCmdHeightDisplaySettings:
      doc_.EditHeightDisplay(platform_, [this](HeightNetwork& net) {
        CQuorvexDisplay dialog(net, doc_.Settings().resolution, platform_, this);
        return dialog.exec() == QDialog::Accepted;
      });
      break;
    case kCmdSaveDrawing:
      doc_.SaveDrawing(platform_);
      break;
    case kCmdPlaneExport:
    case kCmdHeightExport:
      doc_.ExportDrawing(platform_);
      break;
    case kCmdFitSheet:
      doc_.FitSheet();
      break;
    case kCmdSavePicture:
      SavePicture();
      break;
    case kCmdPlaneDataFile: {
      const QString path = chooseFile_(
          MakeFileRequest("平面网数据文件", "平面网数据文件(*.NAP)|*.NAP||", "NAP", FileDialogMode::OpenOrNew));
      if (!path.isEmpty()) OpenPlaneDataFile(path);
      break;
    }
    case kCmdPlaneDataEdit:
      EditPlaneNetwork();
      break;
    case kCmdHeightDataFile: {
      const QString path = chooseFile_(
          MakeFileRequest("高程网数据文件", "高程网数据文件(*.NAH)|*.NAH||", "NAH", FileDialogMode::OpenOrNew));
      if (!path.isEmpty()) OpenHeightDataFile(path);
      break;
    }
    case kCmdHeightDataEdit:
      EditHeightNetwork();
      break;
    case kCmdOpenReport:
      OpenReport();
      break;
    case kCmdStatisticsReport: {
      // The statistical tests, written beside the network's report.
      const QString path = FromUtf8(StatisticsReportPathFor(doc_.CurrentReportPath()));
      if (!QFileInfo::exists(path)) {
        platform_.ShowMessage(Gbk("没有统计检验报告, 请重新计算 !"));
        break;
      }
      if (!reportViewer_) reportViewer_ = new ReportViewer(this);
      reportViewer_->ShowReport(path);
      break;
    }
    case kCmdCloseDocument:
      CloseDocument();
      break;
    case kCmdSystemTransform:
      RunCoordinateTool<CQuorvexSystemTranslate>();
      break;
    case kCmdZoneTransform:
      RunCoordinateTool<CQuorvexGaussCount>();
      break;
    case kCmdIndependentSystem:
      RunCoordinateTool<CQuorvexIndependant>();
      break;
    case kCmdExercise:
      RunExercise();
      break;
    case kCmdShowAll:
    case kCmdShowPosition:
    case kCmdMoveText:
    case kCmdMovePoint:
    case kCmdMeasure:
    case kCmdRefresh:
      view_->RunViewCommand(commandId);
      break;
    case kCmdPrint:
      Print();
      break;
    case kCmdPrintPreview:
      PrintPreview();
      break;
    case kCmdPrintSetup:
      PrintSetup();
      break;
    case kCmdHelp:
      ShowHelp();
      break;
    case kCmdAbout:
      ShowAbout();
      break;
    case kCmdExit:
      close();
      break;
    default:
      break;
  }
  if (doc_.DrawingGeneration() != generation) view_->DrawingChanged();
  RefreshFromDocument();
}

void CMainFrame::SavePicture() {
  const QString path = chooseFile_(MakeFileRequest(
      "另存为图片", "PDF 文件(*.pdf)|*.pdf|PNG 图片(*.png)|*.png|SVG 图形(*.svg)|*.svg|DXF 图形(*.dxf)|*.dxf||", "pdf",
      FileDialogMode::SaveAs));
  if (path.isEmpty()) return;
  QString error;
  if (!SaveSheetPicture(path, doc_, &error)) platform_.ShowMessage(ToGbk(error));
}

void CMainFrame::OpenPlaneDataFile(const QString& path) {
  if (!doc_.IsEnabled(kCmdPlaneDataFile)) return;
  const bool opened = doc_.OpenPlaneDataFile(path.toStdString(), platform_);
  RefreshFromDocument();
  // The network stays open even when its editing is then cancelled, so that
  // "P数据编辑" can take it up again.
  if (opened) EditPlaneNetwork();
  RefreshFromDocument();
}

void CMainFrame::EditPlaneNetwork() {
  const PlaneDialogRunner runDialog = [this](PlaneNetwork& net, const std::string& draftPath,
                                             const PlaneConfirmationSteps& steps) {
    CQuorDisgnContrloPlane dialog(net, draftPath, steps, platform_, this);
    return dialog.exec() == QDialog::Accepted;
  };
  doc_.EditPlane(platform_, runDialog);
  view_->DrawingChanged();
}

void CMainFrame::OpenHeightDataFile(const QString& path) {
  if (!doc_.IsEnabled(kCmdHeightDataFile)) return;
  const bool opened = doc_.OpenHeightDataFile(path.toStdString(), platform_);
  RefreshFromDocument();
  // As for the plane network, a cancelled dialog leaves the network open.
  if (opened) EditHeightNetwork();
  RefreshFromDocument();
}

void CMainFrame::EditHeightNetwork() {
  const HeightDialogRunner runDialog = [this](HeightNetwork& net, const HeightReportTarget& target) {
    CQuorDesignControlHeight dialog(net, target, platform_, this);
    return dialog.exec() == QDialog::Accepted;
  };
  doc_.EditHeight(platform_, runDialog);
  view_->DrawingChanged();
}

void CMainFrame::OpenReport() {
  if (!reportViewer_) reportViewer_ = new ReportViewer(this);
  // A report that cannot be read shows nothing, as a failed editor start would.
  reportViewer_->ShowReport(FromUtf8(doc_.CurrentReportPath()));
}

QString CMainFrame::HelpFilePath() const {
  const QString dir = FromUtf8(doc_.State().programDirectory);
  const QString beside = dir + QString::fromUtf8(kHelpFileName);
  if (QFileInfo::exists(beside)) return beside;
  return dir + QStringLiteral("../share/quorvexplus/") + QString::fromUtf8(kHelpFileName);
}

void CMainFrame::ShowHelp() {
  if (!helpViewer_) helpViewer_ = new HelpViewer(this);
  helpViewer_->ShowHelp(HelpFilePath());
}

void CMainFrame::ShowAbout() {
  QMessageBox box(this);
  box.setWindowTitle(QStringLiteral("关于 QuorvexPlus"));
  box.setIconPixmap(windowIcon().pixmap(48, 48));
  box.setText(QStringLiteral("<b>%1</b><br>%2<br>版本 %3")
                  .arg(FromUtf8(kApplicationName), FromUtf8(kUntitledTitle), QStringLiteral(QUORVEX_VERSION)));
  box.setInformativeText(QStringLiteral("平面控制网、高程控制网平差, 网图绘制, 坐标转换与平差习题解算。"));
  box.addButton(QStringLiteral("确定"), QMessageBox::AcceptRole);
  box.exec();
}

void CMainFrame::CloseDocument() {
  doc_.CloseNetwork(platform_);
  if (reportViewer_) reportViewer_->close();
  view_->DrawingChanged();
}

QPrinter& CMainFrame::Printer() {
  if (!printer_) printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
  return *printer_;
}

void CMainFrame::PrintSetup() {
  QPageSetupDialog dialog(&Printer(), this);
  dialog.exec();
}

void CMainFrame::Print() {
  QPrintDialog dialog(&Printer(), this);
  dialog.setWindowTitle(QStringLiteral("打印"));
  if (dialog.exec() != QDialog::Accepted) return;
  QString error;
  if (PrintSheet(Printer(), doc_, &error) == 0) platform_.ShowMessage(ToGbk(error));
}

void CMainFrame::PrintPreview() {
  QPrintPreviewDialog preview(&Printer(), this);
  preview.setWindowTitle(QStringLiteral("打印预览"));
  connect(&preview, &QPrintPreviewDialog::paintRequested, this, [this](QPrinter* printer) {
    QString error;
    if (PrintSheet(*printer, doc_, &error) == 0) platform_.ShowMessage(ToGbk(error));
  });
  preview.exec();
}

// The coordinate tools keep the network records untouched; the selectors are
// brought up to date before one opens.
template <typename ToolDialog>
void CMainFrame::RunCoordinateTool() {
  RefreshSelectors();
  ToolDialog dialog(platform_, chooseFile_, this);
  dialog.exec();
  KeepToolReport(dialog.Reports());
}

void CMainFrame::RunExercise() {
  CQuorvexExciseFirst dialog(ExerciseStatePath(doc_.State().programDirectory), platform_, chooseFile_, this);
  dialog.exec();
}

// A report a tool showed is a window of its dialog (the only windows that
// take input while a dialog is modal); it stays open once the dialog is gone.
void CMainFrame::KeepToolReport(ReportViewer* viewer) {
  if (!viewer || !viewer->isVisible()) return;
  delete toolReportViewer_;
  viewer->setParent(this, viewer->windowFlags());
  viewer->show();
  toolReportViewer_ = viewer;
}

void CMainFrame::closeEvent(QCloseEvent* event) {
  if (!ConfirmYesNoDefaultNo(platform_, Gbk(" 请确认退出..."))) {
    event->ignore();
    return;
  }
  CloseDocument();
  if (helpViewer_) helpViewer_->close();
  if (toolReportViewer_) toolReportViewer_->close();
  event->accept();
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event) {
  if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void CMainFrame::dropEvent(QDropEvent* event) {
  for (const QUrl& url : event->mimeData()->urls()) {
    const QString path = url.toLocalFile();
    if (path.isEmpty()) continue;
    // The edit cycle's dialogs open after the drop has finished.
    if (HasSuffix(path, "NAP")) {
      event->acceptProposedAction();
      QTimer::singleShot(0, this, [this, path] { OpenPlaneDataFile(path); });
      return;
    }
    if (HasSuffix(path, "NAH")) {
      event->acceptProposedAction();
      QTimer::singleShot(0, this, [this, path] { OpenHeightDataFile(path); });
      return;
    }
  }
}

}  // namespace qp
