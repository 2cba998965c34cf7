// The self-drawn push button TCuteButton: properties, the look's state machine, clicks, mouse tracking, drop-down.
#include "components/CuteBtn.h"

#include "vcl/Forms.h"

const IdentTable kTextLayoutIdents{{{"tlTop", 0}, {"tlCenter", 1}, {"tlBottom", 2}}};

// ---- TCuteButtonTimer

const TClassInfo& TCuteButtonTimer::StaticClass() {
  static const TClassInfo info{"TCuteButtonTimer",
                               &TTimer::StaticClass(),
                               [](TComponent* owner) -> TComponent* { return new TCuteButtonTimer(owner); },
                               {},
                               {},
                               {PublishedField<&TCuteButtonTimer::FCuteButton>("FCuteButton")}};
  return info;
}

// ---- Shift state

TShiftState GetShiftState() {
  BYTE keys[256] = {};
  GetKeyboardState(keys);
  static constexpr struct {
    BYTE vk;
    TShiftState bit;
  } kKeys[] = {{VK_SHIFT, ssShift},  {VK_MENU, ssAlt},      {VK_CONTROL, ssCtrl},
               {VK_LBUTTON, ssLeft}, {VK_RBUTTON, ssRight}, {VK_MBUTTON, ssMiddle}};
  TShiftState shift = 0;
  for (const auto& k : kKeys)
    if (keys[k.vk] & 0x80) shift |= k.bit;
  return shift;
}

// ---- TCuteButton

const TClassInfo& TCuteButton::StaticClass() {
  using B = TCuteButton;
  static const TClassInfo info{
      "TCuteButton",
      &TCustomPanel::StaticClass(),
      [](TComponent* owner) -> TComponent* { return new TCuteButton(owner); },
      {
          props::Ord("Width", PropKind::Integer, &B::Width, &B::SetWidth, 75),
          props::Ord("Height", PropKind::Integer, &B::Height, &B::SetHeight, 25),
          props::Ord("Alignment", PropKind::Enum, &B::Alignment, &B::SetAlignment, taCenter, &kAlignmentIdents),
          props::Ord("BevelWidth", PropKind::Integer, &B::BevelWidth, &B::SetBevelWidth, 1),
          props::Ord("BevelHighlightColor", PropKind::IntIdent, &B::BevelHighlightColor, &B::SetBevelHighlightColor,
                     clBtnHighlight, &kColorIdents),
          props::Ord("BevelShadowColor", PropKind::IntIdent, &B::BevelShadowColor, &B::SetBevelShadowColor, clBtnShadow,
                     &kColorIdents),
          props::Ord("BorderStyle", PropKind::Enum, &B::BorderStyle, &B::SetBorderStyle, bsNone, &kBorderStyleIdents),
          props::Obj("Brush", &B::PublishedBrush),
          TControl::PropCaption(),
          TControl::PropColor(clBtnFace),
          props::Ord("DisabledColor", PropKind::IntIdent, &B::DisabledColor, &B::SetDisabledColor, clGray,
                     &kColorIdents),
          props::Ord("DragCursor", PropKind::IntIdent, &B::DragCursor, &B::SetDragCursor, crDrag, &kCursorIdents),
          props::Ord("DragMode", PropKind::Enum, &B::DragMode, &B::SetDragMode, dmManual, &kDragModeIdents),
          props::Ord("DropDownDelay", PropKind::Integer, &B::DropDownDelay, &B::SetDropDownDelay, 0),
          props::Comp("DropDownMenu", &B::DropDownMenu, &B::SetDropDownMenu),
          props::Ord("EgnoreContClick", PropKind::Bool, &B::EgnoreContClick, &B::SetEgnoreContClick),
          TControl::PropEnabled(),
          props::Ord("Flat", PropKind::Bool, &B::Flat, &B::SetFlat),
          TControl::PropFont(),
          props::Ord("Layout", PropKind::Enum, &B::Layout, &B::SetLayout, tlCenter, &kTextLayoutIdents),
          props::Ord("MarginX", PropKind::Integer, &B::MarginX, &B::SetMarginX, -1),
          props::Ord("MarginY", PropKind::Integer, &B::MarginY, &B::SetMarginY, -1),
          props::Ord("ParentColor", PropKind::Bool, &B::ParentColor, &B::SetParentColor, 0),
          props::Ord("ParentFont", PropKind::Bool, &B::ParentFont, &B::SetParentFont, 1),
          props::Ord("ParentShowHint", PropKind::Bool, &B::ParentShowHint, &B::SetParentShowHint, 1),
          props::Comp("PopupMenu", &B::PopupMenu, &B::SetPopupMenu),
          props::Ord("ShowFocusRect", PropKind::Bool, &B::ShowFocusRect, &B::SetShowFocusRect),
          props::StoredIf(props::Ord("ShowHint", PropKind::Bool, &B::ShowHint, &B::SetShowHint), &B::IsShowHintStored),
          props::Ord("TabFocusUp", PropKind::Bool, &B::TabFocusUp, &B::SetTabFocusUp, 1),
          props::Ord("TabOrder", PropKind::Integer, &B::TabOrder, &B::SetTabOrder, -1),
          props::Ord("TabStop", PropKind::Bool, &B::TabStop, &B::SetTabStop, 1),
          props::Ord("UseDisabledColor", PropKind::Bool, &B::UseDisabledColor, &B::SetUseDisabledColor),
          TControl::PropVisible(),
          props::Event("OnClick", &B::OnClick),
          props::Event("OnDragDrop", &B::OnDragDrop),
          props::Event("OnDragOver", &B::OnDragOver),
          props::Event("OnEndDrag", &B::OnEndDrag),
          props::Event("OnEnter", &B::OnEnter),
          props::Event("OnExit", &B::OnExit),
          props::Event("OnKeyDown", &B::OnKeyDown),
          props::Event("OnKeyPress", &B::OnKeyPress),
          props::Event("OnKeyUp", &B::OnKeyUp),
          props::Event("OnMouseDown", &B::OnMouseDown),
          props::Event("OnMouseEnter", &B::OnMouseEnter),
          props::Event("OnMouseLeave", &B::OnMouseLeave),
          props::Event("OnMouseMove", &B::OnMouseMove),
          props::Event("OnMouseUp", &B::OnMouseUp),
          props::Event("OnStartDrag", &B::OnStartDrag),
      },
      {},
      {}};
  return info;
}
static ClassRegistration cuteButtonRegistration(TCuteButton::StaticClass());

TCuteButton::TCuteButton(TComponent* owner) : TCustomPanel(owner) {
  controlStyle_ &= ~static_cast<unsigned>(csAcceptsControls);
  FBevelHighlightColor = clBtnHighlight;
  FBevelShadowColor = clBtnShadow;
  FDisabledColor = clGray;
  FDropDownDelay = 0;
  FLayout = tlCenter;
  FMarginX = -1;
  FMarginY = -1;
  SetBevelOuter(bvNone);
  SetBevelInner(bvRaised);
  SetHeight(25);
  FTabFocusUp = true;
  SetTabStop(true);
  SetWidth(75);
  brush_.OnChange = Bind<&TCuteButton::BrushChanged>(this);
}

void TCuteButton::SetBevelHighlightColor(TColor value) {
  if (value == FBevelHighlightColor) return;
  FBevelHighlightColor = value;
  Invalidate();
}

void TCuteButton::SetBevelShadowColor(TColor value) {
  if (value == FBevelShadowColor) return;
  FBevelShadowColor = value;
  Invalidate();
}

// The disabled colour shows only while disabled.
void TCuteButton::SetDisabledColor(TColor value) {
  if (value == FDisabledColor) return;
  FDisabledColor = value;
  if (!Enabled()) Invalidate();
}

void TCuteButton::SetUseDisabledColor(bool value) {
  if (value == FUseDisabledColor) return;
  FUseDisabledColor = value;
  if (!Enabled()) Invalidate();
}

void TCuteButton::SetDropDownMenu(TPopupMenu* value) {
  if (value == FDropDownMenu) return;
  FDropDownMenu = value;
  Invalidate();
}

void TCuteButton::SetFlat(bool value) {
  if (value == FFlat) return;
  FFlat = value;
  SetBevelInner(value ? bvNone : bvRaised);
}

void TCuteButton::SetLayout(TTextLayout value) {
  if (value == FLayout) return;
  FLayout = value;
  Invalidate();
}

void TCuteButton::SetMarginX(int value) {
  if (value < -1) value = -1;
  if (value == FMarginX) return;
  FMarginX = value;
  Invalidate();
}

void TCuteButton::SetMarginY(int value) {
  if (value < -1) value = -1;
  if (value == FMarginY) return;
  FMarginY = value;
  Invalidate();
}

void TCuteButton::SetShowFocusRect(bool value) {
  if (value == FShowFocusRect) return;
  FShowFocusRect = value;
  Invalidate();
}

void TCuteButton::BrushChanged(TObject*) { Invalidate(); }

// The menu is a reference only; forget it when it goes away with its owner's other components.
void TCuteButton::Notification(TComponent* component, TOperation operation) {
  TCustomPanel::Notification(component, operation);
  if (operation == TOperation::opRemove && component == FDropDownMenu) FDropDownMenu = nullptr;
}

void TCuteButton::RestLook() { SetBevelOuter(FTabFocusUp ? bvRaised : bvNone); }

void TCuteButton::ClickAtOnce() {
  SetBevelOuter(bvLowered);
  if (FDropDownMenu && FDropDownDelay == 0)
    DropDown();
  else
    Click();
  RestLook();
}

void TCuteButton::Click() {
  if (FSkipClick) {
    FSkipClick = false;
    return;
  }
  if (!FEgnoreContClick) {
    TCustomPanel::Click();
    return;
  }
  // Clicks that arrive while the handler runs, or from the queue right after it, find no handler.
  struct PutBack {
    TCuteButton* button;
    TNotifyEvent handler;
    // Also when the handler raises, so the button does not stay without one.
    ~PutBack() { button->OnClick = handler; }
  } putBack{this, OnClick};
  OnClick = TNotifyEvent();
  TCustomPanel::Click();
  if (putBack.handler) {
    putBack.handler(this);
    Application->ProcessMessages();
  }
}

void TCuteButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  SetFocus();
  if (button != mbLeft) {
    TCustomPanel::MouseDown(button, shift, x, y);
    return;
  }
  SetBevelOuter(bvLowered);
  TCustomPanel::MouseDown(button, shift, x, y);
  if (FDropDownMenu) {
    FKeyDropDown = false;
    StartDropDown();
  }
}

void TCuteButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  if (button == mbLeft) {
    RECT client = ClientRect();
    TCustomForm* form = GetParentForm(this);
    bool active = form && form->ActiveControl() == this;
    SetBevelOuter(PtInRect(&client, POINT{x, y}) || (FTabFocusUp && active) ? bvRaised : bvNone);
  }
  TCustomPanel::MouseUp(button, shift, x, y);
  if (FTimer) {
    delete FTimer;
    FTimer = nullptr;
  }
  ReleaseCapture();
}

void TCuteButton::DoEnter() {
  if (FTabFocusUp) SetBevelOuter(bvRaised);
  TCustomPanel::DoEnter();
}

void TCuteButton::DoExit() {
  TCustomPanel::DoExit();
  SetBevelOuter(bvNone);
}

void TCuteButton::KeyDown(WORD& key, TShiftState shift) {
  TCustomPanel::KeyDown(key, shift);
  if (!Enabled()) return;
  if (key == VK_SPACE) {
    FSpaceDown = true;
    SetBevelOuter(bvLowered);
    if (FDropDownMenu) {
      FKeyDropDown = true;
      StartDropDown();
    }
  } else if (key == VK_RETURN) {
    ClickAtOnce();
  } else if (FSpaceDown) {
    // Another key between Space's press and release cancels the click.
    FSpaceDown = false;
    RestLook();
  }
}

void TCuteButton::KeyUp(WORD& key, TShiftState shift) {
  TCustomPanel::KeyUp(key, shift);
  if (FTimer) {
    delete FTimer;
    FTimer = nullptr;
  }
  if (key == VK_SPACE && FSpaceDown) {
    FSpaceDown = false;
    Click();
    RestLook();
  }
}

void TCuteButton::MouseEnter(TShiftState shift, int x, int y) {
  // A drag of the form's focused control passing over the button leaves it alone.
  TControl* dragged = DragControl();
  if (auto* form = dynamic_cast<TCustomForm*>(Owner()); form && dragged && form->ActiveControl() == dragged) return;
  OnMouseEnter(this, shift, x, y);
  SetBevelOuter((shift & ssLeft) ? bvLowered : bvRaised);
}

void TCuteButton::MouseLeave(TShiftState shift, int x, int y) {
  OnMouseLeave(this, shift, x, y);
  if (!(Focused() && FTabFocusUp)) SetBevelOuter(bvNone);
}

void TCuteButton::StartDropDown() {
  if (FDropDownDelay <= 0) {
    DropDown();
    return;
  }
  if (FTimer) return;  // an armed timer keeps its schedule
  FTimer = new TCuteButtonTimer(this);
  FTimer->FCuteButton = this;
  FTimer->SetInterval(static_cast<unsigned>(FDropDownDelay));
  FTimer->SetOnTimer(Bind<&TCuteButton::DropDownTimer>(this));
  FTimer->SetEnabled(true);
}

void TCuteButton::DropDownTimer(TObject* sender) {
  TCuteButtonTimer* timer = As<TCuteButtonTimer>(sender);
  if (!timer) return;
  TCuteButton* button = timer->FCuteButton;
  if (button) button->FTimer = nullptr;
  delete timer;
  if (!button) return;
  if (button->FKeyDropDown) {
    button->DropDown();
  } else if (GetCaptureControl() == button) {
    // The left button is still held after a press on the button, wherever the pointer is now.
    button->DropDown();
    ReleaseCapture();
  }
}

void TCuteButton::DropDown() {
  if (!FDropDownMenu) return;
  POINT p = ClientToScreen(POINT{0, Height()});
  // The click of the gesture that opened the menu is swallowed, whether its release is queued or synthetic.
  FSkipClick = true;
  Application->ProcessMessages();
  FDropDownMenu->Popup(p.x, p.y);
  // The menu's loop ate the real release: put the button back as a release would.
  if (FKeyDropDown) {
    WORD key = VK_SPACE;
    KeyUp(key, 0);
  } else {
    MouseUp(mbLeft, 0, 0, 0);
  }
  FSkipClick = false;
}

bool TCuteButton::IsAccelerator(WPARAM character) const {
  AnsiString text = Caption();
  std::string_view s = text.View();
  std::size_t amp = s.find('&');
  if (amp == std::string_view::npos || amp + 1 >= s.size()) return false;
  char typed = static_cast<char>(character);
  return CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, &typed, 1, s.data() + amp + 1, 1) == CSTR_EQUAL;
}

void TCuteButton::WndProc(TMessage& m) {
  switch (m.Msg) {
    case CM_DIALOGCHAR:
      if (IsAccelerator(m.WParam) && Enabled() && Parent() && Parent()->Visible()) {
        ClickAtOnce();
        m.Result = 1;
        return;
      }
      break;
    case CM_ENABLEDCHANGED:
      TCustomPanel::WndProc(m);
      Invalidate();
      return;
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE: {
      TCustomPanel::WndProc(m);
      TShiftState shift = GetShiftState();
      POINT p{};
      GetCursorPos(&p);
      p = ScreenToClient(p);
      if (m.Msg == CM_MOUSEENTER)
        MouseEnter(shift, p.x, p.y);
      else
        MouseLeave(shift, p.x, p.y);
      return;
    }
    default:
      break;
  }
  TCustomPanel::WndProc(m);
}
