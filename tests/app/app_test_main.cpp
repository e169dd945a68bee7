// The app tests run with a QApplication on the offscreen platform unless the
// environment names another.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <clocale>
#include <unistd.h>

int main(int argc, char** argv) {
  // The offscreen screen is a laptop's: 1280×720.
  const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
  QString screenConfig;
  if (platform.isEmpty() || platform == "offscreen") {
    const QString config = QDir::temp().filePath(QStringLiteral("quorvex_app_tests_screen_%1.json").arg(getpid()));
    QFile file(config);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
      file.write(R"({"screens": [{"name": "laptop", "x": 0, "y": 0, "width": 1280, "height": 720,)"
                 R"( "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})");
      file.close();
      qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + config.toLocal8Bit());
      screenConfig = config;
    } else {
      qputenv("QT_QPA_PLATFORM", "offscreen");
    }
  }
  QApplication app(argc, argv);
  if (!screenConfig.isEmpty()) QFile::remove(screenConfig);
  std::setlocale(LC_NUMERIC, "C");
  // The user's own settings (the recent-file list) are never touched.
  QTemporaryDir settings;
  for (const QSettings::Scope scope : {QSettings::UserScope, QSettings::SystemScope}) {
    QSettings::setPath(QSettings::NativeFormat, scope, settings.path());
    QSettings::setPath(QSettings::IniFormat, scope, settings.path());
  }
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
