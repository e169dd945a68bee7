// The sheet on paper and in picture files: printing tiles the whole paper
// over the printer's pages at the printer's resolution (the document's own
// settings stay as they are), and "另存为图片" writes the drawing as a PDF,
// PNG, SVG or DXF file chosen by the name's suffix.
#pragma once

#include <QString>

#include "workflow/quorvex_doc.h"

class QPrinter;

namespace qp {

// Paints every page of the open network's sheet on `printer` (which is not
// yet painting). Returns the number of pages, 0 after `error` is set.
int PrintSheet(QPrinter& printer, CQuorvexPDoc& doc, QString* error);

// Writes the drawing to `path`: .pdf (one page the size of the paper), .png
// (at the sheet's resolution), both through the toolkit-free Cairo writer
// the command line uses, .svg or .dxf. False with `error` set when the
// file could not be written or the suffix is not one of these.
bool SaveSheetPicture(const QString& path, CQuorvexPDoc& doc, QString* error);

}  // namespace qp
