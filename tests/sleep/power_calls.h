// The emulation's call log narrowed to the power and security calls, and the lines one run of the program expects.
#pragma once

#ifndef _WIN32
#include <string>
#include <vector>

#include "winapi/emu/control.h"

namespace sleep_test {

inline std::vector<std::string> PowerCalls() {
  static const std::string kNames[] = {"GetVersionExA",         "GetCurrentProcess",     "OpenProcessToken",
                                       "LookupPrivilegeValueA", "AdjustTokenPrivileges", "CloseHandle",
                                       "SetSystemPowerState"};
  std::vector<std::string> out;
  for (const std::string& line : emu::CallLog())
    for (const std::string& name : kNames)
      if (line.rfind(name, 0) == 0 && (line.size() == name.size() || line[name.size()] == '(')) out.push_back(line);
  return out;
}

inline const std::string kVersion = "GetVersionExA(148)";
inline const std::string kProcess = "GetCurrentProcess";
inline const std::string kOpen = "OpenProcessToken(process, 0x28)";
inline const std::string kLookup = "LookupPrivilegeValueA(null, SeShutdownPrivilege)";
// One privilege, the shutdown LUID, SE_PRIVILEGE_ENABLED; no buffer for the previous state.
inline const std::string kAdjust = "AdjustTokenPrivileges(token, FALSE, 1 [0:19 0x2], 0, null, null)";
inline const std::string kClose = "CloseHandle(token)";
inline const std::string kSuspend = "SetSystemPowerState(TRUE, FALSE)";

}  // namespace sleep_test
#endif
