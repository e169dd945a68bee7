// The fonts a network diagram starts with. The plane and the height record
// keep them in fields of the same names and types.
#pragma once

#include "common/gbk_text.h"
#include "common/name_slot.h"

namespace qp {

template <typename NetworkRecord>
void SetStartingDiagramFonts(NetworkRecord& net) {
  SetSlotText(net.numberFontFace, Gbk("宋体"));
  net.numberFontHeight = 2.0f;
  net.numberFontWidth = 1.0f;
  SetSlotText(net.textFontFace, Gbk("宋体"));
  net.textFontHeight = 3.0f;
  net.textFontWidth = 1.5f;
}

}  // namespace qp
