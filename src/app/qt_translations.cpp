#include "app/qt_translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QStringList>
#include <QTranslator>

namespace qp {

QTranslator* InstallQtTranslations(QCoreApplication& app, const QString& localeName) {
  const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
  auto* translator = new QTranslator(&app);
  // The system's own Chinese (zh_TW, zh_HK...) if Qt has it, else Simplified
  // Chinese: every other text of the application is Chinese, so an English or
  // German file dialog would be the odd one out.
  QStringList names;
  if (localeName.startsWith(QStringLiteral("zh"))) names.push_back(localeName);
  names.push_back(QStringLiteral("zh_CN"));
  for (const QString& name : names) {
    if (translator->load(QStringLiteral("qtbase_") + name, folder) && QCoreApplication::installTranslator(translator)) {
      return translator;
    }
  }
  delete translator;
  return nullptr;
}

}  // namespace qp
