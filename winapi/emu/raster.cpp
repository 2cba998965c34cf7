// Pixel operations on a DC's surface with the rules of the real GDI: fills, frames, lines, rectangles, focus frames.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "state.h"

namespace emu {

bool Drawable(Dc* dc, int x, int y) {
  Surface* s = dc->Target();
  if (s == nullptr || x < 0 || y < 0 || x >= s->width || y >= s->height) return false;
  const RECT& c = dc->state.clip;
  if (x < c.left || x >= c.right || y < c.top || y >= c.bottom) return false;
  for (const RECT& h : dc->state.holes)
    if (x >= h.left && x < h.right && y >= h.top && y < h.bottom) return false;
  return true;
}

void FillDevice(Dc* dc, RECT r, COLORREF color, const RECT* limit) {
  Surface* s = dc->Target();
  if (s == nullptr) return;
  const RECT& c = dc->state.clip;
  r.left = std::max({r.left, c.left, LONG{0}});
  r.top = std::max({r.top, c.top, LONG{0}});
  r.right = std::min({r.right, c.right, static_cast<LONG>(s->width)});
  r.bottom = std::min({r.bottom, c.bottom, static_cast<LONG>(s->height)});
  if (limit != nullptr) {
    r.left = std::max(r.left, limit->left);
    r.top = std::max(r.top, limit->top);
    r.right = std::min(r.right, limit->right);
    r.bottom = std::min(r.bottom, limit->bottom);
  }
  const std::vector<RECT>& holes = dc->state.holes;
  for (LONG y = r.top; y < r.bottom; ++y) {
    for (LONG x = r.left; x < r.right; ++x) {
      bool cut = false;
      for (const RECT& h : holes) cut = cut || (x >= h.left && x < h.right && y >= h.top && y < h.bottom);
      if (!cut) *s->At(x, y) = color;
    }
  }
}

namespace {

constexpr COLORREF kInvert = 0x00FFFFFF;

// A brush handle of 1..25 stands for the system colour one below it, as the window manager allows.
GdiObject* BrushOf(HBRUSH brush) {
  auto value = reinterpret_cast<std::uintptr_t>(brush);
  if (value >= 1 && value <= COLOR_INFOBK + 1) brush = GetSysColorBrush(static_cast<int>(value) - 1);
  GdiObject* o = FromHandle(static_cast<HGDIOBJ>(brush));
  return o != nullptr && o->kind == GdiKind::Brush ? o : nullptr;
}

// How a path is stroked: the on/off run lengths of the style (empty for solid), and where in them the path is.
struct Stroke {
  explicit Stroke(Dc* d, COLORREF c = 0, int w = 1) : dc(d), color(c), width(w) {}
  Dc* dc;
  COLORREF color;
  int width;
  bool invert = false;  // XOR the surface instead of painting
  std::span<const int> runs;
  int run = 0;
  int left = 0;  // pixels still to go in the current run

  bool On() const { return runs.empty() || run % 2 == 0; }
  void Advance() {
    if (runs.empty()) return;
    if (--left == 0) {
      run = (run + 1) % static_cast<int>(runs.size());
      left = runs[static_cast<std::size_t>(run)];
    }
  }
  void Restart() {
    run = 0;
    left = runs.empty() ? 0 : runs[0];
  }
  void Pixel(int x, int y) {
    bool on = On();
    Advance();
    if (!on && (invert || dc->state.bkMode != OPAQUE)) return;
    COLORREF c = on ? color : dc->state.bkColor;
    if (!Drawable(dc, x, y)) return;
    COLORREF* p = dc->Target()->At(x, y);
    *p = invert ? (*p ^ kInvert) : c;
  }
};

constexpr int kDash[] = {18, 6};
constexpr int kDot[] = {3, 3};
constexpr int kDashDot[] = {9, 6, 3, 6};
constexpr int kDashDotDot[] = {9, 3, 3, 3, 3, 3};
constexpr int kAlternate[] = {1, 1};

// False for a pen that draws nothing.
bool MakeStroke(Dc* dc, Stroke* out) {
  GdiObject* pen = dc->state.pen;
  if (pen == nullptr || pen->penStyle == PS_NULL) return false;
  *out = Stroke(dc, pen->color, pen->penWidth);
  if (pen->penWidth <= 1) {
    switch (pen->penStyle) {
      case PS_DASH:
        out->runs = kDash;
        break;
      case PS_DOT:
        out->runs = kDot;
        break;
      case PS_DASHDOT:
        out->runs = kDashDot;
        break;
      case PS_DASHDOTDOT:
        out->runs = kDashDotDot;
        break;
      default:
        break;
    }
  }
  out->Restart();
  return true;
}

std::int64_t CeilDiv(std::int64_t a, std::int64_t b) {  // b > 0
  std::int64_t q = a / b;
  return (a % b != 0 && a > 0) ? q + 1 : q;
}

// One segment in device coordinates without its last point. Along the major axis every pixel is visited; the minor
// coordinate is the exact one rounded to nearest, a tie going to the smaller coordinate whichever way the line runs.
void Segment(Stroke& s, POINT a, POINT b) {
  std::int64_t dx = b.x - a.x, dy = b.y - a.y;
  if (s.width > 1) {
    // A wide pen covers, solid, every pixel centre within (width - 1) / 2 of the segment, both ends included:
    // the real round-capped geometry for small widths, close to it for larger ones.
    std::int64_t reach = (s.width - 1) / 2 + 1;
    std::int64_t len2 = dx * dx + dy * dy;
    for (std::int64_t y = std::min(a.y, b.y) - reach; y <= std::max(a.y, b.y) + reach; ++y) {
      for (std::int64_t x = std::min(a.x, b.x) - reach; x <= std::max(a.x, b.x) + reach; ++x) {
        double t = len2 == 0 ? 0.0 : std::clamp(static_cast<double>((x - a.x) * dx + (y - a.y) * dy) / len2, 0.0, 1.0);
        double ex = static_cast<double>(x - a.x) - t * dx, ey = static_cast<double>(y - a.y) - t * dy;
        if (4.0 * (ex * ex + ey * ey) <= static_cast<double>((s.width - 1) * (s.width - 1)) &&
            Drawable(s.dc, static_cast<int>(x), static_cast<int>(y)))
          *s.dc->Target()->At(static_cast<int>(x), static_cast<int>(y)) = s.color;
      }
    }
    return;
  }
  std::int64_t n = std::max(std::llabs(dx), std::llabs(dy));
  for (std::int64_t i = 0; i < n; ++i) {
    std::int64_t x, y;
    if (std::llabs(dx) >= std::llabs(dy)) {
      x = a.x + (dx > 0 ? i : -i);
      y = a.y + CeilDiv(2 * dy * i - n, 2 * n);
    } else {
      y = a.y + (dy > 0 ? i : -i);
      x = a.x + CeilDiv(2 * dx * i - n, 2 * n);
    }
    s.Pixel(static_cast<int>(x), static_cast<int>(y));
  }
}

// The outline of Rectangle and DrawFocusRect: from the top-right corner leftwards, down, right and back up, the style
// running on around the corners. Device coordinates, normalised, not empty. A rectangle one pixel thin is walked
// twice, so an inverting stroke cancels where both passes are on.
void Outline(Stroke& s, const RECT& r) {
  POINT corners[] = {
      {r.right - 1, r.top}, {r.left, r.top}, {r.left, r.bottom - 1}, {r.right - 1, r.bottom - 1}, {r.right - 1, r.top}};
  for (int i = 0; i < 4; ++i) Segment(s, corners[i], corners[i + 1]);
}

RECT Normalised(const Dc& dc, int left, int top, int right, int bottom) {
  POINT a = dc.ToDevice(left, top), b = dc.ToDevice(right, bottom);
  return RECT{std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
}

}  // namespace
}  // namespace emu

using emu::Dc;
using emu::FromHandle;
using emu::GdiObject;

// Outside the clip there is nothing to read, as documented (some implementations read through the clip).
COLORREF WINAPI GetPixel(HDC hdc, int x, int y) {
  Dc* dc = FromHandle(hdc);
  if (dc == nullptr) return CLR_INVALID;
  POINT p = dc->ToDevice(x, y);
  if (!emu::Drawable(dc, p.x, p.y)) return CLR_INVALID;
  return *dc->Target()->At(p.x, p.y);
}

COLORREF WINAPI SetPixel(HDC hdc, int x, int y, COLORREF color) {
  Dc* dc = FromHandle(hdc);
  if (dc == nullptr) return CLR_INVALID;
  POINT p = dc->ToDevice(x, y);
  if (!emu::Drawable(dc, p.x, p.y)) return CLR_INVALID;
  color &= 0x00FFFFFF;
  *dc->Target()->At(p.x, p.y) = color;
  return color;
}

// The fill of PatBlt: a rectangle given inverted covers the cells mirrored at its first corner, that corner included.
int WINAPI FillRect(HDC hdc, const RECT* rect, HBRUSH brush) {
  Dc* dc = FromHandle(hdc);
  GdiObject* b = emu::BrushOf(brush);
  if (dc == nullptr || rect == nullptr || b == nullptr) return 0;
  if (b->brushStyle == BS_NULL) return 1;
  POINT a = dc->ToDevice(rect->left, rect->top), z = dc->ToDevice(rect->right, rect->bottom);
  RECT r{a.x, a.y, z.x, z.y};
  if (r.right < r.left) r = RECT{r.right + 1, r.top, r.left + 1, r.bottom};
  if (r.bottom < r.top) r = RECT{r.left, r.bottom + 1, r.right, r.top + 1};
  emu::FillDevice(dc, r, b->color);
  return 1;
}

// Unlike FillRect, no system-colour numbers here.
int WINAPI FrameRect(HDC hdc, const RECT* rect, HBRUSH brush) {
  Dc* dc = FromHandle(hdc);
  GdiObject* b = FromHandle(static_cast<HGDIOBJ>(brush));
  if (b != nullptr && b->kind != emu::GdiKind::Brush) b = nullptr;
  if (dc == nullptr || rect == nullptr || b == nullptr) return 0;
  if (rect->right <= rect->left || rect->bottom <= rect->top) return 0;
  if (b->brushStyle == BS_NULL) return 1;
  POINT a = dc->ToDevice(rect->left, rect->top), z = dc->ToDevice(rect->right, rect->bottom);
  emu::FillDevice(dc, RECT{a.x, a.y, z.x, a.y + 1}, b->color);
  emu::FillDevice(dc, RECT{a.x, z.y - 1, z.x, z.y}, b->color);
  emu::FillDevice(dc, RECT{a.x, a.y, a.x + 1, z.y}, b->color);
  emu::FillDevice(dc, RECT{z.x - 1, a.y, z.x, z.y}, b->color);
  return 1;
}

BOOL WINAPI DrawFocusRect(HDC hdc, const RECT* rect) {
  Dc* dc = FromHandle(hdc);
  if (dc == nullptr || rect == nullptr) return FALSE;
  RECT r = emu::Normalised(*dc, rect->left, rect->top, rect->right, rect->bottom);
  if (r.right == r.left || r.bottom == r.top) return TRUE;
  emu::Stroke s(dc);
  s.invert = true;
  s.runs = emu::kAlternate;
  s.Restart();
  emu::Outline(s, r);
  return TRUE;
}

BOOL WINAPI MoveToEx(HDC hdc, int x, int y, LPPOINT old) {
  Dc* dc = FromHandle(hdc);
  if (dc == nullptr) return FALSE;
  if (old != nullptr) *old = dc->state.penPos;
  dc->state.penPos = POINT{x, y};
  return TRUE;
}

// Each LineTo starts the pen's style afresh; a Polyline runs it on from segment to segment.
BOOL WINAPI LineTo(HDC hdc, int x, int y) {
  Dc* dc = FromHandle(hdc);
  if (dc == nullptr) return FALSE;
  emu::Stroke s(dc);
  if (emu::MakeStroke(dc, &s))
    emu::Segment(s, dc->ToDevice(dc->state.penPos.x, dc->state.penPos.y), dc->ToDevice(x, y));
  dc->state.penPos = POINT{x, y};
  return TRUE;
}

BOOL WINAPI Polyline(HDC hdc, const POINT* points, int count) {
  Dc* dc = FromHandle(hdc);
  if (dc == nullptr || points == nullptr || count < 2) return FALSE;
  emu::Stroke s(dc);
  if (!emu::MakeStroke(dc, &s)) return TRUE;
  for (int i = 0; i + 1 < count; ++i)
    emu::Segment(s, dc->ToDevice(points[i].x, points[i].y), dc->ToDevice(points[i + 1].x, points[i + 1].y));
  return TRUE;
}

BOOL WINAPI Rectangle(HDC hdc, int left, int top, int right, int bottom) {
  Dc* dc = FromHandle(hdc);
  if (dc == nullptr) return FALSE;
  RECT r = emu::Normalised(*dc, left, top, right, bottom);
  if (r.right == r.left || r.bottom == r.top) return TRUE;
  emu::Stroke s(dc);
  bool pen = emu::MakeStroke(dc, &s);
  GdiObject* brush = dc->state.brush;
  if (brush != nullptr && brush->brushStyle != BS_NULL) {
    // Without a pen the fill takes the outline's place on the left and top only: the rectangle is one smaller.
    RECT inside =
        pen ? RECT{r.left + 1, r.top + 1, r.right - 1, r.bottom - 1} : RECT{r.left, r.top, r.right - 1, r.bottom - 1};
    emu::FillDevice(dc, inside, brush->color);
  }
  if (pen) emu::Outline(s, r);
  return TRUE;
}
