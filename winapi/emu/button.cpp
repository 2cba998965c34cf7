// The system's BUTTON class: push buttons, check boxes and radio buttons that paint and toggle themselves.
#include "state.h"

namespace emu {
namespace {

constexpr int kCheckSize = 13;
constexpr int kCheckGap = 4;  // between the check box and its text

bool IsCheckType(UINT type) {
  return type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == BS_3STATE || type == BS_AUTO3STATE ||
         type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON;
}

int MaxCheckState(UINT type) {
  if (type == BS_3STATE || type == BS_AUTO3STATE) return BST_INDETERMINATE;
  return IsCheckType(type) ? BST_CHECKED : BST_UNCHECKED;
}

void FillRectOf(HDC dc, int left, int top, int right, int bottom, int color) {
  FillSysColor(dc, RECT{left, top, right, bottom}, color);
}

// The classic 7x7 tick: each column three pixels tall, falling then rising.
void DrawCheckMark(HDC dc, int x, int y, int color) {
  static constexpr int kTop[7] = {2, 3, 4, 3, 2, 1, 0};
  for (int i = 0; i < 7; ++i) FillRectOf(dc, x + i, y + kTop[i], x + i + 1, y + kTop[i] + 3, color);
}

void PaintCheckBox(Window* w, HDC dc, const RECT& client) {
  bool leftText = (w->style & BS_LEFTTEXT) != 0;
  int bx = leftText ? client.right - kCheckSize : 0;
  int by = (client.bottom - kCheckSize) / 2;
  RECT box{bx, by, bx + kCheckSize, by + kCheckSize};
  DrawEdgeRing(dc, box, COLOR_BTNSHADOW, COLOR_BTNHIGHLIGHT);
  InflateRect(&box, -1, -1);
  DrawEdgeRing(dc, box, COLOR_3DDKSHADOW, COLOR_3DLIGHT);
  InflateRect(&box, -1, -1);
  bool grey = w->buttonPushed || !w->Enabled() || w->checkState == BST_INDETERMINATE;
  FillSysColor(dc, box, grey ? COLOR_BTNFACE : COLOR_WINDOW);
  if (w->checkState != BST_UNCHECKED) {
    int ink = (w->Enabled() && w->checkState == BST_CHECKED) ? COLOR_WINDOWTEXT : COLOR_BTNSHADOW;
    DrawCheckMark(dc, box.left + 1, box.top + 1, ink);
  }
  if (w->text.empty()) return;
  RECT text = leftText ? RECT{0, 0, bx - kCheckGap, client.bottom}
                       : RECT{kCheckSize + kCheckGap, 0, client.right, client.bottom};
  DrawTextA(dc, w->text.c_str(), -1, &text, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
  if (GetFocus() == w->handle) {
    RECT extent = text;
    DrawTextA(dc, w->text.c_str(), -1, &extent, DT_LEFT | DT_SINGLELINE | DT_CALCRECT);
    int h = extent.bottom - extent.top;
    int top = (client.bottom - h) / 2;
    RECT focus{text.left - 1, top - 1, std::min(text.left + (extent.right - extent.left) + 1, client.right),
               top + h + 1};
    DrawFocusRect(dc, &focus);
  }
}

void PaintPushButton(Window* w, HDC dc, const RECT& client) {
  RECT r = client;
  if (w->buttonPushed) {
    DrawEdgeRing(dc, r, COLOR_3DDKSHADOW, COLOR_3DDKSHADOW);
    InflateRect(&r, -1, -1);
    DrawEdgeRing(dc, r, COLOR_BTNSHADOW, COLOR_BTNSHADOW);
  } else {
    DrawEdgeRing(dc, r, COLOR_BTNHIGHLIGHT, COLOR_3DDKSHADOW);
    InflateRect(&r, -1, -1);
    DrawEdgeRing(dc, r, COLOR_3DLIGHT, COLOR_BTNSHADOW);
  }
  if (w->text.empty()) return;
  RECT text = client;
  if (w->buttonPushed) OffsetRect(&text, 1, 1);
  DrawTextA(dc, w->text.c_str(), -1, &text, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

void PaintButton(Window* w, HDC dc) {
  RECT client;
  GetClientRect(w->handle, &client);
  bool check = IsCheckType(static_cast<UINT>(w->style & BS_TYPEMASK));
  UINT ctl = check ? WM_CTLCOLORSTATIC : WM_CTLCOLORBTN;
  auto brush =
      reinterpret_cast<HBRUSH>(w->parent != nullptr ? SendMessageA(w->parent->handle, ctl, reinterpret_cast<WPARAM>(dc),
                                                                   reinterpret_cast<LPARAM>(w->handle))
                                                    : 0);
  if (brush == nullptr)
    brush = reinterpret_cast<HBRUSH>(
        DefWindowProcA(w->handle, ctl, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(w->handle)));
  FillRect(dc, &client, brush);
  HGDIOBJ oldFont = w->font != nullptr ? SelectObject(dc, w->font) : nullptr;
  if (!w->Enabled()) SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
  if (check)
    PaintCheckBox(w, dc, client);
  else
    PaintPushButton(w, dc, client);
  if (oldFont != nullptr) SelectObject(dc, oldFont);
}

void Repaint(HWND hwnd) { InvalidateRect(hwnd, nullptr, FALSE); }

// The end of a press: with the pointer still on the button (or for Space) it clicks.
void ReleaseButton(Window* w, bool inside) {
  w->buttonTracking = false;
  if (!w->buttonPushed) {
    ReleaseCapture();
    return;
  }
  HWND hwnd = w->handle;
  SendMessageA(hwnd, BM_SETSTATE, FALSE, 0);
  if (!inside) {
    ReleaseCapture();
    return;
  }
  UINT type = static_cast<UINT>(w->style & BS_TYPEMASK);
  if (type == BS_AUTOCHECKBOX)
    SendMessageA(hwnd, BM_SETCHECK, w->checkState == BST_UNCHECKED ? BST_CHECKED : BST_UNCHECKED, 0);
  else if (type == BS_AUTO3STATE)
    SendMessageA(hwnd, BM_SETCHECK, static_cast<WPARAM>((w->checkState + 1) % 3), 0);
  else if (type == BS_AUTORADIOBUTTON)
    SendMessageA(hwnd, BM_SETCHECK, BST_CHECKED, 0);
  ReleaseCapture();
  if (FromHandle(hwnd) == nullptr || w->parent == nullptr) return;
  SendMessageA(w->parent->handle, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(w->id), BN_CLICKED),
               reinterpret_cast<LPARAM>(hwnd));
}

}  // namespace

LRESULT CALLBACK ButtonProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  Window* w = FromHandle(hwnd);
  if (w == nullptr) return 0;
  switch (msg) {
    case WM_GETDLGCODE:
      return DLGC_BUTTON;
    case WM_ERASEBKGND:
      return 1;  // the paint fills the background itself
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd, &ps);
      if (dc != nullptr) PaintButton(w, dc);
      EndPaint(hwnd, &ps);
      return 0;
    }
    case WM_LBUTTONDBLCLK:
    case WM_LBUTTONDOWN:
      SetFocus(hwnd);
      SetCapture(hwnd);
      w->buttonTracking = true;
      SendMessageA(hwnd, BM_SETSTATE, TRUE, 0);
      return 0;
    case WM_MOUSEMOVE:
      if ((wp & MK_LBUTTON) && GetCapture() == hwnd && w->buttonTracking) {
        RECT client;
        GetClientRect(hwnd, &client);
        SendMessageA(hwnd, BM_SETSTATE, PtInRect(&client, POINT{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)}), 0);
      }
      return 0;
    case WM_LBUTTONUP:
      if (w->buttonTracking) {
        RECT client;
        GetClientRect(hwnd, &client);
        ReleaseButton(w, PtInRect(&client, POINT{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)}) != FALSE);
      }
      return 0;
    case WM_KEYDOWN:
      if (wp == VK_SPACE) {
        SendMessageA(hwnd, BM_SETSTATE, TRUE, 0);
        w->buttonTracking = true;
        SetCapture(hwnd);
      }
      return 0;
    case WM_KEYUP:
      if (wp == VK_SPACE && w->buttonTracking) ReleaseButton(w, true);
      return 0;
    case WM_CAPTURECHANGED:
      if (w->buttonTracking) {
        w->buttonTracking = false;
        if (w->buttonPushed) SendMessageA(hwnd, BM_SETSTATE, FALSE, 0);
      }
      return 0;
    case WM_SETFOCUS:
      Repaint(hwnd);
      return 0;
    case WM_KILLFOCUS:
      if (w->buttonTracking && GetCapture() == hwnd) ReleaseCapture();
      Repaint(hwnd);
      return 0;
    case WM_ENABLE:
      Repaint(hwnd);
      return 0;
    case WM_SETTEXT: {
      LRESULT r = DefWindowProcA(hwnd, msg, wp, lp);
      Repaint(hwnd);
      return r;
    }
    case WM_SETFONT:
      w->font = reinterpret_cast<HFONT>(wp);
      if (LOWORD(lp) != 0) Repaint(hwnd);
      return 0;
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(w->font);
    case BM_GETCHECK:
      return w->checkState;
    case BM_SETCHECK: {
      int state = std::min(static_cast<int>(wp), MaxCheckState(static_cast<UINT>(w->style & BS_TYPEMASK)));
      if (state != w->checkState) {
        w->checkState = state;
        Repaint(hwnd);
      }
      return 0;
    }
    case BM_GETSTATE:
      return w->checkState | (w->buttonPushed ? BST_PUSHED : 0) | (GetFocus() == hwnd ? BST_FOCUS : 0);
    case BM_SETSTATE:
      if ((wp != 0) != w->buttonPushed) {
        w->buttonPushed = wp != 0;
        Repaint(hwnd);
      }
      return 0;
    case BM_CLICK:
      SendMessageA(hwnd, WM_LBUTTONDOWN, 0, 0);
      SendMessageA(hwnd, WM_LBUTTONUP, 0, 0);
      return 0;
    default:
      return DefWindowProcA(hwnd, msg, wp, lp);
  }
}

}  // namespace emu
