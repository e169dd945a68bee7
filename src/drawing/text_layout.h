// How a diagram text is laid out character by character: a byte below 0x80,
// or a pair whose second byte is below 0x80, is one single-width character
// advancing width + gap; a pair of bytes both 0x80 or above is one
// double-width character advancing 2 x width + gap. The renderer, the picture
// writers and the movable-item outlines all measure texts this way.
#pragma once

#include <cstddef>
#include <string_view>

#include "drawing/entities.h"

namespace qp {

// Bytes of the character starting at `at` (1 or 2).
size_t GbkCharacterBytes(std::string_view text, size_t at);
// True when the character starting at `at` is double width.
bool IsDoubleWidthCharacter(std::string_view text, size_t at);
// Total advance of the text in millimetres.
double TextAdvanceMillimetres(std::string_view text, double width, double gap);

// The text of a block (its length field kept within the text field).
std::string_view TextOf(const TextBlock& block);

// The four corners of the box a text covers on the ground, from its
// reference point (top-left) along its direction, then back to the start:
// ref, ref + L along the text, that + H towards the bottom, ref + H.
// `m` is the ground length of one millimetre of paper.
struct TextBox {
  GroundPoint corners[5];
};
TextBox TextBoxOf(const TextBlock& block, double m);

}  // namespace qp
