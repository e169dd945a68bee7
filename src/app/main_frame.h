// The main window: menus and toolbar of the command table, the dialog bar
// with the diagram and point-name selectors, the status bar's four panes and
// the view. Commands are routed to the document; enabling follows the
// document's state after every command.
#pragma once

#include <QMainWindow>
#include <QString>
#include <QStringList>
#include <array>
#include <memory>
#include <utility>
#include <vector>

#include "app/coordinate_export_command.h"
#include "app/file_chooser.h"
#include "workflow/quorvex_doc.h"
#include "common/platform_services.h"

class QAction;
class QComboBox;
class QLabel;
class QListWidget;
class QMenu;
class QPrinter;

namespace qp {

class CQuorvexPView;
class HelpViewer;
class ReportViewer;

class CMainFrame : public QMainWindow {
  Q_OBJECT

 public:
  CMainFrame(CQuorvexPDoc& doc, PlatformServices& platform, QWidget* parent = nullptr);
  ~CMainFrame() override;

  // Answers every file dialog of the commands and of the tools' dialogs.
  void SetFileChooser(FileChooser chooser) { chooseFile_ = std::move(chooser); }
  // Answers the reference-system question of "导出坐标...".
  void SetCrsAsker(CrsAsker asker) { askCrs_ = std::move(asker); }

  // Runs a command as its menu item or toolbar button would (nothing when it
  // is disabled).
  void RunCommand(int commandId);
  // "P数据文件" and "H数据文件" for a name that is already chosen (a dropped
  // file).
  void OpenNetworkDataFile(const QString& path, bool plane);
  // A .NAP or .NAH file (of the command line, a drop or the recent-file
  // list) opened as its data-file command would; false for any other name.
  bool OpenDataFile(const QString& path);
  // The program's arguments after its name: the first network data file
  // named opens once the window shows; another kind of file is refused with a
  // message.
  void OpenCommandLine(const QStringList& arguments);
  // The recent-file list's entry `index` (0 = most recent).
  void OpenRecentFile(int index);
  // The entries of the recent-file list in the 文件 menu (hidden when unused).
  const std::array<QAction*, 4>& RecentFileActions() const { return recentActions_; }
  // The panel shown instead of the drawing view while nothing is open.
  QWidget* StartPanel() const { return startPanel_; }

  // Every menu item and toolbar button of a command.
  std::vector<QAction*> ActionsOf(int commandId) const;
  QComboBox* DiagramSelector() const { return diagramSelector_; }
  QComboBox* PointSelector() const { return pointSelector_; }
  QLabel* StatusPane(int index) const { return statusPanes_[static_cast<size_t>(index)]; }
  ReportViewer* Reports() const { return reportViewer_; }
  // The report a tool showed, kept open after its dialog closed.
  ReportViewer* ToolReports() const { return toolReportViewer_; }
  HelpViewer* Help() const { return helpViewer_; }
  CQuorvexPView* View() const { return view_; }
  // The help document: beside the program, or in the shared data folder of
  // an installed program.
  QString HelpFilePath() const;

 protected:
  void closeEvent(QCloseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  void BuildMenus();
  void BuildToolbars();
  void BuildStatusBar();
  void BuildStartPanel();
  void RefreshRecentFiles();
  // "P图形文件" / "H图形文件" for a chosen name.
  void OpenDrawing(const QString& path, bool plane);
  QAction* AddCommand(int commandId, const char* caption);
  void RefreshFromDocument();
  // Enabling and pressed state of every command after a change of the view.
  void RefreshActions();
  void SavePicture();
  void PrintPreview();
  void Print();
  void PrintSetup();
  QPrinter& Printer();
  void RefreshSelectors();
  // "P数据编辑" / "H数据编辑".
  void EditNetwork(bool plane);
  void OpenReport();
  void ShowHelp();
  void ShowAbout();
  void CloseDocument();
  // False when the user went back to the drawing (the document stays open).
  bool CloseDocumentAsking();
  template <typename ToolDialog>
  void RunCoordinateTool();
  void RunExercise();
  void KeepToolReport(ReportViewer* viewer);

  CQuorvexPDoc& doc_;
  PlatformServices& platform_;
  FileChooser chooseFile_;
  CrsAsker askCrs_;
  std::vector<std::pair<int, QAction*>> actions_;
  CQuorvexPView* view_ = nullptr;
  QWidget* central_ = nullptr;
  QWidget* startPanel_ = nullptr;
  QListWidget* startRecent_ = nullptr;
  QMenu* fileMenu_ = nullptr;
  QAction* exitAction_ = nullptr;
  std::array<QAction*, 4> recentActions_{};
  std::unique_ptr<QPrinter> printer_;
  QComboBox* diagramSelector_ = nullptr;
  QComboBox* pointSelector_ = nullptr;
  std::array<QLabel*, 4> statusPanes_{};
  ReportViewer* reportViewer_ = nullptr;
  ReportViewer* toolReportViewer_ = nullptr;
  HelpViewer* helpViewer_ = nullptr;
};

}  // namespace qp
