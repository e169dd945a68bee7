// Closing the open network when its drawing has moves not yet saved: the
// user saves them, leaves them, or goes back to the drawing.
#pragma once

#include "common/platform_services.h"
#include "workflow/quorvex_doc.h"

namespace qp {

// Closes the document, first asking "保存 / 不保存 / 取消" about unsaved
// moves. False (the document still open) when the user cancelled or the
// moves could not be saved.
bool CloseDocumentAsking(CQuorvexPDoc& doc, PlatformServices& platform);

}  // namespace qp
