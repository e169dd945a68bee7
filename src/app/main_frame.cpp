#include "app/main_frame.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPushButton>
#include <QStackedLayout>
#include <QStatusBar>
#include <QVBoxLayout>
#include <QTimer>
#include <QToolBar>
#include <QUrl>
#include <algorithm>
#include <iterator>
#include <utility>

#include "app/close_question.h"
#include "app/command_icons.h"
#include "app/display_dialogs.h"
#include "app/exercise_dialog.h"
#include "app/height_input_dialog.h"
#include "app/independent_system_dialog.h"
#include "app/plane_input_dialog.h"
#include "app/quorvex_view.h"
#include "app/recent_files.h"
#include "app/sheet_printing.h"
#include "app/qt_text.h"
#include "app/report_viewer.h"
#include "app/sheet_dialog.h"
#include "app/system_transform_dialog.h"
#include "app/zone_transform_dialog.h"
#include "common/gbk_text.h"
#include "drawing/declutter_setting.h"
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

// The file dialog of a network's data file (.NAP for the plane network, .NAH
// for the height network).
FileRequest NetworkFileRequest(bool plane, FileDialogMode mode) {
  return plane ? MakeFileRequest("平面网数据文件", "平面网数据文件(*.NAP)|*.NAP||", "NAP", mode)
               : MakeFileRequest("高程网数据文件", "高程网数据文件(*.NAH)|*.NAH||", "NAH", mode);
}

// The access key of a menu item, unique within its menu; 0 for none.
char AccessKeyOf(int id) {
  switch (id) {
    case kCmdCloseDocument: return 'C';
    case kCmdPrint: return 'P';
    case kCmdPrintPreview: return 'V';
    case kCmdPrintSetup: return 'R';
    case kCmdPlaneDataFile: case kCmdHeightDataFile: return 'O';
    case kCmdPlaneDataEdit: case kCmdHeightDataEdit: return 'E';
    case kCmdOpenReport: return 'T';
    case kCmdPlaneDrawingFile: case kCmdHeightDrawingFile: return 'G';
    case kCmdPlaneSheetSettings: case kCmdHeightSheetSettings: return 'S';
    case kCmdPlaneDisplaySettings: case kCmdHeightDisplaySettings: return 'D';
    case kCmdPlaneExport: case kCmdHeightExport: return 'X';
    case kCmdSaveDrawing: return 'S';
    case kCmdFitSheet: return 'F';
    case kCmdArrangeLabels: return 'A';
    case kCmdSavePicture: return 'I';
    case kCmdExportCoordinates: return 'C';
    case kCmdShowAll: return 'A';
    case kCmdShowPosition: return 'L';
    case kCmdMoveText: return 'T';
    case kCmdMovePoint: return 'P';
    case kCmdMeasure: return 'M';
    case kCmdRefresh: return 'R';
    case kCmdSystemTransform: return 'S';
    case kCmdZoneTransform: return 'Z';
    case kCmdIndependentSystem: return 'I';
    case kCmdExercise: return 'E';
    case kCmdHelp: return 'H';
    case kCmdAbout: return 'A';
    default: return 0;
  }
}

// "关于..." becomes "关于(&A)...".
QString WithAccessKey(const QString& caption, char key) {
  if (key == 0 || caption.contains(QLatin1Char('&'))) return caption;
  const QString mark = QStringLiteral("(&%1)").arg(QLatin1Char(key));
  if (caption.endsWith(QStringLiteral("..."))) return caption.chopped(3) + mark + QStringLiteral("...");
  return caption + mark;
}

// When a disabled toolbar button becomes available.
const char* AvailableWhen(int id) {
  switch (id) {
    case kCmdShowAll: return "打开控制网并显示网图后, 网图大于窗口且未使用其它视图工具时可用";
    case kCmdShowPosition: return "全图显示状态下可用: 单击图上位置放大显示该处";
    case kCmdMoveText: return "打开控制网并显示网图后, 未使用其它视图工具时可用";
    case kCmdMovePoint: return "显示高程网网图时可用";
    case kCmdMeasure: return "显示平面网网图且图幅设置已确认后可用";
    case kCmdSaveDrawing: case kCmdArrangeLabels: return "打开控制网并生成网图后, 未使用视图工具时可用";
    case kCmdRefresh: return "打开控制网并显示网图后, 未使用视图工具时可用";
    default: return "";
  }
}

// A display settings dialog with its "注记避让" from the label marks beside
// the data file; confirmed, the check box goes back there.
bool RunDisplayDialog(DisplayDialogBase& dialog, const std::string& dataPath, PlatformServices& platform) {
  dialog.SetDeclutter(DeclutterFor(dataPath));
  if (dialog.exec() != QDialog::Accepted) return false;
  if (!StoreDeclutter(dataPath, dialog.Declutter())) platform.ShowMessage(Gbk("注记避让设置写入错误 !"));
  return true;
}

}  // namespace

CMainFrame::CMainFrame(CQuorvexPDoc& doc, PlatformServices& platform, QWidget* parent)
    : QMainWindow(parent), doc_(doc), platform_(platform) {
  setObjectName(QStringLiteral("mainFrame"));
  chooseFile_ = FileDialogChooser(this);
  askCrs_ = CrsInputDialogAsker(this);

  // The drawing view, and over it while nothing is open the start panel.
  // The view keeps its place and size underneath.
  central_ = new QWidget(this);
  central_->setObjectName(QStringLiteral("centralArea"));
  auto* stack = new QStackedLayout(central_);
  stack->setStackingMode(QStackedLayout::StackAll);
  view_ = new CQuorvexPView(doc_, platform_, central_);
  BuildStartPanel();
  stack->addWidget(view_);
  stack->addWidget(startPanel_);
  stack->setCurrentWidget(startPanel_);
  setCentralWidget(central_);

  BuildMenus();
  BuildToolbars();
  BuildStatusBar();
  connect(view_, &CQuorvexPView::StatusText, this, [this](int pane, const QString& text) {
    if (pane > 0 && pane < static_cast<int>(statusPanes_.size())) statusPanes_[static_cast<size_t>(pane)]->setText(text);
  });
  connect(view_, &CQuorvexPView::StateChanged, this, &CMainFrame::RefreshActions);
  // A running tool's hint covers pane 0 until the tool ends.
  connect(view_, &CQuorvexPView::ToolHint, this, [this](const QString& hint) {
    hint.isEmpty() ? statusBar()->clearMessage() : statusBar()->showMessage(hint);
  });
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
    if (!fileMenu_) fileMenu_ = menu;
    for (const CommandInfo& item : info.items) {
      if (item.id == 0) {
        menu->addSeparator();
      } else {
        QAction* action = AddCommand(item.id, item.caption);
        action->setText(WithAccessKey(action->text(), AccessKeyOf(item.id)));
        menu->addAction(action);
        if (item.id == kCmdExit && menu == fileMenu_) exitAction_ = action;
      }
    }
  }
  // The recent-file list sits above "退出" in the 文件 menu, as "&1 path".
  for (size_t i = 0; i < recentActions_.size(); ++i) {
    auto* action = new QAction(this);
    action->setObjectName(QStringLiteral("recentFile%1").arg(i + 1));
    action->setVisible(false);
    connect(action, &QAction::triggered, this, [this, i] { OpenRecentFile(static_cast<int>(i)); });
    fileMenu_->insertAction(exitAction_, action);
    recentActions_[i] = action;
  }
  fileMenu_->insertSeparator(exitAction_);
}

void CMainFrame::BuildStartPanel() {
  startPanel_ = new QWidget(central_);
  startPanel_->setObjectName(QStringLiteral("startPanel"));
  startPanel_->setAutoFillBackground(true);
  auto* title = new QLabel(QStringLiteral("<h2>%1</h2>").arg(FromUtf8(kApplicationName)), startPanel_);
  auto* hint = new QLabel(QStringLiteral("打开或新建一个控制网数据文件开始工作, 也可以把 .NAP/.NAH 文件拖到本窗口。"),
                          startPanel_);
  hint->setWordWrap(true);
  auto* commands = new QVBoxLayout;
  const std::pair<int, const char*> kStartCommands[] = {
      {kCmdPlaneDataFile, "平面网数据文件(P数据文件)..."},  {kCmdHeightDataFile, "高程网数据文件(H数据文件)..."},
      {kCmdPlaneDrawingFile, "平面网图形文件(P图形文件)..."}, {kCmdHeightDrawingFile, "高程网图形文件(H图形文件)..."},
      {kCmdExercise, "平差习题"},                              {kCmdHelp, "使用说明"},
  };
  for (const auto& [id, caption] : kStartCommands) {
    auto* button = new QPushButton(QString::fromUtf8(caption), startPanel_);
    button->setObjectName(QStringLiteral("startCommand%1").arg(id));
    button->setMinimumWidth(button->sizeHint().width() + 24);
    connect(button, &QPushButton::clicked, this, [this, id = id] { RunCommand(id); });
    commands->addWidget(button);
  }
  commands->addStretch(1);
  startRecent_ = new QListWidget(startPanel_);
  startRecent_->setObjectName(QStringLiteral("startRecentFiles"));
  startRecent_->setToolTip(QStringLiteral("双击打开最近使用的数据文件"));
  connect(startRecent_, &QListWidget::itemActivated, this,
          [this](QListWidgetItem* item) { OpenRecentFile(startRecent_->row(item)); });
  auto* recent = new QVBoxLayout;
  recent->addWidget(new QLabel(QStringLiteral("最近使用的文件:"), startPanel_));
  recent->addWidget(startRecent_, 1);
  auto* columns = new QHBoxLayout;
  columns->addLayout(commands);
  columns->addSpacing(24);
  columns->addLayout(recent, 1);
  auto* layout = new QVBoxLayout(startPanel_);
  layout->setContentsMargins(32, 24, 32, 24);
  layout->addWidget(title);
  layout->addWidget(hint);
  layout->addSpacing(12);
  layout->addLayout(columns, 1);
}

void CMainFrame::RefreshRecentFiles() {
  const QStringList files = RecentFiles();
  const bool enabled = doc_.IsEnabled(kCmdPlaneDataFile);
  for (size_t i = 0; i < recentActions_.size(); ++i) {
    QAction* action = recentActions_[i];
    const bool used = static_cast<int>(i) < files.size();
    action->setVisible(used);
    action->setEnabled(used && enabled);
    if (used) {
      QString shown = files[static_cast<int>(i)];
      shown.replace(QLatin1Char('&'), QStringLiteral("&&"));
      action->setText(QStringLiteral("&%1 %2").arg(i + 1).arg(shown));
    }
  }
  startRecent_->clear();
  for (const QString& file : files) startRecent_->addItem(file);
}

bool CMainFrame::OpenDataFile(const QString& path) {
  const bool plane = HasSuffix(path, "NAP");
  if (!plane && !HasSuffix(path, "NAH")) return false;
  OpenNetworkDataFile(path, plane);
  return true;
}

void CMainFrame::OpenCommandLine(const QStringList& arguments) {
  for (const QString& argument : arguments) {
    if (argument.startsWith(QLatin1Char('-'))) continue;  // the toolkit's own options
    if (!OpenDataFile(argument)) {
      platform_.ShowMessage(
          ToGbk(QStringLiteral("只能打开平面网数据文件(*.NAP)或高程网数据文件(*.NAH):\n") + argument));
    }
    return;
  }
}

void CMainFrame::OpenRecentFile(int index) {
  const QStringList files = RecentFiles();
  if (index < 0 || index >= files.size() || !doc_.IsEnabled(kCmdPlaneDataFile)) return;
  const QString path = files[index];
  if (!QFileInfo::exists(path)) {
    // A file moved or deleted since: say so rather than offer to create it anew.
    platform_.ShowMessage(ToGbk(QStringLiteral("文件不存在, 已从最近文件列表中删除:\n") + path));
    RemoveRecentFile(path);
    RefreshFromDocument();
    return;
  }
  if (RecentFileKind(path) != RecentKind::Drawing) {
    OpenDataFile(path);
    return;
  }
  // A drawing opened with its drawing command before opens as a drawing again.
  if (!HasSuffix(path, "NAP") && !HasSuffix(path, "NAH")) return;
  OpenDrawing(path, HasSuffix(path, "NAP"));
  view_->DrawingChanged();
  RefreshFromDocument();
}

void CMainFrame::OpenDrawing(const QString& path, bool plane) {
  if (doc_.OpenDrawingFile(path.toStdString(), plane, platform_)) AddRecentFile(path, RecentKind::Drawing);
}

void CMainFrame::BuildToolbars() {
  QToolBar* tools = addToolBar(QStringLiteral("工具栏"));
  tools->setObjectName(QStringLiteral("toolBar"));
  tools->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
  tools->setIconSize(QSize(16, 16));
  for (const CommandInfo& button : ToolbarCommands()) {
    // The view's tools are the 绘图 menu's own actions, so that menu and
    // button are enabled and pressed together.
    const std::vector<QAction*> menuActions = IsViewCommand(button.id) ? ActionsOf(button.id) : std::vector<QAction*>{};
    QAction* action = menuActions.empty() ? AddCommand(button.id, button.caption) : menuActions.front();
    action->setIconText(QString::fromUtf8(button.caption));
    action->setIcon(CommandIcon(button.id));
    tools->addAction(action);
  }

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
  RefreshRecentFiles();
  startPanel_->setVisible(doc_.State().workMode == kNothingOpen);
  if (startPanel_->isVisible()) startPanel_->raise();
  setWindowTitle(FromUtf8(doc_.Title()) + QStringLiteral(" - ") + FromUtf8(kApplicationName));
  RefreshSelectors();
}

void CMainFrame::RefreshActions() {
  for (const auto& [id, action] : actions_) {
    const bool viewCommand = IsViewCommand(id);
    action->setEnabled(doc_.IsEnabled(id) && (!viewCommand || view_->ViewCommandAllowed(id)));
    // A greyed toolbar button tells when it can be used.
    const QString when = QString::fromUtf8(AvailableWhen(id));
    if (!when.isEmpty()) {
      const QString caption = action->iconText();
      action->setToolTip(action->isEnabled() ? caption : caption + QStringLiteral("\n(") + when + QStringLiteral(")"));
    }
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
  // The commands that are one call of the frame's own.
  static constexpr std::pair<int, void (CMainFrame::*)()> kFrameCommands[] = {
      {kCmdSavePicture, &CMainFrame::SavePicture},
      {kCmdOpenReport, &CMainFrame::OpenReport},
      {kCmdCloseDocument, &CMainFrame::CloseDocument},
      {kCmdSystemTransform, &CMainFrame::RunCoordinateTool<CQuorvexSystemTranslate>},
      {kCmdZoneTransform, &CMainFrame::RunCoordinateTool<CQuorvexGaussCount>},
      {kCmdIndependentSystem, &CMainFrame::RunCoordinateTool<CQuorvexIndependant>},
      {kCmdExercise, &CMainFrame::RunExercise},
      {kCmdPrint, &CMainFrame::Print},
      {kCmdPrintPreview, &CMainFrame::PrintPreview},
      {kCmdPrintSetup, &CMainFrame::PrintSetup},
      {kCmdHelp, &CMainFrame::ShowHelp},
      {kCmdAbout, &CMainFrame::ShowAbout},
  };
  const auto own = std::find_if(std::begin(kFrameCommands), std::end(kFrameCommands),
                                [commandId](const auto& command) { return command.first == commandId; });
  if (own != std::end(kFrameCommands)) {
    (this->*own->second)();
  } else if (IsViewCommand(commandId)) {
    view_->RunViewCommand(commandId);
  }
  switch (commandId) {
    case kCmdPlaneDrawingFile:
    case kCmdHeightDrawingFile: {
      const bool plane = commandId == kCmdPlaneDrawingFile;
      const QString path = chooseFile_(NetworkFileRequest(plane, FileDialogMode::OpenExisting));
      if (!path.isEmpty()) OpenDrawing(path, plane);
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
      doc_.EditPlaneDisplay(platform_, [this](PlaneModel& model) {
        CQuorvexDisplayPlane dialog(model, doc_.Settings().resolution, platform_, this);
        return RunDisplayDialog(dialog, doc_.CurrentDataPath(), platform_);
      });
      break;
    case kCmdHeightDisplaySettings:
      doc_.EditHeightDisplay(platform_, [this](HeightModel& model) {
        CQuorvexDisplay dialog(model, doc_.Settings().resolution, platform_, this);
        return RunDisplayDialog(dialog, doc_.CurrentDataPath(), platform_);
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
      doc_.FitSheet(platform_);
      break;
    case kCmdArrangeLabels:
      // The arranged drawing is on screen while the user decides.
      doc_.ArrangeLabels(platform_, [this] {
        view_->DrawingChanged();
        view_->repaint();
      });
      break;
    case kCmdPlaneDataFile:
    case kCmdHeightDataFile: {
      const bool plane = commandId == kCmdPlaneDataFile;
      const QString path = chooseFile_(NetworkFileRequest(plane, FileDialogMode::OpenOrNew));
      if (!path.isEmpty()) OpenNetworkDataFile(path, plane);
      break;
    }
    case kCmdPlaneDataEdit:
    case kCmdHeightDataEdit:
      EditNetwork(commandId == kCmdPlaneDataEdit);
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
    case kCmdExportCoordinates:
      ExportNetworkCoordinates(doc_, platform_, chooseFile_, askCrs_);
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
  FileRequest request = MakeFileRequest(
      "另存为图片", "PDF 文件(*.pdf)|*.pdf|PNG 图片(*.png)|*.png|SVG 图形(*.svg)|*.svg|DXF 图形(*.dxf)|*.dxf||", "pdf",
      FileDialogMode::SaveAs);
  // The picture is named after the network, beside its data file.
  const QFileInfo network(FromUtf8(doc_.CurrentDataPath()));
  if (!network.fileName().isEmpty()) {
    request.suggestedPath = network.absolutePath() + QLatin1Char('/') + network.completeBaseName() + QStringLiteral(".pdf");
  }
  const QString path = chooseFile_(request);
  if (path.isEmpty()) return;
  QString error;
  if (!SaveSheetPicture(path, doc_, &error)) platform_.ShowMessage(ToGbk(error));
}

void CMainFrame::OpenNetworkDataFile(const QString& path, bool plane) {
  if (!doc_.IsEnabled(plane ? kCmdPlaneDataFile : kCmdHeightDataFile)) return;
  const std::string file = path.toStdString();
  const bool opened = doc_.OpenDataFile(file, plane, platform_);
  if (opened) AddRecentFile(path);
  RefreshFromDocument();
  // The network stays open even when its editing is then cancelled, so that
  // "P数据编辑" or "H数据编辑" can take it up again.
  if (opened) EditNetwork(plane);
  RefreshFromDocument();
}

void CMainFrame::EditNetwork(bool plane) {
  NetworkEditResult result;
  if (plane) {
    result = doc_.EditPlane(platform_, [this](PlaneNetwork& net, const PlaneDialogTarget& target) {
      CQuorDisgnContrloPlane dialog(net, target.draftPath, target.steps, platform_, this);
      return dialog.exec() == QDialog::Accepted;
    });
  } else {
    result = doc_.EditHeight(platform_, [this](HeightNetwork& net, const HeightReportTarget& target) {
      CQuorDesignControlHeight dialog(net, target, platform_, this);
      return dialog.exec() == QDialog::Accepted;
    });
  }
  // A computation never ends silently: its figures, or that it failed.
  if (result == NetworkEditResult::Computed) statusPanes_[0]->setText(FromUtf8(doc_.ComputationSummary()));
  if (result == NetworkEditResult::Failed)
    statusPanes_[0]->setText(plane ? QStringLiteral("平面网解算失败") : QStringLiteral("高程网解算失败"));
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

void CMainFrame::CloseDocument() { CloseDocumentAsking(); }

bool CMainFrame::CloseDocumentAsking() {
  if (!qp::CloseDocumentAsking(doc_, platform_)) return false;
  // The last computation's line leaves with its network.
  if (doc_.State().workMode == kNothingOpen) statusPanes_[0]->setText(QStringLiteral("就绪"));
  if (reportViewer_) reportViewer_->close();
  // The cursor position and the tool hints were the closed drawing's.
  for (size_t i = 1; i < statusPanes_.size(); ++i) statusPanes_[i]->clear();
  view_->DrawingChanged();
  return true;
}

QPrinter& CMainFrame::Printer() {
  if (!printer_) printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
  // The print job, and a print to a file, are named after the network.
  printer_->setDocName(QFileInfo(FromUtf8(doc_.CurrentDataPath())).completeBaseName());
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
  // Unsaved moves may still send the user back to the drawing.
  if (doc_.State().workMode != kNothingOpen && !CloseDocumentAsking()) {
    event->ignore();
    RefreshFromDocument();
    return;
  }
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
    if (HasSuffix(path, "NAP") || HasSuffix(path, "NAH")) {
      event->acceptProposedAction();
      QTimer::singleShot(0, this, [this, path] { OpenDataFile(path); });
      return;
    }
  }
}

}  // namespace qp
