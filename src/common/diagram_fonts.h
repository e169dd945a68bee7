// The fonts of a network diagram: those it starts with, and the fonts and
// text colour moved between a record and a model's diagram style. The plane
// and the height record keep them in fields of the same names and types, as
// do the two styles.
#pragma once

#include <string>

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

template <typename NetworkRecord, typename Style>
void ReadDiagramFonts(const NetworkRecord& net, Style& style) {
  style.numberFace = std::string(SlotText(net.numberFontFace));
  style.numberHeight = net.numberFontHeight;
  style.numberWidth = net.numberFontWidth;
  style.textFace = std::string(SlotText(net.textFontFace));
  style.textHeight = net.textFontHeight;
  style.textWidth = net.textFontWidth;
  style.textColour = static_cast<decltype(style.textColour)>(net.textColour);
}

// A face is written only when it changed, so the bytes after a stored face's
// terminating zero stay as they were.
template <typename Style, typename NetworkRecord>
void PutDiagramFonts(const Style& style, NetworkRecord& net) {
  ReplaceSlotText(net.numberFontFace, style.numberFace);
  net.numberFontHeight = style.numberHeight;
  net.numberFontWidth = style.numberWidth;
  ReplaceSlotText(net.textFontFace, style.textFace);
  net.textFontHeight = style.textHeight;
  net.textFontWidth = style.textWidth;
  net.textColour = static_cast<decltype(net.textColour)>(style.textColour);
}

}  // namespace qp
