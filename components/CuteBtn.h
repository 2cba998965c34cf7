// The self-drawn push button TCuteButton, its drop-down delay timer and the caption's vertical placement.
#pragma once

#include <cstdint>

#include "vcl/Controls.h"
#include "vcl/ExtCtrls.h"
#include "vcl/Menus.h"

enum TTextLayout : std::uint8_t { tlTop, tlCenter, tlBottom };
extern const IdentTable kTextLayoutIdents;

class TCuteButton;

// One-shot timer of a press held on a button with a drop-down menu.
class TCuteButtonTimer : public TTimer {
  VCL_DECLARE_CLASS(TCuteButtonTimer)
 public:
  explicit TCuteButtonTimer(TComponent* owner) : TTimer(owner) {}
  TCuteButton* FCuteButton = nullptr;
};

// The keys and mouse buttons held now, from the thread's keyboard state; never ssDouble.
TShiftState GetShiftState();

// A push button whose look is the panel's outer bevel (none idle, lowered pressed, raised hot or focused)
// and whose inner bevel carries Flat.
class TCuteButton : public TCustomPanel {
  VCL_DECLARE_CLASS(TCuteButton)
 public:
  explicit TCuteButton(TComponent* owner);

  TColor BevelHighlightColor() const { return FBevelHighlightColor; }
  void SetBevelHighlightColor(TColor value);
  TColor BevelShadowColor() const { return FBevelShadowColor; }
  void SetBevelShadowColor(TColor value);
  TColor DisabledColor() const { return FDisabledColor; }
  void SetDisabledColor(TColor value);
  bool UseDisabledColor() const { return FUseDisabledColor; }
  void SetUseDisabledColor(bool value);
  int DropDownDelay() const { return FDropDownDelay; }
  void SetDropDownDelay(int value) { FDropDownDelay = value; }
  TPopupMenu* DropDownMenu() const { return FDropDownMenu; }
  void SetDropDownMenu(TPopupMenu* value);
  bool EgnoreContClick() const { return FEgnoreContClick; }
  void SetEgnoreContClick(bool value) { FEgnoreContClick = value; }
  bool Flat() const { return FFlat; }
  void SetFlat(bool value);
  TTextLayout Layout() const { return FLayout; }
  void SetLayout(TTextLayout value);
  int MarginX() const { return FMarginX; }
  void SetMarginX(int value);
  int MarginY() const { return FMarginY; }
  void SetMarginY(int value);
  bool ShowFocusRect() const { return FShowFocusRect; }
  void SetShowFocusRect(bool value);
  bool TabFocusUp() const { return FTabFocusUp; }
  void SetTabFocusUp(bool value) { FTabFocusUp = value; }
  // The armed drop-down timer, or null.
  TCuteButtonTimer* Timer() const { return FTimer; }

  void Click() override;
  void WndProc(TMessage& message) override;

  TMouseMoveEvent OnMouseEnter;
  TMouseMoveEvent OnMouseLeave;

 protected:
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
  void DoEnter() override;
  void DoExit() override;
  void KeyDown(WORD& key, TShiftState shift) override;
  void KeyUp(WORD& key, TShiftState shift) override;
  virtual void StartDropDown();
  virtual void MouseEnter(TShiftState shift, int x, int y);
  virtual void MouseLeave(TShiftState shift, int x, int y);
  virtual void DropDown();
  void BrushChanged(TObject* sender);
  void DropDownTimer(TObject* sender);
  void Notification(TComponent* component, TOperation operation) override;

 private:
  TBrush* PublishedBrush() const { return const_cast<TBrush*>(&brush_); }
  // Raised while the focus shows (TabFocusUp), else idle.
  void RestLook();
  // Lowered, then the menu (Enter or accelerator with no delay) or the click, then the rest look.
  void ClickAtOnce();
  bool IsAccelerator(WPARAM character) const;

  TColor FBevelShadowColor;
  TColor FBevelHighlightColor;
  TColor FDisabledColor;
  int FDropDownDelay = 0;
  TPopupMenu* FDropDownMenu = nullptr;
  bool FSkipClick = false;
  bool FEgnoreContClick = false;
  bool FFlat = false;
  bool FSpaceDown = false;
  bool FTabFocusUp = false;
  TTextLayout FLayout = tlTop;
  bool FShowFocusRect = false;
  bool FUseDisabledColor = false;
  bool FKeyDropDown = false;
  int FMarginX = 0;
  int FMarginY = 0;
  TCuteButtonTimer* FTimer = nullptr;
};
