// The thread's message queue in Windows' order, sending and dispatch, key translation, and the headless wait.
#include <algorithm>
#include <deque>
#include <functional>
#include <stdexcept>
#include <vector>

#include "state.h"

namespace emu {
namespace {

constexpr int kMaxIdleRounds = 100000;  // a handler that claims progress but makes none

struct Action {
  DWORD when;
  std::function<void()> run;
};

struct Queue {
  std::deque<MSG> posted;
  std::deque<MSG> input;
  bool quit = false;
  int quitCode = 0;
  DWORD lastTime = 0;
  IdleHandler idle;
  std::vector<Action> actions;  // in scheduling order, which breaks ties
};

Queue& Q() {
  static Queue q;
  return q;
}

const HWND kThreadOnly = reinterpret_cast<HWND>(static_cast<LONG_PTR>(-1));

bool InRange(UINT msg, UINT first, UINT last) { return (first == 0 && last == 0) || (msg >= first && msg <= last); }

bool WindowMatches(HWND msgWindow, HWND filter) {
  if (filter == nullptr) return true;
  if (filter == kThreadOnly) return msgWindow == nullptr;
  return msgWindow == filter;
}

bool TakeFrom(std::deque<MSG>& queue, HWND filter, UINT first, UINT last, bool remove, MSG* out) {
  for (auto it = queue.begin(); it != queue.end(); ++it) {
    if (!WindowMatches(it->hwnd, filter) || !InRange(it->message, first, last)) continue;
    *out = *it;
    if (remove) queue.erase(it);
    return true;
  }
  return false;
}

// One message in Windows' order: posted, quit, input, paint, then timers when nothing else waits.
bool Retrieve(MSG* out, HWND filter, UINT first, UINT last, bool remove) {
  Queue& q = Q();
  if (TakeFrom(q.posted, filter, first, last, remove, out)) return true;
  if (q.quit) {
    POINT cursor{};
    GetCursorPos(&cursor);
    *out = MSG{nullptr, WM_QUIT, static_cast<WPARAM>(q.quitCode), 0, Now(), cursor};
    if (remove) q.quit = false;
    return true;
  }
  if (TakeFrom(q.input, filter, first, last, remove, out)) return true;
  if (filter != kThreadOnly && InRange(WM_PAINT, first, last)) {
    Window* only = nullptr;
    if (filter != nullptr && (only = FromHandle(filter)) == nullptr) return false;
    // A window whose frame alone is invalid gets its WM_NCPAINT here and no WM_PAINT.
    while (Window* w = NextToPaint(only)) {
      if (w->updatePending) {
        POINT cursor{};
        GetCursorPos(&cursor);
        *out = MSG{w->handle, WM_PAINT, 0, 0, Now(), cursor};
        return true;  // stays invalid until BeginPaint or ValidateRect
      }
      w->frameInvalid = false;
      SendMessageA(w->handle, WM_NCPAINT, 1, 0);
    }
  }
  if (InRange(WM_TIMER, first, last) && TakeTimer(filter, remove, out)) return true;
  return false;
}

bool DefaultIdle() {
  DWORD due = 0;
  if (!NextTimerDue(&due) || due <= Now()) return false;
  AdvanceClock(due - Now());
  return true;
}

// Runs the earliest scheduled action when it comes before the next timer.
bool RunAction() {
  auto& actions = Q().actions;
  if (actions.empty()) return false;
  auto it = std::min_element(actions.begin(), actions.end(),
                             [](const Action& a, const Action& b) { return a.when < b.when; });
  DWORD due = 0;
  if (NextTimerDue(&due) && due < it->when && it->when > Now()) return false;
  Action action = std::move(*it);
  actions.erase(it);
  if (action.when > Now()) AdvanceClock(action.when - Now());
  action.run();
  return true;
}

// Blocks, as far as a headless world can, until a message passing the filter waits.
void Wait(HWND filter, UINT first, UINT last) {
  for (int round = 0;; ++round) {
    MSG m;
    if (Retrieve(&m, filter, first, last, false)) return;
    if (RunAction()) continue;
    bool moved = Q().idle ? Q().idle() : DefaultIdle();
    if (!moved || round >= kMaxIdleRounds) throw std::runtime_error("emu: the message loop waits for nothing");
  }
}

bool ValidFilter(HWND filter) {
  if (filter == nullptr || filter == kThreadOnly || FromHandle(filter) != nullptr) return true;
  SetLastError(ERROR_INVALID_WINDOW_HANDLE);
  return false;
}

// The character a key gives on a US keyboard, or 0.
char CharOf(WPARAM vk) {
  BYTE keys[256];
  GetKeyboardState(keys);
  bool shift = (keys[VK_SHIFT] & 0x80) != 0;
  bool control = (keys[VK_CONTROL] & 0x80) != 0;
  bool caps = (keys[VK_CAPITAL] & 0x01) != 0;
  if (vk >= 'A' && vk <= 'Z') {
    if (control) return static_cast<char>(vk - 'A' + 1);
    return static_cast<char>((shift != caps) ? vk : vk - 'A' + 'a');
  }
  if (vk >= '0' && vk <= '9') {
    if (control) return 0;
    static const char kShifted[] = ")!@#$%^&*(";
    return shift ? kShifted[vk - '0'] : static_cast<char>(vk);
  }
  switch (vk) {
    case VK_SPACE:
      return ' ';
    case VK_RETURN:
      return '\r';
    case VK_TAB:
      return '\t';
    case VK_BACK:
      return '\b';
    case VK_ESCAPE:
      return 0x1B;
    default:
      return 0;
  }
}

}  // namespace

void ResetMessages() { Q() = Queue{}; }

void PostInput(const MSG& msg) { Q().input.push_back(msg); }

// Paint messages are worked out from the windows' update state each time the queue is read.
void RequestRepaintQueueCheck() {}

void DropMessagesFor(HWND hwnd) {
  for (auto* queue : {&Q().posted, &Q().input})
    queue->erase(std::remove_if(queue->begin(), queue->end(), [hwnd](const MSG& m) { return m.hwnd == hwnd; }),
                 queue->end());
}

void DropInput() { Q().input.clear(); }

void SetIdleHandler(IdleHandler handler) { Q().idle = std::move(handler); }

void At(DWORD when, std::function<void()> action) { Q().actions.push_back(Action{when, std::move(action)}); }

}  // namespace emu

BOOL WINAPI PostMessageA(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (hwnd != nullptr && emu::FromHandle(hwnd) == nullptr) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  POINT cursor{};
  GetCursorPos(&cursor);
  emu::Q().posted.push_back(MSG{hwnd, msg, wp, lp, emu::Now(), cursor});
  return TRUE;
}

LRESULT WINAPI SendMessageA(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  emu::Window* w = emu::FromHandle(hwnd);
  if (w == nullptr) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  WNDPROC proc = w->proc != nullptr ? w->proc : DefWindowProcA;
  return proc(hwnd, msg, wp, lp);
}

BOOL WINAPI GetMessageA(LPMSG msg, HWND hwnd, UINT first, UINT last) {
  if (msg == nullptr || !emu::ValidFilter(hwnd)) return -1;
  for (;;) {
    if (emu::Retrieve(msg, hwnd, first, last, true)) {
      emu::Q().lastTime = msg->time;
      return msg->message != WM_QUIT;
    }
    emu::Wait(hwnd, first, last);
  }
}

BOOL WINAPI PeekMessageA(LPMSG msg, HWND hwnd, UINT first, UINT last, UINT remove) {
  if (msg == nullptr || !emu::ValidFilter(hwnd)) return FALSE;
  if (!emu::Retrieve(msg, hwnd, first, last, (remove & PM_REMOVE) != 0)) return FALSE;
  emu::Q().lastTime = msg->time;
  return TRUE;
}

LRESULT WINAPI DispatchMessageA(const MSG* msg) {
  if (msg == nullptr) return 0;
  if (msg->message == WM_TIMER && msg->lParam != 0) {
    reinterpret_cast<TIMERPROC>(msg->lParam)(msg->hwnd, WM_TIMER, msg->wParam, msg->time);
    return 0;
  }
  if (msg->hwnd == nullptr) return 0;
  return SendMessageA(msg->hwnd, msg->message, msg->wParam, msg->lParam);
}

BOOL WINAPI TranslateMessage(const MSG* msg) {
  if (msg == nullptr) return FALSE;
  UINT m = msg->message;
  if (m != WM_KEYDOWN && m != WM_KEYUP && m != WM_SYSKEYDOWN && m != WM_SYSKEYUP) return FALSE;
  if (m == WM_KEYDOWN || m == WM_SYSKEYDOWN) {
    char c = emu::CharOf(msg->wParam);
    if (c != 0)
      PostMessageA(msg->hwnd, m == WM_KEYDOWN ? WM_CHAR : WM_SYSCHAR, static_cast<WPARAM>(static_cast<BYTE>(c)),
                   msg->lParam);
  }
  return TRUE;
}

void WINAPI PostQuitMessage(int exitCode) {
  emu::Q().quit = true;
  emu::Q().quitCode = exitCode;
}

BOOL WINAPI WaitMessage() {
  emu::Wait(nullptr, 0, 0);
  return TRUE;
}

DWORD WINAPI GetMessageTime() { return emu::Q().lastTime; }
