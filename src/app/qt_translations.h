// Qt's own texts (file dialogs, standard buttons, context menus) in Chinese.
#pragma once

#include <QString>

class QCoreApplication;
class QTranslator;

namespace qp {

// Installs Qt's translation for a Chinese `localeName` (for example "zh_TW"),
// Simplified Chinese for any other locale or when the locale's is missing;
// the translator (owned by `app`), or null when none is installed here.
QTranslator* InstallQtTranslations(QCoreApplication& app, const QString& localeName);

}  // namespace qp
