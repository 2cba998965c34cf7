// The timer and the panel.
#pragma once

#include "vcl/Controls.h"

// A periodic system timer on a hidden window of its own, running while Enabled, Interval and OnTimer allow.
class TTimer : public TComponent {
  VCL_DECLARE_CLASS(TTimer)
 public:
  explicit TTimer(TComponent* owner);
  ~TTimer() override;
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool v);
  unsigned Interval() const { return interval_; }
  void SetInterval(unsigned v);
  TNotifyEvent OnTimer() const { return onTimer_; }
  void SetOnTimer(TNotifyEvent e);
  HWND WindowHandle() const { return window_; }

 protected:
  virtual void Timer();

 private:
  static LRESULT CALLBACK WindowProcedure(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  void UpdateTimer();
  bool enabled_ = true;
  unsigned interval_ = 1000;
  TNotifyEvent onTimer_;
  HWND window_ = nullptr;
};

enum TBevelCut : std::uint8_t { bvNone, bvLowered, bvRaised, bvSpace };
extern const IdentTable kBevelCutIdents;

// A windowed box with an outer and an inner bevel and a centred caption.
class TCustomPanel : public TCustomControl {
  VCL_DECLARE_CLASS(TCustomPanel)
 public:
  explicit TCustomPanel(TComponent* owner);
  TBevelCut BevelInner() const { return bevelInner_; }
  void SetBevelInner(TBevelCut v);
  TBevelCut BevelOuter() const { return bevelOuter_; }
  void SetBevelOuter(TBevelCut v);
  int BevelWidth() const { return bevelWidth_; }
  void SetBevelWidth(int v);
  int BorderWidth() const { return borderWidth_; }
  void SetBorderWidth(int v);
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment v);
  TBorderStyle BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TBorderStyle v);
  void WndProc(TMessage& message) override;

 protected:
  void CreateParams(TCreateParams& params) override;
  void Paint() override;

 private:
  TBevelCut bevelInner_ = bvNone;
  TBevelCut bevelOuter_ = bvRaised;
  int bevelWidth_ = 1;
  int borderWidth_ = 0;
  TAlignment alignment_ = taCenter;
  TBorderStyle borderStyle_ = bsNone;
};

class TPanel : public TCustomPanel {
  VCL_DECLARE_CLASS(TPanel)
 public:
  explicit TPanel(TComponent* owner) : TCustomPanel(owner) {}
};
