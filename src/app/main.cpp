// quorvex-gui: the desktop application.
#include <QApplication>
#include <clocale>

#include "app/document_state.h"
#include "app/main_frame.h"
#include "app/qt_platform.h"
#include "app/quorvex_doc.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  // Reports and data texts are formatted with printf: the decimal point must
  // stay a point whatever the user's locale.
  std::setlocale(LC_NUMERIC, "C");
  QApplication::setApplicationName(QStringLiteral("QuorvexPlus"));
  QApplication::setApplicationDisplayName(QString::fromUtf8(qp::kApplicationName));

  qp::QtPlatform platform;
  qp::CQuorvexPDoc doc(qp::ProgramDirectoryOf(QCoreApplication::applicationFilePath().toStdString()));
  qp::CMainFrame frame(doc, platform);
  frame.showMaximized();
  return app.exec();
}
