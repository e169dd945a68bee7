// Reports are laid out in GBK byte columns: every double-byte character takes
// two cells of the monospaced face, every single-byte one cell. A CJK
// monospaced face draws the Chinese characters two cells wide but many other
// double-byte characters (χ, ±, Greek letters, full-width punctuation) in
// one cell, or a fallback face draws them at its own width; the columns of
// the statistics report would slip. This widens or narrows exactly those
// characters by letter spacing, so the text itself stays as it is (copying
// and finding are unchanged).
#pragma once

class QFont;
class QTextDocument;

namespace qp {

// Applies the spacing to every character of `document` (set in `font`) whose
// drawn width is not its GBK cell count times the face's digit width.
void AlignToGbkCells(QTextDocument& document, const QFont& font);

}  // namespace qp
