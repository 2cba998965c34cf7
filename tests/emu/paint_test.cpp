// Painting: update regions, paint order and messages, window and paint DCs on the rasters, the default frame.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "winapi/emu/control.h"
#include "winapi/winapi.h"

namespace {

struct Record {
  HWND hwnd;
  UINT msg;
};
std::vector<Record> records;
std::function<bool(HWND, UINT, WPARAM, LPARAM, LRESULT*)> hook;  // answers a message instead of the default

LRESULT CALLBACK Recorder(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  records.push_back(Record{hwnd, msg});
  LRESULT result = 0;
  if (hook && hook(hwnd, msg, wp, lp, &result)) return result;
  return DefWindowProcA(hwnd, msg, wp, lp);
}

std::map<HWND, std::string> labels;

std::vector<std::string> Sequence() {
  static const std::map<UINT, std::string> kNames = {
      {WM_PAINT, "PAINT"}, {WM_ERASEBKGND, "ERASEBKGND"}, {WM_NCPAINT, "NCPAINT"}};
  std::vector<std::string> out;
  for (const Record& r : records) {
    auto n = kNames.find(r.msg);
    if (n == kNames.end()) continue;
    auto l = labels.find(r.hwnd);
    out.push_back((l != labels.end() ? l->second : "?") + " " + n->second);
  }
  return out;
}

using Strings = std::vector<std::string>;

void Pump() {
  MSG m;
  for (int n = 0; n < 1000 && PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE); ++n) DispatchMessageA(&m);
}

const COLORREF kRed = RGB(255, 0, 0);
const COLORREF kBlue = RGB(0, 0, 255);

class PaintEmu : public ::testing::Test {
 protected:
  void SetUp() override {
    emu::Reset();
    records.clear();
    hook = nullptr;
    labels.clear();
    WNDCLASSA wc{};
    wc.lpfnWndProc = Recorder;
    wc.lpszClassName = "Face";  // erases in the button face colour
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    ASSERT_NE(RegisterClassA(&wc), 0);
    red = CreateSolidBrush(kRed);
    wc.lpszClassName = "Red";  // erases with a brush of its own
    wc.hbrBackground = red;
    ASSERT_NE(RegisterClassA(&wc), 0);
    wc.lpszClassName = "Bare";  // does not erase
    wc.hbrBackground = nullptr;
    ASSERT_NE(RegisterClassA(&wc), 0);
  }
  void TearDown() override { hook = nullptr; }
  HWND Top(const char* label, RECT r, DWORD style = WS_POPUP | WS_VISIBLE, const char* cls = "Face") {
    HWND h = CreateWindowExA(0, cls, label, style, r.left, r.top, r.right - r.left, r.bottom - r.top, nullptr, nullptr,
                             nullptr, nullptr);
    labels[h] = label;
    return h;
  }
  HWND Child(HWND parent, const char* label, RECT r, DWORD style = WS_VISIBLE, const char* cls = "Red") {
    HWND h = CreateWindowExA(0, cls, label, WS_CHILD | style, r.left, r.top, r.right - r.left, r.bottom - r.top, parent,
                             nullptr, nullptr, nullptr);
    labels[h] = label;
    return h;
  }
  HBRUSH red = nullptr;
};

TEST_F(PaintEmu, InvalidationPaintsWithOrWithoutErasing) {
  struct Case {
    const char* name;
    BOOL erase;
    Strings expected;
  };
  const Case cases[] = {{"erase", TRUE, {"main PAINT", "main ERASEBKGND"}}, {"no erase", FALSE, {"main PAINT"}}};
  HWND main = Top("main", RECT{0, 0, 100, 80});
  Pump();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    records.clear();
    InvalidateRect(main, nullptr, c.erase);
    EXPECT_TRUE(records.empty());  // nothing happens before the queue is read
    Pump();
    EXPECT_EQ(Sequence(), c.expected);
  }
}

TEST_F(PaintEmu, ErasingFillsTheClientWithTheClassBrush) {
  HWND main = Top("main", RECT{0, 0, 100, 80}, WS_POPUP | WS_VISIBLE | WS_BORDER);
  HWND child = Child(main, "child", RECT{10, 10, 30, 30});
  Pump();
  EXPECT_EQ(emu::WindowPixel(main, 1, 1), GetSysColor(COLOR_BTNFACE));
  EXPECT_EQ(emu::WindowPixel(main, 98, 78), GetSysColor(COLOR_BTNFACE));
  EXPECT_NE(emu::WindowPixel(main, 0, 0), GetSysColor(COLOR_BTNFACE));  // the border is no client
  POINT o = emu::ClientOriginInTopLevel(child);
  EXPECT_EQ(o.x, 11);
  EXPECT_EQ(o.y, 11);
  EXPECT_EQ(emu::WindowPixel(main, 11, 11), kRed);
  EXPECT_EQ(emu::WindowPixel(main, 30, 30), kRed);
  EXPECT_EQ(emu::WindowPixel(main, 31, 31), GetSysColor(COLOR_BTNFACE));
  EXPECT_EQ(emu::WindowPixel(main, 100, 0), CLR_INVALID);
}

TEST_F(PaintEmu, ShowingPaintsFrameBackgroundAndChildrenParentFirst) {
  HWND main = Top("main", RECT{0, 0, 200, 150}, WS_OVERLAPPEDWINDOW);
  Child(main, "a", RECT{10, 10, 50, 50});
  Child(main, "b", RECT{60, 10, 90, 50}, WS_VISIBLE | WS_BORDER);
  Pump();
  EXPECT_TRUE(Sequence().empty());  // hidden windows do not paint
  ShowWindow(main, SW_SHOW);
  Pump();
  EXPECT_EQ(Sequence(), (Strings{"main PAINT", "main NCPAINT", "main ERASEBKGND", "a PAINT", "a ERASEBKGND", "b PAINT",
                                 "b NCPAINT", "b ERASEBKGND"}));
}

TEST_F(PaintEmu, InvalidatingAParentRepaintsTheChildrenUnderTheArea) {
  HWND main = Top("main", RECT{0, 0, 200, 150});
  HWND child = Child(main, "child", RECT{10, 10, 50, 50});
  HWND deep = Child(child, "deep", RECT{0, 0, 10, 10});
  Pump();
  struct Case {
    const char* name;
    RECT area;
    Strings expected;
  };
  const Case cases[] = {
      {"clear of the child", {100, 100, 150, 150}, {"main PAINT", "main ERASEBKGND"}},
      {"over the child, not its child",
       {30, 30, 60, 60},
       {"main PAINT", "main ERASEBKGND", "child PAINT", "child ERASEBKGND"}},
      {"everything",
       {0, 0, 200, 150},
       {"main PAINT", "main ERASEBKGND", "child PAINT", "child ERASEBKGND", "deep PAINT", "deep ERASEBKGND"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    records.clear();
    InvalidateRect(main, &c.area, TRUE);
    Pump();
    EXPECT_EQ(Sequence(), c.expected);
  }
  RECT r;
  InvalidateRect(main, &cases[1].area, TRUE);
  ASSERT_TRUE(GetUpdateRect(child, &r, FALSE));
  EXPECT_EQ(r.left, 20);  // in the child's own client coordinates
  EXPECT_EQ(r.top, 20);
  EXPECT_EQ(r.right, 40);
  EXPECT_EQ(r.bottom, 40);
  EXPECT_FALSE(GetUpdateRect(deep, &r, FALSE));
}

TEST_F(PaintEmu, AWindowThatDoesNotBeginPaintingStaysInvalid) {
  HWND main = Top("main", RECT{0, 0, 100, 80});
  Pump();
  int paints = 0;
  hook = [&](HWND, UINT msg, WPARAM, LPARAM, LRESULT*) { return msg == WM_PAINT && ++paints > 0; };
  InvalidateRect(main, nullptr, FALSE);
  MSG m;
  for (int i = 0; i < 3; ++i) {
    ASSERT_TRUE(PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(m.message, static_cast<UINT>(WM_PAINT));
    DispatchMessageA(&m);
  }
  EXPECT_EQ(paints, 3);
  ValidateRect(main, nullptr);
  EXPECT_FALSE(PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE));
}

TEST_F(PaintEmu, UpdateWindowPaintsAtOnce) {
  HWND main = Top("main", RECT{0, 0, 100, 80});
  HWND child = Child(main, "child", RECT{10, 10, 30, 30});
  Pump();
  records.clear();
  EXPECT_TRUE(UpdateWindow(main));
  EXPECT_TRUE(records.empty());  // nothing invalid, nothing sent
  InvalidateRect(main, nullptr, TRUE);
  UpdateWindow(main);
  EXPECT_EQ(Sequence(), (Strings{"main PAINT", "main ERASEBKGND", "child PAINT", "child ERASEBKGND"}));
  MSG m;
  EXPECT_FALSE(PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE));
  EXPECT_FALSE(GetUpdateRect(child, nullptr, FALSE));
}

TEST_F(PaintEmu, UpdateRegionIsTheUnionInsideTheClient) {
  HWND main = Top("main", RECT{0, 0, 100, 80});
  Pump();
  RECT r;
  EXPECT_FALSE(GetUpdateRect(main, &r, FALSE));
  EXPECT_TRUE(IsRectEmpty(&r));
  RECT a{10, 10, 20, 20}, b{50, 5, 60, 15}, outside{90, 70, 150, 150};
  InvalidateRect(main, &a, FALSE);
  InvalidateRect(main, &b, FALSE);
  InvalidateRect(main, &outside, FALSE);
  ASSERT_TRUE(GetUpdateRect(main, &r, FALSE));
  EXPECT_EQ(r.left, 10);
  EXPECT_EQ(r.top, 5);
  EXPECT_EQ(r.right, 100);
  EXPECT_EQ(r.bottom, 80);
  RECT band{0, 0, 100, 40};  // takes the top band off
  ValidateRect(main, &band);
  ASSERT_TRUE(GetUpdateRect(main, &r, FALSE));
  EXPECT_EQ(r.top, 40);
  EXPECT_EQ(r.left, 10);
  ValidateRect(main, nullptr);
  EXPECT_FALSE(GetUpdateRect(main, &r, FALSE));
}

TEST_F(PaintEmu, HiddenWindowsGatherNoUpdate) {
  HWND main = Top("main", RECT{0, 0, 100, 80}, WS_POPUP);
  InvalidateRect(main, nullptr, TRUE);
  RECT r;
  EXPECT_FALSE(GetUpdateRect(main, &r, FALSE));
  MSG m;
  EXPECT_FALSE(PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE));
}

TEST_F(PaintEmu, BeginPaintClipsToTheUpdateAndValidates) {
  HWND main = Top("main", RECT{0, 0, 100, 80}, WS_POPUP | WS_VISIBLE, "Bare");
  Pump();
  PAINTSTRUCT seen{};
  hook = [&](HWND h, UINT msg, WPARAM, LPARAM, LRESULT*) {
    if (msg != WM_PAINT) return false;
    HDC dc = BeginPaint(h, &seen);
    RECT everything{-50, -50, 500, 500};
    HBRUSH blue = CreateSolidBrush(kBlue);
    FillRect(dc, &everything, blue);
    EndPaint(h, &seen);
    DeleteObject(blue);
    return true;
  };
  RECT area{20, 10, 40, 30};
  InvalidateRect(main, &area, TRUE);
  records.clear();
  Pump();
  EXPECT_EQ(Sequence(), (Strings{"main PAINT", "main ERASEBKGND"}));
  EXPECT_TRUE(seen.fErase);  // the class has no brush: the erase is left to the painter
  EXPECT_EQ(seen.rcPaint.left, 20);
  EXPECT_EQ(seen.rcPaint.bottom, 30);
  EXPECT_EQ(emu::WindowPixel(main, 20, 10), kBlue);
  EXPECT_EQ(emu::WindowPixel(main, 39, 29), kBlue);
  EXPECT_NE(emu::WindowPixel(main, 40, 29), kBlue);
  EXPECT_NE(emu::WindowPixel(main, 19, 10), kBlue);
  RECT r;
  EXPECT_FALSE(GetUpdateRect(main, &r, FALSE));
}

TEST_F(PaintEmu, WindowDcsDrawOnTheClientInsideTheParent) {
  HWND main = Top("main", RECT{0, 0, 100, 80}, WS_POPUP | WS_VISIBLE | WS_BORDER, "Bare");
  HWND child = Child(main, "child", RECT{80, 60, 120, 100}, WS_VISIBLE | WS_BORDER, "Bare");  // juts out of main
  Pump();
  HDC dc = GetDC(child);
  ASSERT_NE(dc, nullptr);
  EXPECT_EQ(WindowFromDC(dc), child);
  RECT clip;
  GetClipBox(dc, &clip);
  EXPECT_EQ(clip.left, 0);
  EXPECT_EQ(clip.top, 0);
  RECT everything{-10, -10, 100, 100};
  HBRUSH blue = CreateSolidBrush(kBlue);
  FillRect(dc, &everything, blue);
  EXPECT_EQ(ReleaseDC(child, dc), 1);
  // The child's client starts at 1 (main's border) + 80 + 1 (its own border); main's client ends at 99 x 79.
  EXPECT_EQ(emu::WindowPixel(main, 82, 62), kBlue);
  EXPECT_EQ(emu::WindowPixel(main, 98, 78), kBlue);
  EXPECT_NE(emu::WindowPixel(main, 81, 61), kBlue);  // the child's border
  EXPECT_NE(emu::WindowPixel(main, 99, 79), kBlue);  // main's border
  DeleteObject(blue);
}

TEST_F(PaintEmu, TheScreenHasADcOfItsOwn) {
  HDC screen = GetDC(nullptr);
  ASSERT_NE(screen, nullptr);
  EXPECT_EQ(WindowFromDC(screen), GetDesktopWindow());
  RECT clip;
  GetClipBox(screen, &clip);
  EXPECT_EQ(clip.right, GetSystemMetrics(SM_CXSCREEN));
  EXPECT_EQ(clip.bottom, GetSystemMetrics(SM_CYSCREEN));
  EXPECT_EQ(ReleaseDC(nullptr, screen), 1);
}

TEST_F(PaintEmu, HidingAChildRepaintsWhatItCovered) {
  HWND main = Top("main", RECT{0, 0, 100, 80});
  HWND child = Child(main, "child", RECT{10, 10, 30, 30});
  Pump();
  ASSERT_EQ(emu::WindowPixel(main, 15, 15), kRed);
  ShowWindow(child, SW_HIDE);
  records.clear();
  Pump();
  EXPECT_EQ(Sequence(), (Strings{"main PAINT", "main ERASEBKGND"}));
  EXPECT_EQ(emu::WindowPixel(main, 15, 15), GetSysColor(COLOR_BTNFACE));
  MoveWindow(child, 50, 10, 20, 20, TRUE);
  ShowWindow(child, SW_SHOW);
  Pump();
  EXPECT_EQ(emu::WindowPixel(main, 55, 15), kRed);
}

TEST_F(PaintEmu, TheFrameShowsTheActivation) {
  HWND first = Top("first", RECT{0, 0, 200, 100}, WS_OVERLAPPEDWINDOW | WS_VISIBLE);
  Pump();
  const int captionY = 4 + 8;
  EXPECT_EQ(emu::WindowPixel(first, 0, 0), GetSysColor(COLOR_3DLIGHT));
  EXPECT_EQ(emu::WindowPixel(first, 1, 1), GetSysColor(COLOR_BTNHIGHLIGHT));
  EXPECT_EQ(emu::WindowPixel(first, 199, 99), GetSysColor(COLOR_3DDKSHADOW));
  EXPECT_EQ(emu::WindowPixel(first, 198, 98), GetSysColor(COLOR_BTNSHADOW));
  EXPECT_EQ(emu::WindowPixel(first, 60, captionY), GetSysColor(COLOR_ACTIVECAPTION));
  EXPECT_EQ(emu::WindowPixel(first, 60, 4 + 18), GetSysColor(COLOR_BTNFACE));  // the caption's bottom line
  // The close box: a raised face 14 pixels square, its cross in the button text colour.
  EXPECT_EQ(emu::WindowPixel(first, 200 - 4 - 2 - 14, 4 + 2), GetSysColor(COLOR_3DLIGHT));
  EXPECT_EQ(emu::WindowPixel(first, 200 - 4 - 2 - 14 + 2, 4 + 2 + 2), GetSysColor(COLOR_BTNFACE));
  Top("second", RECT{300, 0, 400, 100}, WS_OVERLAPPEDWINDOW | WS_VISIBLE);
  EXPECT_EQ(emu::WindowPixel(first, 60, captionY), GetSysColor(COLOR_INACTIVECAPTION));  // redrawn at once
  SetActiveWindow(first);
  EXPECT_EQ(emu::WindowPixel(first, 60, captionY), GetSysColor(COLOR_ACTIVECAPTION));
}

TEST_F(PaintEmu, TheCaptionCarriesTheWindowText) {
  HWND main = Top("main", RECT{0, 0, 200, 100}, WS_OVERLAPPEDWINDOW | WS_VISIBLE);
  Pump();
  emu::ClearTextCalls();
  SetWindowTextA(main, "Title");
  ASSERT_FALSE(emu::TextCalls().empty());
  const emu::TextCall& call = emu::TextCalls().back();
  EXPECT_EQ(call.window, main);
  EXPECT_EQ(call.text, "Title");
  EXPECT_EQ(call.textColor, GetSysColor(COLOR_CAPTIONTEXT));
}

}  // namespace
