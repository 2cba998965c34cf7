// Colours, fonts, brushes, pens and the canvas that draws with them on a device context.
#pragma once

#include <cstdint>

#include "vcl/Classes.h"
#include "winapi/winapi.h"

// 0x00BBGGRR for literal colours; 0x80000000 + n names system colour n.
using TColor = std::int32_t;

constexpr TColor SysColor(int index) { return static_cast<TColor>(0x80000000u | static_cast<unsigned>(index)); }
inline constexpr TColor clBlack = 0x000000, clMaroon = 0x000080, clGreen = 0x008000, clOlive = 0x008080,
                        clNavy = 0x800000, clPurple = 0x800080, clTeal = 0x808000, clGray = 0x808080,
                        clSilver = 0xC0C0C0, clRed = 0x0000FF, clLime = 0x00FF00, clYellow = 0x00FFFF,
                        clBlue = 0xFF0000, clFuchsia = 0xFF00FF, clAqua = 0xFFFF00, clWhite = 0xFFFFFF;
inline constexpr TColor clScrollBar = SysColor(0), clBackground = SysColor(1), clActiveCaption = SysColor(2),
                        clInactiveCaption = SysColor(3), clMenu = SysColor(4), clWindow = SysColor(5),
                        clWindowFrame = SysColor(6), clMenuText = SysColor(7), clWindowText = SysColor(8),
                        clCaptionText = SysColor(9), clActiveBorder = SysColor(10), clInactiveBorder = SysColor(11),
                        clAppWorkSpace = SysColor(12), clHighlight = SysColor(13), clHighlightText = SysColor(14),
                        clBtnFace = SysColor(15), clBtnShadow = SysColor(16), clGrayText = SysColor(17),
                        clBtnText = SysColor(18), clInactiveCaptionText = SysColor(19), clBtnHighlight = SysColor(20),
                        cl3DDkShadow = SysColor(21), cl3DLight = SysColor(22), clInfoText = SysColor(23),
                        clInfoBk = SysColor(24);
inline constexpr TColor clNone = 0x1FFFFFFF, clDefault = 0x20000000;

// A negative colour is a system colour (GetSysColor of its low byte); any other goes to the device unchanged.
COLORREF ColorToRGB(TColor color);

extern const IdentTable kColorIdents;
extern const IdentTable kCharsetIdents;

enum TFontStyle : std::uint8_t { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };
using TFontStyles = std::uint8_t;
extern const IdentTable kFontStyleIdents;

enum TBrushStyle : std::uint8_t {
  bsSolid,
  bsClear,
  bsHorizontal,
  bsVertical,
  bsFDiagonal,
  bsBDiagonal,
  bsCross,
  bsDiagCross
};
extern const IdentTable kBrushStyleIdents;
enum TPenStyle : std::uint8_t { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };
extern const IdentTable kPenStyleIdents;

// Base of font, brush and pen: owns a GDI handle made on demand and tells its owner of every change.
class TGraphicsObject : public TPersistent {
  VCL_DECLARE_CLASS(TGraphicsObject)
 public:
  TGraphicsObject() = default;
  TGraphicsObject(const TGraphicsObject&) = delete;
  TGraphicsObject& operator=(const TGraphicsObject&) = delete;
  ~TGraphicsObject() override;
  TNotifyEvent OnChange;
  HGDIOBJ GetHandle();

 protected:
  void Changed();
  virtual HGDIOBJ CreateHandle() = 0;
  virtual bool OwnsHandle() const { return true; }

 private:
  HGDIOBJ handle_ = nullptr;
  bool stale_ = false;
};

class TFont : public TGraphicsObject {
  VCL_DECLARE_CLASS(TFont)
 public:
  TFont();
  void Assign(const TPersistent& source) override;
  HFONT Handle() { return static_cast<HFONT>(GetHandle()); }

  BYTE Charset() const { return charset_; }
  void SetCharset(BYTE value);
  TColor Color() const { return color_; }
  void SetColor(TColor value);
  int Height() const { return height_; }
  void SetHeight(int value);
  // Points at 96 pixels per inch.
  int Size() const;
  void SetSize(int points);
  AnsiString Name() const { return name_; }
  void SetName(const AnsiString& value);
  TFontStyles Style() const { return style_; }
  void SetStyle(TFontStyles value);
  bool operator==(const TFont& other) const;

 protected:
  HGDIOBJ CreateHandle() override;

 private:
  BYTE charset_;
  TColor color_;
  int height_;
  AnsiString name_;
  TFontStyles style_;
};

class TBrush : public TGraphicsObject {
  VCL_DECLARE_CLASS(TBrush)
 public:
  TBrush() = default;
  void Assign(const TPersistent& source) override;
  HBRUSH Handle() { return static_cast<HBRUSH>(GetHandle()); }
  TColor Color() const { return color_; }
  // Also turns a clear brush back into a solid one.
  void SetColor(TColor value);
  TBrushStyle Style() const { return style_; }
  void SetStyle(TBrushStyle value);

 protected:
  HGDIOBJ CreateHandle() override;
  bool OwnsHandle() const override { return style_ != bsClear; }

 private:
  TColor color_ = clWhite;
  TBrushStyle style_ = bsSolid;
};

class TPen : public TGraphicsObject {
  VCL_DECLARE_CLASS(TPen)
 public:
  TPen() = default;
  void Assign(const TPersistent& source) override;
  HPEN Handle() { return static_cast<HPEN>(GetHandle()); }
  TColor Color() const { return color_; }
  void SetColor(TColor value);
  TPenStyle Style() const { return style_; }
  void SetStyle(TPenStyle value);
  int Width() const { return width_; }
  void SetWidth(int value);

 protected:
  HGDIOBJ CreateHandle() override;

 private:
  TColor color_ = clBlack;
  TPenStyle style_ = psSolid;
  int width_ = 1;
};

// Draws on a device context; selects its font, pen and brush into it only when an operation needs them.
class TCanvas : public TPersistent {
  VCL_DECLARE_CLASS(TCanvas)
 public:
  TCanvas();
  ~TCanvas() override;
  TCanvas(const TCanvas&) = delete;
  TCanvas& operator=(const TCanvas&) = delete;

  // The DC with the canvas font (and its colour), pen and brush (and its background mode) selected.
  HDC Handle();
  // Binds the canvas to a DC it does not own, or unbinds it with nullptr.
  void SetHandle(HDC dc);
  bool HandleAllocated() const { return dc_ != nullptr; }

  TFont* Font() { return &font_; }
  TBrush* Brush() { return &brush_; }
  TPen* Pen() { return &pen_; }

  void FillRect(const RECT& rect);
  void FrameRect(const RECT& rect);
  void Rectangle(int x1, int y1, int x2, int y2);
  void MoveTo(int x, int y);
  void LineTo(int x, int y);
  void Polyline(const POINT* points, int count);
  void DrawFocusRect(const RECT& rect);
  void TextOut(int x, int y, const AnsiString& text);
  SIZE TextExtent(const AnsiString& text);
  int TextWidth(const AnsiString& text) { return TextExtent(text).cx; }
  int TextHeight(const AnsiString& text) { return TextExtent(text).cy; }
  COLORREF Pixel(int x, int y);

 protected:
  // A canvas that can find a DC of its own (a control's) gets one here when drawn on unbound.
  virtual void CreateHandle() {}
  void SetOwnedHandle(HDC dc);

 private:
  enum : unsigned { kFont = 1, kPen = 2, kBrush = 4 };
  void Require(unsigned what);
  void Deselect();
  void FontChanged(TObject*);
  void PenChanged(TObject*);
  void BrushChanged(TObject*);

  HDC dc_ = nullptr;
  unsigned valid_ = 0;
  TFont font_;
  TBrush brush_;
  TPen pen_;
};

// The three-dimensional frame: `width` rings, top colour on the left and top, bottom colour on the right
// and bottom; leaves `rect` shrunk by `width` on every side.
void Frame3D(TCanvas* canvas, RECT& rect, TColor topColor, TColor bottomColor, int width);
