// Painting: update regions and paint order, window and paint DCs on the rasters, and the default frame look.
#include <algorithm>
#include <memory>
#include <vector>

#include "state.h"

namespace emu {
namespace {

bool Empty(const RECT& r) { return r.right <= r.left || r.bottom <= r.top; }

RECT Intersect(const RECT& a, const RECT& b) {
  RECT r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right), std::min(a.bottom, b.bottom)};
  return Empty(r) ? RECT{0, 0, 0, 0} : r;
}

RECT Union(const RECT& a, const RECT& b) {
  return RECT{std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
              std::max(a.bottom, b.bottom)};
}

bool HasFrame(const Window& w) { return w.frame.left || w.frame.top || w.frame.right || w.frame.bottom; }

RECT ClientSize(const Window& w) {
  RECT c = ClientInWindow(w);
  return RECT{0, 0, c.right - c.left, c.bottom - c.top};
}

Surface* SurfaceOf(Window* top) {
  if (top->surface == nullptr) {  // the desktop's raster is made on first use
    top->surface = std::make_unique<Surface>();
    top->surface->Resize(top->rect.right - top->rect.left, top->rect.bottom - top->rect.top, 0);
  }
  return top->surface.get();
}

// What a DC of w may touch in the raster: its own area, inside every ancestor's client area and the raster.
RECT RasterLimit(Window* w, RECT r) {
  for (Window* p = w->parent; p != nullptr; p = p->parent) {
    POINT o = ClientOriginInTopLevel(p->handle);
    RECT c = ClientSize(*p);
    OffsetRect(&c, o.x, o.y);
    r = Intersect(r, c);
  }
  Surface* s = SurfaceOf(TopLevelOf(w));
  return Intersect(r, RECT{0, 0, s->width, s->height});
}

// A DC on the client (or, with `whole`, the whole window) of w.
Dc* MakeDc(Window* w, bool paint, bool whole) {
  SurfaceOf(TopLevelOf(w));
  Dc* dc = NewWindowDc(w, paint);
  RECT area;
  if (whole) {
    dc->base = RasterOrigin(*w);
    area = RECT{0, 0, w->rect.right - w->rect.left, w->rect.bottom - w->rect.top};
  } else {
    dc->base = ClientOriginInTopLevel(w->handle);
    area = ClientSize(*w);
  }
  OffsetRect(&area, dc->base.x, dc->base.y);
  dc->state.clip = RasterLimit(w, area);
  return dc;
}

// Unions `r` (client coordinates) into w's update region, and into the visible children under it:
// they draw on their parent's pixels, so whatever repaints beneath them must repaint them too.
void InvalidateClient(Window* w, const RECT& r, bool erase) {
  if (!ReallyVisible(w)) return;
  RECT part = Intersect(r, ClientSize(*w));
  if (Empty(part)) return;
  w->update = w->updatePending ? Union(w->update, part) : part;
  w->updatePending = true;
  if (erase) w->eraseNeeded = true;
  for (Window* c : w->children) {
    if (!c->Visible()) continue;
    RECT covered = Intersect(part, c->rect);
    if (Empty(covered)) continue;
    OffsetRect(&covered, -c->rect.left, -c->rect.top);
    RECT client = ClientInWindow(*c);
    RECT inClient = Intersect(covered, client);
    if (HasFrame(*c) && !EqualRect(&inClient, &covered)) c->frameInvalid = true;
    if (Empty(inClient)) continue;
    OffsetRect(&inClient, -client.left, -client.top);
    InvalidateClient(c, inClient, erase);
  }
}

Window* FirstToPaint(Window* w) {
  if (!w->Visible()) return nullptr;
  if (w->updatePending || w->frameInvalid) return w;
  for (Window* c : w->children)
    if (Window* found = FirstToPaint(c)) return found;
  return nullptr;
}

void PaintNow(Window* w) {
  if (!ReallyVisible(w)) return;
  HWND hwnd = w->handle;
  if (w->updatePending) {
    SendMessageA(hwnd, WM_PAINT, 0, 0);
  } else if (w->frameInvalid) {
    w->frameInvalid = false;
    SendMessageA(hwnd, WM_NCPAINT, 1, 0);
  }
  if (FromHandle(hwnd) == nullptr) return;
  std::vector<Window*> children = w->children;
  for (Window* c : children)
    if (!c->destroyed) PaintNow(c);
}

void EraseNow(Window* w) {
  w->eraseNeeded = false;
  Dc* dc = MakeDc(w, false, false);
  RECT area = w->update;
  OffsetRect(&area, dc->base.x, dc->base.y);
  dc->state.clip = Intersect(dc->state.clip, area);
  HDC handle = dc->handle;
  SendMessageA(w->handle, WM_ERASEBKGND, reinterpret_cast<WPARAM>(handle), 0);
  if (Dc* still = FromHandle(handle)) FreeDc(still);
}

void DrawCloseBox(HDC dc, const RECT& box) {
  RECT r = box;
  FillSysColor(dc, r, COLOR_BTNFACE);
  DrawEdgeRing(dc, r, COLOR_3DLIGHT, COLOR_3DDKSHADOW);
  InflateRect(&r, -1, -1);
  DrawEdgeRing(dc, r, COLOR_BTNHIGHLIGHT, COLOR_BTNSHADOW);
  // The cross: two strokes two pixels wide.
  int size = box.right - box.left;
  int rows = size / 2;
  int top = box.top + (size - rows) / 2;
  for (int i = 0; i < rows; ++i) {
    int a = box.left + 3 + i, b = box.right - 5 - i;
    FillSysColor(dc, RECT{a, top + i, a + 2, top + i + 1}, COLOR_BTNTEXT);
    FillSysColor(dc, RECT{b, top + i, b + 2, top + i + 1}, COLOR_BTNTEXT);
  }
}

}  // namespace

// ---- Shared with the other role files

void FillSysColor(HDC dc, const RECT& r, int color) { FillRect(dc, &r, GetSysColorBrush(color)); }

void DrawEdgeRing(HDC dc, const RECT& r, int topLeftColor, int bottomRightColor) {
  if (Empty(r)) return;
  FillSysColor(dc, RECT{r.left, r.top, r.right - 1, r.top + 1}, topLeftColor);
  FillSysColor(dc, RECT{r.left, r.top, r.left + 1, r.bottom - 1}, topLeftColor);
  FillSysColor(dc, RECT{r.left, r.bottom - 1, r.right, r.bottom}, bottomRightColor);
  FillSysColor(dc, RECT{r.right - 1, r.top, r.right, r.bottom}, bottomRightColor);
}

void InvalidateTree(Window* w, bool erase) {
  if (!ReallyVisible(w)) return;
  if (HasFrame(*w)) w->frameInvalid = true;
  InvalidateClient(w, ClientSize(*w), erase);
}

void InvalidateBehind(Window* w, const RECT& outer) {
  if (w->parent != nullptr) InvalidateClient(w->parent, outer, true);
}

void ValidateTree(Window* w) {
  w->updatePending = w->eraseNeeded = w->frameInvalid = false;
  w->update = RECT{0, 0, 0, 0};
  for (Window* c : w->children) ValidateTree(c);
}

Window* NextToPaint(Window* only) {
  if (only != nullptr) return ReallyVisible(only) && (only->updatePending || only->frameInvalid) ? only : nullptr;
  for (Window* t : TopLevels())
    if (Window* w = FirstToPaint(t)) return w;
  return nullptr;
}

void DrawFrame(Window* w) {
  if (!HasFrame(*w) || w == Desktop()) return;
  Dc* dc = MakeDc(w, false, true);
  HDC h = dc->handle;
  int width = w->rect.right - w->rect.left, height = w->rect.bottom - w->rect.top;
  int edge = (w->exStyle & WS_EX_CLIENTEDGE) ? GetSystemMetrics(SM_CXEDGE) : 0;
  int border = std::max(0, static_cast<int>(w->frame.left) - edge);
  RECT r{0, 0, width, height};
  if (border == 1) {
    DrawEdgeRing(h, r, COLOR_WINDOWFRAME, COLOR_WINDOWFRAME);
  } else if (border >= 2) {
    DrawEdgeRing(h, r, COLOR_3DLIGHT, COLOR_3DDKSHADOW);
    InflateRect(&r, -1, -1);
    DrawEdgeRing(h, r, COLOR_BTNHIGHLIGHT, COLOR_BTNSHADOW);
    for (int i = 2; i < border; ++i) {
      InflateRect(&r, -1, -1);
      DrawEdgeRing(h, r, COLOR_BTNFACE, COLOR_BTNFACE);
    }
  }
  RECT caption = CaptionRect(*w);
  if (!Empty(caption)) {
    RECT band{caption.left, caption.top, caption.right, caption.bottom - 1};
    FillSysColor(h, band, w->frameActive ? COLOR_ACTIVECAPTION : COLOR_INACTIVECAPTION);
    FillSysColor(h, RECT{caption.left, caption.bottom - 1, caption.right, caption.bottom}, COLOR_BTNFACE);
    RECT close{};
    bool hasClose = CloseBoxRect(*w, &close);
    if (hasClose) DrawCloseBox(h, close);
    if (!w->text.empty()) {
      RECT text{band.left + 2, band.top, (hasClose ? close.left : band.right) - 2, band.bottom};
      SetBkMode(h, TRANSPARENT);
      SetTextColor(h, GetSysColor(w->frameActive ? COLOR_CAPTIONTEXT : COLOR_INACTIVECAPTIONTEXT));
      SelectObject(h, GetStockObject(DEFAULT_GUI_FONT));
      DrawTextA(h, w->text.c_str(), -1, &text, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    }
  }
  if (edge > 0) {
    RECT in{w->frame.left - edge, w->frame.top - edge, width - w->frame.right + edge, height - w->frame.bottom + edge};
    DrawEdgeRing(h, in, COLOR_BTNSHADOW, COLOR_BTNHIGHLIGHT);
    InflateRect(&in, -1, -1);
    DrawEdgeRing(h, in, COLOR_3DDKSHADOW, COLOR_3DLIGHT);
  }
  FreeDc(dc);
}

POINT ClientOriginInTopLevel(HWND hwnd) {
  Window* w = FromHandle(hwnd);
  if (w == nullptr) return POINT{0, 0};
  POINT p{w->frame.left, w->frame.top};
  if (w->parent != nullptr) {
    POINT base = ClientOriginInTopLevel(w->parent->handle);
    p.x += base.x + w->rect.left;
    p.y += base.y + w->rect.top;
  }
  return p;
}

COLORREF WindowPixel(HWND topLevel, int x, int y) {
  Window* w = FromHandle(topLevel);
  if (w == nullptr) return CLR_INVALID;
  Surface* s = SurfaceOf(TopLevelOf(w));
  if (x < 0 || y < 0 || x >= s->width || y >= s->height) return CLR_INVALID;
  return *s->At(x, y);
}

}  // namespace emu

using emu::FromHandle;
using emu::Window;

BOOL WINAPI InvalidateRect(HWND hwnd, const RECT* rect, BOOL erase) {
  if (hwnd == nullptr) {
    for (Window* t : emu::TopLevels()) emu::InvalidateTree(t, erase != FALSE);
    return TRUE;
  }
  Window* w = FromHandle(hwnd);
  if (w == nullptr) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  emu::InvalidateClient(w, rect != nullptr ? *rect : emu::ClientSize(*w), erase != FALSE);
  return TRUE;
}

// The update region is kept as its bounding rectangle: a validation shrinks it only when it takes off a whole band.
BOOL WINAPI ValidateRect(HWND hwnd, const RECT* rect) {
  Window* w = FromHandle(hwnd);
  if (w == nullptr) {
    if (hwnd == nullptr) return TRUE;
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  if (!w->updatePending) return TRUE;
  RECT u = w->update;
  if (rect != nullptr) {
    const RECT& v = *rect;
    bool spansX = v.left <= u.left && v.right >= u.right;
    bool spansY = v.top <= u.top && v.bottom >= u.bottom;
    if (spansX && v.top <= u.top && v.bottom > u.top)
      u.top = std::min(v.bottom, u.bottom);
    else if (spansX && v.bottom >= u.bottom && v.top < u.bottom)
      u.bottom = std::max(v.top, u.top);
    else if (spansY && v.left <= u.left && v.right > u.left)
      u.left = std::min(v.right, u.right);
    else if (spansY && v.right >= u.right && v.left < u.right)
      u.right = std::max(v.left, u.left);
  }
  if (rect == nullptr || emu::Empty(u)) {
    w->updatePending = w->eraseNeeded = false;
    w->update = RECT{0, 0, 0, 0};
  } else {
    w->update = u;
  }
  return TRUE;
}

BOOL WINAPI UpdateWindow(HWND hwnd) {
  Window* w = FromHandle(hwnd);
  if (w == nullptr) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  emu::PaintNow(w);
  return TRUE;
}

BOOL WINAPI GetUpdateRect(HWND hwnd, LPRECT rect, BOOL erase) {
  Window* w = FromHandle(hwnd);
  if (w == nullptr) {
    if (rect != nullptr) *rect = RECT{0, 0, 0, 0};
    return FALSE;
  }
  if (rect != nullptr) *rect = w->updatePending ? w->update : RECT{0, 0, 0, 0};
  if (!w->updatePending) return FALSE;
  if (erase) {
    if (w->frameInvalid) {
      w->frameInvalid = false;
      SendMessageA(hwnd, WM_NCPAINT, 1, 0);
    }
    if (FromHandle(hwnd) != nullptr && w->eraseNeeded && w->updatePending) emu::EraseNow(w);
  }
  return TRUE;
}

HDC WINAPI BeginPaint(HWND hwnd, LPPAINTSTRUCT ps) {
  Window* w = FromHandle(hwnd);
  if (w == nullptr || ps == nullptr) return nullptr;
  if (w->frameInvalid) {
    w->frameInvalid = false;
    SendMessageA(hwnd, WM_NCPAINT, 1, 0);
    if (FromHandle(hwnd) == nullptr) return nullptr;
  }
  RECT paint = w->updatePending ? w->update : RECT{0, 0, 0, 0};
  bool erase = w->updatePending && w->eraseNeeded;
  w->updatePending = w->eraseNeeded = false;
  w->update = RECT{0, 0, 0, 0};
  emu::Dc* dc = emu::MakeDc(w, true, false);
  RECT device = paint;
  OffsetRect(&device, dc->base.x, dc->base.y);
  dc->state.clip = emu::Intersect(dc->state.clip, device);
  *ps = PAINTSTRUCT{};
  ps->hdc = dc->handle;
  ps->rcPaint = paint;
  if (erase) ps->fErase = SendMessageA(hwnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(ps->hdc), 0) == 0;
  return ps->hdc;
}

BOOL WINAPI EndPaint(HWND, const PAINTSTRUCT* ps) {
  if (ps == nullptr) return FALSE;
  emu::Dc* dc = FromHandle(ps->hdc);
  if (dc != nullptr && dc->paintDc) emu::FreeDc(dc);
  return TRUE;
}

HDC WINAPI GetDC(HWND hwnd) {
  Window* w = hwnd == nullptr ? emu::Desktop() : FromHandle(hwnd);
  if (w == nullptr) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return nullptr;
  }
  return emu::MakeDc(w, false, false)->handle;
}

int WINAPI ReleaseDC(HWND, HDC hdc) {
  emu::Dc* dc = FromHandle(hdc);
  if (dc == nullptr || dc->memory || dc->paintDc || dc->window == nullptr) return 0;
  emu::FreeDc(dc);
  return 1;
}

HWND WINAPI WindowFromDC(HDC hdc) {
  emu::Dc* dc = FromHandle(hdc);
  return dc != nullptr && dc->window != nullptr && !dc->window->destroyed ? dc->window->handle : nullptr;
}
