#include "app/gbk_cells.h"

#include <QAbstractTextDocumentLayout>
#include <QFont>
#include <QFontMetricsF>
#include <QTextBlock>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>

#include <cmath>
#include <vector>

namespace qp {
namespace {

// Below this a difference of width is the rounding of the layout, not a slip.
constexpr double kTolerancePx = 0.25;

// The cells a character takes in a GBK text: one for ASCII, two for any
// other (GBK holds no wider characters).
int GbkCells(char32_t c) { return c < 0x80 ? 1 : 2; }

bool HasNonAscii(const QString& text) {
  for (const QChar c : text)
    if (c.unicode() >= 0x80) return true;
  return false;
}

struct Spacing {
  int position;  // in the block
  int length;
  double pixels;
};

// What each character of `block` needs, measured on the document's own
// layout of it: the face a character is drawn in may depend on its
// neighbours, so no measure out of context will do.
std::vector<Spacing> SpacingsOf(const QTextBlock& block, QAbstractTextDocumentLayout& layout, double cell) {
  layout.blockBoundingRect(block);  // lays the block out
  const QTextLayout* laidOut = block.layout();
  if (!laidOut || laidOut->lineCount() != 1) return {};
  const QTextLine line = laidOut->lineAt(0);
  const QString text = block.text();
  std::vector<Spacing> out;
  for (int i = 0; i < text.size();) {
    const bool pair = text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate();
    const int length = pair ? 2 : 1;
    const char32_t c = pair ? QChar::surrogateToUcs4(text[i], text[i + 1]) : text[i].unicode();
    const double pixels = GbkCells(c) * cell - (line.cursorToX(i + length) - line.cursorToX(i));
    if (c >= 0x80 && std::fabs(pixels) >= kTolerancePx) out.push_back({i, length, pixels});
    i += length;
  }
  return out;
}

}  // namespace

void AlignToGbkCells(QTextDocument& document, const QFont& font) {
  QAbstractTextDocumentLayout* layout = document.documentLayout();
  if (!layout) return;
  const double cell = QFontMetricsF(font).horizontalAdvance(QLatin1Char('0'));
  QTextCursor cursor(&document);
  cursor.beginEditBlock();
  for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
    if (!HasNonAscii(block.text())) continue;
    for (const Spacing& s : SpacingsOf(block, *layout, cell)) {
      QTextCharFormat format;
      format.setFontLetterSpacingType(QFont::AbsoluteSpacing);
      format.setFontLetterSpacing(s.pixels);
      cursor.setPosition(block.position() + s.position);
      cursor.setPosition(block.position() + s.position + s.length, QTextCursor::KeepAnchor);
      cursor.mergeCharFormat(format);
    }
  }
  cursor.endEditBlock();
}

}  // namespace qp
