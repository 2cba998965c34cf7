// The canvas over a memory DC: the three-dimensional frame's exact pixels and the brush's background mode.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "harness/Harness.h"
#include "harness/MemoryDc.h"
#include "vcl/Graphics.h"

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kTop = RGB(255, 0, 0);
constexpr COLORREF kBottom = RGB(0, 0, 255);

class MemoryCanvas : public ::testing::Test {
 protected:
  void SetUp() override {
    th::Fresh();
    target = std::make_unique<th::MemoryDc>(kW, kH, kWhite);
    dc = target->dc();
    canvas.SetHandle(dc);
  }
  void TearDown() override {
    canvas.SetHandle(nullptr);
    target.reset();
  }
  static constexpr int kW = 16, kH = 12;
  std::unique_ptr<th::MemoryDc> target;
  HDC dc{};
  TCanvas canvas;
};

struct FrameCase {
  RECT rect;
  int width;
};

class Frame3DPixels : public MemoryCanvas, public ::testing::WithParamInterface<FrameCase> {};

// The frame as the rule gives it: per ring, top colour on the left column and top row without their last
// pixel, then bottom colour on the right column and bottom row including both corners.
std::vector<COLORREF> Expected(RECT r, int width, int w, int h) {
  std::vector<COLORREF> px(static_cast<std::size_t>(w * h), kWhite);
  auto put = [&](int x, int y, COLORREF c) {
    if (x >= 0 && y >= 0 && x < w && y < h) px[static_cast<std::size_t>(y * w + x)] = c;
  };
  for (int k = 0; k < width; ++k) {
    int x0 = r.left + k, y0 = r.top + k, x1 = r.right - 1 - k, y1 = r.bottom - 1 - k;
    for (int y = y1; y > y0; --y) put(x0, y, kTop);
    for (int x = x0; x < x1; ++x) put(x, y0, kTop);
    for (int y = y0; y < y1; ++y) put(x1, y, kBottom);
    for (int x = x1; x > x0 - 1; --x) put(x, y1, kBottom);
  }
  return px;
}

TEST_P(Frame3DPixels, MatchTheRuleAndShrinkTheRect) {
  FrameCase c = GetParam();
  RECT r = c.rect;
  Frame3D(&canvas, r, static_cast<TColor>(kTop), static_cast<TColor>(kBottom), c.width);
  int n = c.width > 0 ? c.width : 0;
  EXPECT_EQ(r.left, c.rect.left + n);
  EXPECT_EQ(r.top, c.rect.top + n);
  EXPECT_EQ(r.right, c.rect.right - n);
  EXPECT_EQ(r.bottom, c.rect.bottom - n);
  std::vector<COLORREF> want = Expected(c.rect, c.width, kW, kH);
  for (int y = 0; y < kH; ++y)
    for (int x = 0; x < kW; ++x)
      EXPECT_EQ(GetPixel(dc, x, y), want[static_cast<std::size_t>(y * kW + x)]) << "at " << x << "," << y;
}

INSTANTIATE_TEST_SUITE_P(Rings, Frame3DPixels,
                         ::testing::Values(FrameCase{{0, 0, 16, 12}, 1}, FrameCase{{1, 2, 14, 11}, 2},
                                           FrameCase{{0, 0, 16, 12}, 0}, FrameCase{{3, 3, 9, 8}, -1},
                                           FrameCase{{2, 1, 10, 9}, 3}));

TEST_F(MemoryCanvas, HandleSelectsFontColourAndBrushBackgroundMode) {
  canvas.Font()->SetColor(clYellow);
  canvas.Brush()->SetColor(clGreen);
  HDC h = canvas.Handle();
  EXPECT_EQ(GetTextColor(h), RGB(255, 255, 0));
  EXPECT_EQ(GetBkMode(h), OPAQUE);
  EXPECT_EQ(GetBkColor(h), RGB(0, 128, 0));
  canvas.Brush()->SetStyle(bsClear);
  h = canvas.Handle();
  EXPECT_EQ(GetBkMode(h), TRANSPARENT);
  // A colour set on a clear brush makes it solid again.
  canvas.Brush()->SetColor(clRed);
  EXPECT_EQ(canvas.Brush()->Style(), bsSolid);
  RECT r{2, 2, 5, 4};
  canvas.FillRect(r);
  EXPECT_EQ(GetPixel(dc, 2, 2), RGB(255, 0, 0));
  EXPECT_EQ(GetPixel(dc, 4, 3), RGB(255, 0, 0));
  EXPECT_EQ(GetPixel(dc, 5, 3), kWhite) << "the right edge is outside";
  EXPECT_EQ(GetPixel(dc, 4, 4), kWhite) << "the bottom edge is outside";
  canvas.Font()->SetColor(clBtnShadow);
  EXPECT_EQ(GetTextColor(canvas.Handle()), GetSysColor(COLOR_BTNSHADOW)) << "system colours are resolved";
}

}  // namespace
