// The emulation's own objects behind the handles, shared by its role files.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "control.h"
#include "win32.h"

namespace emu {

// A 32-bit raster; pixels are COLORREF values (0x00BBGGRR).
struct Surface {
  int width = 0;
  int height = 0;
  std::vector<COLORREF> pixels;
  void Resize(int w, int h, COLORREF fill);
  COLORREF* At(int x, int y) { return &pixels[static_cast<std::size_t>(y) * width + x]; }
};

struct WindowClass {
  std::string name;  // as registered
  WNDCLASSA wc{};
};

struct Window {
  HWND handle = nullptr;
  WindowClass* cls = nullptr;
  WNDPROC proc = nullptr;
  DWORD style = 0;
  DWORD exStyle = 0;
  RECT rect{};  // outer rectangle: screen coordinates for top-level windows, parent client coordinates for children
  Window* parent = nullptr;  // WS_CHILD parent; top-level windows have none
  Window* owner = nullptr;
  std::vector<Window*> children;  // z-order, topmost first
  std::string text;
  LONG_PTR userData = 0;
  LONG_PTR id = 0;
  HINSTANCE instance = nullptr;
  bool destroyed = false;
  bool updatePending = false;  // has an update region
  bool eraseNeeded = false;
  RECT update{};  // bounding rectangle of the update region, client coordinates
  std::unique_ptr<Surface> surface;  // top-level windows only
  int checkState = 0;                // for the BUTTON class
  bool buttonPushed = false;
  std::vector<BYTE> extra;

  bool Visible() const { return (style & WS_VISIBLE) != 0; }
  bool Enabled() const { return (style & WS_DISABLED) == 0; }
  bool IsChild() const { return (style & WS_CHILD) != 0 && parent != nullptr; }
};

// Non-client metrics of a window: client rectangle inside its outer rectangle.
RECT ClientInWindow(const Window& w);  // client rectangle in window coordinates (0,0 = outer top-left)
Window* TopLevelOf(Window* w);
POINT ClientOriginOnScreen(const Window& w);
bool ReallyVisible(const Window* w);  // itself and every ancestor visible

enum class GdiKind { Pen, Brush, Font, Bitmap };
struct GdiObject {
  GdiKind kind;
  bool stock = false;
  // pen
  int penStyle = PS_SOLID;
  int penWidth = 1;
  // pen and brush
  COLORREF color = 0;
  // brush
  UINT brushStyle = BS_SOLID;
  // font
  LOGFONTA font{};
  // bitmap
  Surface bitmap;
  bool selected = false;
};

struct DcState {
  GdiObject* pen = nullptr;
  GdiObject* brush = nullptr;
  GdiObject* font = nullptr;
  int bkMode = OPAQUE;
  COLORREF bkColor = RGB(255, 255, 255);
  COLORREF textColor = RGB(0, 0, 0);
  POINT viewportOrg{0, 0};
  POINT windowOrg{0, 0};
  RECT clip{};  // device coordinates (pixels of the surface), intersection of all clips
  POINT penPos{0, 0};
};

struct Dc {
  HDC handle = nullptr;
  Window* window = nullptr;  // window DCs
  bool memory = false;       // CreateCompatibleDC
  GdiObject* bitmap = nullptr;
  POINT base{0, 0};  // device position of the window's client (0,0) on the surface
  DcState state;
  std::vector<DcState> saved;
  bool paintDc = false;

  Surface* Target();  // the surface drawn on, or nullptr (a memory DC without bitmap draws nowhere)
  // Logical point to device point.
  POINT ToDevice(int x, int y) const {
    return POINT{x - state.windowOrg.x + state.viewportOrg.x + base.x, y - state.windowOrg.y + state.viewportOrg.y + base.y};
  }
};

// The single place where handles map to objects.
Window* FromHandle(HWND hwnd);  // nullptr for unknown or destroyed windows
Dc* FromHandle(HDC dc);
GdiObject* FromHandle(HGDIOBJ obj);

// Window DCs (GetDC, BeginPaint), made by the window role, drawn on by the GDI role.
Dc* NewWindowDc(Window* w, bool paint);
void FreeDc(Dc* dc);
void ResetGdi();           // at emu::Reset
void SelectDefaults(Dc* dc);  // stock pen, brush and font

// The text role: metrics of the built-in font.
struct FontMetrics {
  int height;
  int ascent;
  int singleWidth;  // width of a single-byte character
  int doubleWidth;  // width of a double-byte character
};
FontMetrics MetricsOf(const LOGFONTA& font);

// Reset hooks of the role files, called by emu::Reset in this order.
void ResetWindows(const Config& c);
void ResetKernel(const Config& c);
void ResetShell();
void ResetText();

// Messages posted by the emulation itself (input, timers) and the queue's state.
void PostInput(const MSG& msg);
void RequestRepaintQueueCheck();

}  // namespace emu
