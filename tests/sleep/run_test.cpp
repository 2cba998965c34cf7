// One run of the sleep program from its entry routine: the order of its steps, the suspend, the window and the end.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "harness/Harness.h"
#include "sleep/sleep_Unit1.h"
#include "winapi/winapi.h"
#ifndef _WIN32
#include "power_calls.h"
#include "winapi/emu/control.h"
#endif

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int show);

namespace {

constexpr int kFormWidth = 198;
constexpr int kFormHeight = 107;

int RunProgram() { return WinMain(GetModuleHandleA(nullptr), nullptr, const_cast<char*>(""), SW_SHOWNORMAL); }

int Centred(int screen, int size) { return std::max(0, (screen - size) / 2); }

RECT WindowRect(HWND hwnd) {
  RECT r{};
  GetWindowRect(hwnd, &r);
  return r;
}

std::string WindowText(HWND hwnd) {
  char text[128] = {};
  GetWindowTextA(hwnd, text, sizeof text);
  return text;
}

// ---- On both the emulation and Windows

TEST(SleepRun, OneRunShowsTheCentredWindowAndClosesOnTheFirstTick) {
  // A first form pays for the system's one-time set-up (fonts, window classes): the run timed is not it.
  th::Fresh();
  Application->CreateForm(Form1);
  th::Fresh();
  const DWORD start = GetTickCount();
  EXPECT_EQ(RunProgram(), 0);
  const DWORD elapsed = GetTickCount() - start;
  // The suspend returns at once here: the tick comes one interval after the form was made.
  EXPECT_GE(elapsed, 990u);
  EXPECT_LT(elapsed, 2000u);

  ASSERT_NE(Form1, nullptr);
  EXPECT_TRUE(Application->Terminated());
  EXPECT_EQ(Application->Title(), "DozeTrigger");
  EXPECT_EQ(WindowText(Application->Handle()), "DozeTrigger");
  // Closing the main form ends the loop without hiding the window first.
  HWND hwnd = Form1->Handle();
  EXPECT_TRUE(IsWindowVisible(hwnd));
  EXPECT_EQ(WindowText(hwnd), "DozeTrigger");
  const RECT r = WindowRect(hwnd);
  EXPECT_EQ(r.left, Centred(GetSystemMetrics(SM_CXSCREEN), kFormWidth));
  EXPECT_EQ(r.top, Centred(GetSystemMetrics(SM_CYSCREEN), kFormHeight));
  EXPECT_EQ(r.right - r.left, kFormWidth);
  EXPECT_EQ(r.bottom - r.top, kFormHeight);
}

bool Dark(COLORREF c) { return GetRValue(c) < 0x60 && GetGValue(c) < 0x60 && GetBValue(c) < 0x60; }

TEST(SleepRun, WindowShowsTheBoldNameOnTheButtonFace) {
  th::Fresh();
  ASSERT_EQ(RunProgram(), 0);
  ASSERT_NE(Form1, nullptr);
  th::Pump();
  const COLORREF face = GetSysColor(COLOR_BTNFACE);
  TLabel* label = Form1->Label1;
  const int cw = Form1->ClientWidth();
  const int ch = Form1->ClientHeight();
  ASSERT_GT(cw, label->Left() + label->Width());
  ASSERT_GT(ch, label->Top() + label->Height());

  // The form's background all round the label.
  const POINT around[] = {{2, 2},
                          {cw - 3, 2},
                          {2, ch - 3},
                          {cw - 3, ch - 3},
                          {label->Left() - 3, label->Top() + label->Height() / 2},
                          {label->Left() + label->Width() / 2, label->Top() - 3},
                          {label->Left() + label->Width() / 2, label->Top() + label->Height() + 2}};
  for (const POINT& p : around) {
    SCOPED_TRACE(::testing::Message() << "form pixel " << p.x << "," << p.y);
    EXPECT_EQ(th::Pixel(Form1, p.x, p.y), face);
  }

  // The label: dark ink of its caption across its width on the form's colour, nothing of another colour.
  int ink = 0, background = 0, other = 0;
  int firstInk = label->Width(), lastInk = -1;
  for (int y = 0; y < label->Height(); ++y) {
    for (int x = 0; x < label->Width(); ++x) {
      COLORREF c = th::Pixel(Form1, label->Left() + x, label->Top() + y);
      if (c == face) {
        ++background;
      } else if (Dark(c)) {
        ++ink;
        firstInk = std::min(firstInk, x);
        lastInk = std::max(lastInk, x);
      } else {
        ++other;  // smoothed edges of the letters
      }
    }
  }
  const int area = label->Width() * label->Height();
  EXPECT_GT(ink, area / 10) << "caption ink";
  EXPECT_GT(background, area / 3) << "label background";
  EXPECT_LT(other, area / 4) << "neither face nor ink";
  EXPECT_LT(firstInk, label->Width() / 10);
  EXPECT_GT(lastInk, label->Width() * 8 / 10);
}

#ifndef _WIN32
// ---- On the emulation

using namespace sleep_test;

bool LabelDrawn() {
  for (const emu::TextCall& t : emu::TextCalls())
    if (t.text == "DozeTrigger" && t.window == Form1->Handle()) return true;
  return false;
}

// What the world looked like inside the suspend request.
struct AtSuspend {
  bool called = false;
  DWORD now = 0;
  bool formVisible = false;
  bool windowVisible = false;
  RECT rect{};
  bool timer = false;
  DWORD timerDue = 0;
  bool painted = false;
  std::vector<std::string> calls;
};

class SleepRunEmu : public ::testing::Test {
 protected:
  // A fresh desktop watched from inside the suspend request.
  void Start(const emu::Config& config = {}) {
    th::Fresh({config.screenWidth, config.screenHeight});
    emu::Reset(config);
    seen_ = AtSuspend{};
    emu::SetSuspendHook([this] {
      seen_.called = true;
      seen_.now = emu::Now();
      seen_.formVisible = Form1 != nullptr && Form1->Visible();
      seen_.windowVisible = Form1 != nullptr && IsWindowVisible(Form1->Handle());
      if (Form1 != nullptr) seen_.rect = WindowRect(Form1->Handle());
      seen_.timer = emu::NextTimerDue(&seen_.timerDue);
      seen_.painted = Form1 != nullptr && LabelDrawn();
      seen_.calls = PowerCalls();
    });
  }
  AtSuspend seen_;
};

TEST_F(SleepRunEmu, TheTimerStartsWhileTheFormIsMade) {
  Start();
  ASSERT_FALSE(emu::NextTimerDue(nullptr));
  emu::AdvanceClock(250);
  Application->CreateForm(Form1);
  DWORD due = 0;
  ASSERT_TRUE(emu::NextTimerDue(&due));
  EXPECT_EQ(due, 1250u);
  // Nothing else has happened: no show, no suspend.
  EXPECT_FALSE(IsWindowVisible(Form1->Handle()));
  EXPECT_FALSE(seen_.called);
  EXPECT_EQ(PowerCalls(), std::vector<std::string>{});
}

TEST_F(SleepRunEmu, OneRunInOrder) {
  Start();
  EXPECT_EQ(RunProgram(), 0);

  // Inside the suspend: the form is becoming visible, its window is not shown, the timer runs since creation.
  ASSERT_TRUE(seen_.called);
  EXPECT_EQ(seen_.now, 0u);
  EXPECT_TRUE(seen_.formVisible);
  EXPECT_FALSE(seen_.windowVisible);
  EXPECT_FALSE(seen_.painted);
  EXPECT_EQ(seen_.rect.left, 214);  // not centred yet
  EXPECT_EQ(seen_.rect.top, 107);
  ASSERT_TRUE(seen_.timer);
  EXPECT_EQ(seen_.timerDue, 1000u);
  EXPECT_EQ(seen_.calls, (std::vector<std::string>{kVersion, kProcess, kOpen, kLookup, kAdjust, kClose, kSuspend}));

  // Afterwards: centred, shown and painted, then closed by the first tick; nothing more was asked of Windows.
  EXPECT_EQ(PowerCalls(), seen_.calls);
  EXPECT_TRUE(emu::ShutdownPrivilegeEnabled());
  EXPECT_EQ(emu::Now(), 1000u);
  EXPECT_TRUE(IsWindowVisible(Form1->Handle()));
  EXPECT_TRUE(LabelDrawn());
  const RECT r = WindowRect(Form1->Handle());
  EXPECT_EQ(r.left, (1024 - 198) / 2);
  EXPECT_EQ(r.top, (768 - 107) / 2);
  EXPECT_TRUE(emu::MessageBoxes().empty());
}

struct ScreenCase {
  int width, height;
  int left, top;
};

TEST_F(SleepRunEmu, WindowIsCentredOnTheScreenAndNeverAboveOrLeftOfIt) {
  const ScreenCase cases[] = {
      {1024, 768, 413, 330}, {800, 600, 301, 246}, {640, 480, 221, 186}, {1280, 1024, 541, 458},
      {199, 108, 0, 0},      {200, 109, 1, 1},     {197, 106, 0, 0},     {196, 105, 0, 0},
      {150, 80, 0, 0},       {100, 400, 0, 146},   {400, 50, 101, 0},
  };
  for (const ScreenCase& c : cases) {
    SCOPED_TRACE(::testing::Message() << "screen " << c.width << "x" << c.height);
    emu::Config config;
    config.screenWidth = c.width;
    config.screenHeight = c.height;
    Start(config);
    ASSERT_EQ(RunProgram(), 0);
    const RECT r = WindowRect(Form1->Handle());
    EXPECT_EQ(r.left, c.left);
    EXPECT_EQ(r.top, c.top);
    EXPECT_EQ(r.right - r.left, kFormWidth);
    EXPECT_EQ(r.bottom - r.top, kFormHeight);
    EXPECT_EQ(Form1->Left(), c.left);
    EXPECT_EQ(Form1->Top(), c.top);
    EXPECT_TRUE(IsWindowVisible(Form1->Handle()));
  }
}

struct SuspendCase {
  DWORD duration;
  BOOL result;
  DWORD closedAt;
};

TEST_F(SleepRunEmu, NothingIsHandledDuringTheSuspendAndTheWindowClosesWithinAnIntervalAfterIt) {
  const SuspendCase cases[] = {
      {0, TRUE, 1000},    {0, FALSE, 1000},   {300, FALSE, 1000},  {999, TRUE, 1000},
      {1000, TRUE, 1000}, {1001, TRUE, 1001}, {2500, FALSE, 2500}, {60000, TRUE, 60000},
  };
  for (const SuspendCase& c : cases) {
    SCOPED_TRACE(::testing::Message() << "suspend " << c.duration << " ms, result " << c.result);
    Start();
    emu::SetSuspend(c.duration, c.result);
    ASSERT_EQ(RunProgram(), 0);

    // As the request returns: the time has passed, yet no tick has been handled (the timer is still due from
    // form creation) and nothing painted or shown.
    ASSERT_TRUE(seen_.called);
    EXPECT_EQ(seen_.now, c.duration);
    ASSERT_TRUE(seen_.timer);
    EXPECT_EQ(seen_.timerDue, 1000u);
    EXPECT_FALSE(seen_.painted);
    EXPECT_FALSE(seen_.windowVisible);

    // The window was painted before the tick that closed it (a quit would have come before any paint).
    EXPECT_EQ(emu::Now(), c.closedAt);
    EXPECT_LE(emu::Now() - c.duration, 1000u);
    EXPECT_TRUE(IsWindowVisible(Form1->Handle()));
    EXPECT_TRUE(LabelDrawn());
    EXPECT_TRUE(emu::MessageBoxes().empty());
  }
}

struct PlatformCase {
  const char* what;
  DWORD platformId;
  DWORD major, minor;
  void (*arrange)();
  bool enabled;
  std::vector<std::string> calls;
};

TEST_F(SleepRunEmu, SuspendIsRequestedWhateverBecomesOfThePrivilege) {
  const PlatformCase cases[] = {
      {"NT", VER_PLATFORM_WIN32_NT, 4, 0, [] {}, true, {kVersion, kProcess, kOpen, kLookup, kAdjust, kClose, kSuspend}},
      {"NT, privilege not held",
       VER_PLATFORM_WIN32_NT,
       5,
       1,
       [] { emu::SetShutdownPrivilegeHeld(false); },
       false,
       {kVersion, kProcess, kOpen, kLookup, kAdjust, kClose, kSuspend}},
      {"NT, token refused",
       VER_PLATFORM_WIN32_NT,
       5,
       1,
       [] { emu::Fail("OpenProcessToken", ERROR_ACCESS_DENIED); },
       false,
       {kVersion, kProcess, kOpen, kSuspend}},
      {"95", VER_PLATFORM_WIN32_WINDOWS, 4, 0, [] {}, false, {kVersion, kSuspend}},
      {"Win32s", VER_PLATFORM_WIN32s, 3, 10, [] {}, false, {kVersion, kSuspend}},
  };
  for (const PlatformCase& c : cases) {
    SCOPED_TRACE(c.what);
    emu::Config config;
    config.platformId = c.platformId;
    config.majorVersion = c.major;
    config.minorVersion = c.minor;
    Start(config);
    c.arrange();
    ASSERT_EQ(RunProgram(), 0);
    EXPECT_TRUE(seen_.called);
    EXPECT_EQ(PowerCalls(), c.calls);
    EXPECT_EQ(emu::ShutdownPrivilegeEnabled(), c.enabled);
    EXPECT_EQ(emu::Now(), 1000u);
    EXPECT_TRUE(IsWindowVisible(Form1->Handle()));
  }
}

struct StartupErrorCase {
  const char* api;
  DWORD code;
  const char* text;
};

TEST_F(SleepRunEmu, AnErrorAtStartUpIsShownOnceAndNothingElseHappens) {
  const StartupErrorCase cases[] = {
      {"SetTimer", ERROR_NOT_ENOUGH_MEMORY, "利用できるタイマーが足りません."},
      {"FindResourceA", ERROR_RESOURCE_NAME_NOT_FOUND, "リソース TFORM1 が見つかりません."},
  };
  for (const StartupErrorCase& c : cases) {
    SCOPED_TRACE(c.api);
    Start();
    emu::Fail(c.api, c.code);
    EXPECT_EQ(RunProgram(), 0);
    ASSERT_EQ(emu::MessageBoxes().size(), 1u);
    const emu::MessageBoxCall& box = emu::MessageBoxes()[0];
    EXPECT_EQ(box.text, c.text);
    EXPECT_EQ(box.caption, "DozeTrigger");
    EXPECT_EQ(box.type, static_cast<UINT>(MB_ICONSTOP | MB_OK));
    EXPECT_EQ(box.owner, Application->Handle());
    // The loop was never entered: no form, no suspend, no time spent.
    EXPECT_FALSE(seen_.called);
    EXPECT_EQ(Form1, nullptr);
    EXPECT_EQ(Application->MainForm(), nullptr);
    EXPECT_EQ(PowerCalls(), std::vector<std::string>{});
    EXPECT_EQ(emu::Now(), 0u);
  }
}

// A point of the window's close box, in screen coordinates, as the window itself tells it.
bool FindCloseBox(HWND hwnd, POINT* out) {
  const RECT r = WindowRect(hwnd);
  for (int y = r.top; y < r.top + 40; ++y)
    for (int x = r.right - 1; x >= r.left; --x)
      if (SendMessageA(hwnd, WM_NCHITTEST, 0, MAKELPARAM(x, y)) == HTCLOSE) {
        *out = POINT{x, y};
        return true;
      }
  return false;
}

struct CloseCase {
  const char* what;
  void (*act)();
};

TEST_F(SleepRunEmu, ClosingTheWindowBeforeTheTickEndsTheProgramTheSameWay) {
  const CloseCase cases[] = {
      {"close box",
       [] {
         POINT p{};
         ASSERT_TRUE(FindCloseBox(Form1->Handle(), &p));
         emu::MouseMove(p.x, p.y);
         emu::MouseDown(emu::Button::Left);
         emu::MouseUp(emu::Button::Left);
       }},
      {"system menu", [] { PostMessageA(Form1->Handle(), WM_SYSCOMMAND, SC_CLOSE, 0); }},
  };
  for (const CloseCase& c : cases) {
    SCOPED_TRACE(c.what);
    Start();
    emu::At(400, c.act);
    ASSERT_EQ(RunProgram(), 0);
    EXPECT_EQ(emu::Now(), 400u);
    EXPECT_TRUE(Application->Terminated());
    // The tick never came: the timer is still due from form creation.
    DWORD due = 0;
    ASSERT_TRUE(emu::NextTimerDue(&due));
    EXPECT_EQ(due, 1000u);
    EXPECT_TRUE(emu::MessageBoxes().empty());
  }
}
#endif

}  // namespace
