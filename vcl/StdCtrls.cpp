// The label and the check box.
#include "vcl/StdCtrls.h"

#include "vcl/Forms.h"
#include "vcl/Menus.h"

const IdentTable kCheckBoxStateIdents{{{"cbUnchecked", 0}, {"cbChecked", 1}, {"cbGrayed", 2}}};

namespace {
constexpr UINT kAlignFlags[] = {DT_LEFT, DT_RIGHT, DT_CENTER};
#ifndef BS_AUTOCHECKBOX
constexpr DWORD BS_AUTOCHECKBOX = 3;
#endif
}  // namespace

// ---- TLabel

const TClassInfo& TLabel::StaticClass() {
  using L = TLabel;
  static const TClassInfo info{
      "TLabel",
      &TGraphicControl::StaticClass(),
      [](TComponent* owner) -> TComponent* { return new TLabel(owner); },
      {
          props::Ord("Align", PropKind::Enum, &L::Align, &L::SetAlign, alNone, &kAlignIdents),
          props::Ord("Alignment", PropKind::Enum, &L::Alignment, &L::SetAlignment, taLeftJustify, &kAlignmentIdents),
          props::Ord("AutoSize", PropKind::Bool, &L::AutoSize, &L::SetAutoSize, 1),
          TControl::PropCaption(),
          TControl::PropColor(clBtnFace),
          props::Ord("DragCursor", PropKind::IntIdent, &L::DragCursor, &L::SetDragCursor, crDrag, &kCursorIdents),
          props::Ord("DragMode", PropKind::Enum, &L::DragMode, &L::SetDragMode, dmManual, &kDragModeIdents),
          TControl::PropEnabled(),
          TControl::PropFont(),
          props::Ord("ParentColor", PropKind::Bool, &L::ParentColor, &L::SetParentColor, 1),
          props::Ord("ParentFont", PropKind::Bool, &L::ParentFont, &L::SetParentFont, 1),
          props::Ord("ParentShowHint", PropKind::Bool, &L::ParentShowHint, &L::SetParentShowHint, 1),
          props::Comp("PopupMenu", &L::PopupMenu, &L::SetPopupMenu),
          props::Ord("ShowAccelChar", PropKind::Bool, &L::ShowAccelChar, &L::SetShowAccelChar, 1),
          props::StoredIf(props::Ord("ShowHint", PropKind::Bool, &L::ShowHint, &L::SetShowHint), &L::IsShowHintStored),
          props::Ord("Transparent", PropKind::Bool, &L::Transparent, &L::SetTransparent, 0),
          TControl::PropVisible(),
          props::Ord("WordWrap", PropKind::Bool, &L::WordWrap, &L::SetWordWrap, 0),
          props::Event("OnClick", &L::OnClick),
          props::Event("OnDblClick", &L::OnDblClick),
          props::Event("OnMouseDown", &L::OnMouseDown),
          props::Event("OnMouseMove", &L::OnMouseMove),
          props::Event("OnMouseUp", &L::OnMouseUp),
      },
      {},
      {}};
  return info;
}
static ClassRegistration labelRegistration(TLabel::StaticClass());

TLabel::TLabel(TComponent* owner) : TGraphicControl(owner) {
  controlStyle_ |= csOpaque | csReplicatable;
  width_ = 65;
  height_ = 17;
}

void TLabel::SetAlignment(TAlignment v) {
  if (v == alignment_) return;
  alignment_ = v;
  Invalidate();
}

void TLabel::SetAutoSize(bool v) {
  if (v == autoSize_) return;
  autoSize_ = v;
  AdjustBounds();
}

void TLabel::SetTransparent(bool v) {
  if (v == Transparent()) return;
  if (v)
    controlStyle_ &= ~csOpaque;
  else
    controlStyle_ |= csOpaque;
  Invalidate();
}

void TLabel::SetWordWrap(bool v) {
  if (v == wordWrap_) return;
  wordWrap_ = v;
  AdjustBounds();
  Invalidate();
}

void TLabel::SetShowAccelChar(bool v) {
  if (v == showAccelChar_) return;
  showAccelChar_ = v;
  Invalidate();
}

void TLabel::Loaded() {
  TGraphicControl::Loaded();
  AdjustBounds();
}

void TLabel::DoDrawText(RECT& rect, UINT flags) {
  AnsiString text = Caption();
  if ((flags & DT_CALCRECT) && (text.IsEmpty() || (showAccelChar_ && text == "&"))) text += " ";
  if (!showAccelChar_) flags |= DT_NOPREFIX;
  TCanvas* canvas = Canvas();
  canvas->Font()->Assign(*Font());
  if (!Enabled()) {
    OffsetRect(&rect, 1, 1);
    canvas->Font()->SetColor(clBtnHighlight);
    DrawTextA(canvas->Handle(), text.c_str(), static_cast<int>(text.Length()), &rect, flags);
    OffsetRect(&rect, -1, -1);
    canvas->Font()->SetColor(clBtnShadow);
  }
  DrawTextA(canvas->Handle(), text.c_str(), static_cast<int>(text.Length()), &rect, flags);
}

void TLabel::Paint() {
  TCanvas* canvas = Canvas();
  if (!Transparent()) {
    canvas->Brush()->SetColor(Color());
    canvas->Brush()->SetStyle(bsSolid);
    RECT all = ClientRect();
    canvas->FillRect(all);
  }
  canvas->Brush()->SetStyle(bsClear);
  RECT r = ClientRect();
  DoDrawText(r, DT_EXPANDTABS | (wordWrap_ ? DT_WORDBREAK : 0) | kAlignFlags[alignment_]);
}

void TLabel::AdjustBounds() {
  if (Loading() || !autoSize_) return;
  RECT r = ClientRect();
  HDC dc = GetDC(nullptr);
  Canvas()->SetHandle(dc);
  DoDrawText(r, DT_EXPANDTABS | DT_CALCRECT | (wordWrap_ ? DT_WORDBREAK : 0));
  Canvas()->SetHandle(nullptr);
  ReleaseDC(nullptr, dc);
  int x = left_;
  if (alignment_ == taRightJustify) x += width_ - r.right;
  SetBounds(x, top_, r.right, r.bottom);
}

void TLabel::WndProc(TMessage& m) {
  switch (m.Msg) {
    case CM_TEXTCHANGED:
      Invalidate();
      AdjustBounds();
      return;
    case CM_FONTCHANGED:
      AdjustBounds();
      break;
    default:
      break;
  }
  TGraphicControl::WndProc(m);
}

// ---- TCheckBox

const TClassInfo& TCheckBox::StaticClass() {
  using C = TCheckBox;
  static const TClassInfo info{
      "TCheckBox",
      &TWinControl::StaticClass(),
      [](TComponent* owner) -> TComponent* { return new TCheckBox(owner); },
      {
          props::Ord("Alignment", PropKind::Enum, &C::Alignment, &C::SetAlignment, taRightJustify, &kAlignmentIdents),
          TControl::PropCaption(),
          [] {
            // The state is stored through State.
            PropInfo p = props::Ord("Checked", PropKind::Bool, &C::Checked, &C::SetChecked, 0);
            p.stored = [](TObject*) { return false; };
            return p;
          }(),
          TControl::PropColor(clBtnFace),
          TControl::PropEnabled(),
          TControl::PropFont(),
          props::Ord("ParentColor", PropKind::Bool, &C::ParentColor, &C::SetParentColor, 1),
          props::Ord("ParentFont", PropKind::Bool, &C::ParentFont, &C::SetParentFont, 1),
          props::Ord("State", PropKind::Enum, &C::State, &C::SetState, cbUnchecked, &kCheckBoxStateIdents),
          props::Ord("TabOrder", PropKind::Integer, &C::TabOrder, &C::SetTabOrder, -1),
          props::Ord("TabStop", PropKind::Bool, &C::TabStop, &C::SetTabStop, 1),
          TControl::PropVisible(),
          props::Event("OnClick", &C::OnClick),
          props::Event("OnEnter", &C::OnEnter),
          props::Event("OnExit", &C::OnExit),
          props::Event("OnKeyDown", &C::OnKeyDown),
          props::Event("OnKeyPress", &C::OnKeyPress),
          props::Event("OnKeyUp", &C::OnKeyUp),
      },
      {},
      {}};
  return info;
}
static ClassRegistration checkBoxRegistration(TCheckBox::StaticClass());

TCheckBox::TCheckBox(TComponent* owner) : TWinControl(owner) {
  controlStyle_ = csSetCaption | csDoubleClicks;
  width_ = 97;
  height_ = 17;
  SetTabStop(true);
}

void TCheckBox::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  p.subclassOf = "BUTTON";
  p.style |= BS_AUTOCHECKBOX;
}

void TCheckBox::CreateWnd() {
  TWinControl::CreateWnd();
  SendMessageA(handle_, BM_SETCHECK, state_, 0);
}

TCheckBoxState TCheckBox::State() const {
  if (handle_) return static_cast<TCheckBoxState>(SendMessageA(handle_, BM_GETCHECK, 0, 0));
  return state_;
}

void TCheckBox::SetState(TCheckBoxState v) {
  if (v == State()) return;
  state_ = v;
  if (handle_) SendMessageA(handle_, BM_SETCHECK, v, 0);
  if (!Loading()) Click();
}

void TCheckBox::WndProc(TMessage& m) {
  switch (m.Msg) {
    case WM_PAINT:
      DefaultHandler(m);
      return;
    case CN_COMMAND:
      if (HIWORD(m.WParam) == BN_CLICKED) {
        state_ = State();
        Click();
      }
      return;
    default:
      TWinControl::WndProc(m);
  }
}
