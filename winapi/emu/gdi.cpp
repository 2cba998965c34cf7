// GDI objects and device contexts behind their handles: stock objects, selection, DC state and clipping.
#include <algorithm>
#include <array>
#include <cstring>
#include <map>
#include <memory>

#include "state.h"

namespace emu {
namespace {

// GDI handles have a range of their own, apart from window handles, and are never reused in a process: one kept
// from an earlier world, or a deleted object's, stays invalid.
constexpr std::uintptr_t kStockBase = 0x00A00000;    // stock objects, alive for the whole process
constexpr std::uintptr_t kDynamicBase = 0x00B00000;  // everything else
constexpr std::uintptr_t kHandleStep = 4;
constexpr int kSysColorCount = 25;
constexpr int kStockCount = 18;     // GetStockObject indices 0..17
constexpr int kDefaultBitmap = 21;  // the 1x1 bitmap of a new memory DC (not reachable by GetStockObject here)

// The classic palette, indexed by COLOR_*.
constexpr std::array<COLORREF, kSysColorCount> kSysColors = {
    0xC0C0C0, 0x808000, 0x800000, 0x808080, 0xC0C0C0, 0xFFFFFF, 0x000000, 0x000000, 0x000000,
    0xFFFFFF, 0xC0C0C0, 0xC0C0C0, 0x808080, 0x800000, 0xFFFFFF, 0xC0C0C0, 0x808080, 0x808080,
    0x000000, 0xC0C0C0, 0xFFFFFF, 0x000000, 0xC0C0C0, 0x000000, 0xE1FFFF};

// The palette in force: the classic one after every reset, changed only by emu::SetSysColor.
std::array<COLORREF, kSysColorCount>& SysColors() {
  static std::array<COLORREF, kSysColorCount> colors = kSysColors;
  return colors;
}

HGDIOBJ ToHandle(std::uintptr_t value) { return reinterpret_cast<HGDIOBJ>(value); }

LOGFONTA MakeFont(LONG height, LONG weight, BYTE charset, const char* face) {
  LOGFONTA lf{};
  lf.lfHeight = height;
  lf.lfWeight = weight;
  lf.lfCharSet = charset;
  std::strncpy(lf.lfFaceName, face, LF_FACESIZE - 1);
  return lf;
}

struct Stock {
  std::map<std::uintptr_t, std::unique_ptr<GdiObject>> objects;
  std::array<GdiObject*, kStockCount> byIndex{};
  std::array<GdiObject*, kSysColorCount> sysBrushes{};
  GdiObject* defaultBitmap = nullptr;

  GdiObject* Add(std::uintptr_t slot, GdiKind kind) {
    auto object = std::make_unique<GdiObject>();
    object->kind = kind;
    object->stock = true;
    object->handle = ToHandle(kStockBase + slot * kHandleStep);
    GdiObject* raw = object.get();
    objects[kStockBase + slot * kHandleStep] = std::move(object);
    return raw;
  }
  GdiObject* Brush(int index, UINT style, COLORREF color) {
    GdiObject* o = Add(static_cast<std::uintptr_t>(index), GdiKind::Brush);
    o->brushStyle = style;
    o->color = color;
    return byIndex[static_cast<std::size_t>(index)] = o;
  }
  GdiObject* Pen(int index, int style, COLORREF color) {
    GdiObject* o = Add(static_cast<std::uintptr_t>(index), GdiKind::Pen);
    o->penStyle = style;
    o->color = color;
    return byIndex[static_cast<std::size_t>(index)] = o;
  }
  GdiObject* Font(int index, const LOGFONTA& lf) {
    GdiObject* o = Add(static_cast<std::uintptr_t>(index), GdiKind::Font);
    o->font = lf;
    return byIndex[static_cast<std::size_t>(index)] = o;
  }

  Stock() {
    Brush(WHITE_BRUSH, BS_SOLID, RGB(255, 255, 255));
    Brush(LTGRAY_BRUSH, BS_SOLID, RGB(192, 192, 192));
    Brush(GRAY_BRUSH, BS_SOLID, RGB(128, 128, 128));
    Brush(DKGRAY_BRUSH, BS_SOLID, RGB(64, 64, 64));
    Brush(BLACK_BRUSH, BS_SOLID, RGB(0, 0, 0));
    Brush(NULL_BRUSH, BS_NULL, 0);
    Pen(WHITE_PEN, PS_SOLID, RGB(255, 255, 255));
    Pen(BLACK_PEN, PS_SOLID, RGB(0, 0, 0));
    Pen(NULL_PEN, PS_NULL, 0);
    // The fonts a Japanese desktop hands out: the bold system font and the dialog font.
    Font(10, MakeFont(12, FW_NORMAL, SHIFTJIS_CHARSET, "Terminal"));  // OEM_FIXED_FONT
    Font(11, MakeFont(12, FW_NORMAL, SHIFTJIS_CHARSET, "FixedSys"));  // ANSI_FIXED_FONT
    Font(12, MakeFont(12, FW_NORMAL, SHIFTJIS_CHARSET, "System"));    // ANSI_VAR_FONT
    Font(SYSTEM_FONT, MakeFont(16, FW_BOLD, SHIFTJIS_CHARSET, "System"));
    Font(14, MakeFont(12, FW_NORMAL, SHIFTJIS_CHARSET, "Terminal"));  // DEVICE_DEFAULT_FONT
    Font(16, MakeFont(16, FW_NORMAL, SHIFTJIS_CHARSET, "FixedSys"));  // SYSTEM_FIXED_FONT
    Font(DEFAULT_GUI_FONT, MakeFont(-12, FW_NORMAL, SHIFTJIS_CHARSET, "MS UI Gothic"));
    for (int i = 0; i < kSysColorCount; ++i) {
      GdiObject* o = Add(static_cast<std::uintptr_t>(32 + i), GdiKind::Brush);
      o->color = kSysColors[static_cast<std::size_t>(i)];
      sysBrushes[static_cast<std::size_t>(i)] = o;
    }
    defaultBitmap = Add(kDefaultBitmap, GdiKind::Bitmap);
    defaultBitmap->bitmap.Resize(1, 1, RGB(0, 0, 0));
  }
};

Stock& Stocks() {
  static Stock stock;
  return stock;
}

struct Registry {
  std::map<std::uintptr_t, std::unique_ptr<Dc>> dcs;
  std::map<std::uintptr_t, std::unique_ptr<GdiObject>> objects;
  std::uintptr_t next = kDynamicBase;

  std::uintptr_t Allocate() {
    std::uintptr_t value = next;
    next += kHandleStep;
    return value;
  }
};

Registry& Gdi() {
  static Registry registry;
  return registry;
}

GdiObject* NewObject(GdiKind kind) {
  auto object = std::make_unique<GdiObject>();
  object->kind = kind;
  std::uintptr_t value = Gdi().Allocate();
  object->handle = ToHandle(value);
  GdiObject* raw = object.get();
  Gdi().objects[value] = std::move(object);
  return raw;
}

Dc* NewDc() {
  auto dc = std::make_unique<Dc>();
  std::uintptr_t value = Gdi().Allocate();
  dc->handle = reinterpret_cast<HDC>(value);
  Dc* raw = dc.get();
  Gdi().dcs[value] = std::move(dc);
  return raw;
}

bool Refers(const DcState& s, const GdiObject* o) { return s.pen == o || s.brush == o || s.font == o; }

// Windows refuses to delete an object that a DC holds; saved states hold theirs too, as RestoreDC brings them back.
bool InUse(const GdiObject* o) {
  for (const auto& [value, dc] : Gdi().dcs) {
    if (dc->bitmap == o || Refers(dc->state, o)) return true;
    for (const DcState& s : dc->saved)
      if (Refers(s, o)) return true;
  }
  return false;
}

bool Empty(const RECT& r) { return r.right <= r.left || r.bottom <= r.top; }

RECT Intersect(const RECT& a, const RECT& b) {
  RECT r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right), std::min(a.bottom, b.bottom)};
  if (Empty(r)) return RECT{0, 0, 0, 0};
  return r;
}

bool Covers(const std::vector<RECT>& holes, int x, int y) {
  for (const RECT& h : holes)
    if (x >= h.left && x < h.right && y >= h.top && y < h.bottom) return true;
  return false;
}

// Brings clip and holes to their canonical form: the clip is the bounding box of what is left, holes outside it are
// dropped, and the result tells whether what is left is empty, one rectangle or more.
int Normalise(DcState& s) {
  for (RECT& h : s.holes) h = Intersect(h, s.clip);
  std::erase_if(s.holes, [](const RECT& h) { return Empty(h); });
  if (Empty(s.clip)) {
    s.clip = RECT{0, 0, 0, 0};
    s.holes.clear();
    return NULLREGION;
  }
  if (s.holes.empty()) return SIMPLEREGION;
  // Cells of the grid made by all edges are either wholly inside a hole or wholly outside every hole.
  std::vector<LONG> xs{s.clip.left, s.clip.right}, ys{s.clip.top, s.clip.bottom};
  for (const RECT& h : s.holes) {
    xs.insert(xs.end(), {h.left, h.right});
    ys.insert(ys.end(), {h.top, h.bottom});
  }
  std::sort(xs.begin(), xs.end());
  xs.erase(std::unique(xs.begin(), xs.end()), xs.end());
  std::sort(ys.begin(), ys.end());
  ys.erase(std::unique(ys.begin(), ys.end()), ys.end());
  RECT box{0, 0, 0, 0};
  bool any = false;
  for (std::size_t j = 0; j + 1 < ys.size(); ++j) {
    for (std::size_t i = 0; i + 1 < xs.size(); ++i) {
      if (Covers(s.holes, xs[i], ys[j])) continue;
      RECT cell{xs[i], ys[j], xs[i + 1], ys[j + 1]};
      if (!any) {
        box = cell;
        any = true;
      } else {
        box = RECT{std::min(box.left, cell.left), std::min(box.top, cell.top), std::max(box.right, cell.right),
                   std::max(box.bottom, cell.bottom)};
      }
    }
  }
  if (!any) {
    s.clip = RECT{0, 0, 0, 0};
    s.holes.clear();
    return NULLREGION;
  }
  s.clip = box;
  for (RECT& h : s.holes) h = Intersect(h, s.clip);
  std::erase_if(s.holes, [](const RECT& h) { return Empty(h); });
  if (s.holes.empty()) return SIMPLEREGION;
  return COMPLEXREGION;
}

RECT DeviceRect(const Dc& dc, int left, int top, int right, int bottom) {
  POINT a = dc.ToDevice(left, top);
  POINT b = dc.ToDevice(right, bottom);
  return RECT{std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
}

template <typename Get>
COLORREF Swap(HDC hdc, COLORREF value, Get get) {
  Dc* dc = FromHandle(hdc);
  if (dc == nullptr) return CLR_INVALID;
  COLORREF& field = get(dc->state);
  COLORREF old = field;
  field = value;
  return old;
}

}  // namespace

void Surface::Resize(int w, int h, COLORREF fill) {
  w = std::max(w, 0);
  h = std::max(h, 0);
  std::vector<COLORREF> next(static_cast<std::size_t>(w) * static_cast<std::size_t>(h), fill);
  for (int y = 0; y < std::min(h, height); ++y)
    for (int x = 0; x < std::min(w, width); ++x)
      next[static_cast<std::size_t>(y) * w + x] = pixels[static_cast<std::size_t>(y) * width + x];
  pixels = std::move(next);
  width = w;
  height = h;
}

Surface* Dc::Target() {
  if (memory) return bitmap != nullptr ? &bitmap->bitmap : nullptr;
  if (window == nullptr) return nullptr;
  Window* top = TopLevelOf(window);
  return top != nullptr ? top->surface.get() : nullptr;
}

Dc* FromHandle(HDC dc) {
  auto& dcs = Gdi().dcs;
  auto it = dcs.find(reinterpret_cast<std::uintptr_t>(dc));
  return it == dcs.end() ? nullptr : it->second.get();
}

GdiObject* FromHandle(HGDIOBJ obj) {
  auto value = reinterpret_cast<std::uintptr_t>(obj);
  auto& stock = Stocks().objects;
  if (auto it = stock.find(value); it != stock.end()) return it->second.get();
  auto& objects = Gdi().objects;
  auto it = objects.find(value);
  return it == objects.end() ? nullptr : it->second.get();
}

void SelectDefaults(Dc* dc) {
  dc->state.pen = Stocks().byIndex[BLACK_PEN];
  dc->state.brush = Stocks().byIndex[WHITE_BRUSH];
  dc->state.font = Stocks().byIndex[SYSTEM_FONT];
}

Dc* NewWindowDc(Window* w, bool paint) {
  Dc* dc = NewDc();
  dc->window = w;
  dc->paintDc = paint;
  SelectDefaults(dc);
  return dc;
}

void FreeDc(Dc* dc) {
  if (dc == nullptr) return;
  if (dc->bitmap != nullptr && !dc->bitmap->stock) dc->bitmap->selected = false;
  Gdi().dcs.erase(reinterpret_cast<std::uintptr_t>(dc->handle));
}

void ResetGdi() {
  Registry& r = Gdi();
  r.dcs.clear();
  r.objects.clear();
  Stocks().defaultBitmap->bitmap.pixels.assign(1, RGB(0, 0, 0));
  for (int i = 0; i < kSysColorCount; ++i) SetSysColor(i, kSysColors[static_cast<std::size_t>(i)]);
}

void SetSysColor(int index, COLORREF color) {
  if (index < 0 || index >= kSysColorCount) return;
  SysColors()[static_cast<std::size_t>(index)] = color;
  Stocks().sysBrushes[static_cast<std::size_t>(index)]->color = color;
}

}  // namespace emu

using emu::Dc;
using emu::FromHandle;
using emu::GdiKind;
using emu::GdiObject;

DWORD WINAPI GetSysColor(int index) {
  if (index < 0 || index >= emu::kSysColorCount) return 0;
  return emu::SysColors()[static_cast<std::size_t>(index)];
}

HBRUSH WINAPI GetSysColorBrush(int index) {
  if (index < 0 || index >= emu::kSysColorCount) return nullptr;
  return static_cast<HBRUSH>(emu::Stocks().sysBrushes[static_cast<std::size_t>(index)]->handle);
}

HGDIOBJ WINAPI GetStockObject(int index) {
  if (index < 0 || index >= emu::kStockCount) return nullptr;
  GdiObject* o = emu::Stocks().byIndex[static_cast<std::size_t>(index)];
  return o != nullptr ? o->handle : nullptr;
}

HPEN WINAPI CreatePen(int style, int width, COLORREF color) {
  if (style < PS_SOLID || style > PS_INSIDEFRAME) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  GdiObject* o = emu::NewObject(GdiKind::Pen);
  o->penStyle = style;
  o->penWidth = width < 1 ? 1 : width;
  o->color = color & 0x00FFFFFF;
  return static_cast<HPEN>(o->handle);
}

HBRUSH WINAPI CreateSolidBrush(COLORREF color) {
  GdiObject* o = emu::NewObject(GdiKind::Brush);
  o->brushStyle = BS_SOLID;
  o->color = color & 0x00FFFFFF;
  return static_cast<HBRUSH>(o->handle);
}

// Hatched brushes are drawn solid in their colour: nothing here paints hatches.
HBRUSH WINAPI CreateBrushIndirect(const LOGBRUSH* lb) {
  if (lb == nullptr || lb->lbStyle > BS_HATCHED) return nullptr;
  GdiObject* o = emu::NewObject(GdiKind::Brush);
  o->brushStyle = lb->lbStyle == BS_NULL ? BS_NULL : BS_SOLID;
  o->color = lb->lbStyle == BS_NULL ? 0 : lb->lbColor & 0x00FFFFFF;
  return static_cast<HBRUSH>(o->handle);
}

HFONT WINAPI CreateFontIndirectA(const LOGFONTA* lf) {
  if (lf == nullptr) return nullptr;
  GdiObject* o = emu::NewObject(GdiKind::Font);
  o->font = *lf;
  o->font.lfFaceName[LF_FACESIZE - 1] = '\0';
  return static_cast<HFONT>(o->handle);
}

HGDIOBJ WINAPI SelectObject(HDC hdc, HGDIOBJ obj) {
  Dc* dc = FromHandle(hdc);
  GdiObject* o = FromHandle(obj);
  if (dc == nullptr || o == nullptr) return nullptr;
  GdiObject** slot = nullptr;
  switch (o->kind) {
    case GdiKind::Pen:
      slot = &dc->state.pen;
      break;
    case GdiKind::Brush:
      slot = &dc->state.brush;
      break;
    case GdiKind::Font:
      slot = &dc->state.font;
      break;
    case GdiKind::Bitmap: {
      if (!dc->memory) return nullptr;
      GdiObject* old = dc->bitmap;
      if (old == o) return o->handle;
      if (!o->stock && o->selected) return nullptr;  // a bitmap lives in one DC at a time
      if (old != nullptr && !old->stock) old->selected = false;
      if (!o->stock) o->selected = true;
      dc->bitmap = o;
      // The new surface replaces what the DC may draw on.
      dc->state.clip = RECT{0, 0, o->bitmap.width, o->bitmap.height};
      dc->state.holes.clear();
      return old != nullptr ? old->handle : nullptr;
    }
  }
  GdiObject* old = *slot;
  *slot = o;
  return old != nullptr ? old->handle : nullptr;
}

BOOL WINAPI DeleteObject(HGDIOBJ obj) {
  GdiObject* o = FromHandle(obj);
  if (o == nullptr) return FALSE;
  if (o->stock) return TRUE;  // stock objects outlive every request to delete them
  if (emu::InUse(o)) return FALSE;
  emu::Gdi().objects.erase(reinterpret_cast<std::uintptr_t>(obj));
  return TRUE;
}

HDC WINAPI CreateCompatibleDC(HDC hdc) {
  if (hdc != nullptr && FromHandle(hdc) == nullptr) return nullptr;
  Dc* dc = emu::NewDc();
  dc->memory = true;
  dc->bitmap = emu::Stocks().defaultBitmap;
  dc->state.clip = RECT{0, 0, 1, 1};
  emu::SelectDefaults(dc);
  return dc->handle;
}

BOOL WINAPI DeleteDC(HDC hdc) {
  Dc* dc = FromHandle(hdc);
  if (dc == nullptr || !dc->memory) return FALSE;
  emu::FreeDc(dc);
  return TRUE;
}

// Every surface here has 32 bits a pixel, whatever the reference DC; a zero size gives the stock 1x1 bitmap.
HBITMAP WINAPI CreateCompatibleBitmap(HDC hdc, int width, int height) {
  if (hdc == nullptr || FromHandle(hdc) == nullptr || width < 0 || height < 0) return nullptr;
  if (width == 0 || height == 0) return static_cast<HBITMAP>(emu::Stocks().defaultBitmap->handle);
  GdiObject* o = emu::NewObject(GdiKind::Bitmap);
  o->bitmap.Resize(width, height, RGB(0, 0, 0));
  return static_cast<HBITMAP>(o->handle);
}

int WINAPI SaveDC(HDC hdc) {
  Dc* dc = FromHandle(hdc);
  if (dc == nullptr) return 0;
  dc->saved.push_back(dc->state);
  return static_cast<int>(dc->saved.size());
}

BOOL WINAPI RestoreDC(HDC hdc, int saved) {
  Dc* dc = FromHandle(hdc);
  if (dc == nullptr) return FALSE;
  int depth = static_cast<int>(dc->saved.size());
  int level = saved < 0 ? depth + saved + 1 : saved;  // -1 is the most recent save
  if (saved == 0 || level < 1 || level > depth) return FALSE;
  dc->state = dc->saved[static_cast<std::size_t>(level - 1)];
  dc->saved.resize(static_cast<std::size_t>(level - 1));
  return TRUE;
}

BOOL WINAPI SetViewportOrgEx(HDC hdc, int x, int y, LPPOINT old) {
  Dc* dc = FromHandle(hdc);
  if (dc == nullptr) return FALSE;
  if (old != nullptr) *old = dc->state.viewportOrg;
  dc->state.viewportOrg = POINT{x, y};
  return TRUE;
}

BOOL WINAPI GetViewportOrgEx(HDC hdc, LPPOINT p) {
  Dc* dc = FromHandle(hdc);
  if (dc == nullptr || p == nullptr) return FALSE;
  *p = dc->state.viewportOrg;
  return TRUE;
}

BOOL WINAPI SetWindowOrgEx(HDC hdc, int x, int y, LPPOINT old) {
  Dc* dc = FromHandle(hdc);
  if (dc == nullptr) return FALSE;
  if (old != nullptr) *old = dc->state.windowOrg;
  dc->state.windowOrg = POINT{x, y};
  return TRUE;
}

int WINAPI IntersectClipRect(HDC hdc, int left, int top, int right, int bottom) {
  Dc* dc = FromHandle(hdc);
  if (dc == nullptr) return ERROR;
  dc->state.clip = emu::Intersect(dc->state.clip, emu::DeviceRect(*dc, left, top, right, bottom));
  return emu::Normalise(dc->state);
}

// Holes are kept exactly; the clip box shrinks whenever what is cut away spans a whole side.
int WINAPI ExcludeClipRect(HDC hdc, int left, int top, int right, int bottom) {
  Dc* dc = FromHandle(hdc);
  if (dc == nullptr) return ERROR;
  RECT hole = emu::DeviceRect(*dc, left, top, right, bottom);
  if (!emu::Empty(hole)) dc->state.holes.push_back(hole);
  return emu::Normalise(dc->state);
}

int WINAPI GetClipBox(HDC hdc, LPRECT rect) {
  Dc* dc = FromHandle(hdc);
  if (dc == nullptr || rect == nullptr) return ERROR;
  int kind = emu::Normalise(dc->state);
  if (kind == NULLREGION) {
    *rect = RECT{0, 0, 0, 0};
    return kind;
  }
  POINT origin = dc->ToDevice(0, 0);
  const RECT& c = dc->state.clip;
  *rect = RECT{c.left - origin.x, c.top - origin.y, c.right - origin.x, c.bottom - origin.y};
  return kind;
}

int WINAPI SetBkMode(HDC hdc, int mode) {
  Dc* dc = FromHandle(hdc);
  if (dc == nullptr || (mode != TRANSPARENT && mode != OPAQUE)) return 0;
  int old = dc->state.bkMode;
  dc->state.bkMode = mode;
  return old;
}

int WINAPI GetBkMode(HDC hdc) {
  Dc* dc = FromHandle(hdc);
  return dc == nullptr ? 0 : dc->state.bkMode;
}

COLORREF WINAPI SetBkColor(HDC hdc, COLORREF color) {
  return emu::Swap(hdc, color, [](emu::DcState& s) -> COLORREF& { return s.bkColor; });
}

COLORREF WINAPI GetBkColor(HDC hdc) {
  Dc* dc = FromHandle(hdc);
  return dc == nullptr ? CLR_INVALID : dc->state.bkColor;
}

COLORREF WINAPI SetTextColor(HDC hdc, COLORREF color) {
  return emu::Swap(hdc, color, [](emu::DcState& s) -> COLORREF& { return s.textColor; });
}

COLORREF WINAPI GetTextColor(HDC hdc) {
  Dc* dc = FromHandle(hdc);
  return dc == nullptr ? CLR_INVALID : dc->state.textColor;
}

int WINAPI GetDeviceCaps(HDC hdc, int index) {
  constexpr int kHorzRes = 8, kVertRes = 10, kBitsPixel = 12, kPlanes = 14;
  Dc* dc = FromHandle(hdc);
  if (dc == nullptr) return 0;
  switch (index) {
    case LOGPIXELSX:
    case LOGPIXELSY:
      return 96;
    case kHorzRes:
      return emu::CurrentConfig().screenWidth;
    case kVertRes:
      return emu::CurrentConfig().screenHeight;
    case kBitsPixel:
      return 32;
    case kPlanes:
      return 1;
    default:
      return 0;
  }
}
