// The emulation's own graphics: the built-in font, exact glyph and layout pixels, the record of drawn text, the
// classic palette and the object rules it follows where real implementations differ.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "winapi/emu/control.h"
#include "winapi/emu/state.h"
#include "winapi/winapi.h"

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kRed = RGB(255, 0, 0);

LOGFONTA Font(LONG height, LONG weight = FW_NORMAL) {
  LOGFONTA lf{};
  lf.lfHeight = height;
  lf.lfWeight = weight;
  lf.lfCharSet = SHIFTJIS_CHARSET;
  std::strcpy(lf.lfFaceName, "Test Face");
  return lf;
}

class EmuText : public ::testing::Test {
 protected:
  void SetUp() override {
    emu::Reset();
    dc_ = CreateCompatibleDC(nullptr);
    bitmap_ = CreateCompatibleBitmap(dc_, 60, 30);
    old_ = SelectObject(dc_, bitmap_);
    Fill(kWhite);
  }
  void TearDown() override {
    SelectObject(dc_, old_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
  }
  void Fill(COLORREF c) {
    HBRUSH b = CreateSolidBrush(c);
    RECT all{0, 0, 60, 30};
    FillRect(dc_, &all, b);
    DeleteObject(b);
  }
  // Selects a font that the fixture deletes.
  void Use(const LOGFONTA& lf) {
    font_ = CreateFontIndirectA(&lf);
    SelectObject(dc_, font_);
  }
  // Rows of the raster: '#' text colour (black), 'B' blue, '.' white.
  std::string Rows(int top, int bottom, int width = 60) {
    std::string out;
    for (int y = top; y < bottom; ++y) {
      out += '\n';
      for (int x = 0; x < width; ++x) {
        COLORREF c = GetPixel(dc_, x, y);
        out += c == kBlack ? '#' : c == kBlue ? 'B' : c == kWhite ? '.' : '?';
      }
    }
    return out;
  }
  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ old_ = nullptr;
  HFONT font_ = nullptr;
  void Release() {
    if (font_ != nullptr) {
      SelectObject(dc_, GetStockObject(SYSTEM_FONT));
      DeleteObject(font_);
      font_ = nullptr;
    }
  }
  ~EmuText() override { Release(); }
};

TEST(EmuFont, MetricsFollowTheHeightAndWeight) {
  struct Case {
    LONG height, weight;
    int h, ascent, single, dbl;
  };
  const Case cases[] = {
      {-12, FW_NORMAL, 12, 10, 6, 12}, {12, FW_NORMAL, 12, 10, 6, 12}, {0, FW_NORMAL, 12, 10, 6, 12},
      {-15, FW_NORMAL, 15, 12, 8, 15}, {16, FW_BOLD, 16, 13, 9, 17},   {-10, 900, 10, 8, 6, 11},
      {-9, 699, 9, 8, 5, 9},
  };
  for (const Case& c : cases) {
    emu::FontMetrics m = emu::MetricsOf(Font(c.height, c.weight));
    EXPECT_EQ(m.height, c.h) << c.height;
    EXPECT_EQ(m.ascent, c.ascent) << c.height;
    EXPECT_EQ(m.singleWidth, c.single) << c.height;
    EXPECT_EQ(m.doubleWidth, c.dbl) << c.height;
  }
}

TEST_F(EmuText, TextMetricsDescribeTheSelectedFont) {
  Use(Font(-15, FW_BOLD));
  TEXTMETRICA tm{};
  ASSERT_NE(GetTextMetricsA(dc_, &tm), FALSE);
  EXPECT_EQ(tm.tmHeight, 15);
  EXPECT_EQ(tm.tmAscent, 12);
  EXPECT_EQ(tm.tmDescent, 3);
  EXPECT_EQ(tm.tmInternalLeading, 0);
  EXPECT_EQ(tm.tmExternalLeading, 0);
  EXPECT_EQ(tm.tmAveCharWidth, 9);
  EXPECT_EQ(tm.tmMaxCharWidth, 16);
  EXPECT_EQ(tm.tmWeight, FW_BOLD);
  EXPECT_EQ(tm.tmCharSet, SHIFTJIS_CHARSET);
  SIZE size{};
  GetTextExtentPoint32A(dc_, "ab\x82\xa0", 4, &size);  // two single-byte characters and one double-byte
  EXPECT_EQ(size.cx, 9 + 9 + 16);
  EXPECT_EQ(size.cy, 15);
  // A lead byte with nothing after it counts as a single-byte character.
  GetTextExtentPoint32A(dc_, "a\x82", 2, &size);
  EXPECT_EQ(size.cx, 18);
}

TEST_F(EmuText, ANewDcUsesTheBoldSystemFont) {
  RECT r{0, 0, 60, 30};
  DrawTextA(dc_, "x", -1, &r, 0);
  ASSERT_EQ(emu::TextCalls().size(), 1u);
  const LOGFONTA& f = emu::TextCalls()[0].font;
  EXPECT_EQ(f.lfHeight, 16);
  EXPECT_EQ(f.lfWeight, FW_BOLD);
  EXPECT_STREQ(f.lfFaceName, "System");
}

TEST_F(EmuText, GlyphsAreBlocksInTheirCells) {
  Use(Font(-10));  // height 10, ascent 8, cells 5 and 10 wide
  SetBkMode(dc_, TRANSPARENT);
  RECT r{2, 3, 60, 30};
  DrawTextA(dc_, "A b\x82\xa0", -1, &r, DT_NOPREFIX);
  // Ink from ascent - 6 to the ascent (rows 5..10), one pixel in from each side of the cell; blanks show nothing.
  EXPECT_EQ(Rows(3, 14, 30),
            "\n.............................."
            "\n.............................."
            "\n...###.......###..########...."
            "\n...###.......###..########...."
            "\n...###.......###..########...."
            "\n...###.......###..########...."
            "\n...###.......###..########...."
            "\n...###.......###..########...."
            "\n.............................."
            "\n.............................."
            "\n..............................");
}

TEST_F(EmuText, OpaqueCellsAndThePrefixUnderline) {
  Use(Font(-10));
  SetBkColor(dc_, kBlue);
  RECT r{2, 3, 60, 30};
  DrawTextA(dc_, "a&b", -1, &r, 0);
  EXPECT_EQ(Rows(3, 14, 16),
            "\n..BBBBBBBBBB...."
            "\n..BBBBBBBBBB...."
            "\n..B###BB###B...."
            "\n..B###BB###B...."
            "\n..B###BB###B...."
            "\n..B###BB###B...."
            "\n..B###BB###B...."
            "\n..B###BB###B...."
            "\n..BBBBBBBBBB...."
            "\n..BBBBB#####...."  // one row below the baseline, under the marked character's cell
            "\n................");
}

TEST_F(EmuText, LayoutInExactPixels) {
  Use(Font(-10));  // cells 5 wide, lines 10 high
  struct Case {
    const char* name;
    const char* text;
    RECT rect;
    UINT format;
    std::vector<RECT> boxes;  // the opaque background it paints
    int result;
  };
  const Case cases[] = {
      {"left", "abc", {4, 2, 40, 28}, 0, {{4, 2, 19, 12}}, 10},
      {"centre", "abc", {4, 2, 40, 28}, DT_CENTER, {{14, 2, 29, 12}}, 10},  // 4 + (36 - 15) / 2
      {"right", "abc", {4, 2, 40, 28}, DT_RIGHT, {{25, 2, 40, 12}}, 10},
      {"middle", "abc", {4, 2, 40, 27}, DT_SINGLELINE | DT_VCENTER, {{4, 9, 19, 19}}, 17},  // 2 + 25 / 2 - 10 / 2
      {"bottom", "abc", {4, 2, 40, 27}, DT_SINGLELINE | DT_BOTTOM, {{4, 17, 19, 27}}, 25},
      // "ab cd " fits with its blank; "ab cd" alone would, but then the blank after it does not.
      {"wrapped", "ab cd ef", {4, 2, 34, 30}, DT_WORDBREAK, {{4, 2, 34, 12}, {4, 12, 14, 22}}, 20},
      {"wrapped tight", "ab cd ef", {4, 2, 32, 30}, DT_WORDBREAK, {{4, 2, 19, 12}, {4, 12, 29, 22}}, 20},
      {"wrapped right", "ab cd ef", {4, 2, 32, 30}, DT_WORDBREAK | DT_RIGHT, {{22, 2, 32, 12}, {7, 12, 32, 22}}, 20},
      {"long word", "abcdefgh ij", {4, 2, 14, 30}, DT_WORDBREAK | DT_NOCLIP, {{4, 2, 44, 12}, {4, 12, 14, 22}}, 20},
      {"long word broken",
       "abcdefgh",
       {4, 2, 14, 30},
       DT_WORDBREAK | DT_EDITCONTROL,
       {{4, 2, 14, 12}, {4, 12, 14, 22}, {4, 22, 14, 30}},
       40},
      {"tab", "a\tb", {0, 0, 60, 30}, DT_EXPANDTABS, {{0, 0, 45, 10}}, 10},
      {"clipped", "abcdefgh", {4, 2, 21, 9}, 0, {{4, 2, 21, 9}}, 10},
      {"lines", "a\r\nbc\nd", {4, 2, 40, 30}, 0, {{4, 2, 9, 12}, {4, 12, 14, 22}, {4, 22, 9, 30}}, 30},
  };
  for (const Case& c : cases) {
    Fill(kWhite);
    SetBkColor(dc_, kBlue);
    SetTextColor(dc_, kBlue);
    RECT r = c.rect;
    EXPECT_EQ(DrawTextA(dc_, c.text, -1, &r, c.format), c.result) << c.name;
    std::string expected;
    for (int y = 0; y < 30; ++y) {
      expected += '\n';
      for (int x = 0; x < 60; ++x) {
        bool in = false;
        for (const RECT& b : c.boxes) in = in || (x >= b.left && x < b.right && y >= b.top && y < b.bottom);
        expected += in ? 'B' : '.';
      }
    }
    EXPECT_EQ(Rows(0, 30), expected) << c.name;
  }
}

TEST_F(EmuText, EveryDrawIsRecordedWithTheDcState) {
  Use(Font(-12, FW_BOLD));
  SetTextColor(dc_, kRed);
  SetBkColor(dc_, kBlue);
  SetBkMode(dc_, TRANSPARENT);
  SetViewportOrgEx(dc_, 5, 6, nullptr);
  SetWindowOrgEx(dc_, 1, 1, nullptr);
  IntersectClipRect(dc_, 0, 0, 20, 10);
  RECT r{1, 2, 30, 20};
  DrawTextA(dc_, "caption&x", 7, &r, DT_CENTER | DT_SINGLELINE);
  RECT measured{0, 0, 50, 50};
  DrawTextA(dc_, "measured only", -1, &measured, DT_CALCRECT);
  RECT second{0, 0, 10, 10};
  DrawTextA(dc_, "", -1, &second, 0);
  ASSERT_EQ(emu::TextCalls().size(), 2u);
  const emu::TextCall& call = emu::TextCalls()[0];
  EXPECT_EQ(call.window, nullptr);
  EXPECT_EQ(call.text, "caption");
  EXPECT_EQ(call.rect.left, 1);
  EXPECT_EQ(call.rect.bottom, 20);
  EXPECT_EQ(call.format, static_cast<UINT>(DT_CENTER | DT_SINGLELINE));
  EXPECT_EQ(call.textColor, kRed);
  EXPECT_EQ(call.bkColor, kBlue);
  EXPECT_EQ(call.bkMode, TRANSPARENT);
  EXPECT_EQ(call.font.lfHeight, -12);
  EXPECT_EQ(call.font.lfWeight, FW_BOLD);
  EXPECT_STREQ(call.font.lfFaceName, "Test Face");
  EXPECT_EQ(call.origin.x, 4);
  EXPECT_EQ(call.origin.y, 5);
  EXPECT_EQ(call.clip.left, 4);
  EXPECT_EQ(call.clip.top, 5);
  EXPECT_EQ(call.clip.right, 24);
  EXPECT_EQ(call.clip.bottom, 15);
  EXPECT_EQ(emu::TextCalls()[1].text, "");
  emu::ClearTextCalls();
  EXPECT_TRUE(emu::TextCalls().empty());
}

TEST_F(EmuText, ADrawOnAWindowDcNamesTheWindow) {
  HDC screen = GetDC(nullptr);
  RECT r{0, 0, 10, 10};
  DrawTextA(screen, "x", -1, &r, 0);
  ReleaseDC(nullptr, screen);
  ASSERT_EQ(emu::TextCalls().size(), 1u);
  EXPECT_EQ(emu::TextCalls()[0].window, GetDesktopWindow());
}

TEST_F(EmuText, ResetForgetsTheRecord) {
  RECT r{0, 0, 10, 10};
  DrawTextA(dc_, "x", -1, &r, 0);
  ASSERT_FALSE(emu::TextCalls().empty());
  emu::Reset();  // the fixture's handles die with it; cleaning up after them is harmless
  EXPECT_TRUE(emu::TextCalls().empty());
}

TEST(EmuPalette, ClassicSystemColours) {
  const COLORREF expected[] = {0xC0C0C0, 0x808000, 0x800000, 0x808080, 0xC0C0C0, 0xFFFFFF, 0x000000, 0x000000, 0x000000,
                               0xFFFFFF, 0xC0C0C0, 0xC0C0C0, 0x808080, 0x800000, 0xFFFFFF, 0xC0C0C0, 0x808080, 0x808080,
                               0x000000, 0xC0C0C0, 0xFFFFFF, 0x000000, 0xC0C0C0, 0x000000, 0xE1FFFF};
  for (int i = 0; i <= COLOR_INFOBK; ++i) EXPECT_EQ(GetSysColor(i), expected[i]) << i;
  EXPECT_EQ(GetSysColor(-1), 0u);
  EXPECT_EQ(GetSysColor(25), 0u);
  EXPECT_EQ(GetSysColorBrush(25), nullptr);
}

TEST(EmuObjects, ASelectedObjectCannotBeDeleted) {
  emu::Reset();
  HDC dc = CreateCompatibleDC(nullptr);
  HPEN pen = CreatePen(PS_SOLID, 1, kRed);
  HBITMAP bitmap = CreateCompatibleBitmap(dc, 4, 4);
  HGDIOBJ oldPen = SelectObject(dc, pen);
  HGDIOBJ oldBitmap = SelectObject(dc, bitmap);
  EXPECT_EQ(DeleteObject(pen), FALSE);
  EXPECT_EQ(DeleteObject(bitmap), FALSE);
  SelectObject(dc, oldPen);
  // A saved state holds its objects too: restoring it brings them back.
  int saved = SaveDC(dc);
  SelectObject(dc, pen);
  SelectObject(dc, oldPen);
  EXPECT_NE(saved, 0);
  HBRUSH brush = CreateSolidBrush(kBlue);
  SelectObject(dc, brush);
  SaveDC(dc);
  SelectObject(dc, GetStockObject(WHITE_BRUSH));
  EXPECT_EQ(DeleteObject(brush), FALSE);
  RestoreDC(dc, saved);
  EXPECT_EQ(SelectObject(dc, GetStockObject(WHITE_BRUSH)), GetStockObject(WHITE_BRUSH));
  EXPECT_NE(DeleteObject(brush), FALSE);
  EXPECT_NE(DeleteObject(pen), FALSE);
  EXPECT_EQ(SelectObject(dc, oldBitmap), bitmap);
  EXPECT_NE(DeleteObject(bitmap), FALSE);
  EXPECT_NE(DeleteDC(dc), FALSE);
}

TEST(EmuObjects, HandlesDieWithTheWorld) {
  emu::Reset();
  HDC dc = CreateCompatibleDC(nullptr);
  HPEN pen = CreatePen(PS_SOLID, 1, kRed);
  emu::Reset();
  EXPECT_EQ(emu::FromHandle(dc), nullptr);
  EXPECT_EQ(emu::FromHandle(static_cast<HGDIOBJ>(pen)), nullptr);
  EXPECT_NE(emu::FromHandle(GetStockObject(BLACK_PEN)), nullptr);
  HDC again = CreateCompatibleDC(nullptr);
  EXPECT_NE(again, dc);  // never reused
  DeleteDC(again);
}

TEST(EmuSurface, ResizeKeepsTheOverlapAndFillsTheRest) {
  emu::Surface s;
  s.Resize(2, 2, kRed);
  *s.At(1, 1) = kBlue;
  s.Resize(3, 2, kWhite);
  EXPECT_EQ(*s.At(0, 0), kRed);
  EXPECT_EQ(*s.At(1, 1), kBlue);
  EXPECT_EQ(*s.At(2, 1), kWhite);
  s.Resize(1, 1, kBlack);
  EXPECT_EQ(*s.At(0, 0), kRed);
  EXPECT_EQ(s.pixels.size(), 1u);
}

}  // namespace
