// Pop-up menus: items from form files, a system menu made at each popup, clicks routed back by command.
#include "vcl/Menus.h"

#include <algorithm>
#include <map>

#include "vcl/Forms.h"

const IdentTable kPopupAlignmentIdents{{{"paLeft", 0}, {"paRight", 1}, {"paCenter", 2}}};

namespace {
UINT g_nextCommand = 1;
std::map<HWND, TPopupMenu*>& MenuWindows() {
  // Never destroyed: the forms and their menus go at exit, after statics made later than the application.
  static auto* map = new std::map<HWND, TPopupMenu*>;
  return *map;
}

void Build(HMENU menu, TMenuItem* item) {
  for (int i = 0; i < item->Count(); ++i) {
    TMenuItem* child = item->Items(i);
    if (child->Caption() == "-") {
      AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    } else if (child->Count() > 0) {
      HMENU sub = CreatePopupMenu();
      Build(sub, child);
      AppendMenuA(menu, MF_POPUP | (child->Enabled() ? 0 : MF_GRAYED), reinterpret_cast<UINT_PTR>(sub),
                  child->Caption().c_str());
    } else {
      UINT flags = MF_STRING | (child->Enabled() ? 0 : MF_GRAYED) | (child->Checked() ? MF_CHECKED : 0);
      AppendMenuA(menu, flags, child->Command(), child->Caption().c_str());
    }
  }
}
}  // namespace

// ---- TMenuItem

const TClassInfo& TMenuItem::StaticClass() {
  using M = TMenuItem;
  static const TClassInfo info{"TMenuItem",
                               &TComponent::StaticClass(),
                               [](TComponent* owner) -> TComponent* { return new TMenuItem(owner); },
                               {
                                   props::Str("Caption", &M::Caption, &M::SetCaption),
                                   props::Ord("Checked", PropKind::Bool, &M::Checked, &M::SetChecked, 0),
                                   props::Ord("Enabled", PropKind::Bool, &M::Enabled, &M::SetEnabled, 1),
                                   props::Event("OnClick", &M::OnClick),
                               },
                               {},
                               {}};
  return info;
}
static ClassRegistration menuItemRegistration(TMenuItem::StaticClass());

TMenuItem::TMenuItem(TComponent* owner) : TComponent(owner), command_(g_nextCommand++) {}

TMenuItem::~TMenuItem() {
  while (!items_.empty()) {
    TMenuItem* last = items_.back();
    Remove(last);
    delete last;
  }
  if (parent_) parent_->Remove(this);
}

void TMenuItem::Add(TMenuItem* item) {
  if (item->parent_) item->parent_->Remove(item);
  items_.push_back(item);
  item->parent_ = this;
}

void TMenuItem::Remove(TMenuItem* item) {
  items_.erase(std::remove(items_.begin(), items_.end(), item), items_.end());
  if (item->parent_ == this) item->parent_ = nullptr;
}

TMenuItem* TMenuItem::FindByCommand(UINT command) {
  if (command_ == command) return this;
  for (TMenuItem* item : items_)
    if (TMenuItem* found = item->FindByCommand(command)) return found;
  return nullptr;
}

void TMenuItem::Click() { OnClick(this); }

void TMenuItem::SetParentComponent(TComponent* parent) {
  if (auto* item = dynamic_cast<TMenuItem*>(parent))
    item->Add(this);
  else if (auto* menu = dynamic_cast<TPopupMenu*>(parent))
    menu->Items()->Add(this);
}

void TMenuItem::GetChildren(std::vector<TComponent*>& children, TComponent* root) {
  for (TMenuItem* item : items_)
    if (item->Owner() == root) children.push_back(item);
}

// ---- TPopupMenu

const TClassInfo& TPopupMenu::StaticClass() {
  using P = TPopupMenu;
  static const TClassInfo info{
      "TPopupMenu",
      &TComponent::StaticClass(),
      [](TComponent* owner) -> TComponent* { return new TPopupMenu(owner); },
      {
          props::Ord("Alignment", PropKind::Enum, &P::Alignment, &P::SetAlignment, paLeft, &kPopupAlignmentIdents),
          props::Ord("AutoPopup", PropKind::Bool, &P::AutoPopup, &P::SetAutoPopup, 1),
          props::Event("OnPopup", &P::OnPopup),
      },
      {},
      {}};
  return info;
}
static ClassRegistration popupMenuRegistration(TPopupMenu::StaticClass());

TPopupMenu::TPopupMenu(TComponent* owner) : TComponent(owner), items_(new TMenuItem(nullptr)) {
  HINSTANCE instance = GetModuleHandleA(nullptr);
  WNDCLASSA wc{};
  if (!GetClassInfoA(instance, "TPopupList", &wc)) {
    wc = WNDCLASSA{};
    wc.lpfnWndProc = &TPopupMenu::WindowProcedure;
    wc.hInstance = instance;
    wc.lpszClassName = "TPopupList";
    RegisterClassA(&wc);
  }
  window_ = CreateWindowExA(0, "TPopupList", "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, instance, nullptr);
  if (!window_) throw EOutOfResources(msg::kWindowCreate);
  MenuWindows()[window_] = this;
}

TPopupMenu::~TPopupMenu() {
  MenuWindows().erase(window_);
  DestroyWindow(window_);
  delete items_;
}

void TPopupMenu::GetChildren(std::vector<TComponent*>& children, TComponent* root) {
  items_->GetChildren(children, root);
}

void TPopupMenu::Popup(int x, int y) {
  static constexpr UINT kAlign[] = {TPM_LEFTALIGN, TPM_RIGHTALIGN, TPM_CENTERALIGN};
  OnPopup(this);
  HMENU menu = CreatePopupMenu();
  Build(menu, items_);
  TrackPopupMenu(menu, kAlign[alignment_] | TPM_RIGHTBUTTON, x, y, 0, window_, nullptr);
  DestroyMenu(menu);
}

LRESULT CALLBACK TPopupMenu::WindowProcedure(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_COMMAND) {
    auto it = MenuWindows().find(hwnd);
    if (it != MenuWindows().end()) {
      if (TMenuItem* item = it->second->Items()->FindByCommand(LOWORD(wp))) {
        try {
          item->Click();
        } catch (...) {
          Application->HandleException(item);
        }
      }
    }
    return 0;
  }
  return DefWindowProcA(hwnd, msg, wp, lp);
}
