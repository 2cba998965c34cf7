// The emulated process token, shutdown privilege and suspend request.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "winapi/emu/control.h"
#include "winapi/winapi.h"

namespace {

class SecurityEmu : public ::testing::Test {
 protected:
  void SetUp() override { emu::Reset(); }

  static HANDLE OpenToken(DWORD access = TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY) {
    HANDLE token = nullptr;
    EXPECT_TRUE(OpenProcessToken(GetCurrentProcess(), access, &token));
    return token;
  }
  static TOKEN_PRIVILEGES Enable(const LUID& luid) {
    TOKEN_PRIVILEGES tp{};
    tp.PrivilegeCount = 1;
    tp.Privileges[0].Luid = luid;
    tp.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    return tp;
  }
  static LUID Shutdown() {
    LUID luid{};
    EXPECT_TRUE(LookupPrivilegeValueA(nullptr, SE_SHUTDOWN_NAME, &luid));
    return luid;
  }
};

TEST_F(SecurityEmu, TheShutdownPrivilegeIsEnabledWithTheseCalls) {
  HANDLE token = OpenToken();
  ASSERT_NE(token, nullptr);
  LUID luid = Shutdown();
  EXPECT_EQ(luid.LowPart, 19u);
  EXPECT_EQ(luid.HighPart, 0);
  TOKEN_PRIVILEGES tp = Enable(luid);
  SetLastError(ERROR_ACCESS_DENIED);
  EXPECT_TRUE(AdjustTokenPrivileges(token, FALSE, &tp, 0, nullptr, nullptr));
  EXPECT_EQ(GetLastError(), 0u) << "success clears the last error";
  EXPECT_TRUE(emu::ShutdownPrivilegeEnabled());
  EXPECT_TRUE(CloseHandle(token));
  EXPECT_EQ(emu::CallLog(), (std::vector<std::string>{
                                "GetCurrentProcess",
                                "OpenProcessToken(process, 0x28)",
                                "LookupPrivilegeValueA(null, SeShutdownPrivilege)",
                                "AdjustTokenPrivileges(token, FALSE, 1 [0:19 0x2], 0, null, null)",
                                "CloseHandle(token)",
                            }));
}

TEST_F(SecurityEmu, APrivilegeNotHeldSucceedsWithAWarning) {
  emu::SetShutdownPrivilegeHeld(false);
  HANDLE token = OpenToken();
  TOKEN_PRIVILEGES tp = Enable(Shutdown());
  SetLastError(0);
  EXPECT_TRUE(AdjustTokenPrivileges(token, FALSE, &tp, 0, nullptr, nullptr));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_ALL_ASSIGNED));
  EXPECT_FALSE(emu::ShutdownPrivilegeEnabled());
  // A privilege the token does not have at all is refused the same way.
  emu::SetShutdownPrivilegeHeld(true);
  TOKEN_PRIVILEGES other = Enable(LUID{23, 0});
  EXPECT_TRUE(AdjustTokenPrivileges(token, FALSE, &other, 0, nullptr, nullptr));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_ALL_ASSIGNED));
  EXPECT_FALSE(emu::ShutdownPrivilegeEnabled());
}

TEST_F(SecurityEmu, AdjustmentFailures) {
  struct Case {
    const char* name;
    DWORD access;
    bool closeFirst;
    const char* fault;
    DWORD error;
  };
  for (const Case& c : {Case{"fault", 0x28, false, "AdjustTokenPrivileges", ERROR_NOT_ENOUGH_MEMORY},
                        Case{"query-only token", TOKEN_QUERY, false, nullptr, ERROR_ACCESS_DENIED},
                        Case{"closed token", 0x28, true, nullptr, ERROR_INVALID_HANDLE}}) {
    emu::Reset();
    HANDLE token = OpenToken(c.access);
    if (c.closeFirst) CloseHandle(token);
    if (c.fault != nullptr) emu::Fail(c.fault, c.error);
    TOKEN_PRIVILEGES tp = Enable(Shutdown());
    SetLastError(0);
    EXPECT_FALSE(AdjustTokenPrivileges(token, FALSE, &tp, 0, nullptr, nullptr)) << c.name;
    EXPECT_EQ(GetLastError(), c.error) << c.name;
    EXPECT_FALSE(emu::ShutdownPrivilegeEnabled()) << c.name;
  }
  EXPECT_EQ(emu::CallLog().back(), "AdjustTokenPrivileges(invalid, FALSE, 1 [0:19 0x2], 0, null, null)");
}

TEST_F(SecurityEmu, PreviousStateAndDisablingAll) {
  HANDLE token = OpenToken();
  TOKEN_PRIVILEGES tp = Enable(Shutdown());
  TOKEN_PRIVILEGES previous{};
  DWORD length = 0;
  SetLastError(0);
  EXPECT_FALSE(AdjustTokenPrivileges(token, FALSE, &tp, 4, &previous, &length));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
  EXPECT_EQ(length, sizeof(TOKEN_PRIVILEGES));
  EXPECT_FALSE(emu::ShutdownPrivilegeEnabled());

  previous.PrivilegeCount = 9;
  EXPECT_TRUE(AdjustTokenPrivileges(token, FALSE, &tp, sizeof previous, &previous, &length));
  EXPECT_EQ(previous.PrivilegeCount, 1u);
  EXPECT_EQ(previous.Privileges[0].Luid.LowPart, 19u);
  EXPECT_EQ(previous.Privileges[0].Attributes, 0u);
  EXPECT_TRUE(emu::ShutdownPrivilegeEnabled());

  EXPECT_TRUE(AdjustTokenPrivileges(token, FALSE, &tp, sizeof previous, &previous, &length));
  EXPECT_EQ(previous.PrivilegeCount, 0u) << "nothing changed this time";

  EXPECT_TRUE(AdjustTokenPrivileges(token, TRUE, nullptr, 0, nullptr, nullptr));
  EXPECT_EQ(GetLastError(), 0u);
  EXPECT_FALSE(emu::ShutdownPrivilegeEnabled());
  EXPECT_EQ(emu::CallLog().back(), "AdjustTokenPrivileges(token, TRUE, null, 0, null, null)");
}

TEST_F(SecurityEmu, OpeningTheToken) {
  HANDLE first = OpenToken();
  HANDLE second = OpenToken(TOKEN_QUERY);
  EXPECT_NE(first, second);
  EXPECT_NE(first, GetCurrentProcess());

  emu::Fail("OpenProcessToken", ERROR_ACCESS_DENIED, 1);
  HANDLE token = reinterpret_cast<HANDLE>(0x99);
  SetLastError(0);
  EXPECT_FALSE(OpenProcessToken(GetCurrentProcess(), 0x28, &token));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
  EXPECT_EQ(token, reinterpret_cast<HANDLE>(0x99)) << "no handle written on failure";

  EXPECT_FALSE(OpenProcessToken(reinterpret_cast<HANDLE>(0x50), 0x28, &token));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));

  EXPECT_TRUE(CloseHandle(first));
  EXPECT_FALSE(CloseHandle(first));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
  EXPECT_EQ(emu::CallLog(),
            (std::vector<std::string>{"GetCurrentProcess", "OpenProcessToken(process, 0x28)", "GetCurrentProcess",
                                      "OpenProcessToken(process, 0x8)", "GetCurrentProcess", "GetCurrentProcess",
                                      "OpenProcessToken(process, 0x28)", "OpenProcessToken(0x50, 0x28)",
                                      "CloseHandle(token)", "CloseHandle(invalid)"}));
}

TEST_F(SecurityEmu, LookingUpPrivileges) {
  struct Case {
    LPCSTR system;
    LPCSTR name;
    bool found;
    DWORD error;
    std::string line;
  };
  for (const Case& c :
       {Case{nullptr, "SeShutdownPrivilege", true, 0, "LookupPrivilegeValueA(null, SeShutdownPrivilege)"},
        Case{nullptr, "seshutdownprivilege", true, 0, "LookupPrivilegeValueA(null, seshutdownprivilege)"},
        Case{"\\\\HOST", "SeShutdownPrivilege", true, 0, "LookupPrivilegeValueA(\\\\HOST, SeShutdownPrivilege)"},
        Case{nullptr, "SeDebugPrivilegeX", false, ERROR_NO_SUCH_PRIVILEGE,
             "LookupPrivilegeValueA(null, SeDebugPrivilegeX)"},
        Case{nullptr, "", false, ERROR_NO_SUCH_PRIVILEGE, "LookupPrivilegeValueA(null, )"}}) {
    emu::ClearCallLog();
    LUID luid{77, 77};
    SetLastError(0);
    EXPECT_EQ(LookupPrivilegeValueA(c.system, c.name, &luid) != FALSE, c.found) << c.name;
    EXPECT_EQ(GetLastError(), c.error) << c.name;
    EXPECT_EQ(luid.LowPart, c.found ? 19u : 77u) << c.name;
    EXPECT_EQ(emu::CallLog(), std::vector<std::string>{c.line});
  }
  emu::Fail("LookupPrivilegeValueA", ERROR_ACCESS_DENIED, 1);
  LUID luid{77, 77};
  EXPECT_FALSE(LookupPrivilegeValueA(nullptr, SE_SHUTDOWN_NAME, &luid));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
  EXPECT_EQ(luid.LowPart, 77u);
}

// ---- Suspend

class PowerEmu : public ::testing::Test {
 protected:
  void SetUp() override { emu::Reset(); }
};

TEST_F(PowerEmu, ASuspendHoldsTheThreadForItsDurationAndGivesItsResult) {
  struct Case {
    DWORD duration;
    BOOL result;
  };
  for (const Case& c : {Case{0, TRUE}, Case{0, FALSE}, Case{5000, TRUE}, Case{250, FALSE}}) {
    emu::Reset();
    emu::SetSuspend(c.duration, c.result);
    const DWORD before = emu::Now();
    EXPECT_EQ(SetSystemPowerState(TRUE, FALSE), c.result);
    EXPECT_EQ(emu::Now() - before, c.duration);
    EXPECT_EQ(emu::CallLog(), std::vector<std::string>{"SetSystemPowerState(TRUE, FALSE)"});
  }
}

TEST_F(PowerEmu, NoTickIsHandledWhileTheThreadIsHeld) {
  static int ticks;
  ticks = 0;
  const UINT_PTR id = SetTimer(nullptr, 0, 1000, [](HWND, UINT, UINT_PTR, DWORD) { ++ticks; });
  ASSERT_NE(id, 0u);
  emu::SetSuspend(3500, TRUE);
  EXPECT_TRUE(SetSystemPowerState(TRUE, FALSE));
  EXPECT_EQ(ticks, 0);
  EXPECT_EQ(emu::Now(), 3500u);
  // The periods slept through come as one tick once the thread reads its queue again.
  int timerMessages = 0;
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_TIMER) ++timerMessages;
    DispatchMessageA(&msg);
  }
  EXPECT_EQ(timerMessages, 1);
  EXPECT_EQ(ticks, 1);
  KillTimer(nullptr, id);
}

TEST_F(PowerEmu, DefaultsAndFault) {
  const DWORD before = emu::Now();
  EXPECT_TRUE(SetSystemPowerState(FALSE, TRUE));
  EXPECT_EQ(emu::Now(), before);
  EXPECT_EQ(emu::CallLog().back(), "SetSystemPowerState(FALSE, TRUE)");
  emu::SetSuspend(3000, TRUE);
  emu::Fail("SetSystemPowerState", ERROR_ACCESS_DENIED, 1);
  SetLastError(0);
  EXPECT_FALSE(SetSystemPowerState(TRUE, FALSE));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
  EXPECT_EQ(emu::Now(), before) << "a refused request returns at once";
  emu::Reset();
  EXPECT_TRUE(SetSystemPowerState(TRUE, FALSE)) << "Reset forgets the scripted suspend";
}

}  // namespace
