// The world as a whole: the reset that starts a new desktop, its configuration and the window handle registry.
#include <cstdint>
#include <map>
#include <memory>

#include "state.h"

namespace emu {
namespace {

Config& StoredConfig() {
  static Config config;
  return config;
}

std::map<std::uintptr_t, std::unique_ptr<Window>>& Windows() {
  static std::map<std::uintptr_t, std::unique_ptr<Window>> windows;
  return windows;
}

// Handles are never reused in a process, so one kept from an earlier world (or a destroyed window) stays invalid.
std::uintptr_t nextHandle = 0x00010010;
constexpr std::uintptr_t kHandleStep = 4;

}  // namespace

void Reset(const Config& config) {
  StoredConfig() = config;
  ResetKernel(config);
  ResetShell();
  ResetGdi();  // before the windows go: DCs point at them
  ResetText();
  ResetClock();
  ResetMessages();
  ResetInput();
  ResetMenus();
  ResetWindows(config);
}

const Config& CurrentConfig() { return StoredConfig(); }

Window* NewWindowObject() {
  auto window = std::make_unique<Window>();
  std::uintptr_t value = nextHandle;
  nextHandle += kHandleStep;
  window->handle = reinterpret_cast<HWND>(value);
  Window* raw = window.get();
  Windows().emplace(value, std::move(window));
  return raw;
}

// Destroyed windows stay allocated until here, so pointers held on the stack across a destruction stay valid.
void ClearWindowRegistry() { Windows().clear(); }

Window* FromHandle(HWND hwnd) {
  auto it = Windows().find(reinterpret_cast<std::uintptr_t>(hwnd));
  if (it == Windows().end() || it->second->destroyed) return nullptr;
  return it->second.get();
}

}  // namespace emu
