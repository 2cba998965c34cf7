// Forms, the application object with its message loop, and the screen.
#pragma once

#include "vcl/Controls.h"

enum TBorderIcon : std::uint8_t { biSystemMenu = 1, biMinimize = 2, biMaximize = 4, biHelp = 8 };
using TBorderIcons = std::uint8_t;
enum TPosition : std::uint8_t {
  poDesigned,
  poDefault,
  poDefaultPosOnly,
  poDefaultSizeOnly,
  poScreenCenter,
  poDesktopCenter
};
extern const IdentTable kBorderIconIdents, kPositionIdents;

class TControlScrollBar : public TPersistent {
  VCL_DECLARE_CLASS(TControlScrollBar)
 public:
  bool Visible() const { return visible_; }
  void SetVisible(bool v) { visible_ = v; }
  int Range() const { return range_; }
  void SetRange(int v) { range_ = v; }

 private:
  bool visible_ = true;
  int range_ = 0;
};

class TCustomForm : public TWinControl {
  VCL_DECLARE_CLASS(TCustomForm)
 public:
  explicit TCustomForm(TComponent* owner);
  ~TCustomForm() override;

  // Reads the form file of `cls` (the most derived class) into this form: call it from that class's constructor.
  void InitInheritedComponent(const TClassInfo& cls);

  void Close();
  void SetVisible(bool value) override;
  bool HasParent() const override { return false; }
  void GetChildren(std::vector<TComponent*>& children, TComponent* root) override;
  void Loaded() override;
  void WndProc(TMessage& message) override;

  TWinControl* ActiveControl() const { return activeControl_; }
  void SetActiveControl(TWinControl* control);
  // Moves the keyboard focus to `control`, which must be able to take it.
  void FocusControl(TWinControl* control);
  // Called when a control of this form gets the focus.
  void SetFocusedControl(TWinControl* control);
  // Moves the focus off `control` (being disabled, hidden or destroyed) when it holds it.
  void DefocusControl(TWinControl* control);
  void SelectNext(TWinControl* current, bool goForward, bool checkTabStop);

  TFormBorderStyle BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TFormBorderStyle v);
  TBorderIcons BorderIcons() const { return borderIcons_; }
  void SetBorderIcons(TBorderIcons v);
  TPosition Position() const { return position_; }
  void SetPosition(TPosition v) { position_ = v; }
  bool Scaled() const { return scaled_; }
  void SetScaled(bool v) { scaled_ = v; }
  int PixelsPerInch() const { return pixelsPerInch_; }
  void SetPixelsPerInch(int v) { pixelsPerInch_ = v; }
  int TextHeight() const { return textHeight_; }
  void SetTextHeight(int v) { textHeight_ = v; }
  bool KeyPreview() const { return keyPreview_; }
  void SetKeyPreview(bool v) { keyPreview_ = v; }
  int GetClientWidth() const { return ClientWidth(); }
  int GetClientHeight() const { return ClientHeight(); }
  void SetClientWidth(int v);
  void SetClientHeight(int v);
  RECT ClientRect() const override;
  TControlScrollBar* HorzScrollBar() const { return horzScrollBar_.get(); }
  TControlScrollBar* VertScrollBar() const { return vertScrollBar_.get(); }

  TNotifyEvent OnShow;
  TNotifyEvent OnHide;
  TNotifyEvent OnCreate;
  TNotifyEvent OnDestroy;
  TNotifyEvent OnActivate;
  TNotifyEvent OnDeactivate;

 protected:
  void CreateParams(TCreateParams& params) override;
  virtual void DoShow();

 private:
  bool IsSizeStored() const { return !clientSizeStored_; }
  bool IsClientSizeStored() const { return clientSizeStored_; }
  SIZE FrameSize() const;  // outer minus client size for the current border

  TWinControl* activeControl_ = nullptr;
  TFormBorderStyle borderStyle_ = bsSizeable;
  TBorderIcons borderIcons_ = biSystemMenu | biMinimize | biMaximize;
  TPosition position_ = poDesigned;
  bool scaled_ = true;
  int pixelsPerInch_ = 96;
  int textHeight_ = 13;
  bool keyPreview_ = false;
  bool clientSizeStored_ = false;
  int pendingClientWidth_ = -1;
  int pendingClientHeight_ = -1;
  std::unique_ptr<TControlScrollBar> horzScrollBar_ = std::make_unique<TControlScrollBar>();
  std::unique_ptr<TControlScrollBar> vertScrollBar_ = std::make_unique<TControlScrollBar>();
};

class TForm : public TCustomForm {
  VCL_DECLARE_CLASS(TForm)
 public:
  explicit TForm(TComponent* owner) : TCustomForm(owner) {}
};

class TApplication : public TComponent {
  VCL_DECLARE_CLASS(TApplication)
 public:
  explicit TApplication(TComponent* owner);
  ~TApplication() override;

  HWND Handle() const { return handle_; }
  HICON Icon() const { return icon_; }
  void Initialize();
  AnsiString Title() const { return title_; }
  void SetTitle(const AnsiString& title);
  AnsiString ExeName() const;
  TCustomForm* MainForm() const { return mainForm_; }
  bool Terminated() const { return terminated_; }

  // Creates a form of class T owned by the application; the first one becomes the main form.
  template <class T>
  void CreateForm(T*& reference) {
    reference = nullptr;
    T* form = new T(this);
    reference = form;
    AddForm(form);
  }
  void Run();
  // Handles one message, or runs the idle processing and waits when there is none.
  void HandleMessage();
  // Handles every pending message without waiting.
  void ProcessMessages();
  void Terminate();
  // From inside a catch block: shows the error being handled with the exception display.
  void HandleException(TObject* sender);
  void ShowException(const Exception& e);
  // The idle step: mouse enter/leave tracking of the control under the cursor.
  void DoMouseIdle();
  static void ControlDestroyed(TControl* control);

  TNotifyEvent OnIdle;

 private:
  void AddForm(TCustomForm* form);
  bool ProcessMessage();
  void Idle();
  static LRESULT CALLBACK WindowProcedure(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);

  HWND handle_ = nullptr;
  HICON icon_ = nullptr;
  AnsiString title_;
  TCustomForm* mainForm_ = nullptr;
  TControl* mouseControl_ = nullptr;
  bool terminated_ = false;
};

// A hook a unit may set; the application's Initialize runs it.
extern void (*InitProc)();

// The application object: made on first use, once the platform is there; the program ends with it.
class TApplicationRef {
 public:
  TApplication* operator->() const { return Get(); }
  TApplication& operator*() const { return *Get(); }
  TApplication* Get() const;
  bool Exists() const;
  // Destroys the application object and its forms; the next use makes a new one.
  void Reset();
};
extern TApplicationRef Application;

class TScreen {
 public:
  int Width() const { return GetSystemMetrics(SM_CXSCREEN); }
  int Height() const { return GetSystemMetrics(SM_CYSCREEN); }
  TScreen* operator->() { return this; }
};
extern TScreen Screen;
