// Controls: geometry, painting, mouse capture and the click record, keys, focus and the control windows.
#include "vcl/Controls.h"

#include <algorithm>
#include <map>

#include "vcl/Forms.h"
#include "vcl/Menus.h"

const IdentTable kAlignIdents{
    {{"alNone", 0}, {"alTop", 1}, {"alBottom", 2}, {"alLeft", 3}, {"alRight", 4}, {"alClient", 5}}};
const IdentTable kAlignmentIdents{{{"taLeftJustify", 0}, {"taRightJustify", 1}, {"taCenter", 2}}};
const IdentTable kDragModeIdents{{{"dmManual", 0}, {"dmAutomatic", 1}}};
const IdentTable kBorderStyleIdents{
    {{"bsNone", 0}, {"bsSingle", 1}, {"bsSizeable", 2}, {"bsDialog", 3}, {"bsToolWindow", 4}, {"bsSizeToolWin", 5}}};
const IdentTable kCursorIdents{{{"crDefault", 0}, {"crArrow", -2}, {"crCross", -3}, {"crIBeam", -4}, {"crDrag", -12}}};

namespace {

std::map<HWND, TWinControl*>& HandleMap() {
  // Never destroyed: the forms go at exit, after statics made later than the application object.
  static auto* map = new std::map<HWND, TWinControl*>;
  return *map;
}

TWinControl* g_creating = nullptr;     // the control whose window CreateWindowExA is making
TControl* g_captureControl = nullptr;  // a windowless control holding the capture through its parent
TControl* g_dragControl = nullptr;

// Puts a DC back as it was when a windowless child has painted on it, also when painting raised.
class SavedDc {
 public:
  explicit SavedDc(HDC dc) : dc_(dc), id_(SaveDC(dc)) {}
  ~SavedDc() { RestoreDC(dc_, id_); }
  SavedDc(const SavedDc&) = delete;
  SavedDc& operator=(const SavedDc&) = delete;

 private:
  HDC dc_;
  int id_;
};

// Binds a canvas to a DC for the duration of a paint.
class CanvasBinding {
 public:
  CanvasBinding(TCanvas* canvas, HDC dc) : canvas_(canvas) { canvas_->SetHandle(dc); }
  ~CanvasBinding() { canvas_->SetHandle(nullptr); }
  CanvasBinding(const CanvasBinding&) = delete;
  CanvasBinding& operator=(const CanvasBinding&) = delete;

 private:
  TCanvas* canvas_;
};

}  // namespace

TShiftState KeysToShiftState(WPARAM keys) {
  TShiftState s = 0;
  if (keys & MK_SHIFT) s |= ssShift;
  if (keys & MK_CONTROL) s |= ssCtrl;
  if (keys & MK_LBUTTON) s |= ssLeft;
  if (keys & MK_RBUTTON) s |= ssRight;
  if (keys & MK_MBUTTON) s |= ssMiddle;
  if (GetKeyState(VK_MENU) < 0) s |= ssAlt;
  return s;
}

TShiftState KeyDataToShiftState(LPARAM keyData) {
  TShiftState s = 0;
  if (GetKeyState(VK_SHIFT) < 0) s |= ssShift;
  if (GetKeyState(VK_CONTROL) < 0) s |= ssCtrl;
  if (keyData & 0x20000000) s |= ssAlt;
  return s;
}

TWinControl* FindControl(HWND hwnd) {
  auto it = HandleMap().find(hwnd);
  return it == HandleMap().end() ? nullptr : it->second;
}

TCustomForm* GetParentForm(const TControl* control) {
  const TControl* c = control;
  while (c && c->Parent()) c = c->Parent();
  return dynamic_cast<TCustomForm*>(const_cast<TControl*>(c));
}

TControl* GetCaptureControl() {
  TControl* result = FindControl(GetCapture());
  if (result && g_captureControl && g_captureControl->Parent() == result) result = g_captureControl;
  return result;
}

void SetCaptureControl(TControl* control) {
  ReleaseCapture();
  g_captureControl = nullptr;
  if (!control) return;
  TWinControl* window = dynamic_cast<TWinControl*>(control);
  if (!window) {
    if (!control->Parent()) return;
    g_captureControl = control;
    window = control->Parent();
  }
  SetCapture(window->Handle());
}

TControl* DragControl() { return g_dragControl; }

TControl* FindDragTarget(POINT screenPoint, bool allowDisabled) {
  HWND hwnd = WindowFromPoint(screenPoint);
  TWinControl* window = FindControl(hwnd);
  if (!window) return nullptr;
  POINT p = screenPoint;
  ScreenToClient(hwnd, &p);
  TControl* child = window->ControlAtPos(p, allowDisabled);
  return child ? child : window;
}

// ---- TControlCanvas

TControlCanvas::~TControlCanvas() { FreeHandle(); }

void TControlCanvas::FreeHandle() {
  if (!ownDc_) return;
  SetHandle(nullptr);
  ReleaseDC(dcWindow_, ownDc_);
  ownDc_ = nullptr;
  dcWindow_ = nullptr;
}

void TControlCanvas::CreateHandle() {
  TWinControl* window = dynamic_cast<TWinControl*>(control_);
  POINT offset{0, 0};
  if (!window) {
    window = control_->Parent();
    offset = POINT{control_->Left(), control_->Top()};
  }
  if (!window || !window->HandleAllocated()) return;
  dcWindow_ = window->Handle();
  ownDc_ = GetDC(dcWindow_);
  if (!ownDc_) return;
  SetViewportOrgEx(ownDc_, offset.x, offset.y, nullptr);
  IntersectClipRect(ownDc_, 0, 0, control_->Width(), control_->Height());
  SetOwnedHandle(ownDc_);
}

// ---- TControl

const TClassInfo& TControl::StaticClass() {
  static const TClassInfo info{
      "TControl",
      &TComponent::StaticClass(),
      nullptr,
      {
          props::Ord("Left", PropKind::Integer, &TControl::Left, &TControl::SetLeft),
          props::Ord("Top", PropKind::Integer, &TControl::Top, &TControl::SetTop),
          props::Ord("Width", PropKind::Integer, &TControl::Width, &TControl::SetWidth),
          props::Ord("Height", PropKind::Integer, &TControl::Height, &TControl::SetHeight),
          props::Ord("Cursor", PropKind::IntIdent, &TControl::Cursor, &TControl::SetCursor, crDefault, &kCursorIdents),
          props::Str("Hint", &TControl::Hint, &TControl::SetHint),
          props::Ord("HelpContext", PropKind::Integer, &TControl::HelpContext, &TControl::SetHelpContext, 0),
      },
      {},
      {}};
  return info;
}

PropInfo TControl::PropCaption() { return props::Str("Caption", &TControl::Caption, &TControl::SetCaption); }

PropInfo TControl::PropColor(TColor def) {
  return props::StoredIf(
      props::Ord("Color", PropKind::IntIdent, &TControl::Color, &TControl::SetColor, def, &kColorIdents),
      &TControl::IsColorStored);
}

PropInfo TControl::PropFont() { return props::Obj("Font", &TControl::Font, &TControl::IsFontStored); }
PropInfo TControl::PropEnabled() {
  return props::Ord("Enabled", PropKind::Bool, &TControl::Enabled, &TControl::SetEnabled, 1);
}
PropInfo TControl::PropVisible() {
  return props::Ord("Visible", PropKind::Bool, &TControl::Visible, &TControl::SetVisible, 1);
}

TControl::TControl(TComponent* owner) : TComponent(owner), font_(std::make_unique<TFont>()) {
  font_->OnChange = Bind<&TControl::FontChanged>(this);
}

TControl::~TControl() {
  if (g_captureControl == this) g_captureControl = nullptr;
  if (g_dragControl == this) g_dragControl = nullptr;
  TApplication::ControlDestroyed(this);
  if (parent_) parent_->RemoveControl(this);
}

void TControl::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation == TOperation::opRemove && component == popupMenu_) popupMenu_ = nullptr;
}

void TControl::SetParentComponent(TComponent* parent) {
  if (auto* window = dynamic_cast<TWinControl*>(parent)) SetParent(window);
}

void TControl::SetParent(TWinControl* parent) {
  if (parent == parent_) return;
  if (parent_) parent_->RemoveControl(this);
  if (parent) parent->InsertControl(this);
}

void TControl::SetName(const AnsiString& name) {
  bool follow = (controlStyle_ & csSetCaption) && !Loading() && Name() == text_;
  TComponent::SetName(name);
  if (follow) SetCaption(name);
}

void TControl::SetBounds(int left, int top, int width, int height) {
  if (left == left_ && top == top_ && width == width_ && height == height_) return;
  InvalidateControl(visible_, false);
  left_ = left;
  top_ = top;
  width_ = width;
  height_ = height;
  Invalidate();
}

POINT TControl::ClientOrigin() const {
  POINT p = parent_ ? parent_->ClientOrigin() : POINT{0, 0};
  return POINT{p.x + left_, p.y + top_};
}

POINT TControl::ClientToScreen(POINT p) const {
  if (auto* w = dynamic_cast<const TWinControl*>(this)) {
    if (w->HandleAllocated()) ::ClientToScreen(const_cast<TWinControl*>(w)->Handle(), &p);
    return p;
  }
  if (!parent_) return p;
  return parent_->ClientToScreen(POINT{p.x + left_, p.y + top_});
}

POINT TControl::ScreenToClient(POINT p) const {
  if (auto* w = dynamic_cast<const TWinControl*>(this)) {
    if (w->HandleAllocated()) ::ScreenToClient(const_cast<TWinControl*>(w)->Handle(), &p);
    return p;
  }
  if (!parent_) return p;
  POINT q = parent_->ScreenToClient(p);
  return POINT{q.x - left_, q.y - top_};
}

void TControl::SetVisible(bool value) {
  if (value == visible_) return;
  visible_ = value;
  Perform(CM_VISIBLECHANGED, value, 0);
}

bool TControl::Showing() const { return visible_ && (!parent_ || parent_->Showing()); }

void TControl::SetEnabled(bool value) {
  if (value == enabled_) return;
  enabled_ = value;
  Perform(CM_ENABLEDCHANGED, 0, 0);
}

void TControl::SetCaption(const AnsiString& value) {
  if (value == text_) return;
  text_ = value;
  if (auto* w = dynamic_cast<TWinControl*>(this); w && w->HandleAllocated()) SetWindowTextA(w->Handle(), text_.c_str());
  Perform(CM_TEXTCHANGED, 0, 0);
}

void TControl::SetColor(TColor value) {
  if (value == color_) return;
  color_ = value;
  parentColor_ = false;
  Perform(CM_COLORCHANGED, 0, 0);
}

void TControl::SetParentColor(bool value) {
  if (value == parentColor_) return;
  parentColor_ = value;
  if (value && parent_) Perform(CM_PARENTCOLORCHANGED, 0, 0);
}

void TControl::SetParentFont(bool value) {
  if (value == parentFont_) return;
  parentFont_ = value;
  if (value) ApplyParentFont();
}

void TControl::ApplyParentFont() {
  if (!parent_) return;
  applyingParentFont_ = true;
  font_->Assign(*parent_->Font());
  applyingParentFont_ = false;
}

void TControl::FontChanged(TObject*) {
  if (!applyingParentFont_) parentFont_ = false;
  Perform(CM_FONTCHANGED, 0, 0);
}

void TControl::SetShowHint(bool v) {
  showHint_ = v;
  parentShowHint_ = false;
}

void TControl::SetParentShowHint(bool v) {
  parentShowHint_ = v;
  if (v && parent_) showHint_ = parent_->ShowHint();
}

LRESULT TControl::Perform(UINT msg, WPARAM wp, LPARAM lp) {
  TMessage m{msg, wp, lp, 0};
  WndProc(m);
  return m.Result;
}

void TControl::InvalidateControl(bool isVisible, bool isOpaque) {
  if ((isVisible || Designing()) && parent_ && parent_->HandleAllocated()) {
    RECT r = BoundsRect();
    InvalidateRect(parent_->Handle(), &r, !(isOpaque || (parent_->ControlStyle() & csOpaque)));
  }
}

void TControl::Invalidate() { InvalidateControl(visible_, (controlStyle_ & csOpaque) != 0); }

void TControl::Update() {
  if (parent_) parent_->Update();
}

bool TControl::MouseCapture() const { return GetCaptureControl() == this; }

void TControl::SetMouseCapture(bool value) {
  if (value == MouseCapture()) return;
  SetCaptureControl(value ? this : nullptr);
}

void TControl::BeginDrag(bool) {
  g_dragControl = this;
  OnStartDrag(this);
  SetMouseCapture(true);
}

void TControl::EndDrag(bool) {
  if (g_dragControl != this) return;
  g_dragControl = nullptr;
  SetMouseCapture(false);
  OnEndDrag(this, nullptr, 0, 0);
}

bool TControl::Dragging() const { return g_dragControl == this; }

void TControl::Click() { OnClick(this); }
void TControl::DblClick() { OnDblClick(this); }
void TControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  OnMouseDown(this, button, shift, x, y);
}
void TControl::MouseMove(TShiftState shift, int x, int y) { OnMouseMove(this, shift, x, y); }
void TControl::MouseUp(TMouseButton button, TShiftState shift, int x, int y) { OnMouseUp(this, button, shift, x, y); }

void TControl::DoMouseDown(const TMessage& m, TMouseButton button, TShiftState extra) {
  if (controlStyle_ & csNoStdEvents) return;
  MouseDown(button, KeysToShiftState(m.WParam) | extra, GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam));
}

void TControl::WndProc(TMessage& m) {
  const int x = GET_X_LPARAM(m.LParam);
  const int y = GET_Y_LPARAM(m.LParam);
  // The window's own handling (a system control's) comes first, as for any message.
  if (m.Msg >= WM_MOUSEFIRST && m.Msg <= WM_MOUSELAST && !(m.Msg == WM_LBUTTONDOWN && dragMode_ == dmAutomatic))
    DefaultHandler(m);
  switch (m.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      if (dragMode_ == dmAutomatic && !Designing()) {
        BeginDrag(false);
        return;
      }
      if (controlStyle_ & csCaptureMouse) SetMouseCapture(true);
      if (m.Msg == WM_LBUTTONDBLCLK) {
        // The second press of a double-click is not a press of its own for the click rule.
        if (controlStyle_ & csDoubleClicks) DblClick();
        DoMouseDown(m, mbLeft, ssDouble);
      } else {
        if (controlStyle_ & csClickEvents) controlState_ |= csClicked;
        DoMouseDown(m, mbLeft, 0);
      }
      return;
    case WM_LBUTTONUP: {
      if (Dragging()) {
        EndDrag(true);
        return;
      }
      if (controlStyle_ & csCaptureMouse) SetMouseCapture(false);
      if (controlState_ & csClicked) {
        controlState_ &= ~csClicked;
        RECT client = ClientRect();
        if (PtInRect(&client, POINT{x, y})) Click();
      }
      if (!(controlStyle_ & csNoStdEvents)) MouseUp(mbLeft, KeysToShiftState(m.WParam), x, y);
      return;
    }
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
      DoMouseDown(m, mbRight, m.Msg == WM_RBUTTONDBLCLK ? ssDouble : 0);
      return;
    case WM_RBUTTONUP:
      if (!(controlStyle_ & csNoStdEvents)) MouseUp(mbRight, KeysToShiftState(m.WParam), x, y);
      if (popupMenu_) {
        POINT p = ClientToScreen(POINT{x, y});
        popupMenu_->PopupComponent = this;
        popupMenu_->Popup(p.x, p.y);
      }
      return;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
      DoMouseDown(m, mbMiddle, m.Msg == WM_MBUTTONDBLCLK ? ssDouble : 0);
      return;
    case WM_MBUTTONUP:
      if (!(controlStyle_ & csNoStdEvents)) MouseUp(mbMiddle, KeysToShiftState(m.WParam), x, y);
      return;
    case WM_MOUSEMOVE:
      if (!(controlStyle_ & csNoStdEvents)) MouseMove(KeysToShiftState(m.WParam), x, y);
      return;
    case CM_ENABLEDCHANGED:
    case CM_FONTCHANGED:
    case CM_COLORCHANGED:
      Invalidate();
      return;
    case CM_VISIBLECHANGED:
      InvalidateControl(true, visible_ && (controlStyle_ & csOpaque));
      return;
    case CM_PARENTFONTCHANGED:
      if (parentFont_) ApplyParentFont();
      return;
    case CM_PARENTCOLORCHANGED:
      if (parentColor_ && parent_) {
        SetColor(parent_->Color());
        parentColor_ = true;
      }
      return;
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE:
      if (parent_) parent_->Perform(m.Msg, 0, reinterpret_cast<LPARAM>(this));
      return;
    default:
      DefaultHandler(m);
  }
}

void TControl::DefaultHandler(TMessage&) {}

// ---- TGraphicControl

const TClassInfo& TGraphicControl::StaticClass() {
  static const TClassInfo info{"TGraphicControl", &TControl::StaticClass(), nullptr, {}, {}, {}};
  return info;
}

TGraphicControl::TGraphicControl(TComponent* owner) : TControl(owner) {}

void TGraphicControl::WndProc(TMessage& m) {
  if (m.Msg == WM_PAINT) {
    if (HDC dc = reinterpret_cast<HDC>(m.WParam)) {
      CanvasBinding bound(&canvas_, dc);
      Paint();
    }
    return;
  }
  TControl::WndProc(m);
}

// ---- TWinControl

const TClassInfo& TWinControl::StaticClass() {
  static const TClassInfo info{"TWinControl", &TControl::StaticClass(), nullptr, {}, {}, {}};
  return info;
}

TWinControl::TWinControl(TComponent* owner) : TControl(owner) { ColorToBrush(); }

TWinControl::~TWinControl() {
  if (TCustomForm* form = GetParentForm(this); form && form != this) form->DefocusControl(this);
  DestroyHandle();
  while (!controls_.empty()) {
    TControl* child = controls_.back();
    RemoveControl(child);
    delete child;
  }
}

void TWinControl::ColorToBrush() { brush_.SetColor(color_); }

HWND TWinControl::Handle() {
  if (!handle_) CreateWnd();
  return handle_;
}

void TWinControl::DestroyHandle() {
  if (handle_) DestroyWindow(handle_);
  handle_ = nullptr;
}

void TWinControl::CreateParams(TCreateParams& p) {
  p.caption = text_;
  p.style = WS_CHILD | WS_CLIPSIBLINGS;
  if (controlStyle_ & csAcceptsControls) {
    p.style |= WS_CLIPCHILDREN;
    p.exStyle |= WS_EX_CONTROLPARENT;
  }
  if (!enabled_) p.style |= WS_DISABLED;
  if (tabStop_) p.style |= WS_TABSTOP;
  if (visible_) p.style |= WS_VISIBLE;
  p.x = left_;
  p.y = top_;
  p.width = width_;
  p.height = height_;
  p.wndParent = parent_ ? parent_->Handle() : nullptr;
  p.windowClass.style = CS_VREDRAW | CS_HREDRAW | ((controlStyle_ & csDoubleClicks) ? CS_DBLCLKS : 0);
  p.windowClass.lpfnWndProc = &TWinControl::WindowProcedure;
  p.windowClass.hInstance = GetModuleHandleA(nullptr);
  p.windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  p.winClassName = ClassName();
}

void TWinControl::CreateWnd() {
  TCreateParams p;
  CreateParams(p);
  HINSTANCE instance = GetModuleHandleA(nullptr);
  HWND hwnd = nullptr;
  if (p.subclassOf) {
    hwnd = CreateWindowExA(p.exStyle, p.subclassOf, p.caption.c_str(), p.style, p.x, p.y, p.width, p.height,
                           p.wndParent, nullptr, instance, nullptr);
    if (!hwnd) throw EOutOfResources(msg::kWindowCreate);
    handle_ = hwnd;
    HandleMap()[hwnd] = this;
    defWndProc_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TWinControl::WindowProcedure)));
    SendMessageA(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font_->Handle()), 0);
  } else {
    WNDCLASSA existing{};
    if (!GetClassInfoA(instance, p.winClassName.c_str(), &existing)) {
      WNDCLASSA wc = p.windowClass;
      wc.lpszClassName = p.winClassName.c_str();
      if (!RegisterClassA(&wc)) throw EOutOfResources(msg::kWindowCreate);
    }
    defWndProc_ = &DefWindowProcA;
    g_creating = this;
    hwnd = CreateWindowExA(p.exStyle, p.winClassName.c_str(), p.caption.c_str(), p.style, p.x, p.y, p.width, p.height,
                           p.wndParent, nullptr, instance, nullptr);
    g_creating = nullptr;
    if (!hwnd) throw EOutOfResources(msg::kWindowCreate);
  }
  if (parent_) SetWindowPos(hwnd, parent_->PrecedingWindow(this), 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  for (TControl* c : controls_)
    if (auto* w = dynamic_cast<TWinControl*>(c)) w->HandleNeeded();
}

HWND TWinControl::PrecedingWindow(TWinControl* control) const {
  auto it = std::find(controls_.begin(), controls_.end(), control);
  if (it != controls_.end())
    for (++it; it != controls_.end(); ++it)
      if (auto* w = dynamic_cast<TWinControl*>(*it); w && w->handle_) return w->handle_;
  return HWND_TOP;
}

LRESULT CALLBACK TWinControl::WindowProcedure(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  TWinControl* control = FindControl(hwnd);
  if (!control && g_creating) {
    control = g_creating;
    control->handle_ = hwnd;
    HandleMap()[hwnd] = control;
  }
  if (!control) return DefWindowProcA(hwnd, msg, wp, lp);
  TMessage m{msg, wp, lp, 0};
  control->MainWndProc(m);
  return m.Result;
}

void TWinControl::MainWndProc(TMessage& m) {
  try {
    WndProc(m);
  } catch (...) {
    Application->HandleException(this);
  }
}

void TWinControl::DefaultHandler(TMessage& m) {
  if (handle_)
    m.Result = CallWindowProcA(defWndProc_ ? defWndProc_ : &DefWindowProcA, handle_, m.Msg, m.WParam, m.LParam);
}

void TWinControl::InsertControl(TControl* control) {
  controls_.push_back(control);
  control->parent_ = this;
  if (auto* w = dynamic_cast<TWinControl*>(control)) {
    tabList_.push_back(w);
    if (handle_ && !Loading()) w->HandleNeeded();
  }
  if (control->parentFont_) control->ApplyParentFont();
  if (control->parentColor_) {
    control->SetColor(color_);
    control->parentColor_ = true;
  }
  control->Invalidate();
}

void TWinControl::RemoveControl(TControl* control) {
  if (control == this) return;
  control->Invalidate();
  controls_.erase(std::remove(controls_.begin(), controls_.end(), control), controls_.end());
  tabList_.erase(std::remove(tabList_.begin(), tabList_.end(), control), tabList_.end());
  control->parent_ = nullptr;
}

void TWinControl::SetParent(TWinControl* parent) {
  if (parent == parent_) return;
  if (!parent) DestroyHandle();
  TControl::SetParent(parent);
}

TControl* TWinControl::ControlAtPos(POINT p, bool allowDisabled) const {
  for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
    TControl* c = *it;
    if (dynamic_cast<TWinControl*>(c)) continue;
    if (!c->Visible() || (!allowDisabled && !c->Enabled())) continue;
    RECT r = c->BoundsRect();
    if (PtInRect(&r, p)) return c;
  }
  return nullptr;
}

bool TWinControl::ContainsControl(const TControl* control) const {
  for (const TControl* c = control; c; c = c->Parent())
    if (c == this) return true;
  return false;
}

int TWinControl::TabOrder() const {
  if (!parent_) return -1;
  auto& list = parent_->tabList_;
  auto it = std::find(list.begin(), list.end(), this);
  return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

void TWinControl::SetTabOrder(int order) {
  if (!parent_) return;
  auto& list = parent_->tabList_;
  list.erase(std::remove(list.begin(), list.end(), this), list.end());
  std::size_t at = order < 0 ? list.size() : std::min(static_cast<std::size_t>(order), list.size());
  list.insert(list.begin() + static_cast<std::ptrdiff_t>(at), this);
}

void TWinControl::SetTabStop(bool value) {
  if (value == tabStop_) return;
  tabStop_ = value;
  if (handle_) {
    LONG_PTR style = GetWindowLongPtrA(handle_, GWL_STYLE);
    SetWindowLongPtrA(handle_, GWL_STYLE, value ? (style | WS_TABSTOP) : (style & ~static_cast<LONG_PTR>(WS_TABSTOP)));
  }
}

bool TWinControl::Focused() const { return handle_ && GetFocus() == handle_; }

bool TWinControl::CanFocus() const {
  for (const TControl* c = this; c; c = c->Parent())
    if (!c->Visible() || !c->Enabled()) return false;
  return true;
}

void TWinControl::SetFocus() {
  if (TCustomForm* form = GetParentForm(this); form && form != this)
    form->FocusControl(this);
  else
    ::SetFocus(Handle());
}

void TWinControl::GetTabOrderList(std::vector<TWinControl*>& list) const {
  for (TWinControl* w : tabList_) {
    list.push_back(w);
    w->GetTabOrderList(list);
  }
}

TWinControl* TWinControl::FindNextControl(TWinControl* current, bool goForward, bool checkTabStop) const {
  std::vector<TWinControl*> list;
  GetTabOrderList(list);
  if (list.empty()) return nullptr;
  auto it = std::find(list.begin(), list.end(), current);
  std::size_t start =
      it == list.end() ? (goForward ? list.size() - 1 : 0) : static_cast<std::size_t>(it - list.begin());
  std::size_t i = start;
  for (std::size_t n = 0; n < list.size(); ++n) {
    i = goForward ? (i + 1) % list.size() : (i + list.size() - 1) % list.size();
    TWinControl* w = list[i];
    if (w == current) break;
    if ((!checkTabStop || w->tabStop_) && w->CanFocus() && w->parent_ && w->parent_->CanFocus()) return w;
  }
  return nullptr;
}

RECT TWinControl::ClientRect() const {
  RECT r{0, 0, width_, height_};
  if (handle_) GetClientRect(handle_, &r);
  return r;
}

void TWinControl::SetBounds(int left, int top, int width, int height) {
  if (left == left_ && top == top_ && width == width_ && height == height_) return;
  left_ = left;
  top_ = top;
  width_ = width;
  height_ = height;
  if (handle_) SetWindowPos(handle_, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void TWinControl::SetVisible(bool value) {
  if (value == visible_) return;
  visible_ = value;
  UpdateShowing();
}

void TWinControl::UpdateShowing() {
  if (!handle_) return;
  if (!visible_) {
    if (TCustomForm* form = GetParentForm(this); form && form != this) form->DefocusControl(this);
  }
  ShowWindow(handle_, visible_ ? SW_SHOWNA : SW_HIDE);
}

void TWinControl::Invalidate() {
  if (handle_) InvalidateRect(handle_, nullptr, !(controlStyle_ & csOpaque));
}

void TWinControl::Update() {
  if (handle_) UpdateWindow(handle_);
}

void TWinControl::GetChildren(std::vector<TComponent*>& children, TComponent* root) {
  for (TControl* c : controls_)
    if (!dynamic_cast<TWinControl*>(c) && c->Owner() == root) children.push_back(c);
  for (TControl* c : controls_)
    if (dynamic_cast<TWinControl*>(c) && c->Owner() == root) children.push_back(c);
}

void TWinControl::Loaded() { TControl::Loaded(); }

void TWinControl::PaintHandler() {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(handle_, &ps);
  struct End {
    HWND hwnd;
    PAINTSTRUCT* ps;
    ~End() { EndPaint(hwnd, ps); }
  } end{handle_, &ps};
  PaintWindow(dc);
  PaintControls(dc);
}

void TWinControl::PaintControls(HDC dc) {
  RECT clip{};
  GetClipBox(dc, &clip);
  for (TControl* c : controls_) {
    if (dynamic_cast<TWinControl*>(c) || !(c->Visible() || c->Designing())) continue;
    RECT bounds = c->BoundsRect(), overlap{};
    if (!IntersectRect(&overlap, &bounds, &clip)) continue;
    SavedDc saved(dc);
    POINT org{};
    GetViewportOrgEx(dc, &org);
    SetViewportOrgEx(dc, org.x + c->Left(), org.y + c->Top(), nullptr);
    IntersectClipRect(dc, 0, 0, c->Width(), c->Height());
    c->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
  }
}

void TWinControl::DoEnter() { OnEnter(this); }
void TWinControl::DoExit() { OnExit(this); }
void TWinControl::KeyDown(WORD& key, TShiftState shift) { OnKeyDown(this, key, shift); }
void TWinControl::KeyUp(WORD& key, TShiftState shift) { OnKeyUp(this, key, shift); }
void TWinControl::KeyPress(char& key) { OnKeyPress(this, key); }

bool TWinControl::IsControlMouseMsg(TMessage& m) {
  TControl* target = nullptr;
  if (GetCapture() == handle_) {
    if (g_captureControl && g_captureControl->Parent() == this) target = g_captureControl;
  } else {
    target = ControlAtPos(POINT{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)}, false);
  }
  if (!target) return false;
  LPARAM pos = MAKELPARAM(GET_X_LPARAM(m.LParam) - target->Left(), GET_Y_LPARAM(m.LParam) - target->Top());
  m.Result = target->Perform(m.Msg, m.WParam, pos);
  return true;
}

void TWinControl::WndProc(TMessage& m) {
  switch (m.Msg) {
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
    case WM_MBUTTONDBLCLK:
      if (IsControlMouseMsg(m)) return;
      break;
    case WM_PAINT:
      PaintHandler();
      return;
    case WM_ERASEBKGND: {
      RECT r;
      GetClientRect(handle_, &r);
      ::FillRect(reinterpret_cast<HDC>(m.WParam), &r, brush_.Handle());
      m.Result = 1;
      return;
    }
    case WM_SETFOCUS:
      DefaultHandler(m);
      if (TCustomForm* form = GetParentForm(this); form && form != this) form->SetFocusedControl(this);
      DoEnter();
      return;
    case WM_KILLFOCUS:
      DefaultHandler(m);
      DoExit();
      return;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: {
      TCustomForm* form = GetParentForm(this);
      if (m.Msg == WM_KEYDOWN && form && form != this) {
        UINT mask = m.WParam == VK_TAB                             ? DLGC_WANTTAB
                    : (m.WParam >= VK_LEFT && m.WParam <= VK_DOWN) ? DLGC_WANTARROWS
                                                                   : 0;
        if (mask && !(Perform(WM_GETDLGCODE, 0, 0) & (mask | DLGC_WANTALLKEYS)) &&
            form->Perform(CM_DIALOGKEY, m.WParam, m.LParam) != 0)
          return;
      }
      WORD key = static_cast<WORD>(m.WParam);
      KeyDown(key, KeyDataToShiftState(m.LParam));
      if (key == 0) return;
      m.WParam = key;
      DefaultHandler(m);
      return;
    }
    case WM_KEYUP:
    case WM_SYSKEYUP: {
      WORD key = static_cast<WORD>(m.WParam);
      KeyUp(key, KeyDataToShiftState(m.LParam));
      if (key == 0) return;
      m.WParam = key;
      DefaultHandler(m);
      return;
    }
    case WM_CHAR: {
      char key = static_cast<char>(m.WParam);
      KeyPress(key);
      if (key == 0) return;
      TCustomForm* form = GetParentForm(this);
      if (form && !(Perform(WM_GETDLGCODE, 0, 0) & DLGC_WANTCHARS) &&
          form->Perform(CM_DIALOGCHAR, static_cast<unsigned char>(key), m.LParam) != 0)
        return;
      m.WParam = static_cast<unsigned char>(key);
      DefaultHandler(m);
      return;
    }
    case WM_SYSCHAR: {
      TCustomForm* form = GetParentForm(this);
      if (form && m.WParam != ' ' && form->Perform(CM_DIALOGCHAR, m.WParam, m.LParam) != 0) return;
      DefaultHandler(m);
      return;
    }
    case CM_DIALOGCHAR:
      for (TControl* c : std::vector<TControl*>(controls_)) {
        m.Result = c->Perform(CM_DIALOGCHAR, m.WParam, m.LParam);
        if (m.Result != 0) return;
      }
      return;
    case WM_COMMAND:
      if (TWinControl* child = FindControl(reinterpret_cast<HWND>(m.LParam)); child && child != this) {
        m.Result = child->Perform(CN_COMMAND, m.WParam, m.LParam);
        return;
      }
      DefaultHandler(m);
      return;
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSTATIC:
      if (TWinControl* child = FindControl(reinterpret_cast<HWND>(m.LParam)); child && child != this) {
        m.Result = child->Perform(CN_BASE + m.Msg, m.WParam, m.LParam);
        return;
      }
      DefaultHandler(m);
      return;
    case CN_BASE + WM_CTLCOLORBTN:
    case CN_BASE + WM_CTLCOLORSTATIC: {
      HDC dc = reinterpret_cast<HDC>(m.WParam);
      SetTextColor(dc, ColorToRGB(font_->Color()));
      SetBkColor(dc, ColorToRGB(color_));
      m.Result = reinterpret_cast<LRESULT>(brush_.Handle());
      return;
    }
    case WM_CAPTURECHANGED:
      if (g_captureControl && g_captureControl->Parent() == this && reinterpret_cast<HWND>(m.LParam) != handle_)
        g_captureControl = nullptr;
      DefaultHandler(m);
      return;
    case WM_NCDESTROY:
      DefaultHandler(m);
      HandleMap().erase(handle_);
      handle_ = nullptr;
      return;
    case CM_ENABLEDCHANGED:
      if (!enabled_) {
        if (TCustomForm* form = GetParentForm(this); form && form != this) form->DefocusControl(this);
      }
      if (handle_) EnableWindow(handle_, enabled_);
      break;
    case CM_COLORCHANGED:
      ColorToBrush();
      for (TControl* c : controls_) c->Perform(CM_PARENTCOLORCHANGED, 0, 0);
      break;
    case CM_FONTCHANGED:
      if (handle_ && defWndProc_ != &DefWindowProcA)
        SendMessageA(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(font_->Handle()), 1);
      for (TControl* c : controls_) c->Perform(CM_PARENTFONTCHANGED, 0, 0);
      break;
    case CM_VISIBLECHANGED:
      return;
    default:
      break;
  }
  TControl::WndProc(m);
}

// ---- TCustomControl

const TClassInfo& TCustomControl::StaticClass() {
  static const TClassInfo info{"TCustomControl", &TWinControl::StaticClass(), nullptr, {}, {}, {}};
  return info;
}

void TCustomControl::PaintWindow(HDC dc) {
  CanvasBinding bound(&canvas_, dc);
  Paint();
}
