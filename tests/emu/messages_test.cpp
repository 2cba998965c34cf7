// The message queue: retrieval order and filters, timers on the virtual clock, waiting, dispatch and translation.
#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "recorder.h"
#include "winapi/emu/control.h"
#include "winapi/winapi.h"

namespace {

class MessagesEmu : public ::testing::Test {
 protected:
  void SetUp() override {
    emu::Reset();
    records.clear();
    WNDCLASSA wc{};
    wc.lpfnWndProc = Recorder;
    wc.lpszClassName = "Rec";
    ASSERT_NE(RegisterClassA(&wc), 0);
    main = CreateWindowExA(0, "Rec", "main", WS_POPUP | WS_VISIBLE, 0, 0, 200, 100, nullptr, nullptr, nullptr, nullptr);
    child = CreateWindowExA(0, "Rec", "child", WS_CHILD | WS_VISIBLE, 0, 0, 50, 50, main, nullptr, nullptr, nullptr);
    SetFocus(main);
    Drain();
  }
  // Handles everything that waits, so each test starts from an empty queue.
  static void Drain() {
    MSG m;
    while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&m);
    records.clear();
  }
  // Takes messages off the queue; a WM_PAINT is validated so it comes once.
  static std::vector<UINT> Take(HWND filter = nullptr, UINT first = 0, UINT last = 0) {
    std::vector<UINT> got;
    MSG m;
    while (got.size() < 20 && PeekMessageA(&m, filter, first, last, PM_REMOVE)) {
      got.push_back(m.message);
      if (m.message == WM_PAINT) ValidateRect(m.hwnd, nullptr);
    }
    return got;
  }
  HWND main = nullptr;
  HWND child = nullptr;
};

// ---- Order

enum class Source { Posted, Quit, Input, Paint, Timer };

TEST_F(MessagesEmu, SourcesComeInWindowsOrderWhateverOrderTheyArrived) {
  struct Case {
    const char* name;
    std::vector<Source> arrival;
    std::vector<UINT> expected;
  };
  const Case cases[] = {
      {"timer then posted", {Source::Timer, Source::Posted}, {WM_USER, WM_TIMER}},
      {"input then posted", {Source::Input, Source::Posted}, {WM_USER, WM_KEYDOWN}},
      {"paint then input", {Source::Paint, Source::Input}, {WM_KEYDOWN, WM_PAINT}},
      {"timer then paint", {Source::Timer, Source::Paint}, {WM_PAINT, WM_TIMER}},
      {"quit then posted", {Source::Quit, Source::Posted}, {WM_USER, WM_QUIT}},
      {"input then quit", {Source::Input, Source::Quit}, {WM_QUIT, WM_KEYDOWN}},
      {"all, backwards",
       {Source::Timer, Source::Paint, Source::Input, Source::Quit, Source::Posted},
       {WM_USER, WM_QUIT, WM_KEYDOWN, WM_PAINT, WM_TIMER}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SetUp();
    for (Source s : c.arrival) {
      switch (s) {
        case Source::Posted:
          PostMessageA(main, WM_USER, 0, 0);
          break;
        case Source::Quit:
          PostQuitMessage(3);
          break;
        case Source::Input:
          emu::KeyDown('A');
          break;
        case Source::Paint: {
          RECT clearOfTheChild{100, 0, 200, 100};
          InvalidateRect(main, &clearOfTheChild, FALSE);
          break;
        }
        case Source::Timer:
          SetTimer(main, 1, 50, nullptr);
          emu::AdvanceClock(50);
          break;
      }
    }
    EXPECT_EQ(Take(), c.expected);
    KillTimer(main, 1);
  }
}

TEST_F(MessagesEmu, PostedAndInputMessagesAreEachFirstInFirstOut) {
  PostMessageA(main, WM_USER + 1, 0, 0);
  emu::KeyDown('A');
  PostMessageA(nullptr, WM_USER + 2, 0, 0);
  emu::KeyUp('A');
  PostMessageA(child, WM_USER + 3, 0, 0);
  EXPECT_EQ(Take(), (std::vector<UINT>{WM_USER + 1, WM_USER + 2, WM_USER + 3, WM_KEYDOWN, WM_KEYUP}));
}

TEST_F(MessagesEmu, PaintComesParentFirstAndStaysUntilValidated) {
  InvalidateRect(child, nullptr, FALSE);
  InvalidateRect(main, nullptr, FALSE);
  MSG m;
  ASSERT_TRUE(PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(m.message, static_cast<UINT>(WM_PAINT));
  EXPECT_EQ(m.hwnd, main);
  ASSERT_TRUE(PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE));  // removing a WM_PAINT does not validate
  EXPECT_EQ(m.hwnd, main);
  PAINTSTRUCT ps;
  BeginPaint(main, &ps);
  EndPaint(main, &ps);
  ASSERT_TRUE(PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(m.hwnd, child);
  DispatchMessageA(&m);  // the default procedure paints, and so validates
  EXPECT_FALSE(PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE));
}

TEST_F(MessagesEmu, NoRemoveLeavesTheMessage) {
  PostMessageA(main, WM_USER, 7, 0);
  PostQuitMessage(0);
  MSG m;
  for (int i = 0; i < 2; ++i) {
    ASSERT_TRUE(PeekMessageA(&m, nullptr, 0, 0, PM_NOREMOVE));
    EXPECT_EQ(m.message, static_cast<UINT>(WM_USER));
  }
  EXPECT_EQ(Take(), (std::vector<UINT>{WM_USER, WM_QUIT}));
}

TEST_F(MessagesEmu, FiltersSelectWindowAndRange) {
  enum Filter { kAny, kMain, kChild, kThread };
  struct Case {
    const char* name;
    Filter filter;
    UINT first, last;
    std::vector<UINT> expected;
  };
  const Case cases[] = {
      // The child lies under the parent's invalid area, so it has to repaint too.
      {"everything", kAny, 0, 0, {WM_USER, WM_USER + 1, WM_USER + 2, WM_QUIT, WM_KEYDOWN, WM_PAINT, WM_PAINT}},
      {"the parent alone, not its child", kMain, 0, 0, {WM_USER, WM_QUIT, WM_KEYDOWN, WM_PAINT}},
      {"the child", kChild, 0, 0, {WM_USER + 1, WM_QUIT, WM_PAINT}},
      {"thread messages", kThread, 0, 0, {WM_USER + 2, WM_QUIT}},
      {"a range", kAny, WM_USER + 1, WM_USER + 2, {WM_USER + 1, WM_USER + 2, WM_QUIT}},
      {"the keyboard range", kAny, WM_KEYFIRST, WM_KEYLAST, {WM_QUIT, WM_KEYDOWN}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SetUp();
    const HWND filters[] = {nullptr, main, child, reinterpret_cast<HWND>(static_cast<LONG_PTR>(-1))};
    PostMessageA(main, WM_USER, 0, 0);
    PostMessageA(child, WM_USER + 1, 0, 0);
    PostMessageA(nullptr, WM_USER + 2, 0, 0);
    PostQuitMessage(0);  // a quit passes every filter
    emu::KeyDown('B');
    InvalidateRect(main, nullptr, FALSE);
    EXPECT_EQ(Take(filters[c.filter], c.first, c.last), c.expected);
  }
}

TEST_F(MessagesEmu, GetMessageEndsOnQuitWithItsCode) {
  PostMessageA(main, WM_USER, 0, 0);
  PostQuitMessage(9);
  MSG m;
  EXPECT_EQ(GetMessageA(&m, nullptr, 0, 0), TRUE);
  EXPECT_EQ(m.message, static_cast<UINT>(WM_USER));
  EXPECT_EQ(GetMessageA(&m, nullptr, 0, 0), FALSE);
  EXPECT_EQ(m.message, static_cast<UINT>(WM_QUIT));
  EXPECT_EQ(m.wParam, 9u);
  EXPECT_FALSE(PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(GetMessageA(&m, reinterpret_cast<HWND>(0x1234), 0, 0), -1);
}

TEST_F(MessagesEmu, SendCallsTheProcedureAtOnceAndDispatchDelivers) {
  SendMessageA(main, WM_USER + 5, 1, 2);
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0].msg, static_cast<UINT>(WM_USER + 5));
  EXPECT_EQ(records[0].wp, 1u);
  records.clear();
  PostMessageA(child, WM_USER + 6, 3, 4);
  EXPECT_TRUE(records.empty());
  MSG m;
  ASSERT_TRUE(GetMessageA(&m, nullptr, 0, 0));
  DispatchMessageA(&m);
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0].hwnd, child);
  EXPECT_EQ(records[0].lp, 4);
  EXPECT_FALSE(PostMessageA(reinterpret_cast<HWND>(0x1234), WM_USER, 0, 0));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
}

TEST_F(MessagesEmu, MessagesCarryTheirTime) {
  emu::AdvanceClock(1234);
  PostMessageA(main, WM_USER, 0, 0);
  emu::AdvanceClock(100);
  MSG m;
  ASSERT_TRUE(GetMessageA(&m, nullptr, 0, 0));
  EXPECT_EQ(m.time, 1234u);
  EXPECT_EQ(GetMessageTime(), 1234u);
  EXPECT_EQ(GetTickCount(), 1334u);
}

// ---- Timers

TEST_F(MessagesEmu, TimersFallDueAfterTheirPeriod) {
  struct Case {
    UINT elapse;
    DWORD due;  // periods under 10 ms are raised to 10
  };
  const Case cases[] = {{0, 10}, {5, 10}, {10, 10}, {250, 250}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.elapse);
    SetUp();
    emu::AdvanceClock(1000);
    EXPECT_EQ(SetTimer(main, 4, c.elapse, nullptr), 4u);
    DWORD when = 0;
    ASSERT_TRUE(emu::NextTimerDue(&when));
    EXPECT_EQ(when, 1000 + c.due);
    emu::AdvanceClock(c.due - 1);
    EXPECT_TRUE(Take().empty());
    emu::AdvanceClock(1);
    EXPECT_EQ(Take(), std::vector<UINT>{WM_TIMER});
  }
}

TEST_F(MessagesEmu, ADueTimerGivesOneMessageAndStartsAgainFromNow) {
  SetTimer(main, 1, 100, nullptr);
  emu::AdvanceClock(450);  // four periods and a half
  MSG m;
  ASSERT_TRUE(PeekMessageA(&m, nullptr, 0, 0, PM_NOREMOVE));
  EXPECT_EQ(m.message, static_cast<UINT>(WM_TIMER));
  EXPECT_EQ(m.wParam, 1u);
  ASSERT_TRUE(PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE));
  EXPECT_FALSE(PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE));
  DWORD when = 0;
  ASSERT_TRUE(emu::NextTimerDue(&when));
  EXPECT_EQ(when, 550u);
}

TEST_F(MessagesEmu, SetTimerReplacesAndKillTimerRemoves) {
  SetTimer(main, 1, 100, nullptr);
  emu::AdvanceClock(60);
  SetTimer(main, 1, 100, nullptr);  // same window and id: starts over
  DWORD when = 0;
  ASSERT_TRUE(emu::NextTimerDue(&when));
  EXPECT_EQ(when, 160u);
  SetTimer(child, 1, 30, nullptr);  // another window's id 1 is another timer
  ASSERT_TRUE(emu::NextTimerDue(&when));
  EXPECT_EQ(when, 90u);
  EXPECT_TRUE(KillTimer(child, 1));
  EXPECT_FALSE(KillTimer(child, 1));
  EXPECT_FALSE(KillTimer(main, 2));
  EXPECT_TRUE(KillTimer(main, 1));
  EXPECT_FALSE(emu::NextTimerDue(&when));
}

TEST_F(MessagesEmu, ThreadTimersGetFreshIdsAndCallTheirProcedure) {
  static std::vector<UINT_PTR> calls;
  calls.clear();
  TIMERPROC proc = [](HWND, UINT, UINT_PTR id, DWORD) { calls.push_back(id); };
  UINT_PTR a = SetTimer(nullptr, 0, 20, proc);
  UINT_PTR b = SetTimer(nullptr, 0, 30, proc);
  EXPECT_NE(a, 0u);
  EXPECT_NE(b, 0u);
  EXPECT_NE(a, b);
  EXPECT_EQ(SetTimer(nullptr, a, 40, proc), a);  // an existing id is replaced
  emu::AdvanceClock(40);
  MSG m;
  while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
    EXPECT_EQ(m.hwnd, nullptr);
    DispatchMessageA(&m);
  }
  EXPECT_EQ(calls, (std::vector<UINT_PTR>{b, a}));
}

TEST_F(MessagesEmu, SetTimerFaultReturnsZeroWithTheCode) {
  emu::Fail("SetTimer", ERROR_NO_SYSTEM_RESOURCES, 1);
  EXPECT_EQ(SetTimer(main, 1, 100, nullptr), 0u);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NO_SYSTEM_RESOURCES));
  EXPECT_FALSE(emu::NextTimerDue(nullptr));
  EXPECT_EQ(SetTimer(main, 1, 100, nullptr), 1u);
}

TEST_F(MessagesEmu, SleepMovesTheClockWithoutHandlingMessages) {
  SetTimer(main, 1, 100, nullptr);
  PostMessageA(main, WM_USER, 0, 0);
  Sleep(500);
  EXPECT_EQ(GetTickCount(), 500u);
  EXPECT_TRUE(records.empty());
  EXPECT_EQ(Take(), (std::vector<UINT>{WM_USER, WM_TIMER}));
}

// ---- Waiting

TEST_F(MessagesEmu, WaitingMovesTheClockToTheNextTimer) {
  SetTimer(main, 1, 700, nullptr);
  MSG m;
  ASSERT_TRUE(GetMessageA(&m, nullptr, 0, 0));
  EXPECT_EQ(m.message, static_cast<UINT>(WM_TIMER));
  EXPECT_EQ(GetTickCount(), 700u);
  ASSERT_TRUE(GetMessageA(&m, nullptr, 0, 0));
  EXPECT_EQ(GetTickCount(), 1400u);
}

TEST_F(MessagesEmu, ScheduledActionsRunInTimeOrderFromTheWait) {
  std::vector<std::string> log;
  SetTimer(main, 1, 1000, nullptr);
  emu::At(300, [&] {
    log.push_back("at 300, clock " + std::to_string(GetTickCount()));
    PostMessageA(main, WM_USER, 0, 0);
  });
  emu::At(200, [&] { log.push_back("at 200, clock " + std::to_string(GetTickCount())); });
  emu::At(5000, [&] { log.push_back("at 5000"); });
  MSG m;
  ASSERT_TRUE(GetMessageA(&m, nullptr, 0, 0));
  EXPECT_EQ(m.message, static_cast<UINT>(WM_USER));
  EXPECT_EQ(log, (std::vector<std::string>{"at 200, clock 200", "at 300, clock 300"}));
  ASSERT_TRUE(GetMessageA(&m, nullptr, 0, 0));  // the timer comes before the later action
  EXPECT_EQ(m.message, static_cast<UINT>(WM_TIMER));
  EXPECT_EQ(GetTickCount(), 1000u);
  EXPECT_EQ(log.size(), 2u);
}

TEST_F(MessagesEmu, WaitMessageReturnsAtOnceWhenSomethingWaits) {
  int idleCalls = 0;
  emu::SetIdleHandler([&] {
    ++idleCalls;
    return false;
  });
  PostMessageA(main, WM_USER, 0, 0);
  EXPECT_TRUE(WaitMessage());
  EXPECT_EQ(idleCalls, 0);
}

TEST_F(MessagesEmu, TheIdleHandlerMakesSomethingHappen) {
  int idleCalls = 0;
  emu::SetIdleHandler([&] {
    if (++idleCalls == 3) emu::KeyDown('Q');
    return true;
  });
  MSG m;
  ASSERT_TRUE(GetMessageA(&m, nullptr, 0, 0));
  EXPECT_EQ(m.message, static_cast<UINT>(WM_KEYDOWN));
  EXPECT_EQ(idleCalls, 3);
}

TEST_F(MessagesEmu, WaitingForNothingFailsInsteadOfHanging) {
  MSG m;
  EXPECT_THROW(GetMessageA(&m, nullptr, 0, 0), std::runtime_error);
  EXPECT_THROW(WaitMessage(), std::runtime_error);
  emu::SetIdleHandler([] { return false; });
  SetTimer(main, 1, 100, nullptr);  // a custom handler that gives up fails the wait even with a timer
  EXPECT_THROW(WaitMessage(), std::runtime_error);
  emu::SetIdleHandler(nullptr);
  EXPECT_TRUE(WaitMessage());  // back to the default: the timer is waited for
  EXPECT_EQ(GetTickCount(), 100u);
  // A filter no message passes cannot be waited for either.
  PostMessageA(main, WM_USER, 0, 0);
  KillTimer(main, 1);
  EXPECT_THROW(GetMessageA(&m, child, 0, 0), std::runtime_error);
}

// ---- Translation

TEST_F(MessagesEmu, KeyDownsTranslateToCharactersOfAUsKeyboard) {
  struct Case {
    const char* name;
    std::vector<BYTE> held;
    bool capsLock;
    BYTE vk;
    int expected;  // the WM_CHAR code, or -1 for none
  };
  const Case cases[] = {
      {"letter", {}, false, 'A', 'a'},
      {"shifted letter", {VK_SHIFT}, false, 'A', 'A'},
      {"caps lock", {}, true, 'Z', 'Z'},
      {"caps lock and shift", {VK_SHIFT}, true, 'Z', 'z'},
      {"digit", {}, false, '7', '7'},
      {"shifted digit", {VK_SHIFT}, false, '1', '!'},
      {"space", {}, false, VK_SPACE, ' '},
      {"return", {}, false, VK_RETURN, 0x0D},
      {"tab", {}, false, VK_TAB, 0x09},
      {"backspace", {}, false, VK_BACK, 0x08},
      {"escape", {}, false, VK_ESCAPE, 0x1B},
      {"control letter", {VK_CONTROL}, false, 'C', 0x03},
      {"arrow", {}, false, VK_LEFT, -1},
      {"function key", {}, false, 0x70, -1},
      {"shift itself", {}, false, VK_SHIFT, -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SetUp();
    if (c.capsLock) {
      emu::KeyDown(VK_CAPITAL);
      emu::KeyUp(VK_CAPITAL);
    }
    for (BYTE k : c.held) emu::KeyDown(k);
    Drain();
    emu::KeyDown(c.vk);
    emu::KeyUp(c.vk);
    MSG m;
    std::vector<UINT> order;
    std::vector<WPARAM> chars;
    while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
      order.push_back(m.message);
      if (m.message == WM_CHAR) chars.push_back(m.wParam);
      TranslateMessage(&m);
    }
    if (c.expected < 0) {
      EXPECT_EQ(order, (std::vector<UINT>{WM_KEYDOWN, WM_KEYUP}));
    } else {
      EXPECT_EQ(order, (std::vector<UINT>{WM_KEYDOWN, WM_CHAR, WM_KEYUP}));  // the character before the next input
      EXPECT_EQ(chars, std::vector<WPARAM>{static_cast<WPARAM>(c.expected)});
    }
  }
}

TEST_F(MessagesEmu, AltKeysTranslateToSystemCharacters) {
  emu::KeyDown(VK_MENU);
  emu::KeyDown('F');
  MSG m;
  std::vector<UINT> order;
  while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
    order.push_back(m.message);
    if (m.message == WM_SYSCHAR) {
      EXPECT_EQ(m.wParam, static_cast<WPARAM>('f'));
    }
    EXPECT_EQ(TranslateMessage(&m), m.message != WM_SYSCHAR);  // only key messages count as translated
  }
  EXPECT_EQ(order, (std::vector<UINT>{WM_SYSKEYDOWN, WM_SYSKEYDOWN, WM_SYSCHAR}));
  MSG other{main, WM_USER, 0, 0, 0, {0, 0}};
  EXPECT_FALSE(TranslateMessage(&other));
}

}  // namespace
