#include "app/qt_text.h"

#include "common/gbk_text.h"

namespace qp {

QString FromGbk(std::string_view gbk) { return FromUtf8(GbkToUtf8(gbk)); }

std::string ToGbk(const QString& text) { return Utf8ToGbk(text.toStdString()); }

std::string BoxTextToGbk(const QString& text) {
  QString crlf = text;
  crlf.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
  crlf.remove(QLatin1Char('\r'));
  crlf.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
  return ToGbk(crlf);
}

QString BoxTextFromGbk(std::string_view gbk) {
  QString text = FromGbk(gbk);
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  return text;
}

}  // namespace qp
