// Colours, GDI objects made on demand, the canvas and the three-dimensional frame.
#include "vcl/Graphics.h"

#include <cstring>

COLORREF ColorToRGB(TColor color) {
  if (color < 0) return GetSysColor(color & 0xFF);
  return static_cast<COLORREF>(color);
}

const IdentTable kColorIdents{{
    {"clBlack", clBlack},
    {"clMaroon", clMaroon},
    {"clGreen", clGreen},
    {"clOlive", clOlive},
    {"clNavy", clNavy},
    {"clPurple", clPurple},
    {"clTeal", clTeal},
    {"clGray", clGray},
    {"clSilver", clSilver},
    {"clRed", clRed},
    {"clLime", clLime},
    {"clYellow", clYellow},
    {"clBlue", clBlue},
    {"clFuchsia", clFuchsia},
    {"clAqua", clAqua},
    {"clWhite", clWhite},
    {"clScrollBar", clScrollBar},
    {"clBackground", clBackground},
    {"clActiveCaption", clActiveCaption},
    {"clInactiveCaption", clInactiveCaption},
    {"clMenu", clMenu},
    {"clWindow", clWindow},
    {"clWindowFrame", clWindowFrame},
    {"clMenuText", clMenuText},
    {"clWindowText", clWindowText},
    {"clCaptionText", clCaptionText},
    {"clActiveBorder", clActiveBorder},
    {"clInactiveBorder", clInactiveBorder},
    {"clAppWorkSpace", clAppWorkSpace},
    {"clHighlight", clHighlight},
    {"clHighlightText", clHighlightText},
    {"clBtnFace", clBtnFace},
    {"clBtnShadow", clBtnShadow},
    {"clGrayText", clGrayText},
    {"clBtnText", clBtnText},
    {"clInactiveCaptionText", clInactiveCaptionText},
    {"clBtnHighlight", clBtnHighlight},
    {"cl3DDkShadow", cl3DDkShadow},
    {"cl3DLight", cl3DLight},
    {"clInfoText", clInfoText},
    {"clInfoBk", clInfoBk},
    {"clNone", clNone},
    {"clDefault", clDefault},
}};

const IdentTable kCharsetIdents{{
    {"ANSI_CHARSET", 0},
    {"DEFAULT_CHARSET", 1},
    {"SYMBOL_CHARSET", 2},
    {"SHIFTJIS_CHARSET", 128},
    {"HANGEUL_CHARSET", 129},
    {"GB2312_CHARSET", 134},
    {"CHINESEBIG5_CHARSET", 136},
    {"OEM_CHARSET", 255},
}};

const IdentTable kFontStyleIdents{{{"fsBold", 0}, {"fsItalic", 1}, {"fsUnderline", 2}, {"fsStrikeOut", 3}}};
const IdentTable kBrushStyleIdents{{{"bsSolid", 0},
                                    {"bsClear", 1},
                                    {"bsHorizontal", 2},
                                    {"bsVertical", 3},
                                    {"bsFDiagonal", 4},
                                    {"bsBDiagonal", 5},
                                    {"bsCross", 6},
                                    {"bsDiagCross", 7}}};
const IdentTable kPenStyleIdents{{{"psSolid", 0},
                                  {"psDash", 1},
                                  {"psDot", 2},
                                  {"psDashDot", 3},
                                  {"psDashDotDot", 4},
                                  {"psClear", 5},
                                  {"psInsideFrame", 6}}};

// ---- TGraphicsObject

const TClassInfo& TGraphicsObject::StaticClass() {
  static const TClassInfo info{"TGraphicsObject", &TPersistent::StaticClass(), nullptr, {}, {}, {}};
  return info;
}

TGraphicsObject::~TGraphicsObject() {
  if (handle_ && OwnsHandle()) DeleteObject(handle_);
}

HGDIOBJ TGraphicsObject::GetHandle() {
  if (stale_ && handle_) {
    // Whoever had it selected was told of the change and has put it back already.
    DeleteObject(handle_);
    handle_ = nullptr;
  }
  stale_ = false;
  if (!handle_) handle_ = CreateHandle();
  return handle_;
}

void TGraphicsObject::Changed() {
  if (handle_ && !OwnsHandle()) handle_ = nullptr;
  stale_ = handle_ != nullptr;
  OnChange(this);
}

// ---- TFont

const TClassInfo& TFont::StaticClass() {
  static const TClassInfo info{
      "TFont",
      &TGraphicsObject::StaticClass(),
      nullptr,
      {
          props::Ord("Charset", PropKind::IntIdent, &TFont::Charset, &TFont::SetCharset, std::nullopt, &kCharsetIdents),
          props::Ord("Color", PropKind::IntIdent, &TFont::Color, &TFont::SetColor, std::nullopt, &kColorIdents),
          props::Ord("Height", PropKind::Integer, &TFont::Height, &TFont::SetHeight),
          props::Str("Name", &TFont::Name, &TFont::SetName),
          props::Ord("Style", PropKind::Set, &TFont::Style, &TFont::SetStyle, std::nullopt, &kFontStyleIdents),
      },
      {},
      {}};
  return info;
}

TFont::TFont() : charset_(DEFAULT_CHARSET), color_(clWindowText), height_(-12), name_("ＭＳ Ｐゴシック"), style_(0) {}

void TFont::Assign(const TPersistent& source) {
  const TFont* other = dynamic_cast<const TFont*>(&source);
  if (!other) return TPersistent::Assign(source);
  if (*this == *other) return;
  charset_ = other->charset_;
  color_ = other->color_;
  height_ = other->height_;
  name_ = other->name_;
  style_ = other->style_;
  Changed();
}

bool TFont::operator==(const TFont& o) const {
  return charset_ == o.charset_ && color_ == o.color_ && height_ == o.height_ && name_ == o.name_ && style_ == o.style_;
}

void TFont::SetCharset(BYTE value) {
  if (value == charset_) return;
  charset_ = value;
  Changed();
}

void TFont::SetColor(TColor value) {
  if (value == color_) return;
  color_ = value;
  Changed();
}

void TFont::SetHeight(int value) {
  if (value == height_) return;
  height_ = value;
  Changed();
}

int TFont::Size() const { return -(height_ * 72 - (height_ < 0 ? 48 : -48)) / 96; }

void TFont::SetSize(int points) { SetHeight(-(points * 96 + 36) / 72); }

void TFont::SetName(const AnsiString& value) {
  if (value == name_ || value.IsEmpty()) return;
  name_ = value;
  Changed();
}

void TFont::SetStyle(TFontStyles value) {
  if (value == style_) return;
  style_ = value;
  Changed();
}

HGDIOBJ TFont::CreateHandle() {
  LOGFONTA lf{};
  lf.lfHeight = height_;
  lf.lfWeight = (style_ & fsBold) ? FW_BOLD : FW_NORMAL;
  lf.lfItalic = (style_ & fsItalic) ? 1 : 0;
  lf.lfUnderline = (style_ & fsUnderline) ? 1 : 0;
  lf.lfStrikeOut = (style_ & fsStrikeOut) ? 1 : 0;
  lf.lfCharSet = charset_;
  lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
  lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
  lf.lfQuality = DEFAULT_QUALITY;
  lf.lfPitchAndFamily = DEFAULT_PITCH;
  std::strncpy(lf.lfFaceName, name_.c_str(), LF_FACESIZE - 1);
  return CreateFontIndirectA(&lf);
}

// ---- TBrush

const TClassInfo& TBrush::StaticClass() {
  static const TClassInfo info{
      "TBrush",
      &TGraphicsObject::StaticClass(),
      nullptr,
      {
          props::Ord("Color", PropKind::IntIdent, &TBrush::Color, &TBrush::SetColor, clWhite, &kColorIdents),
          props::Ord("Style", PropKind::Enum, &TBrush::Style, &TBrush::SetStyle, bsSolid, &kBrushStyleIdents),
      },
      {},
      {}};
  return info;
}

void TBrush::Assign(const TPersistent& source) {
  const TBrush* other = dynamic_cast<const TBrush*>(&source);
  if (!other) return TPersistent::Assign(source);
  if (color_ == other->color_ && style_ == other->style_) return;
  color_ = other->color_;
  style_ = other->style_;
  Changed();
}

void TBrush::SetColor(TColor value) {
  if (value == color_ && style_ != bsClear) return;
  color_ = value;
  if (style_ == bsClear) style_ = bsSolid;
  Changed();
}

void TBrush::SetStyle(TBrushStyle value) {
  if (value == style_) return;
  style_ = value;
  Changed();
}

HGDIOBJ TBrush::CreateHandle() {
  if (style_ == bsClear) return GetStockObject(NULL_BRUSH);
  return CreateSolidBrush(ColorToRGB(color_));
}

// ---- TPen

const TClassInfo& TPen::StaticClass() {
  static const TClassInfo info{
      "TPen",
      &TGraphicsObject::StaticClass(),
      nullptr,
      {
          props::Ord("Color", PropKind::IntIdent, &TPen::Color, &TPen::SetColor, clBlack, &kColorIdents),
          props::Ord("Style", PropKind::Enum, &TPen::Style, &TPen::SetStyle, psSolid, &kPenStyleIdents),
          props::Ord("Width", PropKind::Integer, &TPen::Width, &TPen::SetWidth, 1),
      },
      {},
      {}};
  return info;
}

void TPen::Assign(const TPersistent& source) {
  const TPen* other = dynamic_cast<const TPen*>(&source);
  if (!other) return TPersistent::Assign(source);
  color_ = other->color_;
  style_ = other->style_;
  width_ = other->width_;
  Changed();
}

void TPen::SetColor(TColor value) {
  if (value == color_) return;
  color_ = value;
  Changed();
}

void TPen::SetStyle(TPenStyle value) {
  if (value == style_) return;
  style_ = value;
  Changed();
}

void TPen::SetWidth(int value) {
  if (value == width_) return;
  width_ = value;
  Changed();
}

HGDIOBJ TPen::CreateHandle() {
  static constexpr int kStyles[] = {PS_SOLID, PS_DASH, PS_DOT, PS_DASHDOT, PS_DASHDOTDOT, PS_NULL, PS_INSIDEFRAME};
  return CreatePen(kStyles[style_], width_, ColorToRGB(color_));
}

// ---- TCanvas

const TClassInfo& TCanvas::StaticClass() {
  static const TClassInfo info{"TCanvas", &TPersistent::StaticClass(), nullptr, {}, {}, {}};
  return info;
}

TCanvas::TCanvas() {
  font_.OnChange = Bind<&TCanvas::FontChanged>(this);
  pen_.OnChange = Bind<&TCanvas::PenChanged>(this);
  brush_.OnChange = Bind<&TCanvas::BrushChanged>(this);
}

TCanvas::~TCanvas() { Deselect(); }

void TCanvas::SetHandle(HDC dc) {
  if (dc == dc_) return;
  Deselect();
  dc_ = dc;
}

void TCanvas::SetOwnedHandle(HDC dc) { SetHandle(dc); }

void TCanvas::Deselect() {
  if (!dc_) return;
  if (valid_ & kFont) SelectObject(dc_, GetStockObject(SYSTEM_FONT));
  if (valid_ & kPen) SelectObject(dc_, GetStockObject(BLACK_PEN));
  if (valid_ & kBrush) SelectObject(dc_, GetStockObject(HOLLOW_BRUSH));
  valid_ = 0;
}

void TCanvas::FontChanged(TObject*) {
  if (dc_ && (valid_ & kFont)) {
    SelectObject(dc_, GetStockObject(SYSTEM_FONT));
    valid_ &= ~kFont;
  }
}

void TCanvas::PenChanged(TObject*) {
  if (dc_ && (valid_ & kPen)) {
    SelectObject(dc_, GetStockObject(BLACK_PEN));
    valid_ &= ~kPen;
  }
}

void TCanvas::BrushChanged(TObject*) {
  if (dc_ && (valid_ & kBrush)) {
    SelectObject(dc_, GetStockObject(HOLLOW_BRUSH));
    valid_ &= ~kBrush;
  }
}

void TCanvas::Require(unsigned what) {
  if (!dc_) CreateHandle();
  if (!dc_) throw EInvalidOperation(msg::kNoCanvasHandle);
  unsigned missing = what & ~valid_;
  if (missing & kFont) {
    SelectObject(dc_, font_.Handle());
    SetTextColor(dc_, ColorToRGB(font_.Color()));
  }
  if (missing & kPen) SelectObject(dc_, pen_.Handle());
  if (missing & kBrush) {
    SelectObject(dc_, brush_.Handle());
    COLORREF rgb = ColorToRGB(brush_.Color());
    if (brush_.Style() == bsSolid) {
      SetBkColor(dc_, rgb);
      SetBkMode(dc_, OPAQUE);
    } else {
      SetBkColor(dc_, ~rgb & 0xFFFFFF);
      SetBkMode(dc_, TRANSPARENT);
    }
  }
  valid_ |= missing;
}

HDC TCanvas::Handle() {
  Require(kFont | kPen | kBrush);
  return dc_;
}

void TCanvas::FillRect(const RECT& rect) {
  Require(kBrush);
  ::FillRect(dc_, &rect, brush_.Handle());
}

void TCanvas::FrameRect(const RECT& rect) {
  Require(kBrush);
  ::FrameRect(dc_, &rect, brush_.Handle());
}

void TCanvas::Rectangle(int x1, int y1, int x2, int y2) {
  Require(kPen | kBrush);
  ::Rectangle(dc_, x1, y1, x2, y2);
}

void TCanvas::MoveTo(int x, int y) {
  Require(kPen);
  MoveToEx(dc_, x, y, nullptr);
}

void TCanvas::LineTo(int x, int y) {
  Require(kPen);
  ::LineTo(dc_, x, y);
}

void TCanvas::Polyline(const POINT* points, int count) {
  Require(kPen);
  ::Polyline(dc_, points, count);
}

void TCanvas::DrawFocusRect(const RECT& rect) {
  Require(kBrush);
  ::DrawFocusRect(dc_, &rect);
}

void TCanvas::TextOut(int x, int y, const AnsiString& text) {
  Require(kFont | kBrush);
  RECT r{x, y, x + 32767, y + 32767};
  DrawTextA(dc_, text.c_str(), static_cast<int>(text.Length()), &r, DT_NOCLIP | DT_NOPREFIX | DT_SINGLELINE);
}

SIZE TCanvas::TextExtent(const AnsiString& text) {
  Require(kFont);
  SIZE size{0, 0};
  GetTextExtentPoint32A(dc_, text.c_str(), static_cast<int>(text.Length()), &size);
  return size;
}

COLORREF TCanvas::Pixel(int x, int y) {
  Require(0);
  return GetPixel(dc_, x, y);
}

void Frame3D(TCanvas* canvas, RECT& rect, TColor topColor, TColor bottomColor, int width) {
  if (width <= 0) return;
  canvas->Pen()->SetWidth(1);
  --rect.bottom;
  --rect.right;
  for (int ring = 0; ring < width; ++ring) {
    const POINT top[] = {{rect.left, rect.bottom}, {rect.left, rect.top}, {rect.right, rect.top}};
    canvas->Pen()->SetColor(topColor);
    canvas->Polyline(top, 3);
    const POINT bottom[] = {{rect.right, rect.top}, {rect.right, rect.bottom}, {rect.left - 1, rect.bottom}};
    canvas->Pen()->SetColor(bottomColor);
    canvas->Polyline(bottom, 3);
    InflateRect(&rect, -1, -1);
  }
  ++rect.bottom;
  ++rect.right;
}
