// Tests of the gradient box's arithmetic: splitting, the band colour table and the band geometry.
#include "components/Gradient.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

namespace gradient {
namespace {

// A stand-in for GetSysColor: a settable answer per index, and a record of the calls.
struct FakeSystemColors {
  static inline Color values[25] = {};
  static inline int calls = 0;
  static inline int lastIndex = -1;

  static Color Lookup(int index) {
    ++calls;
    lastIndex = index;
    return values[index];
  }

  static void Reset() {
    for (int i = 0; i < 25; ++i) {
      values[i] = 0x00010101U * static_cast<Color>(i + 1);
    }
    calls = 0;
    lastIndex = -1;
  }
};

class GradientTest : public ::testing::Test {
 protected:
  void SetUp() override { FakeSystemColors::Reset(); }

  static BandTable Build(Color top, Color last, Style style) {
    BandTable table{};
    BuildBandTable(table, top, last, style, &FakeSystemColors::Lookup);
    return table;
  }
};

constexpr Color Grey(unsigned level) { return level * 0x010101U; }

// ---- Colour splitting

struct SplitCase {
  Color color;
  std::uint8_t red, green, blue;
  int lookedUp;  // system-colour index expected to be read, or -1
};

TEST_F(GradientTest, SplitsBytesAndResolvesOnlySystemIndices) {
  FakeSystemColors::values[0] = 0x00C0B0A0U;
  FakeSystemColors::values[5] = 0x00FFFFFFU;
  FakeSystemColors::values[24] = 0xEE123456U;  // a top byte from the lookup is ignored as well
  const SplitCase cases[] = {
      {0x00112233U, 0x33, 0x22, 0x11, -1}, {0x00000000U, 0, 0, 0, -1},
      {0x1FFFFFFFU, 0xFF, 0xFF, 0xFF, -1},  // clNone
      {0xFF000005U, 0x05, 0x00, 0x00, -1}, {0x80000000U, 0xA0, 0xB0, 0xC0, 0},
      {0x80000005U, 0xFF, 0xFF, 0xFF, 5},  {0x80000018U, 0x56, 0x34, 0x12, 24},
      {0x80000019U, 0x19, 0x00, 0x00, -1},  // one past the last system colour: split as it is
      {0x8000FF05U, 0x05, 0xFF, 0x00, -1}, {0x7FFFFFFFU, 0xFF, 0xFF, 0xFF, -1},
      {0xFFFFFFFFU, 0xFF, 0xFF, 0xFF, -1},
  };
  for (const SplitCase& c : cases) {
    SCOPED_TRACE(::testing::Message() << std::hex << "color 0x" << c.color);
    FakeSystemColors::calls = 0;
    FakeSystemColors::lastIndex = -1;
    const Rgb rgb = SplitColor(c.color, &FakeSystemColors::Lookup);
    EXPECT_EQ(rgb.red, c.red);
    EXPECT_EQ(rgb.green, c.green);
    EXPECT_EQ(rgb.blue, c.blue);
    EXPECT_EQ(FakeSystemColors::calls, c.lookedUp < 0 ? 0 : 1);
    EXPECT_EQ(FakeSystemColors::lastIndex, c.lookedUp);
  }
}

// ---- Band colour table

TEST_F(GradientTest, InstallerTableStepsThroughEachGreyForThreeEntries) {
  const BandTable table = Build(0x444444, 0x999999, gsTopBottom);
  for (unsigned i = 0; i < 255; ++i) {
    EXPECT_EQ(table[i], Grey(0x44 + i / 3)) << "entry " << i;
  }
  EXPECT_EQ(table[252], 0x989898U);
  EXPECT_EQ(table[254], 0x989898U);
  EXPECT_EQ(table[255], 0x999999U);
}

TEST_F(GradientTest, InstallerRowsShowTheLastBandPaintedThere) {
  const BandTable table = Build(0x444444, 0x999999, gsTopBottom);
  const Color rows[] = {0x454545, 0x454545, 0x464646, 0x474747, 0x474747,
                        0x484848, 0x494949, 0x494949, 0x4A4A4A, 0x4B4B4B};
  for (int row = 0; row < 10; ++row) {
    const int band = RowBand(row, 121);
    ASSERT_GE(band, 0) << "row " << row;
    EXPECT_EQ(table[static_cast<std::size_t>(band)], rows[row]) << "row " << row;
  }
  EXPECT_EQ(RowBand(0, 121), 3);
  EXPECT_EQ(RowBand(120, 121), 255);
  EXPECT_EQ(table[static_cast<std::size_t>(RowBand(120, 121))], 0x999999U);
}

struct EntryCase {
  const char* what;
  Color top, last;
  Style style;
  int entry;
  Color expected;
};

// Entries where the accumulated rounding of the sequence decides the byte.
TEST_F(GradientTest, EntriesFollowTheAccumulatedRounding) {
  const EntryCase cases[] = {
      {"installer colours reversed, one below the exact 77", 0x444444, 0x999999, gsBottomTop, 228, 0x4C4C4C},
      {"installer colours right to left", 0x444444, 0x999999, gsRightLeft, 228, 0x4C4C4C},
      {"0 up to 17, exact 3", 0, 17, gsTopBottom, 45, 2},
      {"0 up to 17 in green", 0, 17 << 8, gsLeftRight, 45, 2 << 8},
      {"0 up to 17 in blue", 0, 17 << 16, gsTopBottom, 45, 2 << 16},
      {"153 down to 68, double would give 151", 153, 68, gsTopBottom, 3, 152},
      {"153 down to 68, exact 77", 153, 68, gsTopBottom, 228, 76},
      {"153 down to 68 in blue, swapped by the style", 68 << 16, 153 << 16, gsBottomTop, 228, 76 << 16},
      {"channels independent", 0x008000U, 0x118011U, gsTopBottom, 45, 0x028002U},
  };
  for (const EntryCase& c : cases) {
    SCOPED_TRACE(c.what);
    const BandTable table = Build(c.top, c.last, c.style);
    EXPECT_EQ(table[static_cast<std::size_t>(c.entry)], c.expected) << std::hex << table[c.entry];
  }
}

TEST_F(GradientTest, EndEntriesKeepTheEndColoursAndStyleSwapsThem) {
  const Color top = 0x80000005U, last = 0x1FFFFFFFU;
  struct {
    Style style;
    Color first, final;
  } const cases[] = {
      {gsTopBottom, top, last}, {gsLeftRight, top, last}, {gsBottomTop, last, top}, {gsRightLeft, last, top}};
  const BandTable forward = Build(top, last, gsTopBottom);
  const BandTable backward = Build(last, top, gsTopBottom);
  for (const auto& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.style));
    const BandTable table = Build(top, last, c.style);
    EXPECT_EQ(table[0], c.first);
    EXPECT_EQ(table[255], c.final);
    EXPECT_EQ(table, c.first == top ? forward : backward);
  }
  EXPECT_TRUE(StacksRows(gsTopBottom));
  EXPECT_TRUE(StacksRows(gsBottomTop));
  EXPECT_FALSE(StacksRows(gsLeftRight));
  EXPECT_FALSE(StacksRows(gsRightLeft));
}

TEST_F(GradientTest, EqualColoursGiveOneFlatColour) {
  FakeSystemColors::values[5] = 0x00ABCDEFU;
  const struct {
    Color color;
    Color flat;
  } cases[] = {{0x123456, 0x123456}, {0x80000005U, 0xABCDEF}, {0x1FFFFFFFU, 0xFFFFFF}, {0xFF010203U, 0x010203}, {0, 0},
               {0xFFFFFF, 0xFFFFFF}};
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << std::hex << "color 0x" << c.color);
    const BandTable table = Build(c.color, c.color, gsTopBottom);
    EXPECT_EQ(table[0], c.color);
    EXPECT_EQ(table[255], c.color);
    for (std::size_t i = 1; i < 255; ++i) {
      ASSERT_EQ(table[i], c.flat) << "entry " << i;
    }
  }
}

TEST_F(GradientTest, SystemColoursAreReadAtEveryBuild) {
  FakeSystemColors::values[1] = 0x000000;
  FakeSystemColors::values[2] = 0x0000FF;
  const BandTable before = Build(0x80000001U, 0x80000002U, gsTopBottom);
  FakeSystemColors::values[2] = 0xFF0000;
  const BandTable after = Build(0x80000001U, 0x80000002U, gsTopBottom);
  const BandTable literalBefore = Build(0x000000, 0x0000FF, gsTopBottom);
  const BandTable literalAfter = Build(0x000000, 0xFF0000, gsTopBottom);
  EXPECT_NE(before, after);
  for (std::size_t i = 1; i < 255; ++i) {
    EXPECT_EQ(before[i], literalBefore[i]) << "entry " << i;
    EXPECT_EQ(after[i], literalAfter[i]) << "entry " << i;
  }
  EXPECT_EQ(after[0], 0x80000001U);
  EXPECT_EQ(after[255], 0x80000002U);
}

TEST_F(GradientTest, NoneLeavesTheTableUntouched) {
  BandTable table;
  for (std::size_t i = 0; i < table.size(); ++i) {
    table[i] = 0xDEAD0000U + static_cast<Color>(i);
  }
  const BandTable before = table;
  BuildBandTable(table, 0x80000001U, 0x80000002U, gsNone, &FakeSystemColors::Lookup);
  EXPECT_EQ(table, before);
  EXPECT_EQ(FakeSystemColors::calls, 0);
}

// ---- Band geometry

TEST(GradientGeometryTest, BandsStartTogetherTouchOrOverlapAndReachTheFarEdge) {
  for (int size = 0; size <= 65535; ++size) {
    const int t = BandThickness(size);
    ASSERT_EQ(BandStart(0, size), 0);
    ASSERT_EQ(BandStart(1, size), 0);
    for (int i = 0; i < 255; ++i) {
      const int next = BandStart(i + 1, size);
      ASSERT_GE(next, BandStart(i, size)) << "size " << size << " band " << i;
      ASSERT_LE(next, BandStart(i, size) + t) << "gap at size " << size << " band " << i;
    }
    const int lastStart = BandStart(255, size);
    ASSERT_EQ(lastStart, 254 * size / 255);
    ASSERT_TRUE(lastStart + t == size || lastStart + t == size + 1) << "size " << size;
  }
}

TEST(GradientGeometryTest, SmallAndExactSizes) {
  EXPECT_EQ(BandThickness(0), 1);
  EXPECT_EQ(BandThickness(1), 1);
  EXPECT_EQ(BandThickness(121), 1);
  EXPECT_EQ(BandThickness(254), 1);
  EXPECT_EQ(BandThickness(255), 2);
  EXPECT_EQ(BandThickness(510), 3);
  for (int i = 0; i < kBands; ++i) {
    EXPECT_EQ(BandStart(i, 0), 0) << i;
    EXPECT_EQ(BandStart(i, 1), 0) << i;
    EXPECT_EQ(BandStart(i, 255), i == 0 ? 0 : i - 1) << i;
  }
  EXPECT_EQ(RowBand(0, 1), 255);
  for (int y = 0; y < 255; ++y) {
    EXPECT_EQ(RowBand(y, 255), y + 1) << "row " << y;
  }
  EXPECT_EQ(RowBand(255, 255), 255);  // the last band reaches one row past the edge
  EXPECT_EQ(RowBand(256, 255), -1);
  EXPECT_EQ(RowBand(-1, 121), -1);
}

TEST(GradientGeometryTest, RowBandIsTheLastBandCoveringTheRow) {
  for (int size : {0, 1, 2, 3, 100, 121, 241, 254, 255, 256, 509, 510, 511, 1000, 4097}) {
    const int t = BandThickness(size);
    for (int row = -1; row <= size + 2; ++row) {
      int last = -1;
      for (int band = 0; band < kBands; ++band) {
        const int start = BandStart(band, size);
        if (start <= row && row < start + t) {
          last = band;
        }
      }
      ASSERT_EQ(RowBand(row, size), last) << "size " << size << " row " << row;
    }
  }
}

// ---- Against the processor's own extended precision, where long double is that format

#if defined(__GNUC__) && (defined(__i386__) || defined(__x86_64__))
constexpr bool kX87LongDouble = std::numeric_limits<long double>::digits == 64;

// Sets the x87 unit to 64-bit precision and round-to-nearest for the scope (a runtime may have lowered it).
class ExtendedFpuScope {
 public:
  ExtendedFpuScope() {
    __asm__ __volatile__("fnstcw %0" : "=m"(saved_));
    const std::uint16_t extended = static_cast<std::uint16_t>((saved_ & ~0x0F00) | 0x0300);
    __asm__ __volatile__("fldcw %0" : : "m"(extended));
  }
  ~ExtendedFpuScope() { __asm__ __volatile__("fldcw %0" : : "m"(saved_)); }
  ExtendedFpuScope(const ExtendedFpuScope&) = delete;
  ExtendedFpuScope& operator=(const ExtendedFpuScope&) = delete;

 private:
  std::uint16_t saved_ = 0;
};
#else
constexpr bool kX87LongDouble = false;
class ExtendedFpuScope {};
#endif

#define REQUIRE_X87()                                                                         \
  if (!kX87LongDouble) {                                                                      \
    GTEST_SKIP() << "long double is not the x87 80-bit format here; nothing to compare with"; \
  }

// 1/255 computed at run time, after checking it has the bit pattern the integer sequence uses.
long double RuntimeReciprocal() {
  volatile long double one = 1.0L;
  volatile long double divisor = 255.0L;
  const long double q = one / divisor;
  unsigned char bytes[sizeof(long double)] = {};
  std::memcpy(bytes, &q, sizeof q);
  std::uint64_t significand = 0;
  std::memcpy(&significand, bytes, sizeof significand);
  const unsigned exponent = bytes[8] | (static_cast<unsigned>(bytes[9]) << 8);
  EXPECT_EQ(significand, 0x8080808080808081ULL);
  EXPECT_EQ(exponent, 16383U - 8U);  // value = significand * 2^-71
  return q;
}

void ReferenceChannel(int start, int end, long double q, unsigned* out) {
  const long double step = static_cast<long double>(start - end) * q;
  long double value = start;
  for (int i = 1; i < 255; ++i) {
    value -= step;
    out[i - 1] = static_cast<unsigned>(value);
  }
}

class GradientX87Test : public GradientTest {};

// Each channel walks every start/end pair once: red (s, e), green (e, s), blue (255 - s, 255 - e).
TEST_F(GradientX87Test, TableMatchesExtendedPrecisionForEveryPair) {
  REQUIRE_X87();
  ExtendedFpuScope fpu;
  const long double q = RuntimeReciprocal();
  ASSERT_FALSE(HasFailure());
  unsigned red[254], green[254], blue[254];
  int mismatches = 0;
  for (int s = 0; s < 256; ++s) {
    for (int e = 0; e < 256; ++e) {
      const Color top = static_cast<Color>(s | e << 8 | (255 - s) << 16);
      const Color last = static_cast<Color>(e | s << 8 | (255 - e) << 16);
      ReferenceChannel(s, e, q, red);
      ReferenceChannel(e, s, q, green);
      ReferenceChannel(255 - s, 255 - e, q, blue);
      const BandTable table = Build(top, last, gsTopBottom);
      bool same = table[0] == top && table[255] == last;
      for (int i = 1; i < 255; ++i) {
        same = same && table[static_cast<std::size_t>(i)] == red[i - 1] + 256 * green[i - 1] + 65536 * blue[i - 1];
      }
      if (!same && ++mismatches <= 5) {
        ADD_FAILURE() << "pair " << s << " -> " << e;
      }
    }
  }
  EXPECT_EQ(mismatches, 0);
}

TEST(GradientX87GeometryTest, IntegerFormulasMatchExtendedPrecision) {
  REQUIRE_X87();
  ExtendedFpuScope fpu;
  const long double q = RuntimeReciprocal();
  ASSERT_FALSE(::testing::Test::HasFailure());
  for (int size = 0; size <= 65535; ++size) {
    const long double k = static_cast<long double>(size) * q;
    ASSERT_EQ(BandThickness(size), static_cast<int>(k + 1)) << "size " << size;
    ASSERT_EQ(BandStart(0, size), 0);
    for (int i = 0; i < 255; ++i) {
      ASSERT_EQ(BandStart(i + 1, size), static_cast<int>(static_cast<long double>(i) * k))
          << "size " << size << " band " << i + 1;
    }
  }
}

}  // namespace
}  // namespace gradient
