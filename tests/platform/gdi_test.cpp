// Pixel rules of the graphics device that hold alike on the emulation and on the real GDI.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "canvas.h"
#include "winapi/winapi.h"

namespace {

using namespace canvas;

constexpr COLORREF kInvertMask = 0x00FFFFFF;

using Clipping = FreshWorld;
using DcState = FreshWorld;
using FocusRects = FreshWorld;
using FillRects = FreshWorld;
using FrameRects = FreshWorld;
using Lines = FreshWorld;
using MemoryDc = FreshWorld;
using Objects = FreshWorld;
using Rectangles = FreshWorld;
using Rects = FreshWorld;
using SystemColours = FreshWorld;

HBRUSH ColorNumberBrush(int index) { return reinterpret_cast<HBRUSH>(static_cast<std::intptr_t>(index + 1)); }

// ---- Rectangle arithmetic

TEST_F(Rects, IntersectGivesTheOverlapOrTheEmptyRectangle) {
  struct Case {
    const char* name;
    RECT a, b, expected;
    BOOL overlap;
  };
  const Case cases[] = {
      {"overlap", {0, 0, 10, 10}, {5, 3, 15, 8}, {5, 3, 10, 8}, TRUE},
      {"contained", {0, 0, 10, 10}, {2, 2, 4, 4}, {2, 2, 4, 4}, TRUE},
      {"touching edges share nothing", {0, 0, 10, 10}, {10, 0, 20, 10}, {0, 0, 0, 0}, FALSE},
      {"apart", {0, 0, 5, 5}, {7, 7, 9, 9}, {0, 0, 0, 0}, FALSE},
      {"empty operand", {0, 0, 10, 10}, {3, 3, 3, 8}, {0, 0, 0, 0}, FALSE},
      {"inverted operand", {0, 0, 10, 10}, {8, 8, 2, 2}, {0, 0, 0, 0}, FALSE},
  };
  for (const Case& c : cases) {
    RECT out{-1, -1, -1, -1};
    EXPECT_EQ(IntersectRect(&out, &c.a, &c.b) != FALSE, c.overlap != FALSE) << c.name;
    EXPECT_TRUE(EqualRect(&out, &c.expected))
        << c.name << ": " << out.left << "," << out.top << "," << out.right << "," << out.bottom;
  }
}

TEST_F(Rects, PointsOnTheRightAndBottomEdgesAreOutside) {
  RECT r{2, 3, 6, 8};
  struct Case {
    POINT p;
    bool inside;
  };
  const Case cases[] = {{{2, 3}, true},  {{5, 7}, true},  {{6, 5}, false},
                        {{4, 8}, false}, {{1, 5}, false}, {{4, 2}, false}};
  for (const Case& c : cases) EXPECT_EQ(PtInRect(&r, c.p) != FALSE, c.inside) << c.p.x << "," << c.p.y;
}

TEST_F(Rects, SetOffsetInflateAndEmptiness) {
  RECT r;
  SetRect(&r, 1, 2, 5, 9);
  OffsetRect(&r, 3, -2);
  RECT moved{4, 0, 8, 7};
  EXPECT_TRUE(EqualRect(&r, &moved));
  InflateRect(&r, -1, 2);
  RECT inflated{5, -2, 7, 9};
  EXPECT_TRUE(EqualRect(&r, &inflated));
  EXPECT_FALSE(IsRectEmpty(&r));
  InflateRect(&r, -1, 0);
  EXPECT_TRUE(IsRectEmpty(&r));  // zero width
  RECT inverted{5, 5, 1, 9};
  EXPECT_TRUE(IsRectEmpty(&inverted));
  SetRectEmpty(&r);
  RECT zero{0, 0, 0, 0};
  EXPECT_TRUE(EqualRect(&r, &zero));
  RECT other{0, 0, 0, 1};
  EXPECT_FALSE(EqualRect(&r, &other));
}

// ---- Memory DCs, bitmaps and objects

TEST_F(MemoryDc, DrawsOnOnePixelUntilABitmapIsSelected) {
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  RECT box;
  EXPECT_EQ(GetClipBox(dc, &box), SIMPLEREGION);
  RECT one{0, 0, 1, 1};
  EXPECT_TRUE(EqualRect(&box, &one));
  HBITMAP bitmap = CreateCompatibleBitmap(screen, 5, 3);
  HGDIOBJ old = SelectObject(dc, bitmap);
  ASSERT_NE(old, nullptr);
  EXPECT_EQ(GetClipBox(dc, &box), SIMPLEREGION);
  RECT all{0, 0, 5, 3};
  EXPECT_TRUE(EqualRect(&box, &all));
  // A new bitmap is black, and there is nothing to read beyond it.
  EXPECT_EQ(GetPixel(dc, 0, 0), kBlack);
  EXPECT_EQ(GetPixel(dc, 4, 2), kBlack);
  EXPECT_EQ(GetPixel(dc, 5, 0), CLR_INVALID);
  EXPECT_EQ(GetPixel(dc, 0, 3), CLR_INVALID);
  EXPECT_EQ(GetPixel(dc, -1, 0), CLR_INVALID);
  EXPECT_EQ(SelectObject(dc, old), bitmap);
  DeleteObject(bitmap);
  DeleteDC(dc);
  ReleaseDC(nullptr, screen);
}

TEST_F(MemoryDc, StartsWithTheStockPenBrushAndFontAndDefaultColours) {
  Canvas canvas(4, 4);
  HDC dc = canvas.dc();
  HPEN pen = CreatePen(PS_SOLID, 1, kRed);
  EXPECT_EQ(SelectObject(dc, pen), GetStockObject(BLACK_PEN));
  SelectObject(dc, GetStockObject(BLACK_PEN));
  EXPECT_EQ(SelectObject(dc, GetStockObject(NULL_BRUSH)), GetStockObject(WHITE_BRUSH));
  SelectObject(dc, GetStockObject(WHITE_BRUSH));
  EXPECT_EQ(SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT)), GetStockObject(SYSTEM_FONT));
  SelectObject(dc, GetStockObject(SYSTEM_FONT));
  DeleteObject(pen);
  EXPECT_EQ(GetBkMode(dc), OPAQUE);
  EXPECT_EQ(GetBkColor(dc), kWhite);
  EXPECT_EQ(GetTextColor(dc), kBlack);
  EXPECT_EQ(GetDeviceCaps(dc, LOGPIXELSX), 96);
  EXPECT_EQ(GetDeviceCaps(dc, LOGPIXELSY), 96);
}

TEST_F(MemoryDc, SetAndGetPixel) {
  Canvas canvas(4, 4);
  EXPECT_EQ(SetPixel(canvas.dc(), 1, 2, RGB(1, 2, 3)), RGB(1, 2, 3));
  EXPECT_EQ(canvas.At(1, 2), RGB(1, 2, 3));
  EXPECT_EQ(canvas.At(2, 1), kWhite);
}

TEST_F(Objects, SelectObjectHandsBackThePreviousObjectOfTheSameKind) {
  Canvas canvas(4, 4);
  HDC dc = canvas.dc();
  HPEN a = CreatePen(PS_SOLID, 1, kRed);
  HPEN b = CreatePen(PS_DASH, 1, kBlue);
  HBRUSH brush = CreateSolidBrush(kBlue);
  HGDIOBJ stockPen = SelectObject(dc, a);
  EXPECT_EQ(SelectObject(dc, brush), GetStockObject(WHITE_BRUSH));  // a brush leaves the pen alone
  EXPECT_EQ(SelectObject(dc, b), a);
  EXPECT_EQ(SelectObject(dc, stockPen), b);
  SelectObject(dc, GetStockObject(WHITE_BRUSH));
  EXPECT_NE(DeleteObject(a), FALSE);
  EXPECT_NE(DeleteObject(b), FALSE);
  EXPECT_NE(DeleteObject(brush), FALSE);
  // A deleted object's handle is dead.
  EXPECT_EQ(SelectObject(dc, a), nullptr);
  EXPECT_EQ(DeleteObject(a), FALSE);
}

TEST_F(Objects, StockObjectsSurviveDeletion) {
  Canvas canvas(4, 4);
  EXPECT_NE(DeleteObject(GetStockObject(BLACK_BRUSH)), FALSE);
  EXPECT_NE(DeleteObject(GetSysColorBrush(COLOR_BTNFACE)), FALSE);
  RECT r{0, 0, 2, 2};
  FillRect(canvas.dc(), &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  EXPECT_EQ(canvas.At(1, 1), kBlack);
  FillRect(canvas.dc(), &r, GetSysColorBrush(COLOR_BTNFACE));
  EXPECT_EQ(canvas.At(1, 1), GetSysColor(COLOR_BTNFACE));
}

TEST_F(Objects, APenStillDrawsAfterAnAttemptToDeleteItWhileSelected) {
  // Windows refuses the deletion, others defer it: either way the DC keeps drawing with the pen.
  Canvas canvas(6, 3);
  HPEN pen = CreatePen(PS_SOLID, 1, kRed);
  HGDIOBJ old = SelectObject(canvas.dc(), pen);
  DeleteObject(pen);
  MoveToEx(canvas.dc(), 0, 1, nullptr);
  LineTo(canvas.dc(), 6, 1);
  EXPECT_EQ(canvas.At(3, 1), kRed);
  SelectObject(canvas.dc(), old);
  DeleteObject(pen);
}

TEST_F(Objects, ABitmapLivesInOneDcAtATime) {
  Canvas canvas(4, 4);
  HDC other = CreateCompatibleDC(canvas.dc());
  HBITMAP bitmap = CreateCompatibleBitmap(canvas.dc(), 2, 2);
  HGDIOBJ old = SelectObject(other, bitmap);
  HDC third = CreateCompatibleDC(canvas.dc());
  EXPECT_EQ(SelectObject(third, bitmap), nullptr);
  SelectObject(other, old);
  EXPECT_NE(SelectObject(third, bitmap), nullptr);
  DeleteDC(third);
  DeleteDC(other);
  DeleteObject(bitmap);
}

TEST_F(SystemColours, BrushesPaintTheirColourAndUnknownIndicesGiveNothing) {
  Canvas canvas(2, 2);
  for (int i = COLOR_SCROLLBAR; i <= COLOR_INFOBK; ++i) {
    RECT r{0, 0, 2, 2};
    canvas.Fill(kRed ^ GetSysColor(i));  // never the colour itself
    FillRect(canvas.dc(), &r, GetSysColorBrush(i));
    EXPECT_EQ(canvas.At(1, 1), GetSysColor(i)) << "index " << i;
  }
  EXPECT_EQ(GetSysColor(99), 0u);
  EXPECT_EQ(GetSysColorBrush(99), nullptr);
}

// ---- FillRect and FrameRect

TEST_F(FillRects, FillsLeftAndTopInclusiveRightAndBottomExclusive) {
  struct Case {
    const char* name;
    RECT rect;
    RECT covered;  // in the 10 x 8 canvas
  };
  const Case cases[] = {
      {"plain", {2, 2, 6, 5}, {2, 2, 6, 5}},
      {"one pixel", {3, 3, 4, 4}, {3, 3, 4, 4}},
      {"no width", {3, 1, 3, 6}, {0, 0, 0, 0}},
      {"no height", {1, 4, 8, 4}, {0, 0, 0, 0}},
      // Given inverted, the cells mirrored at the first corner are filled, that corner's cell included.
      {"inverted", {6, 5, 2, 2}, {3, 3, 7, 6}},
      {"inverted across", {6, 2, 2, 5}, {3, 2, 7, 5}},
      {"inverted down", {2, 5, 6, 2}, {2, 3, 6, 6}},
      {"partly off the surface", {-3, -2, 2, 3}, {0, 0, 2, 3}},
      {"past the far edges", {7, 5, 20, 20}, {7, 5, 10, 8}},
  };
  HBRUSH red = CreateSolidBrush(kRed);
  for (const Case& c : cases) {
    Canvas canvas(10, 8);
    EXPECT_NE(FillRect(canvas.dc(), &c.rect, red), 0) << c.name;
    EXPECT_EQ(canvas.Picture(), Draw(10, 8, [&](int x, int y) { return Inside(c.covered, x, y) ? 'R' : '.'; }))
        << c.name;
  }
  DeleteObject(red);
}

TEST_F(FillRects, HollowBrushLeavesThePixels) {
  Canvas canvas(6, 6);
  RECT r{1, 1, 5, 5};
  EXPECT_NE(FillRect(canvas.dc(), &r, static_cast<HBRUSH>(GetStockObject(NULL_BRUSH))), 0);
  EXPECT_EQ(canvas.Picture(), Draw(6, 6, [](int, int) { return '.'; }));
}

TEST_F(FillRects, AColourNumberPlusOneStandsForTheSystemColour) {
  for (int index : {COLOR_BTNFACE, COLOR_WINDOWTEXT, COLOR_HIGHLIGHT, COLOR_INFOBK}) {
    Canvas canvas(4, 4, kRed ^ GetSysColor(index));
    RECT r{1, 1, 3, 3};
    FillRect(canvas.dc(), &r, ColorNumberBrush(index));
    EXPECT_EQ(canvas.At(1, 1), GetSysColor(index)) << index;
    EXPECT_EQ(canvas.At(2, 2), GetSysColor(index)) << index;
    EXPECT_EQ(canvas.At(3, 3), kRed ^ GetSysColor(index)) << index;
  }
}

TEST_F(FrameRects, DrawsTheOnePixelBorderInsideTheRectangle) {
  struct Case {
    const char* name;
    RECT rect;
    bool drawn;
  };
  const Case cases[] = {
      {"plain", {1, 1, 8, 6}, true},      {"one pixel", {1, 1, 2, 2}, true}, {"one row", {1, 1, 8, 2}, true},
      {"one column", {2, 1, 3, 7}, true}, {"no width", {1, 1, 1, 4}, false}, {"inverted", {8, 6, 1, 1}, false},
  };
  HBRUSH red = CreateSolidBrush(kRed);
  for (const Case& c : cases) {
    Canvas canvas(10, 8);
    EXPECT_EQ(FrameRect(canvas.dc(), &c.rect, red) != 0, c.drawn) << c.name;
    const RECT& r = c.rect;
    EXPECT_EQ(canvas.Picture(), Draw(10, 8,
                                     [&](int x, int y) {
                                       bool border = Inside(r, x, y) && (x == r.left || x == r.right - 1 ||
                                                                         y == r.top || y == r.bottom - 1);
                                       return c.drawn && border ? 'R' : '.';
                                     }))
        << c.name;
  }
  DeleteObject(red);
}

// ---- DrawFocusRect

// The frame is walked from its top-right corner with every other pixel inverted; a frame at least two pixels wide
// and high visits each pixel once, so the inverted ones are those of one checkerboard parity.
std::string FocusPicture(int w, int h, const RECT& r) {
  return Draw(w, h, [&](int x, int y) {
    bool border = Inside(r, x, y) && (x == r.left || x == r.right - 1 || y == r.top || y == r.bottom - 1);
    bool parity = (x + y) % 2 == (r.right - 1 + r.top) % 2;
    return border && parity ? '#' : '.';
  });
}

TEST_F(FocusRects, InvertsEveryOtherPixelOfTheFrame) {
  const RECT cases[] = {{1, 1, 9, 7}, {1, 1, 8, 6}, {0, 0, 10, 8}, {2, 2, 4, 4}, {1, 1, 12, 3}, {1, 1, 3, 6}};
  for (const RECT& r : cases) {
    Canvas canvas(14, 8);
    EXPECT_NE(DrawFocusRect(canvas.dc(), &r), FALSE);
    EXPECT_EQ(canvas.Picture(), FocusPicture(14, 8, r)) << r.left << "," << r.top << "," << r.right << "," << r.bottom;
  }
}

TEST_F(FocusRects, InvertedCoordinatesDrawTheSameFrame) {
  Canvas a(10, 8), b(10, 8);
  RECT normal{1, 1, 8, 6}, inverted{8, 6, 1, 1};
  DrawFocusRect(a.dc(), &normal);
  DrawFocusRect(b.dc(), &inverted);
  EXPECT_EQ(a.Picture(), b.Picture());
}

TEST_F(FocusRects, OnePixelThinFramesAreWalkedTwice) {
  // Going out and back along a single row or column inverts the middle pixels twice.
  struct Case {
    RECT rect;
    std::vector<POINT> inverted;
  };
  const Case cases[] = {
      {{1, 1, 2, 6}, {{1, 1}, {1, 5}}},
      {{1, 1, 8, 2}, {{1, 1}, {7, 1}}},
      {{2, 2, 3, 3}, {}},
  };
  for (const Case& c : cases) {
    Canvas canvas(10, 8);
    DrawFocusRect(canvas.dc(), &c.rect);
    EXPECT_EQ(canvas.Picture(), Draw(10, 8,
                                     [&](int x, int y) {
                                       for (POINT p : c.inverted)
                                         if (p.x == x && p.y == y) return '#';
                                       return '.';
                                     }))
        << c.rect.left << "," << c.rect.top << "," << c.rect.right << "," << c.rect.bottom;
  }
}

TEST_F(FocusRects, InvertsWhateverIsThereAndASecondCallUndoesIt) {
  Canvas canvas(10, 8, kBlue);
  SetTextColor(canvas.dc(), kRed);  // colours of the DC play no part
  SetBkColor(canvas.dc(), kBlack);
  RECT r{1, 1, 9, 7};
  DrawFocusRect(canvas.dc(), &r);
  EXPECT_EQ(canvas.At(2, 1), kBlue ^ kInvertMask);
  EXPECT_EQ(canvas.At(1, 1), kBlue);
  DrawFocusRect(canvas.dc(), &r);
  EXPECT_EQ(canvas.Picture(), Draw(10, 8, [](int, int) { return 'B'; }));
}

// ---- Lines

TEST_F(Lines, LineToStopsBeforeItsEndAndMovesThePosition) {
  Canvas canvas(10, 8);
  HDC dc = canvas.dc();
  POINT old{-1, -1};
  MoveToEx(dc, 1, 1, nullptr);
  LineTo(dc, 8, 1);
  LineTo(dc, 8, 6);
  LineTo(dc, 1, 6);
  LineTo(dc, 1, 1);
  MoveToEx(dc, 0, 0, &old);
  EXPECT_EQ(old.x, 1);
  EXPECT_EQ(old.y, 1);
  RECT ring{1, 1, 9, 7};
  EXPECT_EQ(canvas.Picture(), Draw(10, 8, [&](int x, int y) {
              bool border = Inside(ring, x, y) && (x == 1 || x == 8 || y == 1 || y == 6);
              return border ? '#' : '.';
            }));
  // A single LineTo leaves its end pixel.
  Canvas single(6, 3);
  MoveToEx(single.dc(), 0, 1, nullptr);
  LineTo(single.dc(), 4, 1);
  EXPECT_EQ(single.Picture(), Draw(6, 3, [](int x, int y) { return y == 1 && x < 4 ? '#' : '.'; }));
}

// The three-dimensional frame: ring k of width n uses the corners moved in by k; the top colour runs up the left
// side and along the top, the bottom colour down the right side and back along the bottom.
void Frame3D(HDC dc, RECT r, COLORREF top, COLORREF bottom, int width) {
  HPEN topPen = CreatePen(PS_SOLID, 1, top);
  HPEN bottomPen = CreatePen(PS_SOLID, 1, bottom);
  HGDIOBJ old = SelectObject(dc, topPen);
  for (int k = 0; k < width; ++k) {
    int x0 = r.left + k, y0 = r.top + k, x1 = r.right - 1 - k, y1 = r.bottom - 1 - k;
    POINT a[] = {{x0, y1}, {x0, y0}, {x1, y0}};
    SelectObject(dc, topPen);
    Polyline(dc, a, 3);
    POINT z[] = {{x1, y0}, {x1, y1}, {x0 - 1, y1}};
    SelectObject(dc, bottomPen);
    Polyline(dc, z, 3);
  }
  SelectObject(dc, old);
  DeleteObject(topPen);
  DeleteObject(bottomPen);
}

TEST_F(Lines, ThreeDimensionalFrameHasTheCornersOfTheBottomColour) {
  for (int width : {1, 2}) {
    Canvas canvas(14, 12);
    RECT r{1, 1, 13, 11};
    Frame3D(canvas.dc(), r, kRed, kBlue, width);
    EXPECT_EQ(canvas.Picture(), Draw(14, 12,
                                     [&](int x, int y) {
                                       for (int k = 0; k < width; ++k) {
                                         int x0 = r.left + k, y0 = r.top + k, x1 = r.right - 1 - k,
                                             y1 = r.bottom - 1 - k;
                                         if ((x == x1 && y >= y0 && y <= y1) || (y == y1 && x >= x0 && x <= x1))
                                           return 'B';
                                         if ((x == x0 && y >= y0 && y < y1) || (y == y0 && x >= x0 && x < x1))
                                           return 'R';
                                       }
                                       return '.';
                                     }))
        << "width " << width;
  }
}

TEST_F(Lines, SlopedLinesTakeTheNearestPixelWithTiesToTheSmallerCoordinate) {
  // Every octant, with exact ties (slopes 1/2, 2) and without.
  const POINT deltas[] = {{8, 4},  {8, -4},  {-8, 4},  {-8, -4},  {4, 8},  {4, -8},  {-4, 8},  {-4, -8},
                          {10, 3}, {-10, 3}, {10, -3}, {-10, -3}, {3, 10}, {-3, 10}, {3, -10}, {-3, -10},
                          {7, 5},  {-7, -5}, {5, 7},   {-5, -7},  {6, 6},  {-6, 6},  {9, 6},   {-2, -6}};
  for (POINT d : deltas) {
    Canvas canvas(23, 23);
    MoveToEx(canvas.dc(), 11, 11, nullptr);
    LineTo(canvas.dc(), 11 + d.x, 11 + d.y);
    std::vector<POINT> expected;
    int n = std::max(std::abs(d.x), std::abs(d.y));
    for (int i = 0; i < n; ++i) {
      // Exact position of step i along the minor axis, rounded to nearest, halves downwards.
      bool xMajor = std::abs(d.x) >= std::abs(d.y);
      int minorDelta = xMajor ? d.y : d.x;
      int twice = 2 * minorDelta * i;  // twice the exact offset, times n
      int offset = (twice - n) >= 0 ? (twice - n + 2 * n - 1) / (2 * n) : -((n - twice) / (2 * n));
      int major = (xMajor ? (d.x > 0 ? i : -i) : (d.y > 0 ? i : -i));
      expected.push_back(xMajor ? POINT{11 + major, 11 + offset} : POINT{11 + offset, 11 + major});
    }
    EXPECT_EQ(canvas.Picture(), Draw(23, 23,
                                     [&](int x, int y) {
                                       for (POINT p : expected)
                                         if (p.x == x && p.y == y) return '#';
                                       return '.';
                                     }))
        << "to +" << d.x << "," << d.y;
  }
}

struct Style {
  int style;
  std::vector<int> runs;  // on, off, on, off ...
};
const Style kStyles[] = {
    {PS_DASH, {18, 6}},
    {PS_DOT, {3, 3}},
    {PS_DASHDOT, {9, 6, 3, 6}},
    {PS_DASHDOTDOT, {9, 3, 3, 3, 3, 3}},
};

bool StyleOn(const std::vector<int>& runs, int k) {
  int period = 0;
  for (int r : runs) period += r;
  k %= period;
  for (std::size_t i = 0; i < runs.size(); ++i) {
    if (k < runs[i]) return i % 2 == 0;
    k -= runs[i];
  }
  return false;
}

TEST_F(Lines, StyledPensRepeatTheirPatternAndFillGapsOnlyWhenOpaque) {
  for (const Style& s : kStyles) {
    for (int mode : {TRANSPARENT, OPAQUE}) {
      Canvas canvas(60, 3);
      HDC dc = canvas.dc();
      Selected pen(dc, CreatePen(s.style, 1, kBlack));
      SetBkMode(dc, mode);
      SetBkColor(dc, kBlue);
      MoveToEx(dc, 0, 1, nullptr);
      LineTo(dc, 60, 1);
      EXPECT_EQ(canvas.Picture(), Draw(60, 3,
                                       [&](int x, int y) {
                                         if (y != 1) return '.';
                                         if (StyleOn(s.runs, x)) return '#';
                                         return mode == OPAQUE ? 'B' : '.';
                                       }))
          << "style " << s.style << " mode " << mode;
    }
  }
}

TEST_F(Lines, EachLineToRestartsTheStyleAndAPolylineRunsItOn) {
  Canvas lines(60, 3), poly(60, 3), reverse(60, 3);
  for (const Canvas* c : {&lines, &poly, &reverse}) SetBkMode(c->dc(), TRANSPARENT);
  Selected a(lines.dc(), CreatePen(PS_DASH, 1, kBlack));
  Selected b(poly.dc(), CreatePen(PS_DASH, 1, kBlack));
  Selected c(reverse.dc(), CreatePen(PS_DASH, 1, kBlack));
  MoveToEx(lines.dc(), 0, 1, nullptr);
  LineTo(lines.dc(), 10, 1);
  LineTo(lines.dc(), 40, 1);
  POINT points[] = {{0, 1}, {10, 1}, {40, 1}};
  Polyline(poly.dc(), points, 3);
  MoveToEx(reverse.dc(), 59, 1, nullptr);  // the pattern starts where the line does
  LineTo(reverse.dc(), 0, 1);
  const std::vector<int> dash = {18, 6};
  EXPECT_EQ(lines.Picture(), Draw(60, 3, [&](int x, int y) {
              return y == 1 && x < 40 && (x < 10 || StyleOn(dash, x - 10)) ? '#' : '.';
            }));
  EXPECT_EQ(poly.Picture(),
            Draw(60, 3, [&](int x, int y) { return y == 1 && x < 40 && StyleOn(dash, x) ? '#' : '.'; }));
  EXPECT_EQ(reverse.Picture(),
            Draw(60, 3, [&](int x, int y) { return y == 1 && x > 0 && StyleOn(dash, 59 - x) ? '#' : '.'; }));
}

TEST_F(Lines, NullPenDrawsNothingButMovesThePosition) {
  Canvas canvas(10, 3);
  SelectObject(canvas.dc(), GetStockObject(NULL_PEN));
  MoveToEx(canvas.dc(), 0, 1, nullptr);
  LineTo(canvas.dc(), 10, 1);
  POINT pos{};
  MoveToEx(canvas.dc(), 0, 0, &pos);
  EXPECT_EQ(pos.x, 10);
  EXPECT_EQ(canvas.Picture(), Draw(10, 3, [](int, int) { return '.'; }));
  SelectObject(canvas.dc(), GetStockObject(BLACK_PEN));
}

// ---- Rectangle

TEST_F(Rectangles, OutlinesWithThePenAndFillsTheInsideWithTheBrush) {
  struct Case {
    const char* name;
    RECT args;
    RECT outline;  // the pen's ring; empty for none
  };
  const Case cases[] = {
      {"plain", {1, 1, 8, 6}, {1, 1, 8, 6}},
      {"inverted corners", {8, 6, 1, 1}, {1, 1, 8, 6}},
      {"three by three", {1, 1, 4, 4}, {1, 1, 4, 4}},
      {"two by two", {1, 1, 3, 3}, {1, 1, 3, 3}},
      {"one column", {1, 1, 2, 6}, {1, 1, 2, 6}},
      {"one pixel draws nothing", {1, 1, 2, 2}, {0, 0, 0, 0}},
      {"no width draws nothing", {1, 1, 1, 4}, {0, 0, 0, 0}},
  };
  HBRUSH red = CreateSolidBrush(kRed);
  for (const Case& c : cases) {
    Canvas canvas(10, 8);
    SelectObject(canvas.dc(), red);
    EXPECT_NE(Rectangle(canvas.dc(), c.args.left, c.args.top, c.args.right, c.args.bottom), FALSE);
    SelectObject(canvas.dc(), GetStockObject(WHITE_BRUSH));
    const RECT& o = c.outline;
    EXPECT_EQ(canvas.Picture(), Draw(10, 8,
                                     [&](int x, int y) {
                                       if (!Inside(o, x, y)) return '.';
                                       return x == o.left || x == o.right - 1 || y == o.top || y == o.bottom - 1 ? '#'
                                                                                                                 : 'R';
                                     }))
        << c.name;
  }
  DeleteObject(red);
}

TEST_F(Rectangles, HollowBrushLeavesTheInside) {
  Canvas canvas(10, 8, kBlue);
  SelectObject(canvas.dc(), GetStockObject(NULL_BRUSH));
  Rectangle(canvas.dc(), 1, 1, 8, 6);
  SelectObject(canvas.dc(), GetStockObject(WHITE_BRUSH));
  RECT o{1, 1, 8, 6};
  EXPECT_EQ(canvas.Picture(), Draw(10, 8, [&](int x, int y) {
              if (!Inside(o, x, y)) return 'B';
              return x == 1 || x == 7 || y == 1 || y == 5 ? '#' : 'B';
            }));
}

TEST_F(Rectangles, WithoutAPenTheFillIsOnePixelSmaller) {
  struct Case {
    RECT args;
    RECT filled;
  };
  const Case cases[] = {{{1, 1, 8, 6}, {1, 1, 7, 5}}, {{1, 1, 3, 3}, {1, 1, 2, 2}}, {{1, 1, 2, 2}, {0, 0, 0, 0}}};
  HBRUSH red = CreateSolidBrush(kRed);
  for (const Case& c : cases) {
    Canvas canvas(10, 8);
    SelectObject(canvas.dc(), GetStockObject(NULL_PEN));
    SelectObject(canvas.dc(), red);
    Rectangle(canvas.dc(), c.args.left, c.args.top, c.args.right, c.args.bottom);
    SelectObject(canvas.dc(), GetStockObject(WHITE_BRUSH));
    SelectObject(canvas.dc(), GetStockObject(BLACK_PEN));
    EXPECT_EQ(canvas.Picture(), Draw(10, 8, [&](int x, int y) { return Inside(c.filled, x, y) ? 'R' : '.'; }))
        << c.args.right;
  }
  DeleteObject(red);
}

TEST_F(Rectangles, StyledOutlineRunsFromTheTopRightCornerAnticlockwise) {
  const int w = 40, h = 20;
  Canvas canvas(w, h);
  SetBkMode(canvas.dc(), TRANSPARENT);
  Selected pen(canvas.dc(), CreatePen(PS_DASH, 1, kBlack));
  SelectObject(canvas.dc(), GetStockObject(NULL_BRUSH));
  Rectangle(canvas.dc(), 0, 0, w, h);
  SelectObject(canvas.dc(), GetStockObject(WHITE_BRUSH));
  std::vector<POINT> walk;
  for (int x = w - 1; x > 0; --x) walk.push_back({x, 0});
  for (int y = 0; y < h - 1; ++y) walk.push_back({0, y});
  for (int x = 0; x < w - 1; ++x) walk.push_back({x, h - 1});
  for (int y = h - 1; y > 0; --y) walk.push_back({w - 1, y});
  const std::vector<int> dash = {18, 6};
  std::vector<std::string> rows(h, std::string(w, '.'));
  for (std::size_t k = 0; k < walk.size(); ++k)
    if (StyleOn(dash, static_cast<int>(k))) rows[walk[k].y][walk[k].x] = '#';
  EXPECT_EQ(canvas.Picture(), Draw(w, h, [&](int x, int y) { return rows[y][x]; }));
}

// ---- DC state, mapping and clipping

TEST_F(DcState, ModesAndColoursHandBackTheirPreviousValues) {
  Canvas canvas(2, 2);
  HDC dc = canvas.dc();
  EXPECT_EQ(SetBkMode(dc, TRANSPARENT), OPAQUE);
  EXPECT_EQ(SetBkMode(dc, 7), 0);  // not a mode: refused
  EXPECT_EQ(GetBkMode(dc), TRANSPARENT);
  EXPECT_EQ(SetBkColor(dc, kBlue), kWhite);
  EXPECT_EQ(GetBkColor(dc), kBlue);
  EXPECT_EQ(SetTextColor(dc, kRed), kBlack);
  EXPECT_EQ(GetTextColor(dc), kRed);
}

TEST_F(DcState, SaveAndRestoreByLevelOrRelatively) {
  Canvas canvas(2, 2);
  HDC dc = canvas.dc();
  EXPECT_EQ(SaveDC(dc), 1);
  SetBkColor(dc, RGB(1, 1, 1));
  EXPECT_EQ(SaveDC(dc), 2);
  SetBkColor(dc, RGB(2, 2, 2));
  EXPECT_EQ(SaveDC(dc), 3);
  SetBkColor(dc, RGB(3, 3, 3));
  EXPECT_NE(RestoreDC(dc, -1), FALSE);  // the latest save
  EXPECT_EQ(GetBkColor(dc), RGB(2, 2, 2));
  EXPECT_NE(RestoreDC(dc, 1), FALSE);  // the first, dropping the one above it
  EXPECT_EQ(GetBkColor(dc), kWhite);
  EXPECT_EQ(RestoreDC(dc, 1), FALSE);  // nothing saved any more
  EXPECT_EQ(RestoreDC(dc, 0), FALSE);
  EXPECT_EQ(SaveDC(dc), 1);
  EXPECT_EQ(SaveDC(dc), 2);
  EXPECT_EQ(RestoreDC(dc, 5), FALSE);
  EXPECT_EQ(RestoreDC(dc, -5), FALSE);
  EXPECT_NE(RestoreDC(dc, -2), FALSE);
  EXPECT_EQ(SaveDC(dc), 1);
}

TEST_F(DcState, OriginsMoveLogicalCoordinates) {
  Canvas canvas(10, 8);
  HDC dc = canvas.dc();
  int saved = SaveDC(dc);
  POINT old{-1, -1};
  SetViewportOrgEx(dc, 3, 2, &old);
  EXPECT_EQ(old.x, 0);
  SetWindowOrgEx(dc, 1, 1, &old);
  EXPECT_EQ(old.y, 0);
  POINT vp{};
  GetViewportOrgEx(dc, &vp);
  EXPECT_EQ(vp.x, 3);
  EXPECT_EQ(vp.y, 2);
  RECT r{0, 0, 2, 2};
  FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  EXPECT_EQ(GetPixel(dc, 0, 0), kBlack);  // reading maps as drawing does
  RECT box{};
  EXPECT_EQ(GetClipBox(dc, &box), SIMPLEREGION);
  RECT logical{-2, -1, 8, 7};
  EXPECT_TRUE(EqualRect(&box, &logical)) << box.left << "," << box.top << "," << box.right << "," << box.bottom;
  RestoreDC(dc, saved);
  RECT device{2, 1, 4, 3};
  EXPECT_EQ(canvas.Picture(), Draw(10, 8, [&](int x, int y) { return Inside(device, x, y) ? '#' : '.'; }));
}

TEST_F(Clipping, IntersectClipRectIsFixedInDevicePixels) {
  Canvas canvas(10, 8);
  HDC dc = canvas.dc();
  int saved = SaveDC(dc);
  SetViewportOrgEx(dc, 3, 2, nullptr);
  EXPECT_EQ(IntersectClipRect(dc, 0, 0, 2, 3), SIMPLEREGION);
  SetViewportOrgEx(dc, 0, 0, nullptr);
  RECT all{0, 0, 10, 8};
  FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  RECT box{};
  GetClipBox(dc, &box);
  RECT clip{3, 2, 5, 5};
  EXPECT_TRUE(EqualRect(&box, &clip));
  EXPECT_EQ(IntersectClipRect(dc, 20, 20, 30, 30), NULLREGION);
  RestoreDC(dc, saved);
  EXPECT_EQ(canvas.Picture(), Draw(10, 8, [&](int x, int y) { return Inside(clip, x, y) ? '#' : '.'; }));
}

TEST_F(Clipping, ExcludeClipRectCutsHoles) {
  struct Case {
    const char* name;
    std::vector<RECT> holes;
    int kind;
    RECT box;
  };
  const Case cases[] = {
      {"middle", {{2, 2, 6, 6}}, COMPLEXREGION, {0, 0, 10, 8}},
      {"left side", {{-1, -1, 3, 9}}, SIMPLEREGION, {3, 0, 10, 8}},
      {"top and bottom", {{0, 0, 10, 2}, {0, 6, 10, 8}}, SIMPLEREGION, {0, 2, 10, 6}},
      {"corner", {{0, 0, 4, 4}}, COMPLEXREGION, {0, 0, 10, 8}},
      {"everything", {{-5, -5, 20, 20}}, NULLREGION, {0, 0, 0, 0}},
  };
  for (const Case& c : cases) {
    Canvas canvas(10, 8);
    HDC dc = canvas.dc();
    int saved = SaveDC(dc);
    int kind = ERROR;
    for (const RECT& h : c.holes) kind = ExcludeClipRect(dc, h.left, h.top, h.right, h.bottom);
    EXPECT_EQ(kind, c.kind) << c.name;
    RECT all{0, 0, 10, 8};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    if (c.kind != NULLREGION) {
      RECT box{};
      EXPECT_EQ(GetClipBox(dc, &box), c.kind) << c.name;
      EXPECT_TRUE(EqualRect(&box, &c.box))
          << c.name << ": " << box.left << "," << box.top << "," << box.right << "," << box.bottom;
    }
    RestoreDC(dc, saved);
    EXPECT_EQ(canvas.Picture(), Draw(10, 8,
                                     [&](int x, int y) {
                                       for (const RECT& h : c.holes)
                                         if (Inside(h, x, y)) return '.';
                                       return '#';
                                     }))
        << c.name;
  }
}

TEST_F(Clipping, RestoreDcBringsBackTheClip) {
  Canvas canvas(10, 8);
  HDC dc = canvas.dc();
  int outer = SaveDC(dc);
  IntersectClipRect(dc, 0, 0, 5, 8);
  int inner = SaveDC(dc);
  IntersectClipRect(dc, 0, 0, 2, 2);
  RestoreDC(dc, inner);
  RECT all{0, 0, 10, 8};
  FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  RestoreDC(dc, outer);
  EXPECT_EQ(canvas.Picture(), Draw(10, 8, [](int x, int) { return x < 5 ? '#' : '.'; }));
}

TEST_F(Clipping, DrawingStaysInsideTheClip) {
  Canvas canvas(12, 10);
  HDC dc = canvas.dc();
  int saved = SaveDC(dc);
  IntersectClipRect(dc, 2, 2, 7, 5);
  RECT clip{2, 2, 7, 5};
  Rectangle(dc, 0, 0, 12, 10);
  MoveToEx(dc, 0, 3, nullptr);
  LineTo(dc, 12, 3);
  RECT r{0, 0, 12, 10};
  DrawFocusRect(dc, &r);
  SetPixel(dc, 9, 9, kBlack);
  RestoreDC(dc, saved);
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 12; ++x)
      if (!Inside(clip, x, y)) {
        EXPECT_EQ(canvas.At(x, y), kWhite) << x << "," << y;
      }
  EXPECT_EQ(canvas.At(4, 3), kBlack);  // the line got through
  EXPECT_EQ(canvas.At(4, 2), kWhite);  // the rectangle's white inside
}

}  // namespace
