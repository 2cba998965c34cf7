// Rectangle arithmetic of the window manager: right and bottom edges lie outside the rectangle.
#include "win32.h"

BOOL WINAPI SetRect(LPRECT r, int left, int top, int right, int bottom) {
  if (r == nullptr) return FALSE;
  *r = RECT{left, top, right, bottom};
  return TRUE;
}

BOOL WINAPI SetRectEmpty(LPRECT r) { return SetRect(r, 0, 0, 0, 0); }

BOOL WINAPI OffsetRect(LPRECT r, int dx, int dy) {
  if (r == nullptr) return FALSE;
  r->left += dx;
  r->right += dx;
  r->top += dy;
  r->bottom += dy;
  return TRUE;
}

BOOL WINAPI InflateRect(LPRECT r, int dx, int dy) {
  if (r == nullptr) return FALSE;
  r->left -= dx;
  r->right += dx;
  r->top -= dy;
  r->bottom += dy;
  return TRUE;
}

BOOL WINAPI PtInRect(const RECT* r, POINT p) {
  if (r == nullptr) return FALSE;
  return p.x >= r->left && p.x < r->right && p.y >= r->top && p.y < r->bottom;
}

BOOL WINAPI IsRectEmpty(const RECT* r) { return r == nullptr || r->right <= r->left || r->bottom <= r->top; }

BOOL WINAPI IntersectRect(LPRECT dst, const RECT* a, const RECT* b) {
  if (dst == nullptr || a == nullptr || b == nullptr) return FALSE;
  // An empty operand or no overlap gives the empty rectangle (0,0,0,0), not a clipped inverted one.
  if (IsRectEmpty(a) || IsRectEmpty(b) || a->left >= b->right || b->left >= a->right || a->top >= b->bottom ||
      b->top >= a->bottom) {
    SetRectEmpty(dst);
    return FALSE;
  }
  RECT r{a->left > b->left ? a->left : b->left, a->top > b->top ? a->top : b->top,
         a->right < b->right ? a->right : b->right, a->bottom < b->bottom ? a->bottom : b->bottom};
  *dst = r;
  return TRUE;
}

BOOL WINAPI EqualRect(const RECT* a, const RECT* b) {
  if (a == nullptr || b == nullptr) return FALSE;
  return a->left == b->left && a->top == b->top && a->right == b->right && a->bottom == b->bottom;
}
