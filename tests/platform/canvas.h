// A memory DC to draw on and read back, and pictures of pixels, for tests that run on both graphics devices.
#pragma once

#include <algorithm>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "harness/Harness.h"
#include "harness/MemoryDc.h"
#include "winapi/winapi.h"

namespace canvas {

// Every test starts on a clean desktop.
class FreshWorld : public ::testing::Test {
 protected:
  void SetUp() override { th::Fresh(); }
};

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);

using Legend = std::vector<std::pair<COLORREF, char>>;
inline const Legend kLegend = {{kWhite, '.'}, {kBlack, '#'}, {kRed, 'R'}, {kBlue, 'B'}, {CLR_INVALID, '!'}};

// A picture of w x h pixels, one character each, made from a rule; rows start on new lines for readable failures.
inline std::string Draw(int w, int h, const std::function<char(int, int)>& pixel) {
  std::string out;
  for (int y = 0; y < h; ++y) {
    out += '\n';
    for (int x = 0; x < w; ++x) out += pixel(x, y);
  }
  return out;
}

inline bool Inside(const RECT& r, int x, int y) { return x >= r.left && x < r.right && y >= r.top && y < r.bottom; }

// The shared memory DC, with pictures and bounding boxes of what was drawn.
class Canvas : public th::MemoryDc {
 public:
  using th::MemoryDc::MemoryDc;

  // The bounding box of the pixels that are (or, with `match` false, are not) of one colour; empty when none.
  RECT Box(COLORREF color, bool match = true) const {
    RECT box{0, 0, 0, 0};
    bool any = false;
    for (int y = 0; y < height(); ++y) {
      for (int x = 0; x < width(); ++x) {
        if ((At(x, y) == color) != match) continue;
        if (!any) box = RECT{x, y, x + 1, y + 1};
        box = RECT{std::min<LONG>(box.left, x), std::min<LONG>(box.top, y), std::max<LONG>(box.right, x + 1),
                   std::max<LONG>(box.bottom, y + 1)};
        any = true;
      }
    }
    return box;
  }
  // Reads back through GetPixel with the DC's mapping, so callers undo origins and clips first.
  std::string Picture(const Legend& legend = kLegend) const {
    return Draw(width(), height(), [&](int x, int y) {
      COLORREF c = At(x, y);
      for (const auto& [color, ch] : legend)
        if (color == c) return ch;
      return '?';
    });
  }
};

// Selects an object for one scope and deletes it afterwards.
class Selected {
 public:
  Selected(HDC dc, HGDIOBJ obj) : dc_(dc), obj_(obj), old_(SelectObject(dc, obj)) {}
  ~Selected() {
    SelectObject(dc_, old_);
    DeleteObject(obj_);
  }
  Selected(const Selected&) = delete;
  Selected& operator=(const Selected&) = delete;

 private:
  HDC dc_;
  HGDIOBJ obj_;
  HGDIOBJ old_;
};

}  // namespace canvas
