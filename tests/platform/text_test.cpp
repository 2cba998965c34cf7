// Text output rules that hold whatever the font: measuring, DrawTextA layout, alignment, clipping and prefixes.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "canvas.h"
#include "winapi/winapi.h"

namespace {

using namespace canvas;

// Narrow literals are code page 932: each of these is one double-byte character.
const char* const kKanaA = "あ";
const char* const kKanaI = "い";

class Text : public FreshWorld {
 protected:
  void SetUp() override {
    FreshWorld::SetUp();
    canvas_ = std::make_unique<Canvas>(200, 100);
    GetTextMetricsA(dc(), &tm_);
    SetBkColor(dc(), kBlue);
    SetTextColor(dc(), kBlack);
  }
  HDC dc() const { return canvas_->dc(); }
  int height() const { return tm_.tmHeight; }

  LONG Width(const std::string& s) const {
    SIZE size{};
    GetTextExtentPoint32A(dc(), s.data(), static_cast<int>(s.size()), &size);
    return size.cx;
  }
  struct Measured {
    int result;
    RECT rect;
  };
  Measured Calc(const std::string& s, RECT rect, UINT format) const {
    int result = DrawTextA(dc(), s.c_str(), -1, &rect, format | DT_CALCRECT);
    return Measured{result, rect};
  }
  // Draws opaquely on a clean canvas and returns the background box the text filled.
  RECT OpaqueBox(const std::string& s, RECT rect, UINT format, int* result = nullptr) const {
    canvas_->Fill(kWhite);
    SetBkMode(dc(), OPAQUE);
    int r = DrawTextA(dc(), s.c_str(), -1, &rect, format);
    if (result != nullptr) *result = r;
    return canvas_->Box(kWhite, false);
  }

  std::unique_ptr<Canvas> canvas_;
  TEXTMETRICA tm_{};
};

std::string Show(const RECT& r) {
  return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
         std::to_string(r.bottom);
}

TEST_F(Text, MetricsAndExtentsAgree) {
  EXPECT_GT(tm_.tmHeight, 0);
  EXPECT_EQ(tm_.tmHeight, tm_.tmAscent + tm_.tmDescent);
  EXPECT_GT(tm_.tmAveCharWidth, 0);
  SIZE size{};
  ASSERT_NE(GetTextExtentPoint32A(dc(), "abc", 3, &size), FALSE);
  EXPECT_EQ(size.cy, tm_.tmHeight);
  EXPECT_GT(size.cx, 0);
  EXPECT_EQ(Width("ab") + Width("cd"), Width("abcd"));
  EXPECT_EQ(Width(""), 0);
  // Measuring knows nothing of prefixes.
  EXPECT_EQ(Width("&a"), Width("&") + Width("a"));
}

TEST_F(Text, ABiggerFontMeasuresBigger) {
  LOGFONTA lf{};
  lf.lfHeight = -12;
  lf.lfCharSet = DEFAULT_CHARSET;
  HFONT small = CreateFontIndirectA(&lf);
  lf.lfHeight = -24;
  HFONT big = CreateFontIndirectA(&lf);
  HGDIOBJ old = SelectObject(dc(), small);
  TEXTMETRICA a{}, b{};
  GetTextMetricsA(dc(), &a);
  LONG wa = Width("abc");
  SelectObject(dc(), big);
  GetTextMetricsA(dc(), &b);
  LONG wb = Width("abc");
  SelectObject(dc(), old);
  DeleteObject(small);
  DeleteObject(big);
  EXPECT_GT(b.tmHeight, a.tmHeight);
  EXPECT_GT(wb, wa);
}

TEST_F(Text, DoubleByteCharactersAreNeverSplit) {
  std::string a = kKanaA, ai = std::string(kKanaA) + kKanaI;
  ASSERT_EQ(a.size(), 2u);
  EXPECT_GT(Width(a), 0);
  EXPECT_EQ(Width(ai), 2 * Width(a));
  // A prefix takes the whole character, and wrapping does not cut one in two.
  EXPECT_EQ(Calc("&" + a, RECT{0, 0, 200, 100}, 0).rect.right, Width(a));
  Measured narrow = Calc(a, RECT{0, 0, 1, 100}, DT_WORDBREAK);
  EXPECT_EQ(narrow.result, height());
  EXPECT_EQ(narrow.rect.right, Width(a));
  // Line breaks come at blanks only.
  Measured two = Calc(ai, RECT{0, 0, 1, 100}, DT_WORDBREAK);
  EXPECT_EQ(two.result, height());
  EXPECT_EQ(two.rect.right, Width(ai));
}

TEST_F(Text, LineBreaksMakeLinesUnlessSingleLine) {
  struct Case {
    const char* text;
    UINT format;
    int lines;
  };
  const Case cases[] = {
      {"a", 0, 1},      {"a\nb", 0, 2}, {"a\rb", 0, 2},    {"a\r\nb", 0, 2},           {"a\n\rb", 0, 2},
      {"a\n\nb", 0, 3}, {"a\n", 0, 1},  {"a\nb\nc", 0, 3}, {"a\nb", DT_SINGLELINE, 1}, {"a\r\nb", DT_SINGLELINE, 1},
  };
  for (const Case& c : cases) {
    RECT r{10, 10, 190, 90};
    EXPECT_EQ(DrawTextA(dc(), c.text, -1, &r, c.format), c.lines * height()) << c.text;
    Measured m = Calc(c.text, RECT{10, 10, 190, 90}, c.format);
    EXPECT_EQ(m.result, c.lines * height()) << c.text;
    EXPECT_EQ(m.rect.bottom, 10 + c.lines * height()) << c.text;
  }
}

TEST_F(Text, CalcRectMeasuresAndDrawsNothing) {
  canvas_->Fill(kWhite);
  Measured m = Calc("abc", RECT{10, 20, 190, 90}, DT_CENTER);
  EXPECT_EQ(m.result, height());
  EXPECT_EQ(Show(m.rect), Show(RECT{10, 20, 10 + Width("abc"), 20 + height()}));
  EXPECT_EQ(canvas_->Box(kWhite, false).right, 0);  // untouched
  Measured lines = Calc("a\nabcd\nab", RECT{10, 20, 190, 90}, 0);
  EXPECT_EQ(lines.rect.right, 10 + Width("abcd"));
  EXPECT_EQ(lines.rect.bottom, 20 + 3 * height());
  // The length counts bytes and cuts the text.
  RECT r{0, 0, 200, 100};
  DrawTextA(dc(), "abcdef", 2, &r, DT_CALCRECT);
  EXPECT_EQ(r.right, Width("ab"));
}

TEST_F(Text, EmptyTextStillReportsALine) {
  RECT r{10, 10, 100, 50};
  EXPECT_EQ(DrawTextA(dc(), "", -1, &r, 0), height());
  Measured multi = Calc("", RECT{10, 10, 100, 50}, 0);
  EXPECT_EQ(Show(multi.rect), Show(RECT{10, 10, 10, 10}));
  Measured single = Calc("", RECT{10, 10, 100, 50}, DT_SINGLELINE);
  EXPECT_EQ(Show(single.rect), Show(RECT{10, 10, 10, 10 + height()}));
}

TEST_F(Text, AmpersandsUnderlineTheNextCharacterUnlessNoPrefix) {
  struct Case {
    const char* text;
    UINT format;
    const char* measuredAs;
  };
  const Case cases[] = {
      {"&a", 0, "a"},
      {"&&", 0, "&"},
      {"a&&b", 0, "a&b"},
      {"&a&b", 0, "ab"},
      {"a&", 0, "a&"},
      {"&a", DT_NOPREFIX, "&a"},
      {"&&", DT_NOPREFIX, "&&"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(Calc(c.text, RECT{0, 0, 200, 100}, c.format).rect.right, Width(c.measuredAs)) << c.text;
}

TEST_F(Text, ThePrefixedCharacterIsUnderlinedBelowTheBaseline) {
  SetBkMode(dc(), TRANSPARENT);
  auto picture = [&](const char* text, UINT format) {
    canvas_->Fill(kWhite);
    RECT r{10, 10, 190, 90};
    DrawTextA(dc(), text, -1, &r, format);
    return canvas_->Picture();
  };
  std::string plain = picture("a", 0), marked = picture("&a", 0);
  EXPECT_NE(plain, marked);
  // Everything "a" inks, "&a" inks too; what it adds lies below the baseline.
  for (int y = 0; y < 100; ++y) {
    for (int x = 0; x < 200; ++x) {
      std::size_t i = static_cast<std::size_t>(y) * 201 + 1 + x;
      if (plain[i] == '#') {
        EXPECT_EQ(marked[i], '#') << x << "," << y;
      } else if (marked[i] == '#') {
        EXPECT_GE(y, 10 + tm_.tmAscent) << x << "," << y;
      }
    }
  }
  EXPECT_EQ(picture("&&", 0), picture("&", DT_NOPREFIX));
  EXPECT_EQ(picture("a&b", 0), picture("&a&b", 0));  // one underline per line: the last
}

TEST_F(Text, TabsExpandToEveryEighthAverageWidth) {
  LONG stop = 8 * tm_.tmAveCharWidth;
  EXPECT_EQ(Calc("a\tb", RECT{0, 0, 200, 100}, DT_EXPANDTABS).rect.right, stop + Width("b"));
  EXPECT_EQ(Calc("ab\tb", RECT{0, 0, 200, 100}, DT_EXPANDTABS).rect.right, stop + Width("b"));
  EXPECT_EQ(Calc("\t\tb", RECT{0, 0, 200, 100}, DT_EXPANDTABS).rect.right, 2 * stop + Width("b"));
}

TEST_F(Text, WordBreakWrapsAtBlanksAndKeepsALongWordWhole) {
  const std::string four = "aaa aaa aaa aaa";
  EXPECT_EQ(Calc(four, RECT{0, 0, Width(four), 100}, DT_WORDBREAK).result, height());
  // A word keeps its line only together with the blank after it.
  Measured exact = Calc(four, RECT{0, 0, Width("aaa aaa "), 100}, DT_WORDBREAK);
  EXPECT_EQ(exact.result, 2 * height());
  EXPECT_EQ(exact.rect.right, Width("aaa aaa "));
  Measured tight = Calc(four, RECT{0, 0, Width("aaa aaa ") - 1, 100}, DT_WORDBREAK);
  EXPECT_EQ(tight.result, 3 * height());
  EXPECT_EQ(tight.rect.right, Width("aaa aaa"));
  // A word wider than the line overflows on a line of its own and widens the measured rectangle.
  const std::string words = "x aaaaaaaaaaaa y";
  Measured longWord = Calc(words, RECT{0, 0, Width("aaa"), 100}, DT_WORDBREAK);
  EXPECT_EQ(longWord.result, 3 * height());
  EXPECT_EQ(longWord.rect.right, Width("aaaaaaaaaaaa"));
  // The edit-control rule breaks it instead.
  Measured broken = Calc(words, RECT{0, 0, Width("aaa"), 100}, DT_WORDBREAK | DT_EDITCONTROL);
  EXPECT_GT(broken.result, 3 * height());
  EXPECT_LE(broken.rect.right, Width("aaa"));
  // Without room for anything, every word takes a line.
  Measured none = Calc("ab cd", RECT{0, 0, 0, 100}, DT_WORDBREAK);
  EXPECT_EQ(none.result, 2 * height());
  EXPECT_EQ(none.rect.right, Width("ab"));
  // Single-line text is never wrapped.
  EXPECT_EQ(Calc(four, RECT{0, 0, Width("aaa"), 100}, DT_WORDBREAK | DT_SINGLELINE).result, height());
}

TEST_F(Text, OpaqueBackgroundCoversExactlyTheTextCells) {
  RECT box = OpaqueBox("a b", RECT{10, 10, 190, 90}, 0);
  EXPECT_EQ(Show(box), Show(RECT{10, 10, 10 + Width("a b"), 10 + height()}));
  // Inside it only the two colours, and some of each.
  bool ink = false, back = false;
  for (int y = box.top; y < box.bottom; ++y) {
    for (int x = box.left; x < box.right; ++x) {
      COLORREF c = canvas_->At(x, y);
      ASSERT_TRUE(c == kBlue || c == kBlack) << x << "," << y;
      ink = ink || c == kBlack;
      back = back || c == kBlue;
    }
  }
  EXPECT_TRUE(ink);
  EXPECT_TRUE(back);
  // Every line its own width.
  OpaqueBox("a\nabc", RECT{10, 10, 190, 90}, 0);
  EXPECT_NE(canvas_->At(10 + Width("a") - 1, 10 + height() / 2), kWhite);
  EXPECT_EQ(canvas_->At(10 + Width("a"), 10 + height() / 2), kWhite);
  EXPECT_NE(canvas_->At(10 + Width("abc") - 1, 10 + height() + height() / 2), kWhite);
}

TEST_F(Text, TransparentTextLeavesTheBackground) {
  canvas_->Fill(kWhite);
  SetBkMode(dc(), TRANSPARENT);
  RECT r{10, 10, 190, 90};
  DrawTextA(dc(), "abc", -1, &r, 0);
  RECT ink = canvas_->Box(kWhite, false);
  EXPECT_GT(ink.right, ink.left);
  EXPECT_EQ(canvas_->Box(kBlue).right, 0);  // no background colour anywhere
  EXPECT_GE(ink.left, 10);
  EXPECT_LE(ink.right, 10 + Width("abc"));
  EXPECT_GE(ink.top, 10);
  EXPECT_LE(ink.bottom, 10 + height());
}

TEST_F(Text, AlignmentPlacesTheLine) {
  const std::string s = "aaa";
  LONG w = Width(s);
  struct Case {
    const char* name;
    RECT rect;
    UINT format;
    LONG left, top;  // where the background box starts
    int result;
  };
  const RECT r{20, 10, 20 + w + 31, 10 + height() + 21};  // odd room both ways
  const Case cases[] = {
      {"left top", r, DT_SINGLELINE, r.left, r.top, height()},
      {"centre", r, DT_SINGLELINE | DT_CENTER, r.left + 15, r.top, height()},
      {"right", r, DT_SINGLELINE | DT_RIGHT, r.right - w, r.top, height()},
      {"vertical centre", r, DT_SINGLELINE | DT_VCENTER, r.left, r.top + (r.bottom - r.top) / 2 - height() / 2,
       (r.bottom - r.top) / 2 - height() / 2 + height()},
      {"bottom", r, DT_SINGLELINE | DT_BOTTOM, r.left, r.bottom - height(), r.bottom - r.top},
      {"vertical centre needs single line", r, DT_VCENTER, r.left, r.top, height()},
      {"bottom needs single line", r, DT_BOTTOM | DT_RIGHT, r.right - w, r.top, height()},
      // A line wider than its room overhangs both sides alike, the odd pixel on the left.
      {"centre overhanging", {30, 10, 30 + w - 3, 60}, DT_SINGLELINE | DT_CENTER | DT_NOCLIP, 30 - 2, 10, height()},
  };
  for (const Case& c : cases) {
    int result = 0;
    RECT box = OpaqueBox(s, c.rect, c.format, &result);
    EXPECT_EQ(Show(box), Show(RECT{c.left, c.top, c.left + w, c.top + height()})) << c.name;
    EXPECT_EQ(result, c.result) << c.name;
  }
}

TEST_F(Text, WrappedLinesAlignWithoutTheirBreakingBlank) {
  // "aaa " then "aaa aaa": the first line's blank still gets background, but right alignment ignores it.
  const std::string three = "aaa aaa aaa";
  RECT r{10, 10, 10 + Width("aaa aaa ") - 1, 90};
  OpaqueBox(three, r, DT_WORDBREAK);
  EXPECT_NE(canvas_->At(10 + Width("aaa ") - 1, 10 + height() / 2), kWhite);
  EXPECT_EQ(canvas_->At(10 + Width("aaa "), 10 + height() / 2), kWhite);
  OpaqueBox(three, r, DT_WORDBREAK | DT_RIGHT);
  EXPECT_EQ(canvas_->At(r.right - Width("aaa") - 1, 10 + height() / 2), kWhite);
  EXPECT_NE(canvas_->At(r.right - Width("aaa"), 10 + height() / 2), kWhite);
  EXPECT_NE(canvas_->At(r.right - Width("aaa aaa"), 10 + height() + height() / 2), kWhite);
}

TEST_F(Text, ClippedToTheRectangleUnlessNoClip) {
  const std::string s = "aaaaaaaaaa";
  RECT r{40, 20, 40 + Width("aaa"), 20 + height() / 2};
  RECT box = OpaqueBox(s, r, 0);
  EXPECT_EQ(Show(box), Show(r));
  RECT unclipped = OpaqueBox(s, r, DT_NOCLIP);
  EXPECT_EQ(Show(unclipped), Show(RECT{40, 20, 40 + Width(s), 20 + height()}));
  // The DC's clip still holds without the rectangle's.
  canvas_->Fill(kWhite);
  int saved = SaveDC(dc());
  IntersectClipRect(dc(), 0, 0, 50, 100);
  RECT rr = r;
  DrawTextA(dc(), s.c_str(), -1, &rr, DT_NOCLIP);
  RestoreDC(dc(), saved);
  EXPECT_EQ(Show(canvas_->Box(kWhite, false)), Show(RECT{40, 20, 50, 20 + height()}));
}

TEST_F(Text, DrawsAtLogicalCoordinates) {
  int saved = SaveDC(dc());
  SetViewportOrgEx(dc(), 7, 5, nullptr);
  SetBkMode(dc(), OPAQUE);
  canvas_->Fill(kWhite);
  RECT r{3, 4, 150, 80};
  DrawTextA(dc(), "ab", -1, &r, 0);
  RestoreDC(dc(), saved);
  EXPECT_EQ(Show(canvas_->Box(kWhite, false)), Show(RECT{10, 9, 10 + Width("ab"), 9 + height()}));
}

}  // namespace
