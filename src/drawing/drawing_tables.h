// The pen, line-weight and colour tables every figure of the map sheet is
// drawn with, and the DrawStyle word that indexes them.
#pragma once

#include <array>
#include <cstdint>

namespace qp {

struct Rgb {
  uint8_t r = 0, g = 0, b = 0;
  friend bool operator==(const Rgb&, const Rgb&) = default;
};

inline constexpr int kPaletteSize = 141;
// A fill colour index of this value or more means "no fill".
inline constexpr int kNoFill = 141;

// Palette colour `index`; an index outside 0..140 gives black.
Rgb PaletteColour(int index);
// The colour as the 0x00BBGGRR word stored in text blocks.
uint32_t ColourWord(Rgb colour);
Rgb ColourFromWord(uint32_t word);

// Pen styles 0..5 of the style table.
enum class PenStyle : uint8_t { Solid = 0, Dash, Dot, DashDot, DashDotDot, Null };
inline constexpr int kPenStyleCount = 6;
// Style `index`; an index outside 0..5 gives Solid.
PenStyle PenStyleAt(int index);

// Line weights 0..9 in hundredths of a millimetre.
inline constexpr int kLineWeightCount = 10;
inline constexpr std::array<int, kLineWeightCount> kLineWeightHundredths = {10, 15, 20, 25, 30, 50, 80, 100, 150, 200};

// Frequently used weight indices.
inline constexpr int kThinWeight = 0;     // 0.10 mm
inline constexpr int kSymbolWeight = 1;   // 0.15 mm
inline constexpr int kFrameWeight = 6;    // 0.80 mm

// Pixel widths of the ten line weights at a resolution (dots per inch):
// whole part of (resolution x weight x 0.0003937007874015748 + 0.55), at least 1.
struct LineWidths {
  std::array<int, kLineWeightCount> px{};
  int At(int weightIndex) const;  // index clamped to 0..9
};
LineWidths LineWidthsForResolution(double resolution);

// One 32-bit word: bits 0-7 pen style index, 8-15 line weight index, 16-23
// pen colour index, 24-31 fill colour index (141 and above: no fill).
struct DrawStyle {
  uint32_t word = 0;

  static constexpr DrawStyle Make(int penStyle, int weight, int penColour, int fillColour = kNoFill) {
    return DrawStyle{static_cast<uint32_t>(penStyle & 0xFF) | static_cast<uint32_t>(weight & 0xFF) << 8 |
                     static_cast<uint32_t>(penColour & 0xFF) << 16 | static_cast<uint32_t>(fillColour & 0xFF) << 24};
  }
  constexpr int PenStyleIndex() const { return word & 0xFF; }
  constexpr int WeightIndex() const { return (word >> 8) & 0xFF; }
  constexpr int PenColourIndex() const { return (word >> 16) & 0xFF; }
  constexpr int FillColourIndex() const { return (word >> 24) & 0xFF; }
  constexpr bool Filled() const { return FillColourIndex() < kNoFill; }
  friend constexpr bool operator==(const DrawStyle&, const DrawStyle&) = default;
};

// Palette indices the diagrams use by name.
inline constexpr int kBlack = 0;
inline constexpr int kDarkRed = 1;
inline constexpr int kRed = 9;
inline constexpr int kWhite = 15;

}  // namespace qp
