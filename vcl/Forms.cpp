// Forms, the application object, its message loop, idle mouse tracking and the exception display.
#include "vcl/Forms.h"

#include <cstdlib>

#include "vcl/Streaming.h"

const IdentTable kBorderIconIdents{{{"biSystemMenu", 0}, {"biMinimize", 1}, {"biMaximize", 2}, {"biHelp", 3}}};
const IdentTable kPositionIdents{{{"poDesigned", 0},
                                  {"poDefault", 1},
                                  {"poDefaultPosOnly", 2},
                                  {"poDefaultSizeOnly", 3},
                                  {"poScreenCenter", 4},
                                  {"poDesktopCenter", 5}}};

TScreen Screen;
TApplicationRef Application;

// ---- TControlScrollBar

const TClassInfo& TControlScrollBar::StaticClass() {
  static const TClassInfo info{
      "TControlScrollBar",
      &TPersistent::StaticClass(),
      nullptr,
      {
          props::Ord("Range", PropKind::Integer, &TControlScrollBar::Range, &TControlScrollBar::SetRange, 0),
          props::Ord("Visible", PropKind::Bool, &TControlScrollBar::Visible, &TControlScrollBar::SetVisible, 1),
      },
      {},
      {}};
  return info;
}

// ---- TCustomForm

const TClassInfo& TCustomForm::StaticClass() {
  using F = TCustomForm;
  static const TClassInfo info{
      "TCustomForm",
      &TWinControl::StaticClass(),
      nullptr,
      {
          props::StoredIf(props::Ord("Width", PropKind::Integer, &F::Width, &F::SetWidth), &F::IsSizeStored),
          props::StoredIf(props::Ord("Height", PropKind::Integer, &F::Height, &F::SetHeight), &F::IsSizeStored),
          props::Comp("ActiveControl", &F::ActiveControl, &F::SetActiveControl),
          props::Ord("BorderIcons", PropKind::Set, &F::BorderIcons, &F::SetBorderIcons,
                     biSystemMenu | biMinimize | biMaximize, &kBorderIconIdents),
          props::Ord("BorderStyle", PropKind::Enum, &F::BorderStyle, &F::SetBorderStyle, bsSizeable,
                     &kBorderStyleIdents),
          TControl::PropCaption(),
          props::StoredIf(props::Ord("ClientHeight", PropKind::Integer, &F::GetClientHeight, &F::SetClientHeight),
                          &F::IsClientSizeStored),
          props::StoredIf(props::Ord("ClientWidth", PropKind::Integer, &F::GetClientWidth, &F::SetClientWidth),
                          &F::IsClientSizeStored),
          TControl::PropColor(clBtnFace),
          TControl::PropEnabled(),
          TControl::PropFont(),
          props::Obj("HorzScrollBar", &F::HorzScrollBar),
          props::Ord("KeyPreview", PropKind::Bool, &F::KeyPreview, &F::SetKeyPreview, 0),
          props::Ord("Position", PropKind::Enum, &F::Position, &F::SetPosition, poDesigned, &kPositionIdents),
          props::Ord("Scaled", PropKind::Bool, &F::Scaled, &F::SetScaled, 1),
          props::Obj("VertScrollBar", &F::VertScrollBar),
          props::Ord("Visible", PropKind::Bool, &F::Visible, &F::SetVisible, 0),
          props::Event("OnActivate", &F::OnActivate),
          props::Event("OnClick", &F::OnClick),
          props::Event("OnCreate", &F::OnCreate),
          props::Event("OnDeactivate", &F::OnDeactivate),
          props::Event("OnDestroy", &F::OnDestroy),
          props::Event("OnHide", &F::OnHide),
          props::Event("OnKeyDown", &F::OnKeyDown),
          props::Event("OnKeyPress", &F::OnKeyPress),
          props::Event("OnKeyUp", &F::OnKeyUp),
          props::Event("OnMouseDown", &F::OnMouseDown),
          props::Event("OnMouseMove", &F::OnMouseMove),
          props::Event("OnMouseUp", &F::OnMouseUp),
          props::Event("OnShow", &F::OnShow),
          props::Ord("PixelsPerInch", PropKind::Integer, &F::PixelsPerInch, &F::SetPixelsPerInch),
          props::Ord("TextHeight", PropKind::Integer, &F::TextHeight, &F::SetTextHeight),
      },
      {},
      {}};
  return info;
}

const TClassInfo& TForm::StaticClass() {
  static const TClassInfo info{"TForm", &TCustomForm::StaticClass(), nullptr, {}, {}, {}};
  return info;
}

TCustomForm::TCustomForm(TComponent* owner) : TWinControl(owner) {
  controlStyle_ = csAcceptsControls | csCaptureMouse | csClickEvents | csSetCaption | csDoubleClicks;
  visible_ = false;
  parentFont_ = false;
  parentColor_ = false;
  left_ = 0;
  top_ = 0;
  width_ = 320;
  height_ = 240;
  SetColor(clBtnFace);
}

TCustomForm::~TCustomForm() {
  if (!(ComponentState() & csDestroying)) OnDestroy(this);
}

void TCustomForm::InitInheritedComponent(const TClassInfo& cls) {
  ReadComponentResource(this, cls);
  OnCreate(this);
}

void TCustomForm::Loaded() {
  TWinControl::Loaded();
  if (pendingClientWidth_ >= 0) SetClientWidth(pendingClientWidth_);
  if (pendingClientHeight_ >= 0) SetClientHeight(pendingClientHeight_);
  pendingClientWidth_ = pendingClientHeight_ = -1;
}

SIZE TCustomForm::FrameSize() const {
  TCreateParams p;
  const_cast<TCustomForm*>(this)->CreateParams(p);
  RECT r{0, 0, 0, 0};
  AdjustWindowRectEx(&r, p.style, FALSE, p.exStyle);
  return SIZE{r.right - r.left, r.bottom - r.top};
}

RECT TCustomForm::ClientRect() const {
  if (handle_) return TWinControl::ClientRect();
  SIZE frame = FrameSize();
  return RECT{0, 0, width_ - frame.cx, height_ - frame.cy};
}

void TCustomForm::SetClientWidth(int v) {
  clientSizeStored_ = true;
  if (Loading()) {
    pendingClientWidth_ = v;
    return;
  }
  SetWidth(v + (width_ - ClientRect().right));
}

void TCustomForm::SetClientHeight(int v) {
  clientSizeStored_ = true;
  if (Loading()) {
    pendingClientHeight_ = v;
    return;
  }
  SetHeight(v + (height_ - ClientRect().bottom));
}

void TCustomForm::SetBorderStyle(TFormBorderStyle v) {
  if (v == borderStyle_) return;
  borderStyle_ = v;
  if (handle_) {
    TCreateParams p;
    CreateParams(p);
    SetWindowLongPtrA(handle_, GWL_STYLE, static_cast<LONG_PTR>(p.style));
    SetWindowLongPtrA(handle_, GWL_EXSTYLE, static_cast<LONG_PTR>(p.exStyle));
    SetWindowPos(handle_, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
  }
}

void TCustomForm::SetBorderIcons(TBorderIcons v) {
  if (v == borderIcons_) return;
  borderIcons_ = v;
  if (handle_) {
    TCreateParams p;
    CreateParams(p);
    SetWindowLongPtrA(handle_, GWL_STYLE, static_cast<LONG_PTR>(p.style));
  }
}

void TCustomForm::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  p.style &= ~static_cast<DWORD>(WS_CHILD | WS_GROUP | WS_TABSTOP | WS_VISIBLE);
  p.exStyle &= ~static_cast<DWORD>(WS_EX_CONTROLPARENT);
  p.wndParent = Application->Handle();
  switch (borderStyle_) {
    case bsNone:
      p.style |= WS_POPUP;
      break;
    case bsSingle:
    case bsToolWindow:
      p.style |= WS_CAPTION | WS_BORDER;
      break;
    case bsSizeable:
    case bsSizeToolWin:
      p.style |= WS_CAPTION | WS_THICKFRAME;
      break;
    case bsDialog:
      p.style |= WS_POPUP | WS_CAPTION;
      p.exStyle |= WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE;
      break;
  }
  if (borderStyle_ != bsNone && (borderIcons_ & biSystemMenu)) {
    p.style |= WS_SYSMENU;
    if (borderStyle_ == bsSingle || borderStyle_ == bsSizeable) {
      if (borderIcons_ & biMinimize) p.style |= WS_MINIMIZEBOX;
      if (borderIcons_ & biMaximize) p.style |= WS_MAXIMIZEBOX;
    }
  }
  if (borderStyle_ == bsToolWindow || borderStyle_ == bsSizeToolWin) p.exStyle |= WS_EX_TOOLWINDOW;
  p.windowClass.hIcon = Application->Icon();
}

void TCustomForm::DoShow() { OnShow(this); }

void TCustomForm::SetVisible(bool value) {
  if (value == visible_) return;
  visible_ = value;
  if (Loading()) return;
  if (!value) {
    if (handle_) ShowWindow(handle_, SW_HIDE);
    OnHide(this);
    return;
  }
  HandleNeeded();
  try {
    DoShow();
  } catch (...) {
    Application->HandleException(this);
  }
  if (position_ == poScreenCenter || position_ == poDesktopCenter) {
    int x = (Screen->Width() - width_) / 2;
    int y = (Screen->Height() - height_) / 2;
    SetBounds(x < 0 ? 0 : x, y < 0 ? 0 : y, width_, height_);
  }
  ShowWindow(handle_, SW_SHOWNORMAL);
}

void TCustomForm::Close() {
  if (Application->MainForm() == this)
    Application->Terminate();
  else
    SetVisible(false);
}

void TCustomForm::GetChildren(std::vector<TComponent*>& children, TComponent* root) {
  TWinControl::GetChildren(children, root);
  if (root != this) return;
  for (int i = 0; i < ComponentCount(); ++i)
    if (!Components(i)->HasParent()) children.push_back(Components(i));
}

void TCustomForm::SetActiveControl(TWinControl* control) {
  if (control == activeControl_) return;
  activeControl_ = control;
  if (!Loading() && control && handle_ && IsWindowVisible(handle_) && control->CanFocus())
    ::SetFocus(control->Handle());
}

void TCustomForm::FocusControl(TWinControl* control) {
  if (!control->CanFocus()) throw EInvalidOperation(msg::kCannotFocus);
  activeControl_ = control;
  ::SetFocus(control->Handle());
}

void TCustomForm::SetFocusedControl(TWinControl* control) { activeControl_ = control; }

void TCustomForm::DefocusControl(TWinControl* control) {
  HWND focus = GetFocus();
  bool holdsFocus = false;
  for (TWinControl* w = FindControl(focus); w; w = w->Parent())
    if (w == control) holdsFocus = true;
  if (activeControl_ && control->ContainsControl(activeControl_)) activeControl_ = nullptr;
  if (holdsFocus && handle_) ::SetFocus(handle_);
}

void TCustomForm::SelectNext(TWinControl* current, bool goForward, bool checkTabStop) {
  if (TWinControl* next = FindNextControl(current, goForward, checkTabStop)) FocusControl(next);
}

void TCustomForm::WndProc(TMessage& m) {
  switch (m.Msg) {
    case WM_CLOSE:
      Close();
      return;
    case WM_ACTIVATE:
      if (LOWORD(m.WParam) != WA_INACTIVE) {
        if (!activeControl_) activeControl_ = FindNextControl(nullptr, true, true);
        if (activeControl_ && activeControl_->CanFocus()) {
          ::SetFocus(activeControl_->Handle());
        } else {
          DefaultHandler(m);
        }
        OnActivate(this);
        return;
      }
      OnDeactivate(this);
      break;
    case WM_SETFOCUS:
      if (activeControl_ && activeControl_ != this && activeControl_->CanFocus()) {
        ::SetFocus(activeControl_->Handle());
        return;
      }
      break;
    case CM_DIALOGKEY:
      if (m.WParam == VK_TAB) {
        SelectNext(activeControl_, GetKeyState(VK_SHIFT) >= 0, true);
        m.Result = 1;
        return;
      }
      if (m.WParam >= VK_LEFT && m.WParam <= VK_DOWN && activeControl_) {
        SelectNext(activeControl_, m.WParam == VK_RIGHT || m.WParam == VK_DOWN, false);
        m.Result = 1;
        return;
      }
      m.Result = 0;
      return;
    case WM_WINDOWPOSCHANGED:
      DefaultHandler(m);
      if (handle_) {
        RECT r;
        GetWindowRect(handle_, &r);
        left_ = r.left;
        top_ = r.top;
        width_ = r.right - r.left;
        height_ = r.bottom - r.top;
      }
      return;
    default:
      break;
  }
  TWinControl::WndProc(m);
}

// ---- TApplication

const TClassInfo& TApplication::StaticClass() {
  static const TClassInfo info{"TApplication", &TComponent::StaticClass(), nullptr, {}, {}, {}};
  return info;
}

TApplication::TApplication(TComponent* owner) : TComponent(owner) {
  HINSTANCE instance = GetModuleHandleA(nullptr);
  icon_ = LoadIconA(instance, "MAINICON");
  if (!icon_) icon_ = LoadIconA(nullptr, IDI_APPLICATION);
  // The default title: the program's file name without its extension.
  AnsiString name = ExtractFileName(ExeName());
  title_ = name.SubString(0, name.View().find_last_of('.'));
  WNDCLASSA wc{};
  wc.lpfnWndProc = &TApplication::WindowProcedure;
  wc.hInstance = instance;
  wc.hIcon = icon_;
  wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  wc.lpszClassName = "TApplication";
  WNDCLASSA existing{};
  if (!GetClassInfoA(instance, wc.lpszClassName, &existing)) RegisterClassA(&wc);
  handle_ = CreateWindowExA(
      0, wc.lpszClassName, title_.c_str(), WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX,
      GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN) / 2, 0, 0, nullptr, nullptr, instance, nullptr);
}

TApplication::~TApplication() {
  while (ComponentCount() > 0) {
    TComponent* last = Components(ComponentCount() - 1);
    RemoveComponent(last);
    delete last;
  }
  if (handle_) DestroyWindow(handle_);
}

LRESULT CALLBACK TApplication::WindowProcedure(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_CLOSE && Application.Exists()) {
    if (TCustomForm* main = Application->MainForm()) main->Close();
    return 0;
  }
  return DefWindowProcA(hwnd, msg, wp, lp);
}

void (*InitProc)() = nullptr;

void TApplication::Initialize() {
  if (InitProc) InitProc();
}

void TApplication::SetTitle(const AnsiString& title) {
  title_ = title;
  if (handle_) SetWindowTextA(handle_, title_.c_str());
}

AnsiString TApplication::ExeName() const {
  char path[MAX_PATH + 1] = {};
  DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
  return AnsiString(path, n > MAX_PATH ? 0 : n);
}

void TApplication::AddForm(TCustomForm* form) {
  if (!mainForm_) {
    mainForm_ = form;
    form->HandleNeeded();
  }
}

void TApplication::Run() {
  if (mainForm_) mainForm_->SetVisible(true);
  while (!terminated_) {
    try {
      HandleMessage();
    } catch (const Exception&) {
      HandleException(this);
    }
  }
}

bool TApplication::ProcessMessage() {
  MSG m;
  if (!PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) return false;
  if (m.message == WM_QUIT) {
    terminated_ = true;
    return true;
  }
  TranslateMessage(&m);
  DispatchMessageA(&m);
  return true;
}

void TApplication::HandleMessage() {
  if (!ProcessMessage()) Idle();
}

void TApplication::ProcessMessages() {
  while (ProcessMessage()) {
  }
}

void TApplication::Idle() {
  DoMouseIdle();
  OnIdle(this);
  WaitMessage();
}

void TApplication::Terminate() { PostQuitMessage(0); }

void TApplication::DoMouseIdle() {
  POINT p;
  GetCursorPos(&p);
  TControl* target = FindDragTarget(p, false);
  TControl* capture = GetCaptureControl();
  if (mouseControl_ == target) return;
  // While a control holds the capture, only it hears of the mouse coming and going.
  if ((mouseControl_ && !capture) || (capture && mouseControl_ == capture)) mouseControl_->Perform(CM_MOUSELEAVE, 0, 0);
  mouseControl_ = target;
  if ((mouseControl_ && !capture) || (capture && mouseControl_ == capture)) mouseControl_->Perform(CM_MOUSEENTER, 0, 0);
}

void TApplication::ControlDestroyed(TControl* control) {
  if (Application.Exists() && Application->mouseControl_ == control) Application->mouseControl_ = nullptr;
}

void TApplication::ShowException(const Exception& e) {
  AnsiString text = e.Message() + ".";
  MessageBoxA(handle_, text.c_str(), title_.c_str(), MB_OK | MB_ICONSTOP);
}

void TApplication::HandleException(TObject*) {
  try {
    throw;
  } catch (const Exception& e) {
    ShowException(e);
  } catch (const std::exception& e) {
    ShowException(Exception(e.what()));
  }
}

// ---- The application object

namespace {
TApplication* g_application = nullptr;
bool g_exitHookSet = false;
void DestroyApplicationAtExit() { Application.Reset(); }
}  // namespace

TApplication* TApplicationRef::Get() const {
  if (!g_application) {
    g_application = new TApplication(nullptr);
    // Registered after the platform is up, so the forms go before it does.
    if (!g_exitHookSet) {
      g_exitHookSet = true;
      std::atexit(&DestroyApplicationAtExit);
    }
  }
  return g_application;
}

bool TApplicationRef::Exists() const { return g_application != nullptr; }

void TApplicationRef::Reset() {
  TApplication* app = g_application;
  if (!app) return;
  delete app;
  g_application = nullptr;
}
