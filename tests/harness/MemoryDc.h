// A memory DC on a bitmap compatible with the screen: draw off-screen, then read the pixels back.
#pragma once

#include "winapi/winapi.h"

namespace th {

class MemoryDc {
 public:
  MemoryDc(int width, int height, COLORREF fill = RGB(255, 255, 255)) : width_(width), height_(height) {
    HDC screen = GetDC(nullptr);
    dc_ = CreateCompatibleDC(screen);
    bitmap_ = CreateCompatibleBitmap(screen, width, height);
    ReleaseDC(nullptr, screen);
    old_ = SelectObject(dc_, bitmap_);
    Fill(fill);
  }
  ~MemoryDc() {
    SelectObject(dc_, old_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
  }
  MemoryDc(const MemoryDc&) = delete;
  MemoryDc& operator=(const MemoryDc&) = delete;

  HDC dc() const { return dc_; }
  int width() const { return width_; }
  int height() const { return height_; }
  void Fill(COLORREF color) const {
    HBRUSH brush = CreateSolidBrush(color);
    RECT all{0, 0, width_, height_};
    FillRect(dc_, &all, brush);
    DeleteObject(brush);
  }
  COLORREF At(int x, int y) const { return GetPixel(dc_, x, y); }

 private:
  int width_, height_;
  HDC dc_;
  HBITMAP bitmap_;
  HGDIOBJ old_;
};

}  // namespace th
