// Pop-up menus and their items.
#pragma once

#include <vector>

#include "vcl/Classes.h"
#include "winapi/winapi.h"

class TControl;

class TMenuItem : public TComponent {
  VCL_DECLARE_CLASS(TMenuItem)
 public:
  explicit TMenuItem(TComponent* owner);
  ~TMenuItem() override;
  AnsiString Caption() const { return caption_; }
  void SetCaption(const AnsiString& v) { caption_ = v; }
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool v) { enabled_ = v; }
  bool Checked() const { return checked_; }
  void SetChecked(bool v) { checked_ = v; }
  int Count() const { return static_cast<int>(items_.size()); }
  TMenuItem* Items(int index) const { return items_[static_cast<std::size_t>(index)]; }
  void Add(TMenuItem* item);
  void Remove(TMenuItem* item);
  TMenuItem* ParentItem() const { return parent_; }
  UINT Command() const { return command_; }
  TMenuItem* FindByCommand(UINT command);
  virtual void Click();

  bool HasParent() const override { return true; }
  bool HasDesignPos() const override { return false; }
  void SetParentComponent(TComponent* parent) override;
  void GetChildren(std::vector<TComponent*>& children, TComponent* root) override;

  TNotifyEvent OnClick;

 private:
  AnsiString caption_;
  bool enabled_ = true;
  bool checked_ = false;
  std::vector<TMenuItem*> items_;
  TMenuItem* parent_ = nullptr;
  UINT command_;
};

enum TPopupAlignment : std::uint8_t { paLeft, paRight, paCenter };
extern const IdentTable kPopupAlignmentIdents;

class TPopupMenu : public TComponent {
  VCL_DECLARE_CLASS(TPopupMenu)
 public:
  explicit TPopupMenu(TComponent* owner);
  ~TPopupMenu() override;
  TMenuItem* Items() const { return items_; }
  TPopupAlignment Alignment() const { return alignment_; }
  void SetAlignment(TPopupAlignment v) { alignment_ = v; }
  bool AutoPopup() const { return autoPopup_; }
  void SetAutoPopup(bool v) { autoPopup_ = v; }
  // Fires OnPopup, shows the menu at a screen point and returns once it has closed; the chosen item's
  // OnClick follows through the message loop.
  virtual void Popup(int x, int y);
  void GetChildren(std::vector<TComponent*>& children, TComponent* root) override;

  TNotifyEvent OnPopup;
  TControl* PopupComponent = nullptr;

 private:
  static LRESULT CALLBACK WindowProcedure(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  TMenuItem* items_;
  TPopupAlignment alignment_ = paLeft;
  bool autoPopup_ = true;
  HWND window_ = nullptr;
};
