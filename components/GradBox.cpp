// The gradient box: its published properties, repaint rules and painting.
#include "components/GradBox.h"

#include <cstddef>

#include "vcl/Menus.h"

const IdentTable kGradStyleIdents{
    {{"gsTopBottom", 0}, {"gsBottomTop", 1}, {"gsLeftRight", 2}, {"gsRightLeft", 3}, {"gsNone", 4}}};
const IdentTable kFontStyle3DIdents{{{"fsLowShadow", 0}, {"fsRaiseShadow", 1}, {"fsLow3D", 2}, {"fsRaise3D", 3}}};

std::vector<POINT> CaptionLayers(TFontStyle3D style, int depth) {
  const int sign = (style == fsLowShadow || style == fsLow3D) ? 1 : -1;
  if (style == fsLowShadow || style == fsRaiseShadow) return {POINT{sign * depth, sign * depth}};
  std::vector<POINT> layers;
  for (int i = 1; i <= depth; ++i) layers.push_back(POINT{sign * i, sign * i});
  return layers;
}

const TClassInfo& TGradBox::StaticClass() {
  using G = TGradBox;
  static const TClassInfo info{
      "TGradBox",
      &TGraphicControl::StaticClass(),
      [](TComponent* owner) -> TComponent* { return new TGradBox(owner); },
      {
          props::Ord("CaptionLeft", PropKind::Integer, &G::CaptionLeft, &G::SetCaptionLeft, 10),
          props::Ord("CaptionTop", PropKind::Integer, &G::CaptionTop, &G::SetCaptionTop, 10),
          props::Ord("TopColor", PropKind::IntIdent, &G::TopColor, &G::SetTopColor, clGreen, &kColorIdents),
          props::Ord("LastColor", PropKind::IntIdent, &G::LastColor, &G::SetLastColor, clLime, &kColorIdents),
          props::Ord("OutLineColor", PropKind::IntIdent, &G::OutLineColor, &G::SetOutLineColor, clBlack, &kColorIdents),
          props::Ord("DrawOutLine", PropKind::Bool, &G::DrawOutLine, &G::SetDrawOutLine),
          props::Ord("GradStyle", PropKind::Enum, &G::GradStyle, &G::SetGradStyle, gsTopBottom, &kGradStyleIdents),
          props::Ord("Font3D", PropKind::Bool, &G::Font3D, &G::SetFont3D),
          props::Ord("FontDepth", PropKind::Integer, &G::FontDepth, &G::SetFontDepth, 1),
          props::Ord("Style3D", PropKind::Enum, &G::Style3D, &G::SetStyle3D, fsRaise3D, &kFontStyle3DIdents),
          props::Ord("BackFont", PropKind::IntIdent, &G::BackFont, &G::SetBackFont, clYellow, &kColorIdents),
          props::Ord("Align", PropKind::Enum, &G::Align, &G::SetAlign, alNone, &kAlignIdents),
          TControl::PropCaption(),
          props::Ord("DragCursor", PropKind::IntIdent, &G::DragCursor, &G::SetDragCursor, crDrag, &kCursorIdents),
          props::Ord("DragMode", PropKind::Enum, &G::DragMode, &G::SetDragMode, dmManual, &kDragModeIdents),
          TControl::PropEnabled(),
          TControl::PropFont(),
          props::Ord("ParentFont", PropKind::Bool, &G::ParentFont, &G::SetParentFont, 1),
          props::Ord("ParentShowHint", PropKind::Bool, &G::ParentShowHint, &G::SetParentShowHint, 1),
          props::Comp("PopupMenu", &G::PopupMenu, &G::SetPopupMenu),
          props::StoredIf(props::Ord("ShowHint", PropKind::Bool, &G::ShowHint, &G::SetShowHint), &G::IsShowHintStored),
          TControl::PropVisible(),
          props::Event("OnClick", &G::OnClick),
          props::Event("OnDblClick", &G::OnDblClick),
          props::Event("OnDragDrop", &G::OnDragDrop),
          props::Event("OnDragOver", &G::OnDragOver),
          props::Event("OnEndDrag", &G::OnEndDrag),
          props::Event("OnMouseDown", &G::OnMouseDown),
          props::Event("OnMouseMove", &G::OnMouseMove),
          props::Event("OnMouseUp", &G::OnMouseUp),
          props::Event("OnPaint", &G::OnPaint),
          props::Event("OnStartDrag", &G::OnStartDrag),
      },
      {},
      {}};
  return info;
}
static ClassRegistration gradBoxRegistration(TGradBox::StaticClass());

TGradBox::TGradBox(TComponent* owner) : TGraphicControl(owner) {
  controlStyle_ |= csReplicatable;
  SetWidth(200);
  SetHeight(100);
}

void TGradBox::SetCaptionLeft(int value) {
  if (value == FCaptionLeft) return;
  FCaptionLeft = value;
  Invalidate();
}

void TGradBox::SetCaptionTop(int value) {
  if (value == FCaptionTop) return;
  FCaptionTop = value;
  Invalidate();
}

void TGradBox::SetTopColor(TColor value) {
  if (value == FTopColor) return;
  FTopColor = value;
  Invalidate();
}

void TGradBox::SetLastColor(TColor value) {
  if (value == FLastColor) return;
  FLastColor = value;
  Invalidate();
}

void TGradBox::SetOutLineColor(TColor value) {
  if (value == FOutLineColor) return;
  FOutLineColor = value;
  if (FDrawOutLine) Invalidate();
}

void TGradBox::SetDrawOutLine(bool value) {
  if (value == FDrawOutLine) return;
  FDrawOutLine = value;
  Invalidate();
}

void TGradBox::SetGradStyle(TGradStyle value) {
  if (value == FGradStyle) return;
  FGradStyle = value;
  Invalidate();
}

void TGradBox::SetFont3D(bool value) {
  if (value == FFont3D) return;
  FFont3D = value;
  Invalidate();
}

void TGradBox::SetFontDepth(std::uint8_t value) {
  if (value == FFontDepth) return;
  FFontDepth = value;
  if (FFont3D) Invalidate();
}

// Unlike BackFont and FontDepth, repaints even while Font3D is off.
void TGradBox::SetStyle3D(TFontStyle3D value) {
  if (value == FStyle3D) return;
  FStyle3D = value;
  Invalidate();
}

void TGradBox::SetBackFont(TColor value) {
  if (value == FBackFont) return;
  FBackFont = value;
  if (FFont3D) Invalidate();
}

void TGradBox::WndProc(TMessage& message) {
  if (message.Msg == CM_TEXTCHANGED) {
    TGraphicControl::WndProc(message);
    Invalidate();
    return;
  }
  TGraphicControl::WndProc(message);
}

void TGradBox::Paint() {
  const auto style = static_cast<gradient::Style>(FGradStyle);
  // GetSysColor has the system's calling convention, which a plain function pointer does not.
  gradient::BuildBandTable(FBandTable, static_cast<gradient::Color>(FTopColor),
                           static_cast<gradient::Color>(FLastColor), style,
                           [](int index) -> gradient::Color { return GetSysColor(index); });
  TCanvas* canvas = Canvas();
  if (style != gradient::gsNone) {
    const bool rows = gradient::StacksRows(style);
    const int size = rows ? Height() : Width();
    const int thickness = gradient::BandThickness(size);
    for (int i = 0; i < gradient::kBands; ++i) {
      const int start = gradient::BandStart(i, size);
      const RECT band = rows ? RECT{0, start, Width(), start + thickness} : RECT{start, 0, start + thickness, Height()};
      canvas->Brush()->SetColor(static_cast<TColor>(FBandTable[static_cast<std::size_t>(i)]));
      canvas->FillRect(band);
    }
  }
  canvas->Font()->Assign(*Font());
  canvas->Brush()->SetStyle(bsClear);
  canvas->Pen()->SetColor(FOutLineColor);
  canvas->Pen()->SetStyle(Designing() ? psDash : psSolid);
  if (Designing() || FDrawOutLine) canvas->Rectangle(0, 0, Width(), Height());
  // The right and bottom edges lie Left and Top beyond the box: the text wraps there and is clipped at the box.
  PaintCaption(RECT{FCaptionLeft, FCaptionTop, Left() + Width(), Top() + Height()});
  OnPaint(this);
}

void TGradBox::PaintCaption(RECT rect) {
  TCanvas* canvas = Canvas();
  const AnsiString text = Caption();
  const auto draw = [&] {
    DrawTextA(canvas->Handle(), text.c_str(), static_cast<int>(text.Length()), &rect, DT_EXPANDTABS | DT_WORDBREAK);
  };
  canvas->Brush()->SetStyle(bsClear);
  canvas->Font()->Assign(*Font());
  if (!Enabled()) {
    OffsetRect(&rect, 1, 1);
    canvas->Font()->SetColor(clWhite);
    draw();
    OffsetRect(&rect, -1, -1);
    canvas->Font()->SetColor(clGray);
    draw();
    return;
  }
  if (!FFont3D) {
    draw();
    return;
  }
  canvas->Font()->SetColor(FBackFont);
  POINT at{0, 0};
  for (const POINT& layer : CaptionLayers(FStyle3D, FFontDepth)) {
    OffsetRect(&rect, layer.x - at.x, layer.y - at.y);
    at = layer;
    draw();
  }
  OffsetRect(&rect, -at.x, -at.y);
  canvas->Font()->Assign(*Font());
  draw();
}
