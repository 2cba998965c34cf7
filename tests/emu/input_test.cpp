// Input through the funnel: routing, double-clicks, keys, focus, activation and capture, and the pop-up menu.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "recorder.h"
#include "winapi/emu/control.h"
#include "winapi/winapi.h"

namespace {

std::map<HWND, std::string> labels;

std::string Name(UINT msg) {
  static const std::map<UINT, std::string> kNames = {
      {WM_ACTIVATE, "ACTIVATE"},
      {WM_SETFOCUS, "SETFOCUS"},
      {WM_KILLFOCUS, "KILLFOCUS"},
      {WM_NCACTIVATE, "NCACTIVATE"},
      {WM_MOUSEACTIVATE, "MOUSEACTIVATE"},
      {WM_CAPTURECHANGED, "CAPTURECHANGED"},
      {WM_LBUTTONDOWN, "LBUTTONDOWN"},
      {WM_ENTERMENULOOP, "ENTERMENULOOP"},
      {WM_INITMENUPOPUP, "INITMENUPOPUP"},
      {WM_EXITMENULOOP, "EXITMENULOOP"},
      {WM_COMMAND, "COMMAND"},
      {WM_WINDOWPOSCHANGING, "POSCHANGING"},
  };
  auto it = kNames.find(msg);
  return it != kNames.end() ? it->second : "";
}

std::string Label(HWND h) {
  if (h == nullptr) return "0";
  auto it = labels.find(h);
  return it != labels.end() ? it->second : "?";
}

// Named messages as "label MESSAGE", with the window in wParam (focus) or lParam (activation, capture).
std::vector<std::string> Sequence() {
  std::vector<std::string> out;
  for (const Record& r : records) {
    std::string n = Name(r.msg);
    if (n.empty()) continue;
    std::string s = Label(r.hwnd) + " " + n;
    if (r.msg == WM_SETFOCUS || r.msg == WM_KILLFOCUS) s += "(" + Label(reinterpret_cast<HWND>(r.wp)) + ")";
    if (r.msg == WM_CAPTURECHANGED) s += "(" + Label(reinterpret_cast<HWND>(r.lp)) + ")";
    if (r.msg == WM_ACTIVATE) s += "(" + std::to_string(LOWORD(r.wp)) + "," + Label(reinterpret_cast<HWND>(r.lp)) + ")";
    if (r.msg == WM_NCACTIVATE) s += "(" + std::to_string(r.wp) + ")";
    out.push_back(s);
  }
  return out;
}

using Strings = std::vector<std::string>;

// One queued input message as the program would read it.
struct Input {
  HWND hwnd;
  UINT msg;
  WPARAM wp;
  int x, y;
};

class InputEmu : public ::testing::Test {
 protected:
  void SetUp() override {
    emu::Reset();
    records.clear();
    answers.clear();
    labels.clear();
    WNDCLASSA wc{};
    wc.lpfnWndProc = Recorder;
    wc.lpszClassName = "Rec";
    ASSERT_NE(RegisterClassA(&wc), 0);
    wc.lpszClassName = "Dbl";
    wc.style = CS_DBLCLKS;
    ASSERT_NE(RegisterClassA(&wc), 0);
  }
  HWND Top(const char* label, RECT r, DWORD style = WS_POPUP | WS_VISIBLE, const char* cls = "Rec") {
    HWND h = CreateWindowExA(0, cls, label, style, r.left, r.top, r.right - r.left, r.bottom - r.top, nullptr, nullptr,
                             nullptr, nullptr);
    labels[h] = label;
    return h;
  }
  HWND Child(HWND parent, const char* label, RECT r, DWORD style = WS_VISIBLE, const char* cls = "Rec") {
    HWND h = CreateWindowExA(0, cls, label, WS_CHILD | style, r.left, r.top, r.right - r.left, r.bottom - r.top, parent,
                             nullptr, nullptr, nullptr);
    labels[h] = label;
    return h;
  }
  // The queued input, taken off without being handled.
  static std::vector<Input> Inputs() {
    std::vector<Input> out;
    MSG m;
    for (int n = 0; n < 100 && PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE); ++n) {
      if (m.message == WM_PAINT) ValidateRect(m.hwnd, nullptr);
      if ((m.message >= WM_MOUSEFIRST && m.message <= WM_MOUSELAST) ||
          (m.message >= WM_KEYFIRST && m.message <= WM_KEYLAST) ||
          (m.message >= WM_NCMOUSEMOVE && m.message <= WM_NCMBUTTONDBLCLK))
        out.push_back(Input{m.hwnd, m.message, m.wParam, GET_X_LPARAM(m.lParam), GET_Y_LPARAM(m.lParam)});
    }
    return out;
  }
  static void Click(int x, int y) {
    emu::MouseMove(x, y);
    emu::MouseDown(emu::Button::Left);
    emu::MouseUp(emu::Button::Left);
  }
};

// ---- Routing

TEST_F(InputEmu, WindowFromPointFindsTheDeepestVisibleEnabledWindow) {
  HWND main = Top("main", RECT{100, 100, 400, 300});
  HWND panel = Child(main, "panel", RECT{10, 10, 210, 110});
  HWND button = Child(panel, "button", RECT{10, 10, 60, 40});
  HWND hidden = Child(panel, "hidden", RECT{100, 10, 150, 40}, 0);
  HWND disabled = Child(panel, "disabled", RECT{10, 50, 60, 80}, WS_VISIBLE | WS_DISABLED);
  HWND upper = Child(main, "upper", RECT{250, 10, 290, 50});
  Child(main, "lower", RECT{250, 10, 290, 50});                    // created later, so under "upper"
  HWND outside = Child(panel, "outside", RECT{190, 10, 260, 40});  // partly outside its parent's client area
  (void)hidden;
  (void)disabled;
  const struct {
    const char* name;
    POINT p;
    HWND expected;
  } cases[] = {
      {"deepest child", {125, 125}, button},
      {"hidden child is skipped", {215, 125}, panel},
      {"disabled child gives way to its parent", {125, 165}, panel},
      {"the upper of two siblings", {355, 115}, upper},
      {"a child outside its parent's client area is not there", {325, 125}, main},
      {"inside the child within its parent", {305, 125}, outside},
      {"the top-level window itself", {390, 290}, main},
      {"nothing: the desktop", {50, 50}, GetDesktopWindow()},
  };
  for (const auto& c : cases) EXPECT_EQ(WindowFromPoint(c.p), c.expected) << c.name;
}

TEST_F(InputEmu, MouseMovesGoToTheWindowUnderThePointerInClientCoordinates) {
  HWND main = Top("main", RECT{100, 100, 400, 300}, WS_OVERLAPPEDWINDOW | WS_VISIBLE);
  HWND child = Child(main, "child", RECT{10, 20, 110, 70});
  Inputs();
  emu::KeyDown(VK_SHIFT);
  emu::MouseMove(100 + 4 + 15, 100 + 23 + 25);
  emu::MouseMove(100 + 4 + 200, 100 + 23 + 100);
  emu::MouseMove(200, 108);  // on the caption
  std::vector<Input> got = Inputs();
  ASSERT_EQ(got.size(), 4u);
  EXPECT_EQ(got[0].msg, static_cast<UINT>(WM_KEYDOWN));
  EXPECT_EQ(got[1].hwnd, child);
  EXPECT_EQ(got[1].msg, static_cast<UINT>(WM_MOUSEMOVE));
  EXPECT_EQ(got[1].wp, static_cast<WPARAM>(MK_SHIFT));
  EXPECT_EQ(got[1].x, 5);
  EXPECT_EQ(got[1].y, 5);
  EXPECT_EQ(got[2].hwnd, main);
  EXPECT_EQ(got[2].x, 200);
  EXPECT_EQ(got[2].y, 100);
  EXPECT_EQ(got[3].hwnd, main);
  EXPECT_EQ(got[3].msg, static_cast<UINT>(WM_NCMOUSEMOVE));
  EXPECT_EQ(got[3].wp, static_cast<WPARAM>(HTCAPTION));
  EXPECT_EQ(got[3].x, 200);  // screen coordinates
  EXPECT_EQ(got[3].y, 108);
  POINT cursor;
  GetCursorPos(&cursor);
  EXPECT_EQ(cursor.x, 200);
  EXPECT_EQ(cursor.y, 108);
}

TEST_F(InputEmu, TheCaptureGetsEveryMouseMessageRelativeToItsClient) {
  HWND main = Top("main", RECT{100, 100, 400, 300});
  HWND child = Child(main, "child", RECT{10, 10, 60, 60});
  Top("other", RECT{500, 100, 600, 200});
  SetCapture(child);
  emu::MouseMove(105, 102);  // over the parent
  emu::MouseMove(550, 150);  // over another top-level window
  emu::MouseDown(emu::Button::Left);
  emu::MouseUp(emu::Button::Left);
  std::vector<Input> got = Inputs();
  ASSERT_EQ(got.size(), 4u);
  for (const Input& i : got) EXPECT_EQ(i.hwnd, child);
  EXPECT_EQ(got[0].x, -5);
  EXPECT_EQ(got[0].y, -8);
  EXPECT_EQ(got[1].x, 440);
  EXPECT_EQ(got[2].msg, static_cast<UINT>(WM_LBUTTONDOWN));
  EXPECT_EQ(got[2].wp, static_cast<WPARAM>(MK_LBUTTON));
  EXPECT_EQ(got[3].msg, static_cast<UINT>(WM_LBUTTONUP));
  EXPECT_EQ(got[3].wp, 0u);
  EXPECT_NE(GetActiveWindow(), main);  // no activation while the capture is held
}

TEST_F(InputEmu, ButtonsAndModifiersShowInTheKeyState) {
  Top("main", RECT{0, 0, 100, 100});
  emu::MouseMove(10, 10);
  Inputs();
  const struct {
    emu::Button button;
    BYTE vk;
    WPARAM mk;
    UINT down, up;
  } cases[] = {
      {emu::Button::Left, VK_LBUTTON, MK_LBUTTON, WM_LBUTTONDOWN, WM_LBUTTONUP},
      {emu::Button::Right, VK_RBUTTON, MK_RBUTTON, WM_RBUTTONDOWN, WM_RBUTTONUP},
      {emu::Button::Middle, VK_MBUTTON, MK_MBUTTON, WM_MBUTTONDOWN, WM_MBUTTONUP},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.vk);
    emu::KeyDown(VK_CONTROL);
    emu::MouseDown(c.button);
    BYTE keys[256];
    GetKeyboardState(keys);
    EXPECT_TRUE(keys[c.vk] & 0x80);
    EXPECT_LT(GetKeyState(c.vk), 0);
    emu::MouseUp(c.button);
    emu::KeyUp(VK_CONTROL);
    EXPECT_GE(GetKeyState(c.vk), 0);
    std::vector<Input> got = Inputs();
    ASSERT_EQ(got.size(), 4u);
    EXPECT_EQ(got[1].msg, c.down);
    EXPECT_EQ(got[1].wp, c.mk | MK_CONTROL);
    EXPECT_EQ(got[2].msg, c.up);
    EXPECT_EQ(got[2].wp, static_cast<WPARAM>(MK_CONTROL));
  }
}

// ---- Double-clicks

TEST_F(InputEmu, DoubleClicksFollowClassTimeAndDistance) {
  struct Case {
    const char* name;
    const char* cls;
    DWORD gap;   // ms between the presses
    int dx, dy;  // movement between the presses
    bool sameButton;
    UINT second;
  };
  const Case cases[] = {
      {"quick, still", "Dbl", 100, 0, 0, true, WM_LBUTTONDBLCLK},
      {"just within the time", "Dbl", 499, 0, 0, true, WM_LBUTTONDBLCLK},
      {"at the time limit", "Dbl", 500, 0, 0, true, WM_LBUTTONDOWN},
      {"one pixel off", "Dbl", 100, 1, -1, true, WM_LBUTTONDBLCLK},
      {"two pixels off", "Dbl", 100, 2, 0, true, WM_LBUTTONDOWN},
      {"two pixels down", "Dbl", 100, 0, 2, true, WM_LBUTTONDOWN},
      {"class without CS_DBLCLKS", "Rec", 100, 0, 0, true, WM_LBUTTONDOWN},
      {"the other button in between", "Dbl", 100, 0, 0, false, WM_LBUTTONDOWN},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SetUp();
    HWND h = Top("main", RECT{0, 0, 200, 200}, WS_POPUP | WS_VISIBLE, c.cls);
    Click(50, 50);
    if (!c.sameButton) {
      emu::MouseDown(emu::Button::Right);
      emu::MouseUp(emu::Button::Right);
    }
    emu::AdvanceClock(c.gap);
    emu::MouseMove(50 + c.dx, 50 + c.dy);
    emu::MouseDown(emu::Button::Left);
    std::vector<Input> got = Inputs();
    ASSERT_FALSE(got.empty());
    EXPECT_EQ(got.back().hwnd, h);
    EXPECT_EQ(got.back().msg, c.second);
  }
}

TEST_F(InputEmu, AThirdPressStartsOverAndAnotherWindowDoesNotPair) {
  HWND left = Top("left", RECT{0, 0, 100, 100}, WS_POPUP | WS_VISIBLE, "Dbl");
  HWND right = Top("right", RECT{100, 0, 200, 100}, WS_POPUP | WS_VISIBLE, "Dbl");
  for (int i = 0; i < 4; ++i) Click(50, 50);
  Click(99, 50);
  Click(100, 50);  // one pixel further, but another window
  std::vector<UINT> downs;
  std::vector<HWND> where;
  for (const Input& i : Inputs())
    if (i.msg == WM_LBUTTONDOWN || i.msg == WM_LBUTTONDBLCLK) {
      downs.push_back(i.msg);
      where.push_back(i.hwnd);
    }
  EXPECT_EQ(downs, (std::vector<UINT>{WM_LBUTTONDOWN, WM_LBUTTONDBLCLK, WM_LBUTTONDOWN, WM_LBUTTONDBLCLK,
                                      WM_LBUTTONDOWN, WM_LBUTTONDOWN}));
  EXPECT_EQ(where.back(), right);
  EXPECT_EQ(where.front(), left);
}

TEST_F(InputEmu, NonClientPressesPairWithoutTheClassStyle) {
  Top("main", RECT{0, 0, 200, 200}, WS_OVERLAPPEDWINDOW | WS_VISIBLE);
  Click(100, 10);
  Click(100, 10);
  std::vector<UINT> got;
  for (const Input& i : Inputs()) got.push_back(i.msg);
  EXPECT_EQ(got, (std::vector<UINT>{WM_NCMOUSEMOVE, WM_NCLBUTTONDOWN, WM_NCLBUTTONUP, WM_NCMOUSEMOVE,
                                    WM_NCLBUTTONDBLCLK, WM_NCLBUTTONUP}));
}

// ---- Activation by the mouse

TEST_F(InputEmu, PressingAnInactiveWindowActivatesItFirst) {
  HWND back = Top("back", RECT{0, 0, 100, 100});
  HWND front = Top("front", RECT{200, 0, 300, 100});
  HWND child = Child(back, "child", RECT{10, 10, 50, 50});
  ASSERT_EQ(GetActiveWindow(), front);
  records.clear();
  emu::MouseMove(20, 20);
  emu::MouseDown(emu::Button::Left);
  EXPECT_EQ(Sequence(), (Strings{"child MOUSEACTIVATE", "back MOUSEACTIVATE", "back POSCHANGING", "front NCACTIVATE(0)",
                                 "front ACTIVATE(0,back)", "back NCACTIVATE(1)", "back ACTIVATE(2,front)",
                                 "front KILLFOCUS(back)", "back SETFOCUS(front)"}));
  EXPECT_EQ(GetActiveWindow(), back);
  EXPECT_EQ(GetWindow(GetDesktopWindow(), GW_CHILD), back);  // brought to the top
  std::vector<Input> got = Inputs();
  ASSERT_EQ(got.size(), 2u);
  EXPECT_EQ(got[1].hwnd, child);
  EXPECT_EQ(got[1].msg, static_cast<UINT>(WM_LBUTTONDOWN));
  records.clear();
  emu::MouseUp(emu::Button::Left);
  emu::MouseDown(emu::Button::Left);
  EXPECT_TRUE(Sequence().empty());  // active already: no activation
}

TEST_F(InputEmu, MouseActivateAnswersCanRefuseOrEat) {
  struct Case {
    const char* name;
    LRESULT answer;
    bool activates;
    bool delivered;
  };
  const Case cases[] = {{"activate", MA_ACTIVATE, true, true},
                        {"activate and eat", MA_ACTIVATEANDEAT, true, false},
                        {"no activate", MA_NOACTIVATE, false, true},
                        {"no activate and eat", MA_NOACTIVATEANDEAT, false, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SetUp();
    HWND back = Top("back", RECT{0, 0, 100, 100});
    HWND front = Top("front", RECT{200, 0, 300, 100});
    Inputs();
    answers[WM_MOUSEACTIVATE] = c.answer;
    emu::MouseMove(20, 20);
    emu::MouseDown(emu::Button::Left);
    EXPECT_EQ(GetActiveWindow(), c.activates ? back : front);
    std::vector<Input> got = Inputs();
    bool delivered = !got.empty() && got.back().msg == WM_LBUTTONDOWN;
    EXPECT_EQ(delivered, c.delivered);
  }
}

// ---- Keys

TEST_F(InputEmu, KeyMessagesCarryRepeatContextAndTransitionBits) {
  HWND main = Top("main", RECT{0, 0, 100, 100});
  Inputs();
  struct Step {
    const char* name;
    bool down;
    BYTE vk;
    bool repeat;
    UINT msg;
    DWORD bits;  // of lParam
  };
  const Step steps[] = {
      {"press", true, 'A', false, WM_KEYDOWN, 0x00000001},
      {"auto-repeat", true, 'A', true, WM_KEYDOWN, 0x40000001},
      {"release", false, 'A', false, WM_KEYUP, 0xC0000001},
      {"alt press", true, VK_MENU, false, WM_SYSKEYDOWN, 0x20000001},
      {"alt held, letter", true, 'X', false, WM_SYSKEYDOWN, 0x20000001},
      {"alt held, letter up", false, 'X', false, WM_SYSKEYUP, 0xE0000001},
      {"alt release", false, VK_MENU, false, WM_SYSKEYUP, 0xC0000001},
      {"F10", true, VK_F10, false, WM_SYSKEYDOWN, 0x00000001},
      {"F10 up", false, VK_F10, false, WM_SYSKEYUP, 0xC0000001},
  };
  for (const Step& s : steps) {
    SCOPED_TRACE(s.name);
    if (s.down)
      emu::KeyDown(s.vk, s.repeat);
    else
      emu::KeyUp(s.vk);
    MSG m;
    ASSERT_TRUE(PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(m.hwnd, main);
    EXPECT_EQ(m.message, s.msg);
    EXPECT_EQ(m.wParam, static_cast<WPARAM>(s.vk));
    EXPECT_EQ(static_cast<DWORD>(m.lParam), s.bits);
  }
}

TEST_F(InputEmu, KeysToggleAndGoToTheFocusOrElseTheActiveWindow) {
  HWND main = Top("main", RECT{0, 0, 100, 100});
  HWND edit = Child(main, "edit", RECT{0, 0, 50, 20});
  SetFocus(edit);
  Inputs();
  emu::KeyDown(VK_CAPITAL);
  EXPECT_EQ(GetKeyState(VK_CAPITAL) & 1, 1);
  EXPECT_LT(GetKeyState(VK_CAPITAL), 0);
  emu::KeyDown(VK_CAPITAL, true);  // auto-repeat does not toggle
  emu::KeyUp(VK_CAPITAL);
  EXPECT_EQ(GetKeyState(VK_CAPITAL), 1);
  emu::KeyDown(VK_CAPITAL);
  emu::KeyUp(VK_CAPITAL);
  EXPECT_EQ(GetKeyState(VK_CAPITAL), 0);
  std::vector<Input> got = Inputs();
  ASSERT_EQ(got.size(), 5u);
  for (const Input& i : got) EXPECT_EQ(i.hwnd, edit);
  SetFocus(nullptr);
  emu::KeyDown('K');  // no focus: the active window gets it, as a system key
  got = Inputs();
  ASSERT_EQ(got.size(), 1u);
  EXPECT_EQ(got[0].hwnd, main);
  EXPECT_EQ(got[0].msg, static_cast<UINT>(WM_SYSKEYDOWN));
}

// ---- Focus, activation and capture

TEST_F(InputEmu, FocusMovesWithKillThenSet) {
  HWND main = Top("main", RECT{0, 0, 100, 100});
  HWND a = Child(main, "a", RECT{0, 0, 10, 10});
  HWND b = Child(main, "b", RECT{20, 0, 30, 10});
  records.clear();
  EXPECT_EQ(SetFocus(a), main);
  EXPECT_EQ(SetFocus(b), a);
  EXPECT_EQ(SetFocus(b), b);  // no change, no messages
  EXPECT_EQ(SetFocus(nullptr), b);
  EXPECT_EQ(SetFocus(reinterpret_cast<HWND>(0x4321)), nullptr);
  EXPECT_EQ(GetFocus(), nullptr);
  EXPECT_EQ(Sequence(),
            (Strings{"main KILLFOCUS(a)", "a SETFOCUS(main)", "a KILLFOCUS(b)", "b SETFOCUS(a)", "b KILLFOCUS(0)"}));
}

TEST_F(InputEmu, FocusingIntoAnotherTopLevelWindowActivatesItFirst) {
  HWND first = Top("first", RECT{0, 0, 100, 100});
  HWND field = Child(first, "field", RECT{0, 0, 10, 10});
  HWND second = Top("second", RECT{200, 0, 300, 100});
  ASSERT_EQ(GetFocus(), second);
  records.clear();
  EXPECT_EQ(SetFocus(field), first);
  EXPECT_EQ(Sequence(), (Strings{"first POSCHANGING", "second NCACTIVATE(0)", "second ACTIVATE(0,first)",
                                 "first NCACTIVATE(1)", "first ACTIVATE(1,second)", "second KILLFOCUS(first)",
                                 "first SETFOCUS(second)", "first KILLFOCUS(field)", "field SETFOCUS(first)"}));
  EXPECT_EQ(GetActiveWindow(), first);
  EXPECT_EQ(GetForegroundWindow(), first);
  records.clear();
  EXPECT_EQ(SetActiveWindow(second), first);
  EXPECT_EQ(GetFocus(), second);
  EXPECT_TRUE(SetForegroundWindow(field));  // a child stands for its top-level window
  EXPECT_EQ(GetActiveWindow(), first);
}

TEST_F(InputEmu, CaptureChangesAreReportedToTheLoser) {
  HWND main = Top("main", RECT{0, 0, 100, 100});
  HWND a = Child(main, "a", RECT{0, 0, 10, 10});
  HWND b = Child(main, "b", RECT{20, 0, 30, 10});
  records.clear();
  EXPECT_EQ(SetCapture(a), nullptr);
  EXPECT_EQ(SetCapture(a), a);
  EXPECT_EQ(SetCapture(b), a);
  EXPECT_EQ(GetCapture(), b);
  EXPECT_TRUE(ReleaseCapture());
  EXPECT_TRUE(ReleaseCapture());
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_EQ(Sequence(), (Strings{"a CAPTURECHANGED(b)", "b CAPTURECHANGED(0)"}));
}

// ---- The pop-up menu

class MenuEmu : public InputEmu {
 protected:
  void SetUp() override {
    InputEmu::SetUp();
    main = Top("main", RECT{0, 0, 200, 200});
    menu = CreatePopupMenu();
    AppendMenuA(menu, MF_STRING, 11, "&Open");
    AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(menu, MF_STRING | MF_GRAYED, 12, "Gone");
    AppendMenuA(menu, MF_STRING, 13, "Close");
    records.clear();
  }
  HWND main = nullptr;
  HMENU menu = nullptr;
};

TEST_F(MenuEmu, TrackingRecordsTheCallAndSendsTheLoopMessages) {
  EXPECT_FALSE(TrackPopupMenu(menu, TPM_LEFTALIGN, 30, 40, 0, main, nullptr));  // the default script dismisses
  ASSERT_EQ(emu::MenuCalls().size(), 1u);
  const emu::MenuCall& call = emu::MenuCalls()[0];
  EXPECT_EQ(call.menu, menu);
  EXPECT_EQ(call.x, 30);
  EXPECT_EQ(call.y, 40);
  EXPECT_EQ(call.owner, main);
  EXPECT_EQ(call.items, (std::vector<std::string>{"&Open", "", "Gone", "Close"}));
  EXPECT_EQ(Sequence(), (Strings{"main ENTERMENULOOP", "main INITMENUPOPUP", "main EXITMENULOOP"}));
  MSG m;
  EXPECT_FALSE(PeekMessageA(&m, nullptr, WM_COMMAND, WM_COMMAND, PM_REMOVE));
}

TEST_F(MenuEmu, TheCallShowsTheItemsAsTheOwnerPreparedThem) {
  SetWindowLongPtrA(main, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(+[](HWND h, UINT m, WPARAM w, LPARAM l) -> LRESULT {
                      if (m == WM_INITMENUPOPUP) AppendMenuA(reinterpret_cast<HMENU>(w), MF_STRING, 14, "Added");
                      return Recorder(h, m, w, l);
                    }));
  std::vector<std::string> seen;
  emu::SetMenuScript([&](const emu::MenuCall& call) -> UINT_PTR {
    seen = call.items;
    return 14;
  });
  EXPECT_TRUE(TrackPopupMenu(menu, 0, 0, 0, 0, main, nullptr));
  EXPECT_EQ(seen, (std::vector<std::string>{"&Open", "", "Gone", "Close", "Added"}));
  ASSERT_EQ(emu::MenuCalls().size(), 1u);
  EXPECT_EQ(emu::MenuCalls()[0].items, seen);
}

TEST_F(MenuEmu, AChoicePostsACommandOrIsReturned) {
  struct Case {
    const char* name;
    UINT flags;
    UINT_PTR choice;
    BOOL result;
    bool posts;
  };
  const Case cases[] = {
      {"chosen", 0, 13, TRUE, true},
      {"chosen, returned", TPM_RETURNCMD, 13, 13, false},
      {"a greyed item cannot be chosen", 0, 12, FALSE, false},
      {"no such item", 0, 99, FALSE, false},
      {"dismissed", TPM_RETURNCMD, 0, 0, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    UINT_PTR choice = c.choice;
    emu::SetMenuScript([choice](const emu::MenuCall&) { return choice; });
    EXPECT_EQ(TrackPopupMenu(menu, c.flags, 0, 0, 0, main, nullptr), c.result);
    MSG m;
    bool posted = PeekMessageA(&m, nullptr, WM_COMMAND, WM_COMMAND, PM_REMOVE);
    EXPECT_EQ(posted, c.posts);
    if (posted) {
      EXPECT_EQ(m.hwnd, main);
      EXPECT_EQ(m.wParam, MAKEWPARAM(13, 0));
      EXPECT_EQ(m.lParam, 0);
    }
  }
}

TEST_F(MenuEmu, TheMenuEatsInputButNotPostedMessages) {
  HWND button = Child(main, "button", RECT{10, 10, 60, 40});
  emu::MouseMove(20, 20);
  emu::MouseDown(emu::Button::Left);  // queued before the menu opened
  SetCapture(button);
  emu::SetMenuScript([&](const emu::MenuCall&) -> UINT_PTR {
    EXPECT_EQ(GetCapture(), nullptr);  // the menu has the pointer
    emu::MouseUp(emu::Button::Left);
    emu::KeyDown(VK_ESCAPE);
    PostMessageA(main, WM_USER, 0, 0);
    return 0;
  });
  records.clear();
  TrackPopupMenu(menu, 0, 0, 0, 0, main, nullptr);
  EXPECT_EQ(Sequence(),
            (Strings{"main ENTERMENULOOP", "main INITMENUPOPUP", "button CAPTURECHANGED(0)", "main EXITMENULOOP"}));
  MSG m;
  EXPECT_TRUE(PeekMessageA(&m, nullptr, WM_USER, WM_USER, PM_REMOVE));
  EXPECT_TRUE(Inputs().empty());
  EXPECT_GE(GetKeyState(VK_LBUTTON), 0);  // the state still follows the hardware
  EXPECT_LT(GetKeyState(VK_ESCAPE), 0);
}

TEST_F(MenuEmu, MenusAreHandles) {
  EXPECT_TRUE(DestroyMenu(menu));
  EXPECT_FALSE(DestroyMenu(menu));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_MENU_HANDLE));
  EXPECT_FALSE(AppendMenuA(menu, MF_STRING, 1, "x"));
  EXPECT_FALSE(TrackPopupMenu(menu, 0, 0, 0, 0, main, nullptr));
  EXPECT_TRUE(emu::MenuCalls().empty());
}

}  // namespace
