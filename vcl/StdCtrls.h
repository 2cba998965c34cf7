// The label and the check box.
#pragma once

#include "vcl/Controls.h"

enum TCheckBoxState : std::uint8_t { cbUnchecked, cbChecked, cbGrayed };
extern const IdentTable kCheckBoxStateIdents;

// Text on its parent, sized to its text unless AutoSize is off.
class TLabel : public TGraphicControl {
  VCL_DECLARE_CLASS(TLabel)
 public:
  explicit TLabel(TComponent* owner);
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment v);
  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool v);
  bool Transparent() const { return (controlStyle_ & csOpaque) == 0; }
  void SetTransparent(bool v);
  bool WordWrap() const { return wordWrap_; }
  void SetWordWrap(bool v);
  bool ShowAccelChar() const { return showAccelChar_; }
  void SetShowAccelChar(bool v);
  void Loaded() override;
  void WndProc(TMessage& message) override;

 protected:
  void Paint() override;
  // Draws (or with DT_CALCRECT measures) the caption in `rect` with the label's rules.
  void DoDrawText(RECT& rect, UINT flags);
  void AdjustBounds();

 private:
  TAlignment alignment_ = taLeftJustify;
  bool autoSize_ = true;
  bool wordWrap_ = false;
  bool showAccelChar_ = true;
};

// The system's check box, subclassed.
class TCheckBox : public TWinControl {
  VCL_DECLARE_CLASS(TCheckBox)
 public:
  explicit TCheckBox(TComponent* owner);
  TCheckBoxState State() const;
  void SetState(TCheckBoxState v);
  bool Checked() const { return State() == cbChecked; }
  void SetChecked(bool v) { SetState(v ? cbChecked : cbUnchecked); }
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment v) { alignment_ = v; }
  void WndProc(TMessage& message) override;

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;

 private:
  TCheckBoxState state_ = cbUnchecked;
  TAlignment alignment_ = taRightJustify;
};
