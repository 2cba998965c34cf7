// The emulation's own objects behind the handles, shared by its role files.
#pragma once

#include <cstddef>
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
  void Resize(int w, int h, COLORREF fill);  // keeps the overlapping pixels, fills the rest
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
  RECT update{};                     // bounding rectangle of the update region, client coordinates
  std::unique_ptr<Surface> surface;  // top-level windows only
  int checkState = 0;                // for the BUTTON class
  bool buttonPushed = false;
  std::vector<BYTE> extra;
  RECT frame{};                 // non-client widths (left, top, right, bottom), fixed at creation and SWP_FRAMECHANGED
  bool frameInvalid = false;    // the non-client area waits for WM_NCPAINT
  bool frameActive = false;     // caption in the active colours (WM_NCACTIVATE)
  bool destroying = false;      // DestroyWindow has begun sending WM_DESTROY
  bool buttonTracking = false;  // BUTTON: a press (mouse or Space) waits for its release
  HFONT font = nullptr;         // BUTTON: WM_SETFONT

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
  HGDIOBJ handle = nullptr;
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
  RECT clip{};              // device coordinates (pixels of the surface), intersection of all clips
  std::vector<RECT> holes;  // device rectangles cut out of `clip` by ExcludeClipRect
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
    return POINT{x - state.windowOrg.x + state.viewportOrg.x + base.x,
                 y - state.windowOrg.y + state.viewportOrg.y + base.y};
  }
};

// The single place where handles map to objects.
Window* FromHandle(HWND hwnd);  // nullptr for unknown or destroyed windows
Dc* FromHandle(HDC dc);
GdiObject* FromHandle(HGDIOBJ obj);

// Window DCs (GetDC, BeginPaint), made by the window role, drawn on by the GDI role.
Dc* NewWindowDc(Window* w, bool paint);
void FreeDc(Dc* dc);
void ResetGdi();              // at emu::Reset
void SelectDefaults(Dc* dc);  // stock pen, brush and font

// The raster role: whether a device pixel may be drawn (surface, clip and holes), and a clipped fill of a
// device rectangle (`limit` further restricts it).
bool Drawable(Dc* dc, int x, int y);
void FillDevice(Dc* dc, RECT device, COLORREF color, const RECT* limit = nullptr);

// The text role: metrics of the built-in font.
struct FontMetrics {
  int height;
  int ascent;
  int singleWidth;  // width of a single-byte character
  int doubleWidth;  // width of a double-byte character
};
FontMetrics MetricsOf(const LOGFONTA& font);

// The window procedure of the system BUTTON class (button.cpp).
LRESULT CALLBACK ButtonProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);

// Reset hooks of the role files, called by emu::Reset in this order.
void ResetWindows(const Config& c);
void ResetKernel(const Config& c);
void ResetShell();
void ResetText();

// Kernel internals shared by the log, kernel, file, text, shell, security and dialog role files.
HINSTANCE ProcessModule();  // what GetModuleHandleA(nullptr) gives
HANDLE NewKernelHandle();   // find and token handles, unique until the next Reset
void ResetLog();            // call log, faults, last error
void ResetFiles(const Config& c);
void ResetSecurity();
void ResetDialogs();
bool CloseToken(HANDLE handle);  // false when `handle` is no open token
// Code page 932 helpers: a byte that starts a double-byte character, and the byte length of the character at i.
bool IsLeadByte(unsigned char b);
std::size_t CharLength(const std::string& s, std::size_t i);
std::string FolderPart(const std::string& path);               // through the last "\" or ":", never a trail byte
bool EqualNoCase(const std::string& a, const std::string& b);  // ASCII letters folded, double-byte aware
bool IsKnownFolder(const std::string& folder);                 // a listed folder, with its trailing separator
bool IsSpecialFolder(const std::string& folder);               // a shell special folder, trailing separator optional
// UTF-16 to code page 932 ('?' for what it cannot hold) and to UTF-8.
std::string WideToAnsi(const std::u16string& s);
std::string WideToUtf8(const std::u16string& s);

// Messages posted by the emulation itself (input, timers) and the queue's state.
void PostInput(const MSG& msg);
void RequestRepaintQueueCheck();

// Window manager internals shared by its world, window, message, clock, input, paint and menu role files.
Window* NewWindowObject();  // registered under a handle never used before
void ClearWindowRegistry();
Window* Desktop();
std::vector<Window*>& TopLevels();            // z-order, topmost first
RECT FrameFor(DWORD style, DWORD exStyle);    // non-client widths these styles give
RECT CaptionRect(const Window& w);            // window coordinates; empty without WS_CAPTION
bool CloseBoxRect(const Window& w, RECT* r);  // window coordinates; false without a close box
POINT RasterOrigin(const Window& w);          // outer top-left in the top-level window's raster
void ResetClock();
void ResetMessages();
void ResetInput();
void ResetMenus();
bool TakeTimer(HWND filter, bool remove, MSG* out);  // a due timer's WM_TIMER; filter as GetMessage's hwnd
void KillTimersOf(HWND hwnd);
void DropMessagesFor(HWND hwnd);  // posted and input messages
void DropInput();
void Activate(Window* topLevel, int how, bool settleFocus);  // nullptr deactivates
void ActivateOther(Window* leaving);
void ForgetWindow(Window* w);  // focus, capture, activation and click records that name w
bool InMenuLoop();
void InvalidateTree(Window* w, bool erase);           // client, frame and visible descendants
void InvalidateBehind(Window* w, const RECT& outer);  // what `outer` (parent client coordinates) covered on w's parent
void ValidateTree(Window* w);
Window* NextToPaint(Window* only);  // parents before children, top-level windows in z-order
void DrawFrame(Window* w);          // the default non-client look
void FillSysColor(HDC dc, const RECT& r, int color);
void DrawEdgeRing(HDC dc, const RECT& r, int topLeftColor, int bottomRightColor);  // a one-pixel 3D ring

}  // namespace emu
