#include "drawing/text_layout.h"

#include <cmath>
#include <cstring>
#include <numbers>

namespace qp {

size_t GbkCharacterBytes(std::string_view text, size_t at) {
  return at + 1 < text.size() && static_cast<unsigned char>(text[at]) >= 0x80 ? 2 : 1;
}

bool IsDoubleWidthCharacter(std::string_view text, size_t at) {
  return at + 1 < text.size() && static_cast<unsigned char>(text[at]) >= 0x80 &&
         static_cast<unsigned char>(text[at + 1]) >= 0x80;
}

double TextAdvanceMillimetres(std::string_view text, double width, double gap) {
  double length = 0;
  for (size_t i = 0; i < text.size(); i += GbkCharacterBytes(text, i))
    length += (IsDoubleWidthCharacter(text, i) ? 2 * width : width) + gap;
  return length;
}

std::string_view TextOf(const TextBlock& block) {
  size_t n = block.length < 0 ? 0 : static_cast<size_t>(block.length);
  if (n > kTextSize) n = kTextSize;
  return std::string_view(block.text, strnlen(block.text, n));
}

TextBox TextBoxOf(const TextBlock& block, double m) {
  const double along = block.direction * 0.1 * std::numbers::pi / 180.0;  // azimuth of the text
  const double down = along + std::numbers::pi / 2;                       // from the top of the text to its foot
  const double length = TextAdvanceMillimetres(TextOf(block), block.width, block.gap) * m;
  const double height = block.height * m;
  const GroundPoint ref{block.x, block.y};
  const GroundPoint end{ref.x + length * std::cos(along), ref.y + length * std::sin(along)};
  const GroundPoint dv{height * std::cos(down), height * std::sin(down)};
  return TextBox{{ref, end, {end.x + dv.x, end.y + dv.y}, {ref.x + dv.x, ref.y + dv.y}, ref}};
}

}  // namespace qp
