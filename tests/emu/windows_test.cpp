// The window manager's classes, windows, geometry, z-order, destruction, default procedure and check box.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "recorder.h"
#include "winapi/emu/control.h"
#include "winapi/winapi.h"

namespace {

std::string Name(UINT msg) {
  static const std::map<UINT, std::string> kNames = {
      {WM_CREATE, "CREATE"},
      {WM_DESTROY, "DESTROY"},
      {WM_MOVE, "MOVE"},
      {WM_SIZE, "SIZE"},
      {WM_ACTIVATE, "ACTIVATE"},
      {WM_SETFOCUS, "SETFOCUS"},
      {WM_KILLFOCUS, "KILLFOCUS"},
      {WM_ENABLE, "ENABLE"},
      {WM_SETTEXT, "SETTEXT"},
      {WM_GETTEXT, "GETTEXT"},
      {WM_CLOSE, "CLOSE"},
      {WM_SHOWWINDOW, "SHOWWINDOW"},
      {WM_CANCELMODE, "CANCELMODE"},
      {WM_WINDOWPOSCHANGING, "POSCHANGING"},
      {WM_WINDOWPOSCHANGED, "POSCHANGED"},
      {WM_NCCREATE, "NCCREATE"},
      {WM_NCDESTROY, "NCDESTROY"},
      {WM_NCACTIVATE, "NCACTIVATE"},
      {WM_SYSCOMMAND, "SYSCOMMAND"},
      {WM_COMMAND, "COMMAND"},
      {WM_CAPTURECHANGED, "CAPTURECHANGED"},
      {WM_TIMER, "TIMER"},
  };
  auto it = kNames.find(msg);
  return it != kNames.end() ? it->second : "";
}

std::map<HWND, std::string> labels;

// The recorded messages that have a name here, as "label MESSAGE".
std::vector<std::string> Sequence() {
  std::vector<std::string> out;
  for (const Record& r : records) {
    std::string n = Name(r.msg);
    if (n.empty()) continue;
    auto it = labels.find(r.hwnd);
    out.push_back((it != labels.end() ? it->second : "?") + " " + n);
  }
  return out;
}

void Pump() {
  MSG m;
  while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&m);
    DispatchMessageA(&m);
  }
}

class WindowsEmu : public ::testing::Test {
 protected:
  void SetUp() override {
    emu::Reset();
    records.clear();
    answers.clear();
    labels.clear();
    WNDCLASSA wc{};
    wc.lpfnWndProc = Recorder;
    wc.lpszClassName = "Rec";
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    ASSERT_NE(RegisterClassA(&wc), 0);
  }
  HWND Top(const char* label, DWORD style = WS_OVERLAPPEDWINDOW, RECT r = {100, 100, 400, 300}, DWORD ex = 0) {
    HWND h = CreateWindowExA(ex, "Rec", label, style, r.left, r.top, r.right - r.left, r.bottom - r.top, nullptr,
                             nullptr, nullptr, nullptr);
    labels[h] = label;
    return h;
  }
  HWND Child(HWND parent, const char* label, RECT r = {10, 10, 60, 40}, DWORD style = WS_VISIBLE, int id = 0) {
    HWND h = CreateWindowExA(0, "Rec", label, WS_CHILD | style, r.left, r.top, r.right - r.left, r.bottom - r.top,
                             parent, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), nullptr, nullptr);
    labels[h] = label;
    return h;
  }
};

using Strings = std::vector<std::string>;

// ---- Classes

TEST_F(WindowsEmu, ClassNamesAreCaseInsensitiveAndUnique) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = Recorder;
  wc.lpszClassName = "rEc";
  SetLastError(0);
  EXPECT_EQ(RegisterClassA(&wc), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CLASS_ALREADY_EXISTS));

  WNDCLASSA info{};
  ASSERT_TRUE(GetClassInfoA(nullptr, "REC", &info));
  EXPECT_EQ(info.lpfnWndProc, Recorder);
  EXPECT_STREQ(info.lpszClassName, "Rec");
  EXPECT_EQ(info.hbrBackground, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));

  ASSERT_TRUE(UnregisterClassA("rec", nullptr));
  EXPECT_FALSE(GetClassInfoA(nullptr, "Rec", &info));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CLASS_DOES_NOT_EXIST));
  EXPECT_NE(RegisterClassA(&wc), 0);
}

TEST_F(WindowsEmu, ClassWithLiveWindowsCannotBeUnregistered) {
  HWND h = Top("main", WS_OVERLAPPEDWINDOW);
  EXPECT_FALSE(UnregisterClassA("Rec", nullptr));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CLASS_HAS_WINDOWS));
  DestroyWindow(h);
  EXPECT_TRUE(UnregisterClassA("Rec", nullptr));
}

TEST_F(WindowsEmu, RegisterClassFaultFailsWithTheCode) {
  emu::Fail("RegisterClassA", ERROR_NOT_ENOUGH_MEMORY, 1);
  WNDCLASSA wc{};
  wc.lpfnWndProc = Recorder;
  wc.lpszClassName = "Other";
  EXPECT_EQ(RegisterClassA(&wc), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_ENOUGH_MEMORY));
  EXPECT_NE(RegisterClassA(&wc), 0);  // only once
}

TEST_F(WindowsEmu, ButtonClassIsPredefined) {
  WNDCLASSA info{};
  ASSERT_TRUE(GetClassInfoA(nullptr, "BUTTON", &info));
  EXPECT_NE(info.lpfnWndProc, nullptr);
  EXPECT_TRUE(info.style & CS_DBLCLKS);
}

// ---- Creation

TEST_F(WindowsEmu, CreationSendsItsMessagesInOrder) {
  HWND h = Top("main", WS_OVERLAPPEDWINDOW);
  ASSERT_NE(h, nullptr);
  EXPECT_EQ(Sequence(), (Strings{"main NCCREATE", "main CREATE", "main SIZE", "main MOVE"}));
  char text[16];
  EXPECT_EQ(GetWindowTextA(h, text, sizeof text), 4);
  EXPECT_STREQ(text, "main");
  EXPECT_FALSE(IsWindowVisible(h));
  EXPECT_EQ(GetActiveWindow(), nullptr);
}

TEST_F(WindowsEmu, VisibleTopLevelIsShownAndActivated) {
  HWND h = Top("main", WS_OVERLAPPEDWINDOW | WS_VISIBLE);
  EXPECT_EQ(Sequence(),
            (Strings{"main NCCREATE", "main CREATE", "main SIZE", "main MOVE", "main SHOWWINDOW", "main POSCHANGING",
                     "main NCACTIVATE", "main ACTIVATE", "main SETFOCUS", "main POSCHANGED"}));
  EXPECT_TRUE(IsWindowVisible(h));
  EXPECT_EQ(GetActiveWindow(), h);
  EXPECT_EQ(GetFocus(), h);
}

TEST_F(WindowsEmu, CreateParametersReachWmCreate) {
  static CREATESTRUCTA seen;
  static int calls;
  calls = 0;
  answers.clear();
  WNDCLASSA wc{};
  wc.lpfnWndProc = [](HWND h, UINT m, WPARAM w, LPARAM l) -> LRESULT {
    if (m == WM_CREATE) {
      seen = *reinterpret_cast<CREATESTRUCTA*>(l);
      ++calls;
    }
    return DefWindowProcA(h, m, w, l);
  };
  wc.lpszClassName = "Params";
  RegisterClassA(&wc);
  int param = 7;
  HWND h = CreateWindowExA(WS_EX_CLIENTEDGE, "Params", "t", WS_POPUP, 1, 2, 30, 40, nullptr, nullptr, nullptr, &param);
  ASSERT_NE(h, nullptr);
  EXPECT_EQ(calls, 1);
  EXPECT_EQ(seen.lpCreateParams, &param);
  EXPECT_EQ(seen.x, 1);
  EXPECT_EQ(seen.y, 2);
  EXPECT_EQ(seen.cx, 30);
  EXPECT_EQ(seen.cy, 40);
  EXPECT_EQ(seen.dwExStyle, static_cast<DWORD>(WS_EX_CLIENTEDGE));
}

TEST_F(WindowsEmu, CreationFailures) {
  EXPECT_EQ(CreateWindowExA(0, "Rec", "", WS_CHILD, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_TLW_WITH_WSCHILD));
  EXPECT_EQ(CreateWindowExA(0, "NoSuchClass", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CANNOT_FIND_WND_CLASS));
  emu::Fail("CreateWindowExA", ERROR_NOT_ENOUGH_MEMORY, 1);
  EXPECT_EQ(CreateWindowExA(0, "Rec", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_ENOUGH_MEMORY));
  EXPECT_TRUE(records.empty());
  EXPECT_NE(CreateWindowExA(0, "Rec", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr), nullptr);
}

TEST_F(WindowsEmu, CreateRefusedByWmCreateDestroysTheWindow) {
  answers[WM_CREATE] = -1;
  EXPECT_EQ(Top("main"), nullptr);
  EXPECT_EQ(Sequence(), (Strings{"? NCCREATE", "? CREATE", "? DESTROY", "? NCDESTROY"}));
  ASSERT_FALSE(records.empty());
  EXPECT_FALSE(IsWindow(records.front().hwnd));
}

TEST_F(WindowsEmu, CwUseDefaultGivesOverlappedWindowsAPlaceAndSize) {
  HWND h = CreateWindowExA(0, "Rec", "", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, 5, CW_USEDEFAULT, 5, nullptr, nullptr,
                           nullptr, nullptr);
  RECT r;
  GetWindowRect(h, &r);
  EXPECT_GT(r.right - r.left, 100);
  EXPECT_GT(r.bottom - r.top, 100);
  EXPECT_LT(r.right, GetSystemMetrics(SM_CXSCREEN));
  HWND p =
      CreateWindowExA(0, "Rec", "", WS_POPUP, CW_USEDEFAULT, 5, CW_USEDEFAULT, 5, nullptr, nullptr, nullptr, nullptr);
  GetWindowRect(p, &r);
  EXPECT_EQ(r.left, 0);
  EXPECT_EQ(r.right, 0);
}

// ---- Z-order

TEST_F(WindowsEmu, CreationOrderIsZOrderFromTheTop) {
  HWND parent = Top("main");
  HWND a = Child(parent, "a"), b = Child(parent, "b"), c = Child(parent, "c");
  EXPECT_EQ(GetWindow(parent, GW_CHILD), a);
  EXPECT_EQ(GetWindow(a, GW_HWNDNEXT), b);
  EXPECT_EQ(GetWindow(b, GW_HWNDNEXT), c);
  EXPECT_EQ(GetWindow(c, GW_HWNDNEXT), nullptr);
  EXPECT_EQ(GetWindow(c, GW_HWNDPREV), b);
  EXPECT_EQ(GetWindow(b, GW_HWNDFIRST), a);
  EXPECT_EQ(GetWindow(a, GW_HWNDLAST), c);
  HWND second = Top("second");
  EXPECT_EQ(GetWindow(GetDesktopWindow(), GW_CHILD), second);  // new top-level windows go on top
  EXPECT_EQ(GetWindow(second, GW_HWNDNEXT), parent);
}

TEST_F(WindowsEmu, SetWindowPosRestacksSiblings) {
  struct Case {
    const char* name;
    int after;  // -1 top, -2 bottom, else index of the sibling to go after
    int moved;
    std::vector<int> order;
  };
  const Case cases[] = {
      {"last to top", -1, 2, {2, 0, 1}},         {"first to bottom", -2, 0, {1, 2, 0}},
      {"first after the last", 2, 0, {1, 2, 0}}, {"last after the first", 0, 2, {0, 2, 1}},
      {"top stays top", -1, 0, {0, 1, 2}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    emu::Reset();
    SetUp();
    HWND parent = Top("main");
    HWND kids[3] = {Child(parent, "0"), Child(parent, "1"), Child(parent, "2")};
    HWND after = c.after == -1 ? HWND_TOP : c.after == -2 ? HWND_BOTTOM : kids[c.after];
    records.clear();
    ASSERT_TRUE(SetWindowPos(kids[c.moved], after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE));
    std::vector<int> order;
    for (HWND h = GetWindow(parent, GW_CHILD); h != nullptr; h = GetWindow(h, GW_HWNDNEXT))
      order.push_back(static_cast<int>(std::find(kids, kids + 3, h) - kids));
    EXPECT_EQ(order, c.order);
    bool changed = c.order != std::vector<int>{0, 1, 2};
    Strings expected{labels[kids[c.moved]] + " POSCHANGING"};
    if (changed) expected.push_back(labels[kids[c.moved]] + " POSCHANGED");
    EXPECT_EQ(Sequence(), expected);
  }
}

// ---- Geometry and metrics

TEST_F(WindowsEmu, NonClientWidthsFollowTheStyles) {
  struct Case {
    const char* name;
    DWORD style;
    DWORD ex;
    bool child;
    RECT frame;  // left, top, right, bottom widths
  };
  const Case cases[] = {
      {"overlapped window", WS_OVERLAPPEDWINDOW, 0, false, {4, 23, 4, 4}},
      {"dialog frame", WS_POPUP | WS_CAPTION | WS_SYSMENU, 0, false, {3, 22, 3, 3}},
      {"modal frame, no caption", WS_POPUP, WS_EX_DLGMODALFRAME, false, {3, 3, 3, 3}},
      {"border only", WS_POPUP | WS_BORDER, 0, false, {1, 1, 1, 1}},
      {"bare popup", WS_POPUP, 0, false, {0, 0, 0, 0}},
      {"caption with client edge", WS_POPUP | WS_CAPTION, WS_EX_CLIENTEDGE, false, {5, 24, 5, 5}},
      {"overlapped without frame bits gets a caption", WS_OVERLAPPED, 0, false, {3, 22, 3, 3}},
      {"child with border", WS_BORDER, 0, true, {1, 1, 1, 1}},
      {"child with client edge", 0, WS_EX_CLIENTEDGE, true, {2, 2, 2, 2}},
      {"plain child", 0, 0, true, {0, 0, 0, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    HWND parent = c.child ? Top("parent", WS_POPUP, RECT{0, 0, 500, 500}) : nullptr;
    HWND h = CreateWindowExA(c.ex, "Rec", "", c.style | (c.child ? WS_CHILD : 0), 20, 30, 200, 100, parent, nullptr,
                             nullptr, nullptr);
    ASSERT_NE(h, nullptr);
    RECT client, window;
    GetClientRect(h, &client);
    GetWindowRect(h, &window);
    EXPECT_EQ(client.right, 200 - c.frame.left - c.frame.right);
    EXPECT_EQ(client.bottom, 100 - c.frame.top - c.frame.bottom);
    POINT origin{0, 0};
    ClientToScreen(h, &origin);
    EXPECT_EQ(origin.x - window.left, c.frame.left);
    EXPECT_EQ(origin.y - window.top, c.frame.top);
    if (!c.child) {
      RECT adjusted = client;
      AdjustWindowRectEx(&adjusted, static_cast<DWORD>(GetWindowLongPtrA(h, GWL_STYLE)), FALSE, c.ex);
      EXPECT_EQ(adjusted.right - adjusted.left, 200);
      EXPECT_EQ(adjusted.bottom - adjusted.top, 100);
    }
  }
}

TEST_F(WindowsEmu, ChildCoordinatesAreRelativeToTheParentClient) {
  HWND parent = Top("main", WS_OVERLAPPEDWINDOW, RECT{100, 50, 500, 450});
  HWND child = Child(parent, "c", RECT{10, 20, 110, 70}, WS_VISIBLE | WS_BORDER);
  RECT r;
  GetWindowRect(child, &r);
  EXPECT_EQ(r.left, 100 + 4 + 10);
  EXPECT_EQ(r.top, 50 + 23 + 20);
  EXPECT_EQ(r.right - r.left, 100);
  POINT p{0, 0};
  ClientToScreen(child, &p);
  EXPECT_EQ(p.x, 115);
  EXPECT_EQ(p.y, 94);
  ScreenToClient(child, &p);
  EXPECT_EQ(p.x, 0);
  EXPECT_EQ(p.y, 0);
  EXPECT_EQ(GetParent(child), parent);
  EXPECT_TRUE(IsChild(parent, child));
  EXPECT_FALSE(IsChild(child, parent));
  EXPECT_EQ(GetParent(parent), nullptr);
}

TEST_F(WindowsEmu, SystemMetricsAreClassic) {
  emu::Config config;
  config.screenWidth = 800;
  config.screenHeight = 600;
  emu::Reset(config);
  const std::pair<int, int> cases[] = {
      {SM_CXSCREEN, 800}, {SM_CYSCREEN, 600},  {SM_CYCAPTION, 19},  {SM_CXBORDER, 1}, {SM_CYBORDER, 1},
      {SM_CXDLGFRAME, 3}, {SM_CYDLGFRAME, 3},  {SM_CXFRAME, 4},     {SM_CYFRAME, 4},  {SM_CXEDGE, 2},
      {SM_CXICON, 32},    {SM_CXDOUBLECLK, 4}, {SM_CYDOUBLECLK, 4},
  };
  for (auto [index, value] : cases) EXPECT_EQ(GetSystemMetrics(index), value) << "metric " << index;
  EXPECT_EQ(GetDoubleClickTime(), 500u);
  RECT desk;
  GetWindowRect(GetDesktopWindow(), &desk);
  EXPECT_EQ(desk.right, 800);
  EXPECT_EQ(desk.bottom, 600);
}

TEST_F(WindowsEmu, MovingAndSizingReportThroughDefWindowProc) {
  HWND h = Top("main", WS_POPUP, RECT{10, 10, 110, 60});
  struct Case {
    const char* name;
    int x, y, cx, cy;
    UINT flags;
    Strings expected;
  };
  const Case cases[] = {
      {"move only", 20, 30, 0, 0, SWP_NOSIZE | SWP_NOZORDER, {"main POSCHANGING", "main POSCHANGED", "main MOVE"}},
      {"size only", 0, 0, 50, 40, SWP_NOMOVE | SWP_NOZORDER, {"main POSCHANGING", "main POSCHANGED", "main SIZE"}},
      {"both", 1, 2, 3, 4, SWP_NOZORDER, {"main POSCHANGING", "main POSCHANGED", "main MOVE", "main SIZE"}},
      {"nothing changes", 1, 2, 3, 4, SWP_NOZORDER, {"main POSCHANGING"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    records.clear();
    ASSERT_TRUE(SetWindowPos(h, nullptr, c.x, c.y, c.cx, c.cy, c.flags | SWP_NOACTIVATE));
    EXPECT_EQ(Sequence(), c.expected);
  }
  records.clear();
  MoveWindow(h, 5, 6, 70, 80, TRUE);
  RECT r;
  GetWindowRect(h, &r);
  EXPECT_EQ(r.left, 5);
  EXPECT_EQ(r.bottom, 86);
  auto size = std::find_if(records.begin(), records.end(), [](const Record& x) { return x.msg == WM_SIZE; });
  ASSERT_NE(size, records.end());
  EXPECT_EQ(LOWORD(size->lp), 70);
  EXPECT_EQ(HIWORD(size->lp), 80);
  auto move = std::find_if(records.begin(), records.end(), [](const Record& x) { return x.msg == WM_MOVE; });
  ASSERT_NE(move, records.end());
  EXPECT_EQ(LOWORD(move->lp), 5);
  // The raster follows the new size.
  EXPECT_NE(emu::WindowPixel(h, 69, 79), CLR_INVALID);
  EXPECT_EQ(emu::WindowPixel(h, 70, 79), CLR_INVALID);
  EXPECT_EQ(emu::WindowPixel(h, 69, 80), CLR_INVALID);
}

// ---- Window data

LRESULT CALLBACK Subclass(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_USER) return 42;
  return Recorder(hwnd, msg, wp, lp);
}

TEST_F(WindowsEmu, WindowLongsReadAndWrite) {
  HWND parent = Top("main", WS_POPUP);
  HWND h = Child(parent, "c", RECT{0, 0, 10, 10}, WS_VISIBLE, 17);
  EXPECT_EQ(GetWindowLongPtrA(h, GWLP_ID), 17);
  EXPECT_TRUE(GetWindowLongPtrA(h, GWL_STYLE) & WS_CHILD);
  EXPECT_EQ(GetWindowLongPtrA(h, GWLP_USERDATA), 0);
  EXPECT_EQ(SetWindowLongPtrA(h, GWLP_USERDATA, 1234), 0);
  EXPECT_EQ(GetWindowLongPtrA(h, GWLP_USERDATA), 1234);
  LONG_PTR old = SetWindowLongPtrA(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(Subclass));
  EXPECT_EQ(old, reinterpret_cast<LONG_PTR>(Recorder));
  EXPECT_EQ(SendMessageA(h, WM_USER, 0, 0), 42);
  EXPECT_EQ(CallWindowProcA(reinterpret_cast<WNDPROC>(old), h, WM_GETTEXTLENGTH, 0, 0), 1);
  EXPECT_EQ(GetWindowLongPtrA(h, GWLP_HWNDPARENT), reinterpret_cast<LONG_PTR>(parent));
  SetLastError(0);
  EXPECT_EQ(GetWindowLongPtrA(reinterpret_cast<HWND>(0x999), GWL_STYLE), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
}

TEST_F(WindowsEmu, TextGoesThroughMessages) {
  HWND h = Top("main", WS_POPUP);
  records.clear();
  EXPECT_TRUE(SetWindowTextA(h, "hello"));
  EXPECT_EQ(Sequence(), Strings{"main SETTEXT"});
  EXPECT_EQ(GetWindowTextLengthA(h), 5);
  char small[4] = "xyz";
  EXPECT_EQ(GetWindowTextA(h, small, sizeof small), 3);
  EXPECT_STREQ(small, "hel");
  char full[16];
  EXPECT_EQ(GetWindowTextA(h, full, sizeof full), 5);
  EXPECT_STREQ(full, "hello");
  SetWindowTextA(h, nullptr);
  EXPECT_EQ(GetWindowTextLengthA(h), 0);
}

// ---- Visibility and enabling

TEST_F(WindowsEmu, VisibilityNeedsEveryAncestor) {
  HWND parent = Top("main", WS_POPUP);
  HWND child = Child(parent, "c");
  EXPECT_FALSE(IsWindowVisible(child));
  EXPECT_FALSE(ShowWindow(parent, SW_SHOWNA));
  EXPECT_TRUE(IsWindowVisible(child));
  EXPECT_EQ(GetActiveWindow(), nullptr);  // SW_SHOWNA does not activate
  EXPECT_TRUE(ShowWindow(child, SW_HIDE));
  EXPECT_FALSE(IsWindowVisible(child));
  EXPECT_FALSE(ShowWindow(child, SW_HIDE));
  records.clear();
  EXPECT_FALSE(ShowWindow(child, SW_SHOW));
  EXPECT_EQ(Sequence(), (Strings{"c SHOWWINDOW", "c POSCHANGING", "c POSCHANGED"}));
  records.clear();
  EXPECT_TRUE(ShowWindow(child, SW_SHOW));
  EXPECT_TRUE(Sequence().empty());
}

TEST_F(WindowsEmu, DisablingTheFocusOrItsAncestorRemovesTheFocus) {
  HWND main = Top("main", WS_POPUP | WS_VISIBLE);
  HWND box = Child(main, "box");
  HWND inner = Child(box, "inner");
  struct Case {
    const char* name;
    HWND disabled;
    bool losesFocus;
  };
  const Case cases[] = {
      {"the focus itself", inner, true}, {"its parent", box, true}, {"a sibling tree", nullptr, false}};
  HWND other = Child(main, "other");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    HWND target = c.disabled != nullptr ? c.disabled : other;
    EnableWindow(target, TRUE);
    SetFocus(inner);
    records.clear();
    EXPECT_FALSE(EnableWindow(target, FALSE));
    EXPECT_FALSE(IsWindowEnabled(target));
    std::string t = labels[target];
    if (c.losesFocus)
      EXPECT_EQ(Sequence(), (Strings{t + " CANCELMODE", "inner KILLFOCUS", t + " ENABLE"}));
    else
      EXPECT_EQ(Sequence(), (Strings{t + " CANCELMODE", t + " ENABLE"}));
    EXPECT_EQ(GetFocus(), c.losesFocus ? nullptr : inner);
    EXPECT_TRUE(EnableWindow(target, TRUE));
  }
  EXPECT_EQ(SetFocus(nullptr), inner);
  EnableWindow(inner, FALSE);
  EXPECT_EQ(SetFocus(inner), nullptr);  // a disabled window cannot take the focus
  EXPECT_EQ(GetFocus(), nullptr);
}

// ---- Destruction

TEST_F(WindowsEmu, DestroySequenceParentFirstThenChildrenFirst) {
  HWND main = Top("main", WS_POPUP | WS_VISIBLE);
  HWND a = Child(main, "a");
  Child(a, "a1");
  Child(main, "b");
  records.clear();
  ASSERT_TRUE(DestroyWindow(main));
  EXPECT_EQ(Sequence(), (Strings{"main POSCHANGING", "main POSCHANGED", "main NCACTIVATE", "main ACTIVATE",
                                 "main KILLFOCUS", "main DESTROY", "a DESTROY", "a1 DESTROY", "b DESTROY",
                                 "a1 NCDESTROY", "a NCDESTROY", "b NCDESTROY", "main NCDESTROY"}));
  for (const auto& [hwnd, label] : labels) EXPECT_FALSE(IsWindow(hwnd)) << label;
  EXPECT_EQ(GetActiveWindow(), nullptr);
  EXPECT_EQ(GetFocus(), nullptr);
  EXPECT_FALSE(DestroyWindow(main));
}

TEST_F(WindowsEmu, DestroyingAChildGivesBackFocusCaptureTimersAndMessages) {
  HWND main = Top("main", WS_POPUP | WS_VISIBLE);
  HWND c = Child(main, "c");
  SetFocus(c);
  SetCapture(c);
  SetTimer(c, 1, 100, nullptr);
  PostMessageA(c, WM_USER, 0, 0);
  PostMessageA(main, WM_USER + 1, 0, 0);
  records.clear();
  ASSERT_TRUE(DestroyWindow(c));
  EXPECT_EQ(Sequence(), (Strings{"c SHOWWINDOW", "c POSCHANGING", "c POSCHANGED", "c KILLFOCUS", "main SETFOCUS",
                                 "c CAPTURECHANGED", "c DESTROY", "c NCDESTROY"}));
  EXPECT_EQ(GetFocus(), main);
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_FALSE(KillTimer(c, 1));
  EXPECT_EQ(GetWindow(main, GW_CHILD), nullptr);
  MSG m;
  ASSERT_TRUE(PeekMessageA(&m, nullptr, WM_USER, WM_USER + 1, PM_REMOVE));
  EXPECT_EQ(m.message, static_cast<UINT>(WM_USER + 1));
  EXPECT_FALSE(PeekMessageA(&m, nullptr, WM_USER, WM_USER + 1, PM_REMOVE));
}

TEST_F(WindowsEmu, DestroyingTheActiveWindowActivatesTheNextOne) {
  HWND back = Top("back", WS_POPUP | WS_VISIBLE);
  HWND front = Top("front", WS_POPUP | WS_VISIBLE);
  ASSERT_EQ(GetActiveWindow(), front);
  records.clear();
  DestroyWindow(front);
  EXPECT_EQ(GetActiveWindow(), back);
  EXPECT_EQ(GetFocus(), back);
  Strings seq = Sequence();
  Strings expected{"front POSCHANGING", "front POSCHANGED", "back POSCHANGING", "back POSCHANGED",
                   "front NCACTIVATE",  "front ACTIVATE",   "back NCACTIVATE",  "back ACTIVATE",
                   "front KILLFOCUS",   "back SETFOCUS",    "front DESTROY",    "front NCDESTROY"};
  EXPECT_EQ(seq, expected);
}

// ---- Default processing

TEST_F(WindowsEmu, CloseBoxClickClosesTheWindow) {
  HWND h = Top("main", WS_OVERLAPPEDWINDOW | WS_VISIBLE, RECT{100, 100, 300, 200});
  Pump();
  // The close box: 14 pixels square, 2 in from the frame's right and the caption's top.
  const struct {
    int x, y;
    LRESULT hit;
  } probes[] = {
      {300 - 4 - 2 - 7, 100 + 4 + 2 + 7, HTCLOSE},
      {300 - 4 - 1, 100 + 4 + 8, HTCAPTION},
      {150, 100 + 4 + 8, HTCAPTION},
      {150, 100 + 4 + 19 + 5, HTCLIENT},
      {101, 150, HTBORDER},
      {99, 150, HTNOWHERE},
  };
  for (const auto& p : probes)
    EXPECT_EQ(SendMessageA(h, WM_NCHITTEST, 0, MAKELPARAM(p.x, p.y)), p.hit) << p.x << "," << p.y;
  emu::MouseMove(300 - 13, 113);
  emu::MouseDown(emu::Button::Left);
  emu::MouseUp(emu::Button::Left);
  records.clear();
  Pump();
  Strings seq = Sequence();
  auto at = std::find(seq.begin(), seq.end(), "main SYSCOMMAND");
  ASSERT_NE(at, seq.end());
  EXPECT_EQ(Strings(at, at + 3), (Strings{"main SYSCOMMAND", "main CLOSE", "main POSCHANGING"}));
  EXPECT_FALSE(IsWindow(h));
}

TEST_F(WindowsEmu, CloseBoxPressReleasedElsewhereDoesNothing) {
  HWND h = Top("main", WS_OVERLAPPEDWINDOW | WS_VISIBLE, RECT{100, 100, 300, 200});
  emu::MouseMove(300 - 13, 113);
  emu::MouseDown(emu::Button::Left);
  emu::MouseMove(150, 113);
  emu::MouseUp(emu::Button::Left);
  emu::MouseMove(300 - 13, 113);
  emu::MouseDown(emu::Button::Right);
  emu::MouseUp(emu::Button::Right);
  Pump();
  EXPECT_TRUE(IsWindow(h));
}

TEST_F(WindowsEmu, WindowWithoutSystemMenuHasNoCloseBox) {
  HWND h = Top("main", WS_POPUP | WS_CAPTION | WS_VISIBLE, RECT{100, 100, 300, 200});
  EXPECT_EQ(SendMessageA(h, WM_NCHITTEST, 0, MAKELPARAM(300 - 3 - 9, 110)), HTCAPTION);
}

// ---- The check box

class CheckBoxEmu : public WindowsEmu {
 protected:
  void SetUp() override {
    WindowsEmu::SetUp();
    main = Top("main", WS_POPUP | WS_VISIBLE, RECT{0, 0, 300, 200});
    box = CreateWindowExA(0, "Button", "Option", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX, 20, 30, 120, 17,
                          main, reinterpret_cast<HMENU>(5), nullptr, nullptr);
    labels[box] = "box";
    Pump();
    records.clear();
  }
  int Clicks() const {
    int n = 0;
    for (const Record& r : records)
      if (r.hwnd == main && r.msg == WM_COMMAND && r.wp == MAKEWPARAM(5, BN_CLICKED) &&
          r.lp == reinterpret_cast<LPARAM>(box))
        ++n;
    return n;
  }
  HWND main = nullptr;
  HWND box = nullptr;
};

TEST_F(CheckBoxEmu, MouseClickTogglesAndNotifies) {
  struct Case {
    const char* name;
    int releaseX, releaseY;  // screen position of the release
    bool toggles;
  };
  const Case cases[] = {{"inside", 40, 38, true}, {"outside", 200, 100, false}, {"back inside", 139, 46, true}};
  int expected = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    LRESULT before = SendMessageA(box, BM_GETCHECK, 0, 0);
    emu::MouseMove(30, 35);
    emu::MouseDown(emu::Button::Left);
    Pump();
    EXPECT_EQ(GetCapture(), box);
    EXPECT_EQ(GetFocus(), box);
    EXPECT_TRUE(SendMessageA(box, BM_GETSTATE, 0, 0) & BST_PUSHED);
    emu::MouseMove(c.releaseX, c.releaseY);
    emu::MouseUp(emu::Button::Left);
    Pump();
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_FALSE(SendMessageA(box, BM_GETSTATE, 0, 0) & BST_PUSHED);
    EXPECT_EQ(SendMessageA(box, BM_GETCHECK, 0, 0), c.toggles ? !before : before);
    if (c.toggles) ++expected;
    EXPECT_EQ(Clicks(), expected);
    emu::AdvanceClock(1000);  // no double-clicks between the cases
  }
}

TEST_F(CheckBoxEmu, SpaceTogglesOnRelease) {
  SetFocus(box);
  emu::KeyDown(VK_SPACE);
  Pump();
  EXPECT_EQ(SendMessageA(box, BM_GETCHECK, 0, 0), BST_UNCHECKED);
  EXPECT_EQ(Clicks(), 0);
  emu::KeyUp(VK_SPACE);
  Pump();
  EXPECT_EQ(SendMessageA(box, BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_EQ(Clicks(), 1);
  emu::KeyDown(VK_SPACE);
  emu::KeyUp(VK_SPACE);
  Pump();
  EXPECT_EQ(SendMessageA(box, BM_GETCHECK, 0, 0), BST_UNCHECKED);
  EXPECT_EQ(Clicks(), 2);
}

TEST_F(CheckBoxEmu, MessagesOfTheControl) {
  EXPECT_EQ(SendMessageA(box, WM_GETDLGCODE, 0, 0), DLGC_BUTTON);
  SendMessageA(box, BM_SETCHECK, BST_CHECKED, 0);
  EXPECT_EQ(SendMessageA(box, BM_GETCHECK, 0, 0), BST_CHECKED);
  SendMessageA(box, BM_SETCHECK, BST_INDETERMINATE, 0);  // a two-state box cannot be indeterminate
  EXPECT_EQ(SendMessageA(box, BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_EQ(Clicks(), 0);  // setting the state is no click
  SendMessageA(box, BM_CLICK, 0, 0);
  EXPECT_EQ(SendMessageA(box, BM_GETCHECK, 0, 0), BST_UNCHECKED);
  EXPECT_EQ(Clicks(), 1);
  char text[16];
  GetWindowTextA(box, text, sizeof text);
  EXPECT_STREQ(text, "Option");
}

TEST_F(CheckBoxEmu, PaintsASunkenBoxWithAMark) {
  POINT o = emu::ClientOriginInTopLevel(box);
  int top = o.y + (17 - 13) / 2;
  auto pixel = [&](int x, int y) { return emu::WindowPixel(main, o.x + x, top + y); };
  EXPECT_EQ(pixel(0, 0), GetSysColor(COLOR_BTNSHADOW));
  EXPECT_EQ(pixel(12, 12), GetSysColor(COLOR_BTNHIGHLIGHT));
  EXPECT_EQ(pixel(1, 1), GetSysColor(COLOR_3DDKSHADOW));
  EXPECT_EQ(pixel(6, 6), GetSysColor(COLOR_WINDOW));  // unchecked: the inside is plain
  SendMessageA(box, BM_SETCHECK, BST_CHECKED, 0);
  Pump();
  EXPECT_EQ(pixel(6, 6), GetSysColor(COLOR_WINDOWTEXT));
  EXPECT_EQ(pixel(3, 3), GetSysColor(COLOR_WINDOW));
}

}  // namespace
