// The gradient box: a windowless control filled with a two-colour gradient, with an outline and a 3D caption.
#pragma once

#include <cstdint>
#include <vector>

#include "components/Gradient.h"
#include "vcl/Controls.h"

enum TGradStyle : std::uint8_t { gsTopBottom, gsBottomTop, gsLeftRight, gsRightLeft, gsNone };
enum TFontStyle3D : std::uint8_t { fsLowShadow, fsRaiseShadow, fsLow3D, fsRaise3D };
extern const IdentTable kGradStyleIdents;
extern const IdentTable kFontStyle3DIdents;

// Where the BackFont copies of the caption go, in drawing order, as offsets from the caption's own place.
std::vector<POINT> CaptionLayers(TFontStyle3D style, int depth);

class TGradBox : public TGraphicControl {
  VCL_DECLARE_CLASS(TGradBox)
 public:
  explicit TGradBox(TComponent* owner);

  int CaptionLeft() const { return FCaptionLeft; }
  void SetCaptionLeft(int value);
  int CaptionTop() const { return FCaptionTop; }
  void SetCaptionTop(int value);
  TColor TopColor() const { return FTopColor; }
  void SetTopColor(TColor value);
  TColor LastColor() const { return FLastColor; }
  void SetLastColor(TColor value);
  TColor OutLineColor() const { return FOutLineColor; }
  void SetOutLineColor(TColor value);
  bool DrawOutLine() const { return FDrawOutLine; }
  void SetDrawOutLine(bool value);
  TGradStyle GradStyle() const { return FGradStyle; }
  void SetGradStyle(TGradStyle value);
  bool Font3D() const { return FFont3D; }
  void SetFont3D(bool value);
  std::uint8_t FontDepth() const { return FFontDepth; }
  void SetFontDepth(std::uint8_t value);
  TFontStyle3D Style3D() const { return FStyle3D; }
  void SetStyle3D(TFontStyle3D value);
  TColor BackFont() const { return FBackFont; }
  void SetBackFont(TColor value);

  void WndProc(TMessage& message) override;

 protected:
  void Paint() override;

 private:
  void PaintCaption(RECT rect);

  int FCaptionLeft = 10;
  int FCaptionTop = 10;
  TColor FBackFont = clYellow;
  TColor FTopColor = clGreen;
  TColor FLastColor = clLime;
  TColor FOutLineColor = clBlack;
  bool FFont3D = false;
  bool FDrawOutLine = false;
  std::uint8_t FFontDepth = 1;
  TFontStyle3D FStyle3D = fsRaise3D;

 public:
  TNotifyEvent OnPaint;

 private:
  TGradStyle FGradStyle = gsTopBottom;
  // Rebuilt by every paint with a gradient style and read only by it.
  gradient::BandTable FBandTable{};
};
