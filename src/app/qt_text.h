// Text at the toolkit's edge: the records, forms and reports hold GBK with
// CR LF line ends, the widgets hold QString with LF line ends.
#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace qp {

inline QString FromUtf8(std::string_view utf8) {
  return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

QString FromGbk(std::string_view gbk);
std::string ToGbk(const QString& text);

// A multi-line edit box's text for a form: LF becomes CR LF, GBK.
std::string BoxTextToGbk(const QString& text);
// A form's box text for an edit box: GBK to QString, CR LF becomes LF.
QString BoxTextFromGbk(std::string_view gbk);

}  // namespace qp
