// Controls: the windowless TControl and TGraphicControl, the windowed TWinControl and TCustomControl.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "vcl/Classes.h"
#include "vcl/Graphics.h"
#include "winapi/winapi.h"

class TControl;
class TWinControl;
class TPopupMenu;
class TCustomForm;

enum TMouseButton : std::uint8_t { mbLeft, mbRight, mbMiddle };

using TShiftState = std::uint8_t;
enum : TShiftState { ssShift = 1, ssAlt = 2, ssCtrl = 4, ssLeft = 8, ssRight = 16, ssMiddle = 32, ssDouble = 64 };

using TMouseEvent = TEvent<TObject*, TMouseButton, TShiftState, int, int>;
using TMouseMoveEvent = TEvent<TObject*, TShiftState, int, int>;
using TKeyEvent = TEvent<TObject*, WORD&, TShiftState>;
using TKeyPressEvent = TEvent<TObject*, char&>;
using TDragDropEvent = TEvent<TObject*, TObject*, int, int>;
using TDragOverEvent = TEvent<TObject*, TObject*, int, int, bool&>;
using TEndDragEvent = TEvent<TObject*, TObject*, int, int>;
using TStartDragEvent = TEvent<TObject*>;

enum TAlign : std::uint8_t { alNone, alTop, alBottom, alLeft, alRight, alClient };
enum TAlignment : std::uint8_t { taLeftJustify, taRightJustify, taCenter };
enum TDragMode : std::uint8_t { dmManual, dmAutomatic };
enum TFormBorderStyle : std::uint8_t { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
using TBorderStyle = TFormBorderStyle;
using TCursor = int;
inline constexpr TCursor crDefault = 0, crDrag = -12;

extern const IdentTable kAlignIdents, kAlignmentIdents, kDragModeIdents, kBorderStyleIdents, kCursorIdents;

// Control styles and states.
enum : unsigned {
  csAcceptsControls = 1,
  csCaptureMouse = 2,
  csDesignInteractive = 4,
  csClickEvents = 8,
  csFramed = 16,
  csSetCaption = 32,
  csOpaque = 64,
  csDoubleClicks = 128,
  csReplicatable = 256,
  csNoStdEvents = 512,
};
enum : unsigned { csLButtonDown = 1, csClicked = 2, csFocusing = 4, csCreating = 8 };

// Notifications between controls, sent with Perform.
enum : UINT {
  CM_BASE = 0xB000,
  CM_ACTIVATE = CM_BASE + 0,
  CM_DEACTIVATE = CM_BASE + 1,
  CM_DIALOGKEY = CM_BASE + 5,
  CM_DIALOGCHAR = CM_BASE + 6,
  CM_FOCUSCHANGED = CM_BASE + 7,
  CM_PARENTFONTCHANGED = CM_BASE + 8,
  CM_PARENTCOLORCHANGED = CM_BASE + 9,
  CM_ENABLEDCHANGED = CM_BASE + 12,
  CM_COLORCHANGED = CM_BASE + 13,
  CM_FONTCHANGED = CM_BASE + 14,
  CM_VISIBLECHANGED = CM_BASE + 16,
  CM_TEXTCHANGED = CM_BASE + 18,
  CM_MOUSEENTER = CM_BASE + 19,
  CM_MOUSELEAVE = CM_BASE + 20,
  CN_BASE = 0xBC00,
  CN_COMMAND = CN_BASE + WM_COMMAND,
};

struct TMessage {
  UINT Msg;
  WPARAM WParam;
  LPARAM LParam;
  LRESULT Result;
};

TShiftState KeysToShiftState(WPARAM keys);
TShiftState KeyDataToShiftState(LPARAM keyData);

// A canvas that draws on its control: bound to the paint DC while painting, else a DC of its own.
class TControlCanvas : public TCanvas {
 public:
  explicit TControlCanvas(TControl* control) : control_(control) {}
  ~TControlCanvas() override;
  void FreeHandle();

 protected:
  void CreateHandle() override;

 private:
  TControl* control_;
  HWND dcWindow_ = nullptr;
  HDC ownDc_ = nullptr;
};

class TControl : public TComponent {
  VCL_DECLARE_CLASS(TControl)
 public:
  explicit TControl(TComponent* owner);
  ~TControl() override;

  TWinControl* Parent() const { return parent_; }
  virtual void SetParent(TWinControl* parent);
  bool HasParent() const override { return true; }
  bool HasDesignPos() const override { return false; }
  void SetParentComponent(TComponent* parent) override;
  void SetName(const AnsiString& name) override;

  int Left() const { return left_; }
  int Top() const { return top_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  void SetLeft(int v) { SetBounds(v, top_, width_, height_); }
  void SetTop(int v) { SetBounds(left_, v, width_, height_); }
  void SetWidth(int v) { SetBounds(left_, top_, v, height_); }
  void SetHeight(int v) { SetBounds(left_, top_, width_, v); }
  virtual void SetBounds(int left, int top, int width, int height);
  RECT BoundsRect() const { return RECT{left_, top_, left_ + width_, top_ + height_}; }
  virtual RECT ClientRect() const { return RECT{0, 0, width_, height_}; }
  int ClientWidth() const { return ClientRect().right; }
  int ClientHeight() const { return ClientRect().bottom; }
  POINT ClientToScreen(POINT p) const;
  POINT ScreenToClient(POINT p) const;
  // The origin of this control's client area in its window's client coordinates (0,0 for windowed ones).
  virtual POINT ClientOrigin() const;

  bool Visible() const { return visible_; }
  virtual void SetVisible(bool value);
  void Show() { SetVisible(true); }
  void Hide() { SetVisible(false); }
  // Visible itself and on a visible parent chain.
  bool Showing() const;
  bool Enabled() const { return enabled_; }
  virtual void SetEnabled(bool value);

  AnsiString Caption() const { return text_; }
  void SetCaption(const AnsiString& value);
  TColor Color() const { return color_; }
  void SetColor(TColor value);
  bool ParentColor() const { return parentColor_; }
  void SetParentColor(bool value);
  TFont* Font() const { return font_.get(); }
  bool ParentFont() const { return parentFont_; }
  void SetParentFont(bool value);
  AnsiString Hint() const { return hint_; }
  void SetHint(const AnsiString& v) { hint_ = v; }
  int HelpContext() const { return helpContext_; }
  void SetHelpContext(int v) { helpContext_ = v; }
  bool ShowHint() const { return showHint_; }
  void SetShowHint(bool v);
  bool ParentShowHint() const { return parentShowHint_; }
  void SetParentShowHint(bool v);
  TCursor Cursor() const { return cursor_; }
  void SetCursor(TCursor v) { cursor_ = v; }
  TCursor DragCursor() const { return dragCursor_; }
  void SetDragCursor(TCursor v) { dragCursor_ = v; }
  TDragMode DragMode() const { return dragMode_; }
  void SetDragMode(TDragMode v) { dragMode_ = v; }
  TAlign Align() const { return align_; }
  void SetAlign(TAlign v) { align_ = v; }
  TPopupMenu* PopupMenu() const { return popupMenu_; }
  void SetPopupMenu(TPopupMenu* menu) { popupMenu_ = menu; }

  unsigned ControlStyle() const { return controlStyle_; }
  void SetControlStyle(unsigned style) { controlStyle_ = style; }
  unsigned ControlState() const { return controlState_; }

  LRESULT Perform(UINT msg, WPARAM wp, LPARAM lp);
  virtual void WndProc(TMessage& message);
  virtual void DefaultHandler(TMessage& message);
  virtual void Invalidate();
  virtual void Update();
  void Repaint() {
    Invalidate();
    Update();
  }

  bool MouseCapture() const;
  void SetMouseCapture(bool value);
  void BeginDrag(bool immediate);
  void EndDrag(bool drop);
  bool Dragging() const;

  TNotifyEvent OnClick;
  TNotifyEvent OnDblClick;
  TMouseEvent OnMouseDown;
  TMouseMoveEvent OnMouseMove;
  TMouseEvent OnMouseUp;
  TDragDropEvent OnDragDrop;
  TDragOverEvent OnDragOver;
  TEndDragEvent OnEndDrag;
  TStartDragEvent OnStartDrag;

  // Publishing descriptors of the properties every control has, for the classes that publish them.
  static PropInfo PropCaption();
  static PropInfo PropColor(TColor def);
  static PropInfo PropFont();
  static PropInfo PropEnabled();
  static PropInfo PropVisible();

  virtual void Click();
  virtual void DblClick();

 protected:
  virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
  virtual void MouseMove(TShiftState shift, int x, int y);
  virtual void MouseUp(TMouseButton button, TShiftState shift, int x, int y);
  void FontChanged(TObject* sender);
  bool IsFontStored() const { return !parentFont_; }
  bool IsColorStored() const { return !parentColor_; }
  bool IsShowHintStored() const { return !parentShowHint_; }
  void InvalidateControl(bool isVisible, bool isOpaque);
  void Notification(TComponent* component, TOperation operation) override;

  unsigned controlStyle_ = csCaptureMouse | csClickEvents | csSetCaption | csDoubleClicks;
  unsigned controlState_ = 0;
  TWinControl* parent_ = nullptr;
  int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
  bool visible_ = true;
  bool enabled_ = true;
  AnsiString text_;
  TColor color_ = clWindow;
  bool parentColor_ = true;
  std::unique_ptr<TFont> font_;
  bool parentFont_ = true;

 private:
  friend class TWinControl;
  void DoMouseDown(const TMessage& m, TMouseButton button, TShiftState extra);
  void ApplyParentFont();
  bool applyingParentFont_ = false;
  AnsiString hint_;
  int helpContext_ = 0;
  bool showHint_ = false;
  bool parentShowHint_ = true;
  TCursor cursor_ = crDefault;
  TCursor dragCursor_ = crDrag;
  TDragMode dragMode_ = dmManual;
  TAlign align_ = alNone;
  TPopupMenu* popupMenu_ = nullptr;
};

// A control without a window: it paints on its parent's device context.
class TGraphicControl : public TControl {
  VCL_DECLARE_CLASS(TGraphicControl)
 public:
  explicit TGraphicControl(TComponent* owner);
  TCanvas* Canvas() { return &canvas_; }
  void WndProc(TMessage& message) override;

 protected:
  virtual void Paint() {}

 private:
  TControlCanvas canvas_{this};
};

struct TCreateParams {
  AnsiString caption;
  DWORD style = 0;
  DWORD exStyle = 0;
  int x = 0, y = 0, width = 0, height = 0;
  HWND wndParent = nullptr;
  WNDCLASSA windowClass{};
  AnsiString winClassName;
  const char* subclassOf = nullptr;  // a system class (BUTTON) the window is made from and subclassed
};

class TWinControl : public TControl {
  VCL_DECLARE_CLASS(TWinControl)
 public:
  explicit TWinControl(TComponent* owner);
  ~TWinControl() override;

  HWND Handle();
  bool HandleAllocated() const { return handle_ != nullptr; }
  void HandleNeeded() { Handle(); }
  void DestroyHandle();

  int ControlCount() const { return static_cast<int>(controls_.size()); }
  TControl* Controls(int index) const { return controls_[static_cast<std::size_t>(index)]; }
  void InsertControl(TControl* control);
  void RemoveControl(TControl* control);
  // The topmost visible (and enabled unless `allowDisabled`) windowless child at a client point.
  TControl* ControlAtPos(POINT p, bool allowDisabled) const;
  bool ContainsControl(const TControl* control) const;

  int TabOrder() const;
  void SetTabOrder(int order);
  bool TabStop() const { return tabStop_; }
  void SetTabStop(bool value);
  bool Focused() const;
  virtual bool CanFocus() const;
  virtual void SetFocus();
  // The next windowed control in tab order after `current` (wrapping), or null.
  TWinControl* FindNextControl(TWinControl* current, bool goForward, bool checkTabStop) const;
  void GetTabOrderList(std::vector<TWinControl*>& list) const;
  TBrush* Brush() { return &brush_; }

  RECT ClientRect() const override;
  POINT ClientOrigin() const override { return POINT{0, 0}; }
  void SetBounds(int left, int top, int width, int height) override;
  void SetVisible(bool value) override;
  void SetParent(TWinControl* parent) override;
  void Invalidate() override;
  void Update() override;
  void WndProc(TMessage& message) override;
  void DefaultHandler(TMessage& message) override;
  void GetChildren(std::vector<TComponent*>& children, TComponent* root) override;
  void Loaded() override;

  TNotifyEvent OnEnter;
  TNotifyEvent OnExit;
  TKeyEvent OnKeyDown;
  TKeyPressEvent OnKeyPress;
  TKeyEvent OnKeyUp;

  // The window procedure every control window is created with or subclassed to.
  static LRESULT CALLBACK WindowProcedure(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);

 protected:
  virtual void CreateParams(TCreateParams& params);
  virtual void CreateWnd();
  virtual void PaintWindow(HDC) {}
  void PaintHandler();
  void PaintControls(HDC dc);
  virtual void DoEnter();
  virtual void DoExit();
  virtual void KeyDown(WORD& key, TShiftState shift);
  virtual void KeyUp(WORD& key, TShiftState shift);
  virtual void KeyPress(char& key);
  void UpdateShowing();
  bool IsControlMouseMsg(TMessage& message);

  HWND handle_ = nullptr;
  WNDPROC defWndProc_ = nullptr;
  TBrush brush_;

 private:
  friend class TControl;
  void MainWndProc(TMessage& message);
  HWND PrecedingWindow(TWinControl* control) const;
  void ColorToBrush();
  std::vector<TControl*> controls_;  // children in insertion order; later ones lie above earlier ones
  std::vector<TWinControl*> tabList_;
  bool tabStop_ = false;
};

// A windowed control that paints itself through its canvas.
class TCustomControl : public TWinControl {
  VCL_DECLARE_CLASS(TCustomControl)
 public:
  explicit TCustomControl(TComponent* owner) : TWinControl(owner) {}
  TCanvas* Canvas() { return &canvas_; }

 protected:
  virtual void Paint() {}
  void PaintWindow(HDC dc) override;

 private:
  TControlCanvas canvas_{this};
};

TWinControl* FindControl(HWND hwnd);
TCustomForm* GetParentForm(const TControl* control);
// The control holding the mouse capture: a windowless one through its parent's window.
TControl* GetCaptureControl();
void SetCaptureControl(TControl* control);
// The control being dragged, or null.
TControl* DragControl();
// The control under a screen point, looking into windowless children.
TControl* FindDragTarget(POINT screenPoint, bool allowDisabled);
