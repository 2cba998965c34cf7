// The timer and the panel.
#include "vcl/ExtCtrls.h"

#include <map>

#include "vcl/Forms.h"

const IdentTable kBevelCutIdents{{{"bvNone", 0}, {"bvLowered", 1}, {"bvRaised", 2}, {"bvSpace", 3}}};

namespace {
std::map<HWND, TTimer*>& TimerWindows() {
  // Never destroyed: the forms and their timers go at exit, after statics made later than the application.
  static auto* map = new std::map<HWND, TTimer*>;
  return *map;
}
constexpr UINT_PTR kTimerId = 1;
}  // namespace

// ---- TTimer

const TClassInfo& TTimer::StaticClass() {
  using T = TTimer;
  static const TClassInfo info{
      "TTimer",
      &TComponent::StaticClass(),
      [](TComponent* owner) -> TComponent* { return new TTimer(owner); },
      {
          props::Ord("Enabled", PropKind::Bool, &T::Enabled, &T::SetEnabled, 1),
          props::Ord("Interval", PropKind::Integer, &T::Interval, &T::SetInterval, 1000),
          [] {
            PropInfo p;
            p.name = "OnTimer";
            p.kind = PropKind::Event;
            p.eventType = &typeid(TNotifyEvent);
            p.getEvent = [](TObject* o) {
              TNotifyEvent e = static_cast<T*>(o)->OnTimer();
              return std::pair<TObject*, AnyCode>(e.Data(), reinterpret_cast<AnyCode>(e.GetCode()));
            };
            p.setEvent = [](TObject* o, TObject* data, AnyCode code) {
              static_cast<T*>(o)->SetOnTimer(TNotifyEvent(data, reinterpret_cast<TNotifyEvent::Code>(code)));
            };
            return p;
          }(),
      },
      {},
      {}};
  return info;
}
static ClassRegistration timerRegistration(TTimer::StaticClass());

TTimer::TTimer(TComponent* owner) : TComponent(owner) {
  HINSTANCE instance = GetModuleHandleA(nullptr);
  WNDCLASSA wc{};
  if (!GetClassInfoA(instance, "TTimerWindow", &wc)) {
    wc = WNDCLASSA{};
    wc.lpfnWndProc = &TTimer::WindowProcedure;
    wc.hInstance = instance;
    wc.lpszClassName = "TTimerWindow";
    RegisterClassA(&wc);
  }
  window_ = CreateWindowExA(0, "TTimerWindow", "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, instance, nullptr);
  if (!window_) throw EOutOfResources(msg::kWindowCreate);
  TimerWindows()[window_] = this;
}

TTimer::~TTimer() {
  KillTimer(window_, kTimerId);
  TimerWindows().erase(window_);
  DestroyWindow(window_);
}

void TTimer::UpdateTimer() {
  KillTimer(window_, kTimerId);
  if (interval_ != 0 && enabled_ && onTimer_) {
    if (SetTimer(window_, kTimerId, interval_, nullptr) == 0) throw EOutOfResources(msg::kNoTimers);
  }
}

void TTimer::SetEnabled(bool v) {
  if (v == enabled_) return;
  enabled_ = v;
  UpdateTimer();
}

void TTimer::SetInterval(unsigned v) {
  if (v == interval_) return;
  interval_ = v;
  UpdateTimer();
}

void TTimer::SetOnTimer(TNotifyEvent e) {
  onTimer_ = e;
  UpdateTimer();
}

void TTimer::Timer() { onTimer_(this); }

LRESULT CALLBACK TTimer::WindowProcedure(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_TIMER) {
    auto it = TimerWindows().find(hwnd);
    if (it != TimerWindows().end()) {
      try {
        // The handler may free the timer: nothing of it is touched afterwards.
        it->second->Timer();
      } catch (...) {
        Application->HandleException(nullptr);
      }
    }
    return 0;
  }
  return DefWindowProcA(hwnd, msg, wp, lp);
}

// ---- TCustomPanel

const TClassInfo& TCustomPanel::StaticClass() {
  static const TClassInfo info{"TCustomPanel", &TCustomControl::StaticClass(), nullptr, {}, {}, {}};
  return info;
}

const TClassInfo& TPanel::StaticClass() {
  using P = TPanel;
  static const TClassInfo info{
      "TPanel",
      &TCustomPanel::StaticClass(),
      [](TComponent* owner) -> TComponent* { return new TPanel(owner); },
      {
          props::Ord("Alignment", PropKind::Enum, &P::Alignment, &P::SetAlignment, taCenter, &kAlignmentIdents),
          props::Ord("BevelInner", PropKind::Enum, &P::BevelInner, &P::SetBevelInner, bvNone, &kBevelCutIdents),
          props::Ord("BevelOuter", PropKind::Enum, &P::BevelOuter, &P::SetBevelOuter, bvRaised, &kBevelCutIdents),
          props::Ord("BevelWidth", PropKind::Integer, &P::BevelWidth, &P::SetBevelWidth, 1),
          props::Ord("BorderStyle", PropKind::Enum, &P::BorderStyle, &P::SetBorderStyle, bsNone, &kBorderStyleIdents),
          TControl::PropCaption(),
          TControl::PropColor(clBtnFace),
          TControl::PropEnabled(),
          TControl::PropFont(),
          TControl::PropVisible(),
          props::Event("OnClick", &P::OnClick),
      },
      {},
      {}};
  return info;
}
static ClassRegistration panelRegistration(TPanel::StaticClass());

TCustomPanel::TCustomPanel(TComponent* owner) : TCustomControl(owner) {
  controlStyle_ =
      csAcceptsControls | csCaptureMouse | csClickEvents | csSetCaption | csOpaque | csDoubleClicks | csReplicatable;
  width_ = 185;
  height_ = 41;
  parentColor_ = false;
  SetColor(clBtnFace);
}

void TCustomPanel::CreateParams(TCreateParams& p) {
  TCustomControl::CreateParams(p);
  if (borderStyle_ == bsSingle) p.exStyle |= WS_EX_CLIENTEDGE;
}

void TCustomPanel::SetBevelInner(TBevelCut v) {
  bevelInner_ = v;
  Invalidate();
}

void TCustomPanel::SetBevelOuter(TBevelCut v) {
  bevelOuter_ = v;
  Invalidate();
}

void TCustomPanel::SetBevelWidth(int v) {
  bevelWidth_ = v;
  Invalidate();
}

void TCustomPanel::SetBorderWidth(int v) {
  borderWidth_ = v;
  Invalidate();
}

void TCustomPanel::SetAlignment(TAlignment v) {
  alignment_ = v;
  Invalidate();
}

void TCustomPanel::SetBorderStyle(TBorderStyle v) {
  if (v == borderStyle_) return;
  borderStyle_ = v;
  if (handle_) {
    // The border is the window's: make the window anew.
    DestroyHandle();
    HandleNeeded();
  }
}

void TCustomPanel::WndProc(TMessage& m) {
  if (m.Msg == CM_TEXTCHANGED) {
    Invalidate();
    return;
  }
  TCustomControl::WndProc(m);
}

void TCustomPanel::Paint() {
  static constexpr UINT kAlign[] = {DT_LEFT, DT_RIGHT, DT_CENTER};
  TCanvas* canvas = Canvas();
  RECT r = ClientRect();
  auto bevel = [&](TBevelCut cut) {
    if (cut == bvNone) return;
    TColor top = cut == bvLowered ? clBtnShadow : clBtnHighlight;
    TColor bottom = cut == bvLowered ? clBtnHighlight : clBtnShadow;
    Frame3D(canvas, r, top, bottom, bevelWidth_);
  };
  bevel(bevelOuter_);
  Frame3D(canvas, r, Color(), Color(), borderWidth_);
  bevel(bevelInner_);
  canvas->Brush()->SetColor(Color());
  canvas->FillRect(r);
  canvas->Brush()->SetStyle(bsClear);
  canvas->Font()->Assign(*Font());
  int h = canvas->TextHeight("W");
  r.top = ((r.bottom + r.top) - h) / 2;
  r.bottom = r.top + h;
  AnsiString text = Caption();
  DrawTextA(canvas->Handle(), text.c_str(), -1, &r, DT_EXPANDTABS | DT_VCENTER | kAlign[alignment_]);
}
