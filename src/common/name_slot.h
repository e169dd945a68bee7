// Point names live in fixed zero-terminated slots of the records (11 bytes:
// up to 10 bytes of GBK text and a terminating zero).
#pragma once

#include <cstring>
#include <string_view>

namespace qp {

// The text of a slot up to its first zero byte (or the whole slot).
template <size_t N>
std::string_view SlotText(const char (&slot)[N]) {
  return std::string_view(slot, strnlen(slot, N));
}

// Stores `text` cut to N-1 bytes, zero-fills the rest of the slot.
template <size_t N>
void SetSlotText(char (&slot)[N], std::string_view text) {
  const size_t n = text.size() < N - 1 ? text.size() : N - 1;
  std::memset(slot, 0, N);
  std::memcpy(slot, text.data(), n);
}

// The same, only when the slot holds another text: the bytes after an
// unchanged text's terminating zero stay as they were.
template <size_t N>
void ReplaceSlotText(char (&slot)[N], std::string_view text) {
  if (SlotText(slot) != text) SetSlotText(slot, text);
}

}  // namespace qp
