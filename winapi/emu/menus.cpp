// Pop-up menus: their items, and TrackPopupMenu's modal loop, which a test's script plays instead of a user.
#include <algorithm>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "state.h"

namespace emu {
namespace {

struct Item {
  UINT flags;
  UINT_PTR id;
  std::string text;
};

struct Menus {
  std::map<std::uintptr_t, std::vector<Item>> menus;
  std::uintptr_t next = 0x00050010;
  MenuScript script;
  std::vector<MenuCall> calls;
  int depth = 0;  // TrackPopupMenu calls under way
};

Menus& U() {
  static Menus menus;
  return menus;
}

std::vector<Item>* Find(HMENU menu) {
  auto it = U().menus.find(reinterpret_cast<std::uintptr_t>(menu));
  return it == U().menus.end() ? nullptr : &it->second;
}

// Only an enabled command item can be chosen.
bool Choosable(const std::vector<Item>& items, UINT_PTR id) {
  return std::any_of(items.begin(), items.end(), [id](const Item& i) {
    return i.id == id && !(i.flags & (MF_SEPARATOR | MF_POPUP | MF_GRAYED | MF_DISABLED));
  });
}

}  // namespace

void ResetMenus() { U() = Menus{}; }

bool InMenuLoop() { return U().depth > 0; }

void SetMenuScript(MenuScript script) { U().script = std::move(script); }

const std::vector<MenuCall>& MenuCalls() { return U().calls; }

}  // namespace emu

HMENU WINAPI CreatePopupMenu() {
  emu::Menus& u = emu::U();
  std::uintptr_t value = u.next;
  u.next += 4;
  u.menus[value] = {};
  return reinterpret_cast<HMENU>(value);
}

BOOL WINAPI AppendMenuA(HMENU menu, UINT flags, UINT_PTR id, LPCSTR text) {
  auto* items = emu::Find(menu);
  if (items == nullptr) {
    SetLastError(ERROR_INVALID_MENU_HANDLE);
    return FALSE;
  }
  bool separator = (flags & MF_SEPARATOR) != 0;
  items->push_back(emu::Item{flags, id, separator || text == nullptr ? std::string() : std::string(text)});
  return TRUE;
}

BOOL WINAPI DestroyMenu(HMENU menu) {
  auto* items = emu::Find(menu);
  if (items == nullptr) {
    SetLastError(ERROR_INVALID_MENU_HANDLE);
    return FALSE;
  }
  std::vector<emu::Item> owned = *items;
  emu::U().menus.erase(reinterpret_cast<std::uintptr_t>(menu));
  for (const emu::Item& i : owned)  // a menu takes its submenus with it
    if (i.flags & MF_POPUP) DestroyMenu(reinterpret_cast<HMENU>(i.id));
  return TRUE;
}

BOOL WINAPI TrackPopupMenu(HMENU menu, UINT flags, int x, int y, int, HWND owner, const RECT*) {
  auto* items = emu::Find(menu);
  if (items == nullptr) {
    SetLastError(ERROR_INVALID_MENU_HANDLE);
    return FALSE;
  }
  if (emu::FromHandle(owner) == nullptr) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  SendMessageA(owner, WM_ENTERMENULOOP, TRUE, 0);
  SendMessageA(owner, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu), MAKELPARAM(0, FALSE));
  // The items as the owner left them on WM_INITMENUPOPUP: what the user would see.
  emu::MenuCall call{menu, x, y, flags, owner, {}};
  if ((items = emu::Find(menu)) != nullptr)
    for (const emu::Item& i : *items) call.items.push_back(i.text);
  emu::U().calls.push_back(call);
  // The menu's window takes the pointer for as long as it is open.
  ReleaseCapture();
  UINT_PTR chosen = 0;
  ++emu::U().depth;
  try {
    if (emu::U().script) chosen = emu::U().script(call);
  } catch (...) {
    --emu::U().depth;
    throw;
  }
  --emu::U().depth;
  emu::DropInput();  // the menu's own loop has eaten the input of its time
  items = emu::Find(menu);
  if (chosen != 0 && (items == nullptr || !emu::Choosable(*items, chosen))) chosen = 0;
  if (emu::FromHandle(owner) != nullptr) SendMessageA(owner, WM_EXITMENULOOP, TRUE, 0);
  if (chosen == 0) return FALSE;
  if (flags & TPM_RETURNCMD) return static_cast<BOOL>(chosen);
  PostMessageA(owner, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(chosen), 0), 0);
  return TRUE;
}
