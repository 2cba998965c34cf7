// The Windows family test and the shutdown privilege.
#include "sleep/Power.h"

#include "winapi/winapi.h"

namespace {
constexpr DWORD kVersionInfoSize = 148;  // size, three numbers, platform id and 128 bytes of service-pack text
constexpr DWORD kTokenAccess = 0x28;     // TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY
constexpr DWORD kPrivilegeEnabled = 2;   // SE_PRIVILEGE_ENABLED
}  // namespace

static_assert(sizeof(OSVERSIONINFOA) == kVersionInfoSize);

bool IsWindowsNT() {
  OSVERSIONINFOA info{};
  info.dwOSVersionInfoSize = kVersionInfoSize;
  GetVersionExA(&info);
  return info.dwPlatformId == VER_PLATFORM_WIN32_NT;
}

int EnableShutdownPrivilege() {
  HANDLE token = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), kTokenAccess, &token)) return -1;
  TOKEN_PRIVILEGES privileges{};
  // Without the identifier there is nothing sound to adjust: report the privilege as not enabled.
  if (!LookupPrivilegeValueA(nullptr, "SeShutdownPrivilege", &privileges.Privileges[0].Luid)) {
    CloseHandle(token);
    return 1;
  }
  privileges.PrivilegeCount = 1;
  privileges.Privileges[0].Attributes = kPrivilegeEnabled;
  AdjustTokenPrivileges(token, FALSE, &privileges, 0, nullptr, nullptr);
  // Read before anything else can touch it: the adjustment succeeds even when it enables nothing.
  const DWORD error = GetLastError();
  CloseHandle(token);
  return error != 0 ? 1 : 0;
}
