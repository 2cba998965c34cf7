// The process token with its shutdown privilege, and the suspend request.
#include <cstdio>
#include <functional>
#include <map>
#include <string>

#include "state.h"

namespace emu {
namespace {

constexpr LUID kShutdownLuid = {19, 0};

struct Security {
  std::map<HANDLE, DWORD> tokens;  // open token handles and the access they were opened with
  bool held = true;
  bool enabled = false;
  DWORD suspendMs = 0;
  BOOL suspendResult = TRUE;
  std::function<void()> suspendHook;
};

Security& Sec() {
  static Security security;
  return security;
}

std::string Hex(DWORD v) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "0x%lx", static_cast<unsigned long>(v));
  return buffer;
}

std::string Bool(BOOL b) { return b == FALSE ? "FALSE" : b == TRUE ? "TRUE" : std::to_string(b); }

bool IsProcess(HANDLE h) { return h == reinterpret_cast<HANDLE>(static_cast<LONG_PTR>(-1)); }

bool IsShutdown(const LUID& l) { return l.LowPart == kShutdownLuid.LowPart && l.HighPart == kShutdownLuid.HighPart; }

std::string LuidText(const LUID& l) { return std::to_string(l.HighPart) + ":" + std::to_string(l.LowPart); }

}  // namespace

bool CloseToken(HANDLE handle) { return Sec().tokens.erase(handle) != 0; }

void ResetSecurity() { Sec() = Security{}; }

void SetSuspend(DWORD durationMs, BOOL result) {
  Sec().suspendMs = durationMs;
  Sec().suspendResult = result;
}

void SetSuspendHook(std::function<void()> hook) { Sec().suspendHook = std::move(hook); }

void SetShutdownPrivilegeHeld(bool held) {
  Sec().held = held;
  if (!held) Sec().enabled = false;
}

bool ShutdownPrivilegeEnabled() { return Sec().enabled; }

}  // namespace emu

BOOL WINAPI OpenProcessToken(HANDLE process, DWORD access, PHANDLE token) {
  emu::Log("OpenProcessToken(" +
           (emu::IsProcess(process) ? std::string("process")
                                    : emu::Hex(static_cast<DWORD>(reinterpret_cast<ULONG_PTR>(process)))) +
           ", " + emu::Hex(access) + ")");
  DWORD code = 0;
  if (emu::ShouldFail("OpenProcessToken", &code)) {
    SetLastError(code);
    return FALSE;
  }
  if (!emu::IsProcess(process)) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  if (token == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  HANDLE h = emu::NewKernelHandle();
  emu::Sec().tokens[h] = access;
  *token = h;
  return TRUE;
}

BOOL WINAPI LookupPrivilegeValueA(LPCSTR system, LPCSTR name, PLUID luid) {
  emu::Log("LookupPrivilegeValueA(" + std::string(system == nullptr ? "null" : system) + ", " +
           std::string(name == nullptr ? "null" : name) + ")");
  DWORD code = 0;
  if (emu::ShouldFail("LookupPrivilegeValueA", &code)) {
    SetLastError(code);
    return FALSE;
  }
  if (name == nullptr || luid == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  if (!emu::EqualNoCase(name, SE_SHUTDOWN_NAME)) {
    SetLastError(ERROR_NO_SUCH_PRIVILEGE);
    return FALSE;
  }
  *luid = emu::kShutdownLuid;
  return TRUE;
}

BOOL WINAPI AdjustTokenPrivileges(HANDLE token, BOOL disableAll, PTOKEN_PRIVILEGES newState, DWORD bufferLength,
                                  PTOKEN_PRIVILEGES previousState, LPDWORD returnLength) {
  auto it = emu::Sec().tokens.find(token);
  const bool open = it != emu::Sec().tokens.end();
  std::string line = "AdjustTokenPrivileges(" + std::string(open ? "token" : "invalid") + ", " + emu::Bool(disableAll);
  if (newState == nullptr) {
    line += ", null";
  } else {
    line += ", " + std::to_string(newState->PrivilegeCount) + " [";
    for (DWORD i = 0; i < newState->PrivilegeCount; ++i) {
      if (i > 0) line += ", ";
      line += emu::LuidText(newState->Privileges[i].Luid) + " " + emu::Hex(newState->Privileges[i].Attributes);
    }
    line += "]";
  }
  line += ", " + std::to_string(bufferLength) + ", " + (previousState == nullptr ? "null" : "non-null") + ", " +
          (returnLength == nullptr ? "null" : "non-null") + ")";
  emu::Log(line);

  DWORD code = 0;
  if (emu::ShouldFail("AdjustTokenPrivileges", &code)) {
    SetLastError(code);
    return FALSE;
  }
  if (!open) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  const DWORD access = it->second;
  if ((access & TOKEN_ADJUST_PRIVILEGES) == 0 || (previousState != nullptr && (access & TOKEN_QUERY) == 0)) {
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
  }
  if (!disableAll && newState == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  // The previous state lists the privileges that this call changes; the token holds just the one.
  const bool wasEnabled = emu::Sec().enabled;
  bool changes = false;
  bool allAssigned = true;
  bool enable = wasEnabled;
  if (disableAll) {
    changes = wasEnabled;
    enable = false;
  } else {
    for (DWORD i = 0; i < newState->PrivilegeCount; ++i) {
      const LUID_AND_ATTRIBUTES& p = newState->Privileges[i];
      if (!emu::IsShutdown(p.Luid) || !emu::Sec().held) {
        allAssigned = false;
        continue;
      }
      enable = (p.Attributes & SE_PRIVILEGE_ENABLED) != 0;
    }
    changes = enable != wasEnabled;
  }
  if (previousState != nullptr) {
    const DWORD needed = static_cast<DWORD>(sizeof(TOKEN_PRIVILEGES));
    if (returnLength != nullptr) *returnLength = needed;
    if (bufferLength < needed) {
      SetLastError(ERROR_INSUFFICIENT_BUFFER);
      return FALSE;
    }
    previousState->PrivilegeCount = changes ? 1 : 0;
    if (changes)
      previousState->Privileges[0] = {emu::kShutdownLuid, static_cast<DWORD>(wasEnabled ? SE_PRIVILEGE_ENABLED : 0)};
  }
  emu::Sec().enabled = enable;
  // Success with a warning: the call returns TRUE and only the last error tells that something was not granted.
  SetLastError(allAssigned ? ERROR_SUCCESS : ERROR_NOT_ALL_ASSIGNED);
  return TRUE;
}

BOOL WINAPI SetSystemPowerState(BOOL suspend, BOOL force) {
  emu::Log("SetSystemPowerState(" + emu::Bool(suspend) + ", " + emu::Bool(force) + ")");
  DWORD code = 0;
  if (emu::ShouldFail("SetSystemPowerState", &code)) {
    SetLastError(code);
    return FALSE;
  }
  // The thread sleeps through the suspend: time passes, nothing is handled meanwhile.
  if (emu::Sec().suspendMs > 0) emu::AdvanceClock(emu::Sec().suspendMs);
  if (auto hook = emu::Sec().suspendHook) hook();  // a copy: the hook may replace itself
  if (!emu::Sec().suspendResult) SetLastError(ERROR_ACCESS_DENIED);
  return emu::Sec().suspendResult;
}
