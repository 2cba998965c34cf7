// The gradient box's arithmetic: colour splitting, the band colour table and the band geometry, without a canvas.
#pragma once

#include <array>
#include <cstdint>
#include <span>

namespace gradient {

using Color = std::uint32_t;

// Same ordinals as the box's published style property.
enum Style : std::uint8_t { gsTopBottom, gsBottomTop, gsLeftRight, gsRightLeft, gsNone };

inline constexpr int kBands = 256;
using BandTable = std::array<Color, kBands>;

// Returns the RGB value of a system-colour index 0..24; the box passes GetSysColor.
using SysColorLookup = Color (*)(int index);

struct Rgb {
  std::uint8_t red;
  std::uint8_t green;
  std::uint8_t blue;
};

// 0x80000000 + n (n 0..24) is resolved through sysColor; the top byte of the value used is ignored.
Rgb SplitColor(Color color, SysColorLookup sysColor);

// Rewrites all 256 entries from the two end colours, except for gsNone, which leaves the table as it is.
// Entries 0 and 255 are the end colours unchanged; 1..254 are literal RGB.
void BuildBandTable(std::span<Color, kBands> table, Color topColor, Color lastColor, Style style,
                    SysColorLookup sysColor);

// Bands are stacked along the height for these styles, along the width for the other two.
constexpr bool StacksRows(Style style) { return style == gsTopBottom || style == gsBottomTop; }

// Band i covers [BandStart(i, size), BandStart(i, size) + BandThickness(size)) along the stacking direction.
// Exact for every size 0..65535 (the range a window can have).
int BandThickness(int size);
int BandStart(int band, int size);

// The band that paints the given row (or column) last, that is whose colour shows there; -1 if none covers it.
int RowBand(int row, int size);

}  // namespace gradient
