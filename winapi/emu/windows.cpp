// Window classes and windows: creation, destruction, styles, geometry, z-order, the default procedure.
#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "state.h"

namespace emu {
namespace {

constexpr int kCaptionHeight = 19;  // includes the caption's one-pixel bottom line
constexpr int kBorder = 1;
constexpr int kDlgFrame = 3;
constexpr int kSizeFrame = 4;
constexpr int kEdge = 2;
constexpr int kMenuHeight = 19;
constexpr int kDefaultPosition = 26;  // where CW_USEDEFAULT puts an overlapped window
// Set by ShowWindow when the minimised state changes, so WM_SIZE follows even at an unchanged size.
constexpr UINT kStateChanged = 0x8000;

struct ClassEntry {
  WindowClass cls;
  std::string menuName;
  ATOM atom = 0;
  bool system = false;
};

struct WindowManager {
  std::vector<std::unique_ptr<ClassEntry>> classes;
  std::vector<std::unique_ptr<ClassEntry>> retired;  // unregistered, still named by destroyed windows
  ATOM nextAtom = 0xC000;
  std::vector<Window*> topLevels;
  Window* desktop = nullptr;
  WindowClass desktopClass;
  Window* closePressed = nullptr;  // a left press on this window's close box waits for its release
};

WindowManager& M() {
  static WindowManager m;
  return m;
}

ClassEntry* FindClass(LPCSTR name) {
  if (name == nullptr) return nullptr;
  for (auto& e : M().classes) {
    if (IS_INTRESOURCE(name) ? e->atom == static_cast<ATOM>(reinterpret_cast<ULONG_PTR>(name))
                             : EqualNoCase(e->cls.name, name))
      return e.get();
  }
  return nullptr;
}

ATOM AddClass(const WNDCLASSA& wc, bool system) {
  auto e = std::make_unique<ClassEntry>();
  e->cls.name = wc.lpszClassName;
  e->cls.wc = wc;
  e->cls.wc.lpszClassName = nullptr;
  if (wc.lpszMenuName != nullptr && !IS_INTRESOURCE(wc.lpszMenuName)) {
    e->menuName = wc.lpszMenuName;
    e->cls.wc.lpszMenuName = nullptr;
  }
  e->atom = M().nextAtom++;
  e->system = system;
  ATOM atom = e->atom;
  M().classes.push_back(std::move(e));
  return atom;
}

void FillClassInfo(const ClassEntry& e, WNDCLASSA* wc) {
  *wc = e.cls.wc;
  wc->lpszClassName = e.cls.name.c_str();
  if (!e.menuName.empty()) wc->lpszMenuName = e.menuName.c_str();
}

Window* Valid(HWND hwnd) {
  Window* w = FromHandle(hwnd);
  if (w == nullptr) SetLastError(ERROR_INVALID_WINDOW_HANDLE);
  return w;
}

std::vector<Window*>& Siblings(Window* w) { return w->parent != nullptr ? w->parent->children : M().topLevels; }

int Width(const RECT& r) { return r.right - r.left; }
int Height(const RECT& r) { return r.bottom - r.top; }

bool HasCaption(const Window& w) { return (w.style & WS_CAPTION) == WS_CAPTION; }

int OuterFrameWidth(DWORD style, DWORD exStyle) {
  if (style & WS_THICKFRAME) return kSizeFrame;
  if ((style & WS_DLGFRAME) || (exStyle & WS_EX_DLGMODALFRAME)) return kDlgFrame;
  if (style & WS_BORDER) return kBorder;
  return 0;
}

// Where `after` would put w among its siblings; false when it names nothing there.
bool Restacked(Window* w, HWND after, std::vector<Window*>* order) {
  std::vector<Window*> list = Siblings(w);
  list.erase(std::find(list.begin(), list.end(), w));
  if (after == HWND_TOP) {
    list.insert(list.begin(), w);
  } else if (after == HWND_BOTTOM) {
    list.push_back(w);
  } else {
    Window* a = FromHandle(after);
    auto it = std::find(list.begin(), list.end(), a);
    if (a == nullptr || it == list.end()) return false;
    list.insert(it + 1, w);
  }
  *order = std::move(list);
  return true;
}

POINT ClientOriginInParent(const Window& w) { return POINT{w.rect.left + w.frame.left, w.rect.top + w.frame.top}; }

void Unlink(Window* w) {
  auto& list = Siblings(w);
  list.erase(std::remove(list.begin(), list.end(), w), list.end());
}

// ---- Destruction

void MarkDestroying(Window* w) {
  w->destroying = true;
  for (Window* c : w->children) MarkDestroying(c);
}

void SendDestroy(Window* w) {
  SendMessageA(w->handle, WM_DESTROY, 0, 0);
  std::vector<Window*> children = w->children;
  for (Window* c : children)
    if (!c->destroyed) SendDestroy(c);
}

void FinishDestroy(Window* w) {
  std::vector<Window*> children = w->children;
  for (Window* c : children)
    if (!c->destroyed) FinishDestroy(c);
  SendMessageA(w->handle, WM_NCDESTROY, 0, 0);
  KillTimersOf(w->handle);
  DropMessagesFor(w->handle);
  ForgetWindow(w);
  if (M().closePressed == w) M().closePressed = nullptr;
  Unlink(w);
  for (Window* t : M().topLevels)
    if (t->owner == w) t->owner = nullptr;
  w->updatePending = w->eraseNeeded = w->frameInvalid = false;
  w->destroyed = true;
}

// Holds when w or one of its descendants is `other`.
bool Contains(Window* w, Window* other) {
  for (Window* p = other; p != nullptr; p = p->parent)
    if (p == w) return true;
  return false;
}

// ---- Default processing

LRESULT EraseBackground(Window* w, HDC dc) {
  HBRUSH brush = w->cls != nullptr ? w->cls->wc.hbrBackground : nullptr;
  if (brush == nullptr) return 0;
  auto value = reinterpret_cast<std::uintptr_t>(brush);
  if (value >= 1 && value <= COLOR_INFOBK + 1) brush = GetSysColorBrush(static_cast<int>(value) - 1);
  RECT client;
  GetClientRect(w->handle, &client);
  FillRect(dc, &client, brush);
  return 1;
}

LRESULT HitTest(const Window& w, POINT screen) {
  RECT outer;
  GetWindowRect(w.handle, &outer);
  if (!PtInRect(&outer, screen)) return HTNOWHERE;
  POINT p{screen.x - outer.left, screen.y - outer.top};
  RECT client = ClientInWindow(w);
  if (PtInRect(&client, p)) return HTCLIENT;
  RECT caption = CaptionRect(w);
  if (PtInRect(&caption, p)) {
    RECT close;
    if (CloseBoxRect(w, &close) && PtInRect(&close, p)) return HTCLOSE;
    return HTCAPTION;
  }
  return HTBORDER;
}

void SendMoveAndSize(Window* w) {
  POINT origin = ClientOriginInParent(*w);
  RECT client = ClientInWindow(*w);
  SendMessageA(w->handle, WM_SIZE, (w->style & WS_MINIMIZE) ? SIZE_MINIMIZED : SIZE_RESTORED,
               MAKELPARAM(Width(client), Height(client)));
  if (FromHandle(w->handle) != nullptr) SendMessageA(w->handle, WM_MOVE, 0, MAKELPARAM(origin.x, origin.y));
}

}  // namespace

// ---- Shared with the other role files

Window* Desktop() { return M().desktop; }

std::vector<Window*>& TopLevels() { return M().topLevels; }

RECT FrameFor(DWORD style, DWORD exStyle) {
  int b = OuterFrameWidth(style, exStyle);
  RECT f{b, b, b, b};
  if ((style & WS_CAPTION) == WS_CAPTION) f.top += kCaptionHeight;
  if (exStyle & WS_EX_CLIENTEDGE) {
    f.left += kEdge;
    f.top += kEdge;
    f.right += kEdge;
    f.bottom += kEdge;
  }
  return f;
}

RECT CaptionRect(const Window& w) {
  if (!HasCaption(w)) return RECT{0, 0, 0, 0};
  int b = OuterFrameWidth(w.style, w.exStyle);
  return RECT{b, b, std::max(b, Width(w.rect) - b), b + kCaptionHeight};
}

bool CloseBoxRect(const Window& w, RECT* r) {
  if (!HasCaption(w) || !(w.style & WS_SYSMENU)) return false;
  RECT caption = CaptionRect(w);
  int size = kCaptionHeight - 5;
  *r = RECT{caption.right - 2 - size, caption.top + 2, caption.right - 2, caption.top + 2 + size};
  return true;
}

RECT ClientInWindow(const Window& w) {
  int width = Width(w.rect), height = Height(w.rect);
  LONG right = std::max(w.frame.left, width - w.frame.right);
  LONG bottom = std::max(w.frame.top, height - w.frame.bottom);
  return RECT{w.frame.left, w.frame.top, right, bottom};
}

Window* TopLevelOf(Window* w) {
  while (w != nullptr && w->parent != nullptr) w = w->parent;
  return w;
}

POINT ClientOriginOnScreen(const Window& w) {
  POINT p = ClientOriginInParent(w);
  if (w.parent != nullptr) {
    POINT base = ClientOriginOnScreen(*w.parent);
    p.x += base.x;
    p.y += base.y;
  }
  return p;
}

POINT RasterOrigin(const Window& w) {
  if (w.parent == nullptr) return POINT{0, 0};
  POINT base = ClientOriginInTopLevel(w.parent->handle);
  return POINT{base.x + w.rect.left, base.y + w.rect.top};
}

bool ReallyVisible(const Window* w) {
  for (; w != nullptr; w = w->parent)
    if (!w->Visible()) return false;
  return true;
}

void ResetWindows(const Config& c) {
  WindowManager& m = M();
  m.topLevels.clear();
  m.closePressed = nullptr;
  m.desktop = nullptr;
  ClearWindowRegistry();
  m.classes.clear();
  m.retired.clear();
  m.nextAtom = 0xC000;

  m.desktopClass = WindowClass{};
  m.desktopClass.name = "#32769";
  m.desktopClass.wc.lpfnWndProc = DefWindowProcA;
  m.desktopClass.wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<std::uintptr_t>(COLOR_BACKGROUND + 1));
  Window* d = NewWindowObject();
  d->cls = &m.desktopClass;
  d->proc = DefWindowProcA;
  d->style = WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
  d->rect = RECT{0, 0, c.screenWidth, c.screenHeight};
  m.desktop = d;  // its raster is made when something first draws on the screen

  WNDCLASSA button{};
  button.style = CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
  button.lpfnWndProc = ButtonProc;
  button.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  button.lpszClassName = "Button";
  AddClass(button, true);
}

}  // namespace emu

using emu::FromHandle;
using emu::M;
using emu::Valid;
using emu::Window;

// ---- Classes

ATOM WINAPI RegisterClassA(const WNDCLASSA* wc) {
  DWORD code = 0;
  if (emu::ShouldFail("RegisterClassA", &code)) {
    SetLastError(code);
    return 0;
  }
  if (wc == nullptr || wc->lpszClassName == nullptr || IS_INTRESOURCE(wc->lpszClassName) ||
      wc->lpfnWndProc == nullptr || wc->cbWndExtra < 0 || wc->cbClsExtra < 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  if (emu::FindClass(wc->lpszClassName) != nullptr) {
    SetLastError(ERROR_CLASS_ALREADY_EXISTS);
    return 0;
  }
  return emu::AddClass(*wc, false);
}

BOOL WINAPI UnregisterClassA(LPCSTR name, HINSTANCE) {
  emu::ClassEntry* e = emu::FindClass(name);
  if (e == nullptr) {
    SetLastError(ERROR_CLASS_DOES_NOT_EXIST);
    return FALSE;
  }
  if (e->system) {
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
  }
  for (Window* t : M().topLevels) {
    std::vector<Window*> stack{t};
    while (!stack.empty()) {
      Window* w = stack.back();
      stack.pop_back();
      if (w->cls == &e->cls) {
        SetLastError(ERROR_CLASS_HAS_WINDOWS);
        return FALSE;
      }
      stack.insert(stack.end(), w->children.begin(), w->children.end());
    }
  }
  auto& classes = M().classes;
  auto it = std::find_if(classes.begin(), classes.end(), [e](const auto& p) { return p.get() == e; });
  M().retired.push_back(std::move(*it));
  classes.erase(it);
  return TRUE;
}

BOOL WINAPI GetClassInfoA(HINSTANCE, LPCSTR name, WNDCLASSA* wc) {
  emu::ClassEntry* e = emu::FindClass(name);
  if (e == nullptr || wc == nullptr) {
    SetLastError(ERROR_CLASS_DOES_NOT_EXIST);
    return FALSE;
  }
  emu::FillClassInfo(*e, wc);
  return TRUE;
}

// ---- Creation and destruction

HWND WINAPI CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y, int width,
                            int height, HWND parent, HMENU menu, HINSTANCE instance, LPVOID param) {
  DWORD code = 0;
  if (emu::ShouldFail("CreateWindowExA", &code)) {
    SetLastError(code);
    return nullptr;
  }
  emu::ClassEntry* e = emu::FindClass(className);
  if (e == nullptr) {
    SetLastError(ERROR_CANNOT_FIND_WND_CLASS);
    return nullptr;
  }
  Window* parentWindow = nullptr;
  Window* owner = nullptr;
  if (parent != nullptr) {
    Window* p = Valid(parent);
    if (p == nullptr) return nullptr;
    if (p != M().desktop) {
      if (style & WS_CHILD)
        parentWindow = p;
      else
        owner = emu::TopLevelOf(p);
    }
  } else if (style & WS_CHILD) {
    SetLastError(ERROR_TLW_WITH_WSCHILD);
    return nullptr;
  }
  bool overlapped = (style & (WS_CHILD | WS_POPUP)) == 0;
  if (parentWindow == nullptr) style &= ~static_cast<DWORD>(WS_CHILD);
  if (overlapped) style |= WS_CAPTION | WS_CLIPSIBLINGS;  // an overlapped window always has a caption
  if (x == CW_USEDEFAULT) x = y = overlapped ? emu::kDefaultPosition : 0;
  if (width == CW_USEDEFAULT) {
    const emu::Config& c = emu::CurrentConfig();
    width = overlapped ? c.screenWidth * 3 / 4 : 0;
    height = overlapped ? c.screenHeight * 3 / 4 : 0;
  }
  width = std::max(width, 0);
  height = std::max(height, 0);

  Window* w = emu::NewWindowObject();
  HWND hwnd = w->handle;
  w->cls = &e->cls;
  w->proc = e->cls.wc.lpfnWndProc;
  w->style = style & ~static_cast<DWORD>(WS_VISIBLE);
  w->exStyle = exStyle;
  w->rect = RECT{x, y, x + width, y + height};
  w->parent = parentWindow;
  w->owner = owner;
  w->instance = instance;
  w->id = parentWindow != nullptr ? static_cast<LONG_PTR>(reinterpret_cast<std::uintptr_t>(menu)) : 0;
  w->extra.assign(static_cast<std::size_t>(e->cls.wc.cbWndExtra), 0);
  w->frame = emu::FrameFor(w->style, exStyle);
  if (parentWindow != nullptr) {
    parentWindow->children.push_back(w);  // below its siblings: creation order is z-order from the top
  } else {
    M().topLevels.insert(M().topLevels.begin(), w);
    w->surface = std::make_unique<emu::Surface>();
    w->surface->Resize(width, height, 0);
  }

  CREATESTRUCTA cs{param,      instance,  menu,   parent, height, width, y, x, static_cast<LONG>(style),
                   windowName, className, exStyle};
  if (!SendMessageA(hwnd, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&cs))) {
    if (FromHandle(hwnd) != nullptr) {
      emu::MarkDestroying(w);
      emu::FinishDestroy(w);
    }
    return nullptr;
  }
  if (FromHandle(hwnd) == nullptr) return nullptr;
  if (SendMessageA(hwnd, WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs)) == -1) {
    DestroyWindow(hwnd);
    return nullptr;
  }
  if (FromHandle(hwnd) == nullptr) return nullptr;
  emu::SendMoveAndSize(w);
  if ((style & WS_VISIBLE) && FromHandle(hwnd) != nullptr) ShowWindow(hwnd, SW_SHOW);
  return FromHandle(hwnd) != nullptr ? hwnd : nullptr;
}

BOOL WINAPI DestroyWindow(HWND hwnd) {
  Window* w = Valid(hwnd);
  if (w == nullptr) return FALSE;
  if (w == M().desktop) {
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
  }
  if (w->destroying) return FALSE;
  bool child = w->parent != nullptr;
  if (w->Visible()) {
    if (child)
      ShowWindow(hwnd, SW_HIDE);
    else
      SetWindowPos(hwnd, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_HIDEWINDOW);
  }
  if (w->destroyed || w->destroying) return TRUE;
  if (!child) {
    std::vector<Window*> owned;
    for (Window* t : M().topLevels)
      if (t->owner == w) owned.push_back(t);
    for (Window* o : owned)
      if (!o->destroyed) DestroyWindow(o->handle);
    if (w->destroyed || w->destroying) return TRUE;
  }
  // What it still holds goes as it would when hidden.
  if (GetActiveWindow() == hwnd) emu::ActivateOther(w);
  if (Window* f = FromHandle(GetFocus()); f != nullptr && emu::Contains(w, f))
    SetFocus(child && !w->parent->destroying ? w->parent->handle : nullptr);
  if (Window* c = FromHandle(GetCapture()); c != nullptr && emu::Contains(w, c)) ReleaseCapture();
  if (w->destroyed || w->destroying) return TRUE;
  emu::MarkDestroying(w);
  emu::SendDestroy(w);
  emu::FinishDestroy(w);
  return TRUE;
}

BOOL WINAPI IsWindow(HWND hwnd) { return FromHandle(hwnd) != nullptr; }

LRESULT WINAPI CallWindowProcA(WNDPROC proc, HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  return proc != nullptr ? proc(hwnd, msg, wp, lp) : 0;
}

// ---- Window data

LONG_PTR WINAPI GetWindowLongPtrA(HWND hwnd, int index) {
  Window* w = Valid(hwnd);
  if (w == nullptr) return 0;
  switch (index) {
    case GWL_STYLE:
      return static_cast<LONG_PTR>(w->style);
    case GWL_EXSTYLE:
      return static_cast<LONG_PTR>(w->exStyle);
    case GWLP_WNDPROC:
      return reinterpret_cast<LONG_PTR>(w->proc);
    case GWLP_HINSTANCE:
      return reinterpret_cast<LONG_PTR>(w->instance);
    case GWLP_ID:
      return w->id;
    case GWLP_USERDATA:
      return w->userData;
    case GWLP_HWNDPARENT: {
      Window* p = w->parent != nullptr ? w->parent : w->owner;
      return p != nullptr ? reinterpret_cast<LONG_PTR>(p->handle) : 0;
    }
    default:
      break;
  }
  if (index < 0 || static_cast<std::size_t>(index) + sizeof(LONG_PTR) > w->extra.size()) {
    SetLastError(ERROR_INVALID_INDEX);
    return 0;
  }
  LONG_PTR value = 0;
  std::memcpy(&value, w->extra.data() + index, sizeof value);
  return value;
}

LONG_PTR WINAPI SetWindowLongPtrA(HWND hwnd, int index, LONG_PTR value) {
  Window* w = Valid(hwnd);
  if (w == nullptr) return 0;
  LONG_PTR old = GetWindowLongPtrA(hwnd, index);
  switch (index) {
    case GWL_STYLE:
      w->style = static_cast<DWORD>(value);
      return old;
    case GWL_EXSTYLE:
      w->exStyle = static_cast<DWORD>(value);
      return old;
    case GWLP_WNDPROC:
      w->proc = reinterpret_cast<WNDPROC>(value);
      return old;
    case GWLP_HINSTANCE:
      w->instance = reinterpret_cast<HINSTANCE>(value);
      return old;
    case GWLP_ID:
      w->id = value;
      return old;
    case GWLP_USERDATA:
      w->userData = value;
      return old;
    case GWLP_HWNDPARENT:
      if (w->parent == nullptr) w->owner = emu::TopLevelOf(FromHandle(reinterpret_cast<HWND>(value)));
      return old;
    default:
      break;
  }
  if (index < 0 || static_cast<std::size_t>(index) + sizeof(LONG_PTR) > w->extra.size()) {
    SetLastError(ERROR_INVALID_INDEX);
    return 0;
  }
  std::memcpy(w->extra.data() + index, &value, sizeof value);
  return old;
}

// ---- Showing, enabling, text

BOOL WINAPI ShowWindow(HWND hwnd, int cmd) {
  Window* w = Valid(hwnd);
  if (w == nullptr || w == M().desktop) return FALSE;
  bool was = w->Visible();
  bool child = w->parent != nullptr;
  bool show = true;
  UINT swp = SWP_NOSIZE | SWP_NOMOVE;
  switch (cmd) {
    case SW_HIDE:
      if (!was) return FALSE;
      show = false;
      swp |= SWP_HIDEWINDOW | SWP_NOACTIVATE | SWP_NOZORDER;
      break;
    case SW_SHOWNA:
      swp |= SWP_SHOWWINDOW | SWP_NOACTIVATE | (child ? SWP_NOZORDER : 0);
      break;
    case SW_MINIMIZE:
    case SW_SHOWMINIMIZED:
      if (w->style & WS_MINIMIZE) {
        if (was) return TRUE;
      } else {
        w->style |= WS_MINIMIZE;
        swp |= SWP_FRAMECHANGED | emu::kStateChanged;
      }
      swp |= SWP_SHOWWINDOW | SWP_NOACTIVATE | SWP_NOZORDER;
      break;
    default:  // SW_SHOW, SW_SHOWNORMAL, SW_RESTORE
      if (w->style & WS_MINIMIZE) {
        w->style &= ~static_cast<DWORD>(WS_MINIMIZE);
        swp |= SWP_FRAMECHANGED | emu::kStateChanged;
      } else if (was) {
        return TRUE;
      }
      swp |= SWP_SHOWWINDOW | (child ? SWP_NOACTIVATE | SWP_NOZORDER : 0);
      break;
  }
  if (show != was) {
    SendMessageA(hwnd, WM_SHOWWINDOW, show ? TRUE : FALSE, 0);
    if (FromHandle(hwnd) == nullptr) return was;
  }
  SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, swp);
  if ((cmd == SW_MINIMIZE || cmd == SW_SHOWMINIMIZED) && GetActiveWindow() == hwnd) emu::ActivateOther(w);
  return was;
}

BOOL WINAPI IsWindowVisible(HWND hwnd) {
  Window* w = FromHandle(hwnd);
  return w != nullptr && emu::ReallyVisible(w);
}

BOOL WINAPI EnableWindow(HWND hwnd, BOOL enable) {
  Window* w = Valid(hwnd);
  if (w == nullptr) return FALSE;
  bool wasDisabled = !w->Enabled();
  if (enable && wasDisabled) {
    w->style &= ~static_cast<DWORD>(WS_DISABLED);
    SendMessageA(hwnd, WM_ENABLE, TRUE, 0);
  } else if (!enable && !wasDisabled) {
    SendMessageA(hwnd, WM_CANCELMODE, 0, 0);
    if (FromHandle(hwnd) == nullptr) return FALSE;
    w->style |= WS_DISABLED;
    // A disabled window cannot keep the focus, nor can one inside it.
    if (Window* f = FromHandle(GetFocus()); f != nullptr && emu::Contains(w, f)) SetFocus(nullptr);
    if (FromHandle(hwnd) != nullptr) SendMessageA(hwnd, WM_ENABLE, FALSE, 0);
  }
  return wasDisabled ? TRUE : FALSE;
}

BOOL WINAPI IsWindowEnabled(HWND hwnd) {
  Window* w = FromHandle(hwnd);
  return w != nullptr && w->Enabled();
}

BOOL WINAPI SetWindowTextA(HWND hwnd, LPCSTR text) {
  if (Valid(hwnd) == nullptr) return FALSE;
  return SendMessageA(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text)) != 0;
}

int WINAPI GetWindowTextA(HWND hwnd, LPSTR buffer, int size) {
  if (buffer != nullptr && size > 0) buffer[0] = '\0';
  if (Valid(hwnd) == nullptr || buffer == nullptr || size <= 0) return 0;
  return static_cast<int>(SendMessageA(hwnd, WM_GETTEXT, static_cast<WPARAM>(size), reinterpret_cast<LPARAM>(buffer)));
}

int WINAPI GetWindowTextLengthA(HWND hwnd) {
  if (Valid(hwnd) == nullptr) return 0;
  return static_cast<int>(SendMessageA(hwnd, WM_GETTEXTLENGTH, 0, 0));
}

// ---- Geometry and z-order

BOOL WINAPI SetWindowPos(HWND hwnd, HWND after, int x, int y, int cx, int cy, UINT flags) {
  Window* w = Valid(hwnd);
  if (w == nullptr) return FALSE;
  if (w == M().desktop) {
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
  }
  const UINT kPublic = SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOREDRAW | SWP_NOACTIVATE | SWP_FRAMECHANGED |
                       SWP_SHOWWINDOW | SWP_HIDEWINDOW;
  bool stateChanged = (flags & emu::kStateChanged) != 0;
  bool child = w->parent != nullptr;
  WINDOWPOS pos{hwnd, after, x, y, std::max(cx, 0), std::max(cy, 0), flags & kPublic};
  // The flags say what really changes, as Windows works them out before anyone sees them.
  if (pos.flags & SWP_NOMOVE) {
    pos.x = w->rect.left;
    pos.y = w->rect.top;
  }
  if (pos.flags & SWP_NOSIZE) {
    pos.cx = emu::Width(w->rect);
    pos.cy = emu::Height(w->rect);
  }
  if (pos.x == w->rect.left && pos.y == w->rect.top) pos.flags |= SWP_NOMOVE;
  if (pos.cx == emu::Width(w->rect) && pos.cy == emu::Height(w->rect)) pos.flags |= SWP_NOSIZE;
  if ((pos.flags & SWP_SHOWWINDOW) && (pos.flags & SWP_HIDEWINDOW)) pos.flags &= ~SWP_HIDEWINDOW;
  if (w->Visible()) pos.flags &= ~SWP_SHOWWINDOW;
  if (!w->Visible()) pos.flags &= ~SWP_HIDEWINDOW;
  if (child) pos.flags |= SWP_NOACTIVATE;
  std::vector<Window*> order;
  if (!(pos.flags & SWP_NOZORDER) && (after == hwnd || !emu::Restacked(w, after, &order) || order == emu::Siblings(w)))
    pos.flags |= SWP_NOZORDER;

  SendMessageA(hwnd, WM_WINDOWPOSCHANGING, 0, reinterpret_cast<LPARAM>(&pos));
  if (FromHandle(hwnd) == nullptr) return FALSE;

  bool wasVisible = emu::ReallyVisible(w);
  RECT oldRect = w->rect;
  POINT oldClientOrigin = emu::ClientOriginInParent(*w);
  RECT oldClient = ClientInWindow(*w);
  bool restacked = false;
  if (!(pos.flags & SWP_NOZORDER) && emu::Restacked(w, pos.hwndInsertAfter, &order) && order != emu::Siblings(w)) {
    emu::Siblings(w) = order;
    restacked = true;
  }
  if (!(pos.flags & SWP_NOMOVE)) OffsetRect(&w->rect, pos.x - w->rect.left, pos.y - w->rect.top);
  if (!(pos.flags & SWP_NOSIZE)) {
    w->rect.right = w->rect.left + std::max(pos.cx, 0);
    w->rect.bottom = w->rect.top + std::max(pos.cy, 0);
    if (w->surface != nullptr) w->surface->Resize(emu::Width(w->rect), emu::Height(w->rect), 0);
  }
  if (pos.flags & SWP_FRAMECHANGED) w->frame = emu::FrameFor(w->style, w->exStyle);
  if (pos.flags & SWP_SHOWWINDOW) w->style |= WS_VISIBLE;
  if (pos.flags & SWP_HIDEWINDOW) w->style &= ~static_cast<DWORD>(WS_VISIBLE);
  POINT newClientOrigin = emu::ClientOriginInParent(*w);
  RECT newClient = ClientInWindow(*w);
  if (newClientOrigin.x == oldClientOrigin.x && newClientOrigin.y == oldClientOrigin.y) pos.flags |= SWP_NOCLIENTMOVE;
  if (emu::Width(newClient) == emu::Width(oldClient) && emu::Height(newClient) == emu::Height(oldClient))
    pos.flags |= SWP_NOCLIENTSIZE;

  bool nowVisible = emu::ReallyVisible(w);
  bool moved = !(pos.flags & SWP_NOMOVE), sized = !(pos.flags & SWP_NOSIZE);
  if (!(pos.flags & SWP_NOREDRAW)) {
    if (wasVisible && !nowVisible) {
      emu::InvalidateBehind(w, oldRect);
      emu::ValidateTree(w);
    } else if (nowVisible &&
               (!wasVisible || sized || (pos.flags & SWP_FRAMECHANGED) || (child && (moved || restacked)))) {
      if (wasVisible && child && (moved || sized)) emu::InvalidateBehind(w, oldRect);
      emu::InvalidateTree(w, true);
    }
  }
  if (!(pos.flags & SWP_NOACTIVATE) && !child && w->Visible()) emu::Activate(w, WA_ACTIVE, true);
  if (FromHandle(hwnd) == nullptr) return TRUE;

  const UINT kNothing = SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOCLIENTMOVE | SWP_NOCLIENTSIZE;
  const UINT kStatus = kNothing | SWP_FRAMECHANGED | SWP_SHOWWINDOW | SWP_HIDEWINDOW;
  if ((pos.flags & kStatus) != kNothing || stateChanged) {
    if (stateChanged) pos.flags &= ~static_cast<UINT>(SWP_NOCLIENTSIZE);
    SendMessageA(hwnd, WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&pos));
  }
  if (FromHandle(hwnd) == nullptr) return TRUE;
  if (wasVisible && !nowVisible) {
    if (GetActiveWindow() == hwnd) emu::ActivateOther(w);
    if (Window* f = FromHandle(GetFocus()); f != nullptr && emu::Contains(w, f))
      SetFocus(child ? w->parent->handle : nullptr);
  }
  return TRUE;
}

BOOL WINAPI MoveWindow(HWND hwnd, int x, int y, int width, int height, BOOL repaint) {
  return SetWindowPos(hwnd, nullptr, x, y, width, height,
                      SWP_NOZORDER | SWP_NOACTIVATE | (repaint ? 0u : static_cast<UINT>(SWP_NOREDRAW)));
}

BOOL WINAPI GetWindowRect(HWND hwnd, LPRECT rect) {
  Window* w = Valid(hwnd);
  if (w == nullptr || rect == nullptr) return FALSE;
  *rect = w->rect;
  if (w->parent != nullptr) {
    POINT base = emu::ClientOriginOnScreen(*w->parent);
    OffsetRect(rect, base.x, base.y);
  }
  return TRUE;
}

BOOL WINAPI GetClientRect(HWND hwnd, LPRECT rect) {
  Window* w = Valid(hwnd);
  if (w == nullptr || rect == nullptr) return FALSE;
  RECT c = ClientInWindow(*w);
  *rect = RECT{0, 0, c.right - c.left, c.bottom - c.top};
  return TRUE;
}

BOOL WINAPI ClientToScreen(HWND hwnd, LPPOINT p) {
  Window* w = Valid(hwnd);
  if (w == nullptr || p == nullptr) return FALSE;
  POINT o = emu::ClientOriginOnScreen(*w);
  p->x += o.x;
  p->y += o.y;
  return TRUE;
}

BOOL WINAPI ScreenToClient(HWND hwnd, LPPOINT p) {
  Window* w = Valid(hwnd);
  if (w == nullptr || p == nullptr) return FALSE;
  POINT o = emu::ClientOriginOnScreen(*w);
  p->x -= o.x;
  p->y -= o.y;
  return TRUE;
}

HWND WINAPI GetParent(HWND hwnd) {
  Window* w = Valid(hwnd);
  if (w == nullptr) return nullptr;
  if (w->parent != nullptr) return w->parent->handle;
  if ((w->style & WS_POPUP) && w->owner != nullptr) return w->owner->handle;
  return nullptr;
}

HWND WINAPI GetWindow(HWND hwnd, UINT cmd) {
  Window* w = Valid(hwnd);
  if (w == nullptr) return nullptr;
  if (cmd == GW_CHILD) {
    const auto& list = w == M().desktop ? M().topLevels : w->children;
    return list.empty() ? nullptr : list.front()->handle;
  }
  if (cmd == GW_OWNER) return w->owner != nullptr ? w->owner->handle : nullptr;
  if (w == M().desktop) return nullptr;
  const auto& list = emu::Siblings(w);
  auto it = std::find(list.begin(), list.end(), w);
  if (it == list.end()) return nullptr;
  switch (cmd) {
    case GW_HWNDFIRST:
      return list.front()->handle;
    case GW_HWNDLAST:
      return list.back()->handle;
    case GW_HWNDNEXT:
      return it + 1 == list.end() ? nullptr : (*(it + 1))->handle;
    case GW_HWNDPREV:
      return it == list.begin() ? nullptr : (*(it - 1))->handle;
    default:
      SetLastError(ERROR_INVALID_PARAMETER);
      return nullptr;
  }
}

BOOL WINAPI IsChild(HWND parent, HWND hwnd) {
  Window* p = FromHandle(parent);
  Window* w = FromHandle(hwnd);
  if (p == nullptr || w == nullptr) return FALSE;
  for (Window* a = w->parent; a != nullptr; a = a->parent)
    if (a == p) return TRUE;
  return FALSE;
}

HWND WINAPI GetDesktopWindow() { return M().desktop != nullptr ? M().desktop->handle : nullptr; }

BOOL WINAPI AdjustWindowRectEx(LPRECT rect, DWORD style, BOOL menu, DWORD exStyle) {
  if (rect == nullptr) return FALSE;
  RECT f = emu::FrameFor(style, exStyle);
  rect->left -= f.left;
  rect->top -= f.top + (menu ? emu::kMenuHeight : 0);
  rect->right += f.right;
  rect->bottom += f.bottom;
  return TRUE;
}

int WINAPI GetSystemMetrics(int index) {
  switch (index) {
    case SM_CXSCREEN:
      return emu::CurrentConfig().screenWidth;
    case SM_CYSCREEN:
      return emu::CurrentConfig().screenHeight;
    case SM_CYCAPTION:
      return emu::kCaptionHeight;
    case SM_CXBORDER:
    case SM_CYBORDER:
      return emu::kBorder;
    case SM_CXDLGFRAME:
    case SM_CYDLGFRAME:
      return emu::kDlgFrame;
    case SM_CXFRAME:
    case SM_CYFRAME:
      return emu::kSizeFrame;
    case SM_CXEDGE:
    case SM_CYEDGE:
      return emu::kEdge;
    case SM_CXICON:
    case SM_CYICON:
      return 32;
    case SM_CXDOUBLECLK:
    case SM_CYDOUBLECLK:
      return 4;
    case SM_CYMENU:
      return emu::kMenuHeight;
    default:
      return 0;
  }
}

UINT WINAPI GetDoubleClickTime() { return 500; }

// ---- The default window procedure

LRESULT WINAPI DefWindowProcA(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  Window* w = FromHandle(hwnd);
  if (w == nullptr) return 0;
  switch (msg) {
    case WM_NCCREATE: {
      auto* cs = reinterpret_cast<const CREATESTRUCTA*>(lp);
      if (cs != nullptr && cs->lpszName != nullptr && !IS_INTRESOURCE(cs->lpszName)) w->text = cs->lpszName;
      return TRUE;
    }
    case WM_CLOSE:
      DestroyWindow(hwnd);
      return 0;
    case WM_ERASEBKGND:
      return emu::EraseBackground(w, reinterpret_cast<HDC>(wp));
    case WM_NCPAINT:
      emu::DrawFrame(w);
      return 0;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      BeginPaint(hwnd, &ps);
      EndPaint(hwnd, &ps);
      return 0;
    }
    case WM_SETTEXT:
      w->text = lp != 0 ? reinterpret_cast<const char*>(lp) : "";
      if (emu::HasCaption(*w) && emu::ReallyVisible(w)) emu::DrawFrame(w);
      return TRUE;
    case WM_GETTEXT: {
      if (wp == 0 || lp == 0) return 0;
      std::size_t n = std::min(w->text.size(), static_cast<std::size_t>(wp) - 1);
      char* out = reinterpret_cast<char*>(lp);
      std::memcpy(out, w->text.data(), n);
      out[n] = '\0';
      return static_cast<LRESULT>(n);
    }
    case WM_GETTEXTLENGTH:
      return static_cast<LRESULT>(w->text.size());
    case WM_NCHITTEST:
      return emu::HitTest(*w, POINT{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)});
    case WM_MOUSEACTIVATE:
      if (w->parent != nullptr) {
        LRESULT r = SendMessageA(w->parent->handle, WM_MOUSEACTIVATE, wp, lp);
        if (r != 0) return r;
      }
      return MA_ACTIVATE;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_NCLBUTTONDOWN:
      M().closePressed = (msg == WM_NCLBUTTONDOWN && wp == HTCLOSE) ? w : nullptr;
      return 0;
    case WM_NCLBUTTONUP: {
      bool close = wp == HTCLOSE && M().closePressed == w;
      M().closePressed = nullptr;
      if (close) SendMessageA(hwnd, WM_SYSCOMMAND, SC_CLOSE, lp);
      return 0;
    }
    case WM_SYSCOMMAND:
      if ((wp & 0xFFF0) == SC_CLOSE) SendMessageA(hwnd, WM_CLOSE, 0, 0);
      return 0;
    case WM_ACTIVATE:
      if (LOWORD(wp) != WA_INACTIVE && !(w->style & WS_MINIMIZE)) SetFocus(hwnd);
      return 0;
    case WM_NCACTIVATE:
      w->frameActive = wp != 0;
      if (emu::ReallyVisible(w)) emu::DrawFrame(w);
      return TRUE;
    case WM_WINDOWPOSCHANGED: {
      auto* pos = reinterpret_cast<const WINDOWPOS*>(lp);
      if (pos == nullptr) return 0;
      POINT origin = emu::ClientOriginInParent(*w);
      RECT client = ClientInWindow(*w);
      if (!(pos->flags & SWP_NOCLIENTMOVE)) SendMessageA(hwnd, WM_MOVE, 0, MAKELPARAM(origin.x, origin.y));
      if (!(pos->flags & SWP_NOCLIENTSIZE) && FromHandle(hwnd) != nullptr)
        SendMessageA(hwnd, WM_SIZE, (w->style & WS_MINIMIZE) ? SIZE_MINIMIZED : SIZE_RESTORED,
                     MAKELPARAM(emu::Width(client), emu::Height(client)));
      return 0;
    }
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSTATIC: {
      auto dc = reinterpret_cast<HDC>(wp);
      SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
      SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
      return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    }
    case WM_CANCELMODE:
      if (GetCapture() == hwnd) ReleaseCapture();
      return 0;
    default:
      return 0;
  }
}
