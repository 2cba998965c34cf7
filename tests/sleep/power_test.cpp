// The power routines against the emulated kernel and token: which calls they make and what they report.
#include <gtest/gtest.h>

#ifndef _WIN32
#include <string>
#include <vector>

#include "harness/Harness.h"
#include "power_calls.h"
#include "sleep/Power.h"
#include "winapi/emu/control.h"

namespace {

using namespace sleep_test;

struct VersionCase {
  const char* what;
  DWORD platformId, major, minor, build;
  bool nt;
};

TEST(SleepPowerEmu, IsWindowsNTLooksAtThePlatformIdAlone) {
  const VersionCase cases[] = {
      {"NT 4", VER_PLATFORM_WIN32_NT, 4, 0, 1381, true},
      {"XP", VER_PLATFORM_WIN32_NT, 5, 1, 2600, true},
      {"NT numbered like 95", VER_PLATFORM_WIN32_NT, 4, 0, 950, true},
      {"95", VER_PLATFORM_WIN32_WINDOWS, 4, 0, 950, false},
      {"98", VER_PLATFORM_WIN32_WINDOWS, 4, 10, 1998, false},
      {"9x numbered like XP", VER_PLATFORM_WIN32_WINDOWS, 5, 1, 2600, false},
      {"Win32s", VER_PLATFORM_WIN32s, 3, 10, 0, false},
  };
  for (const VersionCase& c : cases) {
    SCOPED_TRACE(c.what);
    emu::Config config;
    config.platformId = c.platformId;
    config.majorVersion = c.major;
    config.minorVersion = c.minor;
    config.buildNumber = c.build;
    emu::Reset(config);
    EXPECT_EQ(IsWindowsNT(), c.nt);
    // The record handed over is the 148-byte one.
    EXPECT_EQ(PowerCalls(), std::vector<std::string>{"GetVersionExA(148)"});
  }
}

struct PrivilegeCase {
  const char* what;
  void (*arrange)();
  int result;
  bool enabled;
  std::vector<std::string> calls;
};

TEST(SleepPowerEmu, EnableShutdownPrivilegeReportsWhatWindowsSays) {
  const PrivilegeCase cases[] = {
      {"held", [] {}, 0, true, {"GetCurrentProcess", kOpen, kLookup, kAdjust, kClose}},
      {"not held",
       [] { emu::SetShutdownPrivilegeHeld(false); },
       1,
       false,
       {"GetCurrentProcess", kOpen, kLookup, kAdjust, kClose}},
      {"token refused",
       [] { emu::Fail("OpenProcessToken", ERROR_ACCESS_DENIED); },
       -1,
       false,
       {"GetCurrentProcess", kOpen}},
      {"adjustment fails",
       [] { emu::Fail("AdjustTokenPrivileges", ERROR_ACCESS_DENIED); },
       1,
       false,
       {"GetCurrentProcess", kOpen, kLookup, kAdjust, kClose}},
      // Without the identifier nothing is adjusted; the token is still given back.
      {"lookup fails",
       [] { emu::Fail("LookupPrivilegeValueA", ERROR_NO_SUCH_PRIVILEGE); },
       1,
       false,
       {"GetCurrentProcess", kOpen, kLookup, kClose}},
  };
  for (const PrivilegeCase& c : cases) {
    SCOPED_TRACE(c.what);
    emu::Reset();
    c.arrange();
    EXPECT_EQ(EnableShutdownPrivilege(), c.result);
    EXPECT_EQ(emu::ShutdownPrivilegeEnabled(), c.enabled);
    EXPECT_EQ(PowerCalls(), c.calls);
  }
}

TEST(SleepPowerEmu, EnablingTwiceKeepsThePrivilegeAndLeavesNoTokenOpen) {
  emu::Reset();
  EXPECT_EQ(EnableShutdownPrivilege(), 0);
  EXPECT_EQ(EnableShutdownPrivilege(), 0);
  EXPECT_TRUE(emu::ShutdownPrivilegeEnabled());
  int closed = 0;
  for (const std::string& line : emu::CallLog()) {
    EXPECT_NE(line, "CloseHandle(invalid)");
    closed += line == kClose;
  }
  EXPECT_EQ(closed, 2);
}

}  // namespace
#endif
