// The virtual clock and the timers that fall due on it.
#include <algorithm>
#include <vector>

#include "state.h"

namespace emu {
namespace {

constexpr UINT kMinimumElapse = 10;          // what Windows raises shorter periods to
constexpr UINT kMaximumElapse = 0x7FFFFFFF;  // and lowers longer ones to
constexpr UINT_PTR kFirstThreadTimer = 0x7F00;

struct Timer {
  HWND hwnd;
  UINT_PTR id;
  UINT elapse;
  TIMERPROC proc;
  DWORD due;
};

struct Clock {
  DWORD now = 0;
  std::vector<Timer> timers;  // in creation order, which breaks ties between timers due together
  UINT_PTR nextThreadTimer = kFirstThreadTimer;
};

Clock& C() {
  static Clock clock;
  return clock;
}

bool Matches(const Timer& t, HWND filter) {
  if (filter == nullptr) return true;
  if (filter == reinterpret_cast<HWND>(static_cast<LONG_PTR>(-1))) return t.hwnd == nullptr;
  return t.hwnd == filter;
}

}  // namespace

DWORD Now() { return C().now; }

void AdvanceClock(DWORD ms) { C().now += ms; }

bool NextTimerDue(DWORD* when) {
  const auto& timers = C().timers;
  if (timers.empty()) return false;
  auto it =
      std::min_element(timers.begin(), timers.end(), [](const Timer& a, const Timer& b) { return a.due < b.due; });
  if (when != nullptr) *when = it->due;
  return true;
}

void ResetClock() { C() = Clock{}; }

bool TakeTimer(HWND filter, bool remove, MSG* out) {
  Clock& c = C();
  Timer* best = nullptr;
  for (Timer& t : c.timers)
    if (t.due <= c.now && Matches(t, filter) && (best == nullptr || t.due < best->due)) best = &t;
  if (best == nullptr) return false;
  POINT cursor{};
  GetCursorPos(&cursor);
  *out = MSG{best->hwnd, WM_TIMER, best->id, reinterpret_cast<LPARAM>(best->proc), c.now, cursor};
  // One message however many periods went by; the next period starts now.
  if (remove) best->due = c.now + best->elapse;
  return true;
}

void KillTimersOf(HWND hwnd) {
  auto& timers = C().timers;
  timers.erase(std::remove_if(timers.begin(), timers.end(), [hwnd](const Timer& t) { return t.hwnd == hwnd; }),
               timers.end());
}

}  // namespace emu

DWORD WINAPI GetTickCount() { return emu::Now(); }

// Holds the thread: time passes and nothing is handled meanwhile.
void WINAPI Sleep(DWORD ms) { emu::AdvanceClock(ms); }

UINT_PTR WINAPI SetTimer(HWND hwnd, UINT_PTR id, UINT elapse, TIMERPROC proc) {
  DWORD code = 0;
  if (emu::ShouldFail("SetTimer", &code)) {
    SetLastError(code);
    return 0;
  }
  if (hwnd != nullptr && emu::FromHandle(hwnd) == nullptr) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  emu::Clock& c = emu::C();
  elapse = std::clamp(elapse, emu::kMinimumElapse, emu::kMaximumElapse);
  auto it =
      std::find_if(c.timers.begin(), c.timers.end(), [&](const emu::Timer& t) { return t.hwnd == hwnd && t.id == id; });
  // A thread timer keeps its id only when it replaces one; otherwise it gets a fresh one.
  if (hwnd == nullptr && it == c.timers.end()) id = c.nextThreadTimer++;
  emu::Timer timer{hwnd, id, elapse, proc, c.now + elapse};
  if (it != c.timers.end())
    *it = timer;
  else
    c.timers.push_back(timer);
  return id;
}

BOOL WINAPI KillTimer(HWND hwnd, UINT_PTR id) {
  auto& timers = emu::C().timers;
  auto it =
      std::find_if(timers.begin(), timers.end(), [&](const emu::Timer& t) { return t.hwnd == hwnd && t.id == id; });
  if (it == timers.end()) return FALSE;
  timers.erase(it);
  return TRUE;
}
