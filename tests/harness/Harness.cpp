// Input, time and pixel helpers: the emulation's hardware funnel, or SendInput and real time on Windows.
#include "Harness.h"

#include <string>

#ifndef _WIN32
#include "winapi/emu/control.h"
#endif

void PrintTo(const AnsiString& s, std::ostream* out) { *out << '"' << s.View() << '"'; }

namespace th {

namespace {
std::string Shift(TShiftState s) {
  std::string out;
  const char* names[] = {"Shift", "Alt", "Ctrl", "Left", "Right", "Middle", "Double"};
  for (int i = 0; i < 7; ++i)
    if (s & (1 << i)) out += (out.empty() ? "" : "+") + std::string(names[i]);
  return "[" + out + "]";
}
const char* ButtonName(TMouseButton b) { return b == mbLeft ? "Left" : b == mbRight ? "Right" : "Middle"; }

bool Pending() {
  MSG m;
  return PeekMessageA(&m, nullptr, 0, 0, PM_NOREMOVE) != 0;
}

#ifdef _WIN32
void Send(INPUT input) {
  SendInput(1, &input, sizeof(INPUT));
  // Wine hands injected input to the queue asynchronously: give it a moment to arrive.
  Sleep(20);
}
#endif
}  // namespace

void Recorder::MouseDown(TObject*, TMouseButton b, TShiftState s, int x, int y) {
  log.push_back(std::string("MouseDown(") + ButtonName(b) + "," + Shift(s) + "," + std::to_string(x) + "," +
                std::to_string(y) + ")");
}
void Recorder::MouseUp(TObject*, TMouseButton b, TShiftState s, int x, int y) {
  log.push_back(std::string("MouseUp(") + ButtonName(b) + "," + Shift(s) + "," + std::to_string(x) + "," +
                std::to_string(y) + ")");
}
void Recorder::MouseEnter(TObject*, TShiftState s, int x, int y) {
  log.push_back("MouseEnter(" + Shift(s) + "," + std::to_string(x) + "," + std::to_string(y) + ")");
}
void Recorder::MouseLeave(TObject*, TShiftState s, int x, int y) {
  log.push_back("MouseLeave(" + Shift(s) + "," + std::to_string(x) + "," + std::to_string(y) + ")");
}
void Recorder::KeyDown(TObject*, WORD& key, TShiftState s) {
  log.push_back("KeyDown(" + std::to_string(key) + "," + Shift(s) + ")");
}
void Recorder::KeyUp(TObject*, WORD& key, TShiftState s) {
  log.push_back("KeyUp(" + std::to_string(key) + "," + Shift(s) + ")");
}

#ifdef _WIN32
bool OnEmulation() { return false; }

void Fresh(const World&) {
  Application.Reset();
  SetCursorPos(0, 0);
}

void Pump() {
  for (int quiet = 0; quiet < 3;) {
    if (Pending()) {
      Application->ProcessMessages();
      quiet = 0;
    } else {
      Application->DoMouseIdle();
      Sleep(5);
      ++quiet;
    }
  }
}

void Wait(DWORD ms) {
  DWORD start = GetTickCount();
  while (GetTickCount() - start < ms) {
    Application->ProcessMessages();
    Application->DoMouseIdle();
    Sleep(1);
  }
  Pump();
}

void MoveMouse(int x, int y) {
  INPUT in{};
  in.type = INPUT_MOUSE;
  // Rounded up, so that the system's scaling back to pixels lands on the pixel asked for.
  const LONG w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
  in.mi.dx = (x * 65535 + (w - 2)) / (w - 1);
  in.mi.dy = (y * 65535 + (h - 2)) / (h - 1);
  in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  Send(in);
  Pump();
}

static void Mouse(Button b, bool down) {
  INPUT in{};
  in.type = INPUT_MOUSE;
  switch (b) {
    case Button::Left:
      in.mi.dwFlags = down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
      break;
    case Button::Right:
      in.mi.dwFlags = down ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_RIGHTUP;
      break;
    case Button::Middle:
      in.mi.dwFlags = down ? MOUSEEVENTF_MIDDLEDOWN : MOUSEEVENTF_MIDDLEUP;
      break;
  }
  Send(in);
  Pump();
}
void Press(Button b) { Mouse(b, true); }
void Release(Button b) { Mouse(b, false); }

static void Keyboard(BYTE vk, bool down) {
  INPUT in{};
  in.type = INPUT_KEYBOARD;
  in.ki.wVk = vk;
  in.ki.wScan = static_cast<WORD>(MapVirtualKeyA(vk, 0));
  in.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
  Send(in);
  Pump();
}
void KeyDown(BYTE vk, bool) { Keyboard(vk, true); }
void KeyUp(BYTE vk) { Keyboard(vk, false); }

COLORREF Pixel(TWinControl* window, int x, int y) {
  HDC dc = GetDC(window->Handle());
  COLORREF c = GetPixel(dc, x, y);
  ReleaseDC(window->Handle(), dc);
  return c;
}
#else
bool OnEmulation() { return true; }

void Fresh(const World& world) {
  Application.Reset();
  emu::Config config;
  config.screenWidth = world.screenWidth;
  config.screenHeight = world.screenHeight;
  emu::Reset(config);
}

void Pump() {
  for (int round = 0; round < 1000; ++round) {
    Application->ProcessMessages();
    Application->DoMouseIdle();
    if (!Pending()) return;
  }
}

void Wait(DWORD ms) {
  const DWORD target = emu::Now() + ms;
  Pump();
  for (;;) {
    DWORD due = 0;
    if (emu::NextTimerDue(&due) && due <= target) {
      if (due > emu::Now()) emu::AdvanceClock(due - emu::Now());
      Pump();
      if (emu::NextTimerDue(&due) && due <= emu::Now()) continue;
    } else {
      if (target > emu::Now()) emu::AdvanceClock(target - emu::Now());
      Pump();
      return;
    }
    if (emu::Now() >= target) {
      Pump();
      return;
    }
  }
}

void MoveMouse(int x, int y) {
  emu::MouseMove(x, y);
  Pump();
}

static emu::Button ToEmu(Button b) {
  return b == Button::Left ? emu::Button::Left : b == Button::Right ? emu::Button::Right : emu::Button::Middle;
}
void Press(Button b) {
  emu::MouseDown(ToEmu(b));
  Pump();
}
void Release(Button b) {
  emu::MouseUp(ToEmu(b));
  Pump();
}
void KeyDown(BYTE vk, bool autoRepeat) {
  emu::KeyDown(vk, autoRepeat);
  Pump();
}
void KeyUp(BYTE vk) {
  emu::KeyUp(vk);
  Pump();
}

COLORREF Pixel(TWinControl* window, int x, int y) {
  POINT origin = emu::ClientOriginInTopLevel(window->Handle());
  HWND top = window->Handle();
  while (GetParent(top) && (GetWindowLongPtrA(top, GWL_STYLE) & WS_CHILD)) top = GetParent(top);
  return emu::WindowPixel(top, origin.x + x, origin.y + y);
}
#endif

void MoveMouseTo(TControl* control, int x, int y) {
  POINT p = control->ClientToScreen(POINT{x, y});
  MoveMouse(p.x, p.y);
}

void ClickAt(TControl* control, int x, int y) {
  MoveMouseTo(control, x, y);
  Press();
  Release();
}

void Key(BYTE vk) {
  KeyDown(vk);
  KeyUp(vk);
}

}  // namespace th
