// quorvex-gui: the desktop application.
#include <QApplication>
#include <QLocale>
#include <QTimer>
#include <clocale>
#include <cstdio>
#include <cstring>

#include "adjustment/numeric_threads.h"
#include "workflow/document_state.h"
#include "app/main_frame.h"
#include "app/qt_platform.h"
#include "app/qt_translations.h"
#include "workflow/quorvex_doc.h"
#include "app/recent_files.h"

int main(int argc, char** argv) {
  // Answered before the toolkit starts, so that it needs no display.
  if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
    std::printf("quorvex-gui (QuorvexPlus 测量数据处理系统) %s\n", QUORVEX_VERSION);
    return 0;
  }
  QApplication app(argc, argv);
  // Reports and data texts are formatted with printf: the decimal point must
  // stay a point whatever the user's locale.
  std::setlocale(LC_NUMERIC, "C");
  qp::ApplyNumericThreadPolicy();
  // The settings (the recent-file list) are kept under this key.
  QApplication::setOrganizationName(QString::fromUtf8(qp::kSettingsOrganization));
  QApplication::setApplicationName(QString::fromUtf8(qp::kSettingsApplication));
  QApplication::setApplicationDisplayName(QString::fromUtf8(qp::kApplicationName));
  qp::InstallQtTranslations(app, QLocale::system().name());

  qp::QtPlatform platform;
  qp::CQuorvexPDoc doc(qp::ProgramDirectoryOf(QCoreApplication::applicationFilePath().toStdString()));
  qp::CMainFrame frame(doc, platform);
  frame.showMaximized();
  // A data file named on the command line (a double click in a file manager)
  // opens as a dropped file does, once the window is up.
  const QStringList arguments = QApplication::arguments().mid(1);
  if (!arguments.isEmpty()) QTimer::singleShot(0, &frame, [&frame, arguments] { frame.OpenCommandLine(arguments); });
  return app.exec();
}
