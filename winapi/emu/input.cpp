// Input as hardware makes it (the test funnel), cursor and key state, and routing: focus, activation, capture.
#include <algorithm>
#include <cstdlib>
#include <iterator>
#include <map>
#include <string>

#include "state.h"

namespace emu {
namespace {

// The press a next one may pair with into a double-click.
struct Click {
  bool valid = false;
  UINT message = 0;  // the press message as posted (client or non-client)
  HWND hwnd = nullptr;
  LRESULT hit = HTCLIENT;
  DWORD time = 0;
  POINT pt{};
};

struct Input {
  POINT cursor{0, 0};
  BYTE keys[256]{};
  Window* focus = nullptr;
  Window* active = nullptr;
  Window* capture = nullptr;
  Click click;
  HCURSOR shape = nullptr;
};

Input& I() {
  static Input input;
  return input;
}

struct ButtonMessages {
  BYTE vk;
  UINT down, up, doubleClick, ncDown, ncUp, ncDoubleClick;
};

const ButtonMessages& MessagesOf(Button b) {
  static const ButtonMessages kLeft{VK_LBUTTON,       WM_LBUTTONDOWN, WM_LBUTTONUP,      WM_LBUTTONDBLCLK,
                                    WM_NCLBUTTONDOWN, WM_NCLBUTTONUP, WM_NCLBUTTONDBLCLK};
  static const ButtonMessages kRight{VK_RBUTTON,       WM_RBUTTONDOWN, WM_RBUTTONUP,      WM_RBUTTONDBLCLK,
                                     WM_NCRBUTTONDOWN, WM_NCRBUTTONUP, WM_NCRBUTTONDBLCLK};
  static const ButtonMessages kMiddle{VK_MBUTTON,       WM_MBUTTONDOWN, WM_MBUTTONUP,      WM_MBUTTONDBLCLK,
                                      WM_NCMBUTTONDOWN, WM_NCMBUTTONUP, WM_NCMBUTTONDBLCLK};
  return b == Button::Left ? kLeft : b == Button::Right ? kRight : kMiddle;
}

bool Down(BYTE vk) { return (I().keys[vk] & 0x80) != 0; }

WPARAM MouseKeys() {
  WPARAM k = 0;
  if (Down(VK_LBUTTON)) k |= MK_LBUTTON;
  if (Down(VK_RBUTTON)) k |= MK_RBUTTON;
  if (Down(VK_MBUTTON)) k |= MK_MBUTTON;
  if (Down(VK_SHIFT)) k |= MK_SHIFT;
  if (Down(VK_CONTROL)) k |= MK_CONTROL;
  return k;
}

bool Inside(Window* w, POINT screen) {
  RECT r;
  GetWindowRect(w->handle, &r);
  return PtInRect(&r, screen) != FALSE;
}

// Children are searched only inside their parent's client area; a disabled child is passed over like a hidden one.
Window* Deepest(Window* w, POINT screen) {
  POINT o = ClientOriginOnScreen(*w);
  RECT c = ClientInWindow(*w);
  RECT client{o.x, o.y, o.x + (c.right - c.left), o.y + (c.bottom - c.top)};
  if (!PtInRect(&client, screen)) return w;
  for (Window* child : w->children)
    if (child->Visible() && child->Enabled() && Inside(child, screen)) return Deepest(child, screen);
  return w;
}

Window* WindowAt(POINT screen) {
  for (Window* t : TopLevels())
    if (t->Visible() && Inside(t, screen)) return Deepest(t, screen);
  return Desktop();
}

UINT PairClick(Window* target, UINT press, UINT doubleClick, LRESULT hit, POINT pt) {
  Click& c = I().click;
  bool allowed = hit != HTCLIENT || (target->cls != nullptr && (target->cls->wc.style & CS_DBLCLKS));
  DWORD now = Now();
  bool paired = c.valid && c.message == press && c.hwnd == target->handle && c.hit == hit &&
                now - c.time < GetDoubleClickTime() && std::abs(pt.x - c.pt.x) < GetSystemMetrics(SM_CXDOUBLECLK) / 2 &&
                std::abs(pt.y - c.pt.y) < GetSystemMetrics(SM_CYDOUBLECLK) / 2;
  if (allowed && paired) {
    c.valid = false;  // a third press starts over
    return doubleClick;
  }
  c = Click{true, press, target->handle, hit, now, pt};
  return press;
}

// Routes one mouse event: to the capture, else to the window under the pointer as client or non-client input.
void DeliverMouse(UINT clientMessage, UINT ncMessage, UINT doubleClick, UINT ncDoubleClick, bool press) {
  Input& in = I();
  if (InMenuLoop()) return;  // the menu's own loop has the pointer
  POINT pt = in.cursor;
  Window* target = in.capture;
  LRESULT hit = HTCLIENT;
  if (target == nullptr) {
    target = WindowAt(pt);
    if (target == nullptr || target == Desktop() || !target->Enabled()) return;
    hit = SendMessageA(target->handle, WM_NCHITTEST, 0, MAKELPARAM(pt.x, pt.y));
    if (FromHandle(target->handle) == nullptr || hit == HTTRANSPARENT || hit == HTERROR) return;
  }
  HWND hwnd = target->handle;
  bool client = hit == HTCLIENT;
  UINT message = client ? clientMessage : ncMessage;
  if (press && in.capture == nullptr) {
    Window* top = TopLevelOf(target);
    if (top != in.active) {
      LRESULT answer =
          SendMessageA(hwnd, WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(top->handle), MAKELPARAM(hit, message));
      if (answer == MA_ACTIVATE || answer == MA_ACTIVATEANDEAT) Activate(top, WA_CLICKACTIVE, true);
      if (answer == MA_ACTIVATEANDEAT || answer == MA_NOACTIVATEANDEAT) return;
      if (FromHandle(hwnd) == nullptr) return;
    }
  }
  if (in.capture == nullptr) {
    SendMessageA(hwnd, WM_SETCURSOR, reinterpret_cast<WPARAM>(hwnd), MAKELPARAM(hit, message));
    if (FromHandle(hwnd) == nullptr) return;
  }
  WPARAM wp = static_cast<WPARAM>(hit);
  LPARAM lp = MAKELPARAM(pt.x, pt.y);
  if (client) {
    POINT o = ClientOriginOnScreen(*target);
    wp = MouseKeys();
    lp = MAKELPARAM(pt.x - o.x, pt.y - o.y);
  }
  if (press) message = PairClick(target, message, client ? doubleClick : ncDoubleClick, hit, pt);
  PostInput(MSG{hwnd, message, wp, lp, Now(), pt});
}

void DeliverKey(BYTE vk, bool down, bool previous) {
  Input& in = I();
  if (InMenuLoop()) return;
  Window* target = in.focus != nullptr ? in.focus : in.active;
  if (target == nullptr) return;
  bool alt = Down(VK_MENU);
  // With no focus the active window gets every key as a system key.
  bool sys = in.focus == nullptr || vk == VK_MENU || vk == VK_F10 || (alt && !Down(VK_CONTROL));
  DWORD bits = 1u;
  if (alt) bits |= 1u << 29;
  if (previous) bits |= 1u << 30;
  if (!down) bits |= 1u << 31;
  UINT message = down ? (sys ? WM_SYSKEYDOWN : WM_KEYDOWN) : (sys ? WM_SYSKEYUP : WM_KEYUP);
  PostInput(MSG{target->handle, message, vk, static_cast<LPARAM>(bits), Now(), in.cursor});
}

}  // namespace

// ---- The funnel

void MouseMove(int screenX, int screenY) {
  const Config& c = CurrentConfig();
  I().cursor = POINT{std::clamp(screenX, 0, c.screenWidth - 1), std::clamp(screenY, 0, c.screenHeight - 1)};
  DeliverMouse(WM_MOUSEMOVE, WM_NCMOUSEMOVE, WM_MOUSEMOVE, WM_NCMOUSEMOVE, false);
}

void MouseDown(Button button) {
  const ButtonMessages& m = MessagesOf(button);
  BYTE& key = I().keys[m.vk];
  key = static_cast<BYTE>((key ^ 0x01) | 0x80);
  DeliverMouse(m.down, m.ncDown, m.doubleClick, m.ncDoubleClick, true);
}

void MouseUp(Button button) {
  const ButtonMessages& m = MessagesOf(button);
  I().keys[m.vk] &= static_cast<BYTE>(~0x80);
  DeliverMouse(m.up, m.ncUp, m.up, m.ncUp, false);
}

void KeyDown(BYTE vk, bool autoRepeat) {
  BYTE& key = I().keys[vk];
  bool wasDown = (key & 0x80) != 0;
  if (!autoRepeat) key ^= 0x01;
  key |= 0x80;
  DeliverKey(vk, true, wasDown || autoRepeat);
}

void KeyUp(BYTE vk) {
  I().keys[vk] &= static_cast<BYTE>(~0x80);
  DeliverKey(vk, false, true);
}

// ---- Shared with the other role files

void ResetInput() { I() = Input{}; }

void ForgetWindow(Window* w) {
  Input& in = I();
  if (in.focus == w) in.focus = nullptr;
  if (in.active == w) in.active = nullptr;
  if (in.capture == w) in.capture = nullptr;
  if (in.click.hwnd == w->handle) in.click.valid = false;
}

void Activate(Window* w, int how, bool settleFocus) {
  Input& in = I();
  if (w == Desktop()) w = nullptr;
  Window* old = in.active;
  if (old == w) return;
  HWND hwnd = w != nullptr ? w->handle : nullptr;
  if (w != nullptr && !TopLevels().empty() && TopLevels().front() != w)
    SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  if (w != nullptr && FromHandle(hwnd) == nullptr) return;
  HWND oldHandle = old != nullptr ? old->handle : nullptr;
  if (old != nullptr) {
    SendMessageA(oldHandle, WM_NCACTIVATE, FALSE, reinterpret_cast<LPARAM>(hwnd));
    SendMessageA(oldHandle, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, (old->style & WS_MINIMIZE) != 0),
                 reinterpret_cast<LPARAM>(hwnd));
  }
  if (w != nullptr && FromHandle(hwnd) == nullptr) w = nullptr;
  in.active = w;
  if (w != nullptr) {
    SendMessageA(hwnd, WM_NCACTIVATE, TRUE, reinterpret_cast<LPARAM>(oldHandle));
    SendMessageA(hwnd, WM_ACTIVATE, MAKEWPARAM(how, (w->style & WS_MINIMIZE) != 0),
                 reinterpret_cast<LPARAM>(oldHandle));
  }
  // The focus must end inside the active window (or nowhere without one).
  if (!settleFocus || in.active != w) return;
  if (w == nullptr) {
    if (in.focus != nullptr) SetFocus(nullptr);
  } else if (FromHandle(hwnd) != nullptr && (in.focus == nullptr || TopLevelOf(in.focus) != w)) {
    SetFocus(hwnd);
  }
}

void ActivateOther(Window* leaving) {
  if (I().active != leaving) return;
  auto usable = [leaving](Window* t) {
    return t != nullptr && t != leaving && !t->destroying && t->Visible() && t->Enabled() && !(t->style & WS_MINIMIZE);
  };
  Window* next = nullptr;
  if (usable(leaving->owner)) {
    next = leaving->owner;
  } else {
    for (Window* t : TopLevels())
      if (usable(t)) {
        next = t;
        break;
      }
  }
  Activate(next, WA_ACTIVE, true);
}

}  // namespace emu

using emu::FromHandle;
using emu::I;
using emu::Window;

BOOL WINAPI GetCursorPos(LPPOINT p) {
  if (p == nullptr) return FALSE;
  *p = I().cursor;
  return TRUE;
}

// Windows answers a moved cursor with a mouse move, as if the mouse itself had moved.
BOOL WINAPI SetCursorPos(int x, int y) {
  emu::MouseMove(x, y);
  return TRUE;
}

BOOL WINAPI GetKeyboardState(PBYTE state) {
  if (state == nullptr) return FALSE;
  std::copy(std::begin(I().keys), std::end(I().keys), state);
  return TRUE;
}

short WINAPI GetKeyState(int vk) {
  // The key's byte, sign-extended: negative while down, bit 0 the toggle.
  return static_cast<short>(static_cast<signed char>(I().keys[static_cast<BYTE>(vk)]));
}

HWND WINAPI WindowFromPoint(POINT p) {
  Window* w = emu::WindowAt(p);
  return w != nullptr ? w->handle : nullptr;
}

HWND WINAPI SetFocus(HWND hwnd) {
  emu::Input& in = I();
  HWND previous = in.focus != nullptr ? in.focus->handle : nullptr;
  if (hwnd == nullptr) {
    if (in.focus != nullptr) {
      in.focus = nullptr;
      SendMessageA(previous, WM_KILLFOCUS, 0, 0);
    }
    return previous;
  }
  Window* w = FromHandle(hwnd);
  if (w == nullptr) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return nullptr;
  }
  if (w == emu::Desktop()) return nullptr;
  for (Window* p = w; p != nullptr; p = p->parent)
    if (p->style & (WS_DISABLED | WS_MINIMIZE)) return nullptr;
  if (in.focus == w) return hwnd;
  Window* top = emu::TopLevelOf(w);
  if (top != in.active) {
    emu::Activate(top, WA_ACTIVE, false);
    if (FromHandle(hwnd) == nullptr) return nullptr;
    if (in.focus == w) return hwnd;
  }
  previous = in.focus != nullptr ? in.focus->handle : nullptr;
  in.focus = w;
  if (previous != nullptr) SendMessageA(previous, WM_KILLFOCUS, reinterpret_cast<WPARAM>(hwnd), 0);
  if (in.focus == w) SendMessageA(hwnd, WM_SETFOCUS, reinterpret_cast<WPARAM>(previous), 0);
  return previous;
}

HWND WINAPI GetFocus() { return I().focus != nullptr ? I().focus->handle : nullptr; }

HWND WINAPI SetActiveWindow(HWND hwnd) {
  Window* w = nullptr;
  if (hwnd != nullptr && (w = FromHandle(hwnd)) == nullptr) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return nullptr;
  }
  HWND previous = GetActiveWindow();
  emu::Activate(emu::TopLevelOf(w), WA_ACTIVE, true);
  return previous;
}

HWND WINAPI GetActiveWindow() { return I().active != nullptr ? I().active->handle : nullptr; }

BOOL WINAPI SetForegroundWindow(HWND hwnd) {
  Window* w = FromHandle(hwnd);
  if (w == nullptr) return FALSE;
  emu::Activate(emu::TopLevelOf(w), WA_ACTIVE, true);
  return TRUE;
}

// One program runs here, so its active window is the foreground window.
HWND WINAPI GetForegroundWindow() { return GetActiveWindow(); }

HWND WINAPI SetCapture(HWND hwnd) {
  emu::Input& in = I();
  Window* w = FromHandle(hwnd);
  HWND previous = in.capture != nullptr ? in.capture->handle : nullptr;
  if (hwnd != nullptr && w == nullptr) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return nullptr;
  }
  if (in.capture == w) return previous;
  in.capture = w;
  if (previous != nullptr) SendMessageA(previous, WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(hwnd));
  return previous;
}

BOOL WINAPI ReleaseCapture() {
  emu::Input& in = I();
  if (in.capture == nullptr) return TRUE;
  HWND previous = in.capture->handle;
  in.capture = nullptr;
  SendMessageA(previous, WM_CAPTURECHANGED, 0, 0);
  return TRUE;
}

HWND WINAPI GetCapture() { return I().capture != nullptr ? I().capture->handle : nullptr; }

namespace {

// One handle per resource name, stable for the whole process.
HICON IconHandle(LPCSTR name, std::uintptr_t base) {
  static std::map<std::string, HICON> handles;
  std::string key = name == nullptr        ? std::string("#0")
                    : IS_INTRESOURCE(name) ? "#" + std::to_string(reinterpret_cast<std::uintptr_t>(name))
                                           : std::string(name);
  key = std::to_string(base) + key;
  auto it = handles.find(key);
  if (it != handles.end()) return it->second;
  auto handle = reinterpret_cast<HICON>(base + handles.size() * 4);
  handles.emplace(key, handle);
  return handle;
}

}  // namespace

HICON WINAPI LoadIconA(HINSTANCE, LPCSTR name) { return IconHandle(name, 0x00300000); }

HCURSOR WINAPI LoadCursorA(HINSTANCE, LPCSTR name) { return IconHandle(name, 0x00400000); }

HCURSOR WINAPI SetCursor(HCURSOR cursor) {
  HCURSOR previous = I().shape;
  I().shape = cursor;
  return previous;
}
