// The gradient box's arithmetic: colour splitting, the band colour table and the band geometry.
#include "components/Gradient.h"

#include <bit>
#include <cstdint>
#include <utility>

namespace gradient {
namespace {

// The table is defined by a sequence in 80-bit extended precision (64-bit significand, round to nearest even).
// long double is not that format everywhere, so the sequence is done in integers. Every value in it is a
// non-negative multiple of 2^-71 below 2^9 (the reciprocal below is one, the start bytes are, and exact sums and
// integer multiples of such values are too), so it is held exactly as a count of 2^-71 units in two words;
// rounding to 64 significant bits only ever drops units, never needs finer ones.
struct Fixed {
  std::uint64_t hi = 0;
  std::uint64_t lo = 0;
};

// 1/255 rounded to 64 significant bits: 0x8080808080808081 * 2^-71.
constexpr std::uint64_t kReciprocal255 = 0x8080808080808081ULL;
constexpr int kFractionBits = 71;

constexpr Fixed FromByte(unsigned value) { return {static_cast<std::uint64_t>(value) << (kFractionBits - 64), 0}; }

constexpr unsigned Truncate(Fixed value) { return static_cast<unsigned>(value.hi >> (kFractionBits - 64)); }

// Ties go to the even significand.
constexpr Fixed RoundToSignificand(Fixed value) {
  const int length = value.hi != 0 ? 64 + std::bit_width(value.hi) : std::bit_width(value.lo);
  const int dropped = length - 64;  // at most 16
  if (dropped <= 0) {
    return value;
  }
  std::uint64_t kept = (value.hi << (64 - dropped)) | (value.lo >> dropped);
  const std::uint64_t rest = value.lo & ((std::uint64_t{1} << dropped) - 1);
  const std::uint64_t half = std::uint64_t{1} << (dropped - 1);
  if (rest > half || (rest == half && (kept & 1) != 0)) {
    if (++kept == 0) {  // carried into a new top bit
      return {std::uint64_t{1} << dropped, 0};
    }
  }
  return {kept >> (64 - dropped), kept << dropped};
}

constexpr Fixed Add(Fixed a, Fixed b) {
  const std::uint64_t lo = a.lo + b.lo;
  return RoundToSignificand({a.hi + b.hi + (lo < a.lo ? 1 : 0), lo});
}

// a >= b: the running value never falls below the smaller end byte by more than rounding noise.
constexpr Fixed Subtract(Fixed a, Fixed b) {
  return RoundToSignificand({a.hi - b.hi - (a.lo < b.lo ? 1 : 0), a.lo - b.lo});
}

// |d| * (1/255) for a byte difference d, rounded once.
constexpr Fixed StepOf(unsigned distance) {
  const std::uint64_t low = (kReciprocal255 & 0xFFFFFFFFULL) * distance;
  const std::uint64_t high = (kReciprocal255 >> 32) * distance;
  const std::uint64_t lo = low + (high << 32);
  return RoundToSignificand({(high >> 32) + (lo < low ? 1 : 0), lo});
}

// One channel's running value: starts at its start byte and takes a step towards the end byte each entry.
class Channel {
 public:
  Channel(unsigned start, unsigned end)
      : value_(FromByte(start)), step_(StepOf(start > end ? start - end : end - start)), falling_(start > end) {}

  unsigned Next() {
    value_ = falling_ ? Subtract(value_, step_) : Add(value_, step_);
    return Truncate(value_);
  }

 private:
  Fixed value_;
  Fixed step_;
  bool falling_;
};

}  // namespace

Rgb SplitColor(Color color, SysColorLookup sysColor) {
  constexpr Color kSystemBase = 0x80000000U;
  constexpr Color kLastSystemIndex = 24;
  if (color >= kSystemBase && color - kSystemBase <= kLastSystemIndex) {
    color = sysColor(static_cast<int>(color - kSystemBase));
  }
  return {static_cast<std::uint8_t>(color), static_cast<std::uint8_t>(color >> 8),
          static_cast<std::uint8_t>(color >> 16)};
}

void BuildBandTable(std::span<Color, kBands> table, Color topColor, Color lastColor, Style style,
                    SysColorLookup sysColor) {
  if (style == gsNone) {
    return;
  }
  if (style == gsBottomTop || style == gsRightLeft) {
    std::swap(topColor, lastColor);
  }
  const Rgb start = SplitColor(topColor, sysColor);
  const Rgb end = SplitColor(lastColor, sysColor);
  Channel red(start.red, end.red);
  Channel green(start.green, end.green);
  Channel blue(start.blue, end.blue);
  table[0] = topColor;
  for (int i = 1; i < kBands - 1; ++i) {
    const unsigned r = red.Next();
    const unsigned g = green.Next();
    const unsigned b = blue.Next();
    table[static_cast<std::size_t>(i)] = r + 256 * g + 65536 * b;
  }
  table[kBands - 1] = lastColor;
}

int BandThickness(int size) { return size / 255 + 1; }

int BandStart(int band, int size) {
  if (band == 0) {
    return 0;
  }
  return static_cast<int>(static_cast<std::int64_t>(band - 1) * size / 255);
}

int RowBand(int row, int size) {
  const int thickness = BandThickness(size);
  for (int band = kBands - 1; band >= 0; --band) {
    const int start = BandStart(band, size);
    if (start <= row) {
      return row < start + thickness ? band : -1;
    }
  }
  return -1;
}

}  // namespace gradient
