// The emulated kernel: module path and handle, version record, resources and the file search.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "winapi/emu/control.h"
#include "winapi/winapi.h"

namespace {

const emu::ResourceRegistration kRegistered(RT_RCDATA, "Registered", "ab\0c", 4);

class KernelEmu : public ::testing::Test {
 protected:
  void SetUp() override { emu::Reset(); }
};

TEST_F(KernelEmu, ModuleHandleIsTheProcessForNullAndItsOwnName) {
  const HMODULE self = GetModuleHandleA(nullptr);
  ASSERT_NE(self, nullptr);
  EXPECT_EQ(GetModuleHandleA("install.exe"), self);
  EXPECT_EQ(GetModuleHandleA("INSTALL.EXE"), self);
  EXPECT_EQ(GetModuleHandleA("C:\\program files\\app\\Install.exe"), self);
  for (const char* other : {"kernel32.dll", "install", "sleep.exe", ""}) {
    SetLastError(0);
    EXPECT_EQ(GetModuleHandleA(other), nullptr) << other;
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MOD_NOT_FOUND)) << other;
  }
}

TEST_F(KernelEmu, ModuleFileNameTruncatesAsWindowsDoes) {
  emu::Config config;
  config.modulePath = "D:\\Apps\\Tool\\install.exe";
  emu::Reset(config);
  const DWORD length = static_cast<DWORD>(config.modulePath.size());
  struct Case {
    DWORD size;
    DWORD result;
    std::string text;
    DWORD error;  // 0: left as it was
  };
  const std::vector<Case> cases = {
      {length + 20, length, config.modulePath, 0},
      {length + 1, length, config.modulePath, 0},
      {length, length, config.modulePath.substr(0, length - 1), ERROR_INSUFFICIENT_BUFFER},
      {5, 5, "D:\\A", ERROR_INSUFFICIENT_BUFFER},
      {1, 1, "", ERROR_INSUFFICIENT_BUFFER},
  };
  for (const Case& c : cases) {
    char buffer[64];
    std::memset(buffer, 'X', sizeof buffer);
    SetLastError(0);
    EXPECT_EQ(GetModuleFileNameA(nullptr, buffer, c.size), c.result) << c.size;
    EXPECT_EQ(std::string(buffer), c.text) << c.size;
    EXPECT_EQ(GetLastError(), c.error) << c.size;
    for (DWORD i = c.size; i < sizeof buffer; ++i) ASSERT_EQ(buffer[i], 'X') << "written past the size " << c.size;
  }
  char untouched = 'X';
  SetLastError(0);
  EXPECT_EQ(GetModuleFileNameA(nullptr, &untouched, 0), 0u);
  EXPECT_EQ(untouched, 'X');
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));

  char buffer[64];
  EXPECT_EQ(GetModuleFileNameA(GetModuleHandleA(nullptr), buffer, sizeof buffer), length);
  EXPECT_EQ(GetModuleFileNameA(reinterpret_cast<HMODULE>(0x12340000), buffer, sizeof buffer), 0u);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MOD_NOT_FOUND));
}

TEST_F(KernelEmu, VersionRecordIsFilledFromTheConfiguration) {
  struct Case {
    DWORD platform, major, minor;
  };
  for (const Case& c : {Case{VER_PLATFORM_WIN32_NT, 4, 0}, Case{VER_PLATFORM_WIN32_NT, 5, 1},
                        Case{VER_PLATFORM_WIN32_WINDOWS, 4, 10}, Case{VER_PLATFORM_WIN32s, 3, 11}}) {
    emu::Config config;
    config.platformId = c.platform;
    config.majorVersion = c.major;
    config.minorVersion = c.minor;
    emu::Reset(config);
    OSVERSIONINFOA info;
    std::memset(&info, 0x55, sizeof info);
    info.dwOSVersionInfoSize = sizeof info;
    ASSERT_EQ(sizeof info, 148u);
    ASSERT_TRUE(GetVersionExA(&info));
    EXPECT_EQ(info.dwPlatformId, c.platform);
    EXPECT_EQ(info.dwMajorVersion, c.major);
    EXPECT_EQ(info.dwMinorVersion, c.minor);
    EXPECT_EQ(info.dwOSVersionInfoSize, 148u);
    EXPECT_EQ(info.szCSDVersion[0], '\0');
    EXPECT_EQ(emu::CallLog(), std::vector<std::string>{"GetVersionExA(148)"});
  }
}

TEST_F(KernelEmu, VersionRecordOfAnotherSizeIsRefused) {
  for (DWORD size : {0u, 4u, 147u, 149u, 156u, 0xFFFFFFFFu}) {
    OSVERSIONINFOA info{};
    info.dwOSVersionInfoSize = size;
    info.dwPlatformId = 77;
    SetLastError(0);
    EXPECT_FALSE(GetVersionExA(&info)) << size;
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER)) << size;
    EXPECT_EQ(info.dwPlatformId, 77u) << size;
  }
}

TEST_F(KernelEmu, CloseHandleKnowsThePseudoHandleOnly) {
  EXPECT_TRUE(CloseHandle(GetCurrentProcess()));
  SetLastError(0);
  EXPECT_FALSE(CloseHandle(reinterpret_cast<HANDLE>(0x4444)));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
  EXPECT_EQ(emu::CallLog(),
            (std::vector<std::string>{"GetCurrentProcess", "CloseHandle(process)", "CloseHandle(invalid)"}));
}

TEST_F(KernelEmu, FailuresAreCountedAndResetClearsThem) {
  emu::Fail("FindResourceA", ERROR_NOT_ENOUGH_MEMORY, 2);
  DWORD code = 0;
  EXPECT_TRUE(emu::ShouldFail("FindResourceA", &code));
  EXPECT_EQ(code, static_cast<DWORD>(ERROR_NOT_ENOUGH_MEMORY));
  EXPECT_TRUE(emu::ShouldFail("FindResourceA", &code));
  EXPECT_FALSE(emu::ShouldFail("FindResourceA", &code));
  emu::Fail("Save", 7);
  for (int i = 0; i < 5; ++i) EXPECT_TRUE(emu::ShouldFail("Save", &code));
  emu::Fail("Save", 7, 0);
  EXPECT_FALSE(emu::ShouldFail("Save", &code));
  emu::Fail("SetPath", 7);
  emu::Log("line");
  SetLastError(99);
  emu::Reset();
  EXPECT_FALSE(emu::ShouldFail("SetPath", &code));
  EXPECT_TRUE(emu::CallLog().empty());
  EXPECT_EQ(GetLastError(), 0u);
}

// ---- Resources

class ResourcesEmu : public ::testing::Test {
 protected:
  void SetUp() override { emu::Reset(); }
  static std::string Read(LPCSTR name, LPCSTR type) {
    HRSRC r = FindResourceA(nullptr, name, type);
    if (r == nullptr) return "<missing>";
    HGLOBAL g = LoadResource(nullptr, r);
    const char* p = static_cast<const char*>(LockResource(g));
    return std::string(p, SizeofResource(nullptr, r));
  }
};

TEST_F(ResourcesEmu, NamesAndTypesMatchWithoutCaseAndByNumber) {
  emu::AddResource(RT_RCDATA, "TFORM1", "form bytes");
  emu::AddResource(RT_GROUP_ICON, "MainIcon", "icon");
  emu::AddResource(RT_ICON, "#1", "image one");
  emu::AddResource("FORMS", "Extra", "named type");
  struct Case {
    LPCSTR name;
    LPCSTR type;
    std::string bytes;
  };
  const std::vector<Case> cases = {
      {"TFORM1", RT_RCDATA, "form bytes"},
      {"tform1", RT_RCDATA, "form bytes"},
      {"MAINICON", RT_GROUP_ICON, "icon"},
      {"mainicon", MAKEINTRESOURCEA(14), "icon"},
      {MAKEINTRESOURCEA(1), RT_ICON, "image one"},
      {"#1", RT_ICON, "image one"},
      {"extra", "forms", "named type"},
      {"EXTRA", "#0", "<missing>"},
      {"Registered", RT_RCDATA, std::string("ab\0c", 4)},
  };
  for (const Case& c : cases) EXPECT_EQ(Read(c.name, c.type), c.bytes) << (IS_INTRESOURCE(c.name) ? "#id" : c.name);
}

TEST_F(ResourcesEmu, MissingTypeAndMissingNameAreTold) {
  emu::AddResource(RT_RCDATA, "TFORM1", "x");
  struct Case {
    LPCSTR name;
    LPCSTR type;
    DWORD error;
  };
  for (const Case& c :
       {Case{"TFORM2", RT_RCDATA, ERROR_RESOURCE_NAME_NOT_FOUND},
        Case{"TFORM1", RT_ICON, ERROR_RESOURCE_TYPE_NOT_FOUND}, Case{"TFORM1", "RCDATA", ERROR_RESOURCE_TYPE_NOT_FOUND},
        Case{MAKEINTRESOURCEA(1), RT_RCDATA, ERROR_RESOURCE_NAME_NOT_FOUND}}) {
    SetLastError(0);
    EXPECT_EQ(FindResourceA(nullptr, c.name, c.type), nullptr);
    EXPECT_EQ(GetLastError(), c.error);
  }
  EXPECT_EQ(FindResourceA(reinterpret_cast<HMODULE>(0x7000000), "TFORM1", RT_RCDATA), nullptr);
}

TEST_F(ResourcesEmu, FaultMakesFindResourceFailWithTheCode) {
  emu::AddResource(RT_RCDATA, "TFORM1", "x");
  emu::Fail("FindResourceA", ERROR_NOT_ENOUGH_MEMORY, 1);
  SetLastError(0);
  EXPECT_EQ(FindResourceA(nullptr, "TFORM1", RT_RCDATA), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_ENOUGH_MEMORY));
  EXPECT_NE(FindResourceA(nullptr, "TFORM1", RT_RCDATA), nullptr);
}

TEST_F(ResourcesEmu, AddingAgainReplacesAndResetRestoresTheRegisteredSet) {
  emu::AddResource(RT_RCDATA, "registered", "replaced");
  emu::AddResource(RT_RCDATA, "OnlyThisTest", "temporary");
  EXPECT_EQ(Read("REGISTERED", RT_RCDATA), "replaced");
  emu::Reset();
  EXPECT_EQ(Read("REGISTERED", RT_RCDATA), std::string("ab\0c", 4));
  EXPECT_EQ(Read("OnlyThisTest", RT_RCDATA), "<missing>");
}

TEST_F(ResourcesEmu, HandlesOfAnotherWorldAreRefused) {
  HRSRC r = FindResourceA(nullptr, "Registered", RT_RCDATA);
  ASSERT_NE(r, nullptr);
  HGLOBAL g = LoadResource(nullptr, r);
  ASSERT_NE(LockResource(g), nullptr);
  emu::AddResource(RT_RCDATA, "OnlyThisTest", "temporary");
  HRSRC temporary = FindResourceA(nullptr, "OnlyThisTest", RT_RCDATA);
  emu::Reset();
  SetLastError(0);
  EXPECT_EQ(LoadResource(nullptr, temporary), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
  EXPECT_EQ(SizeofResource(nullptr, temporary), 0u);
}

// ---- File search

class FilesEmu : public ::testing::Test {
 protected:
  void SetUp() override {
    emu::Reset();
    emu::SetFolder("C:\\Apps\\", {{"readme.txt", FILE_ATTRIBUTE_ARCHIVE},
                                  {"Setup.EXE", FILE_ATTRIBUTE_ARCHIVE},
                                  {"install.exe", FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_READONLY},
                                  {"tool.exe.bak", FILE_ATTRIBUTE_ARCHIVE},
                                  {"a.exe", FILE_ATTRIBUTE_HIDDEN},
                                  {"Sub.exe", FILE_ATTRIBUTE_DIRECTORY},
                                  {"テスト.exe", FILE_ATTRIBUTE_ARCHIVE},
                                  {"表.exe", FILE_ATTRIBUTE_ARCHIVE},
                                  {"noext", FILE_ATTRIBUTE_ARCHIVE},
                                  {"exe", FILE_ATTRIBUTE_ARCHIVE}});
  }

  // Every name the search gives, closing it; "<error n>" when it fails.
  static std::vector<std::string> List(const std::string& pattern) {
    WIN32_FIND_DATAA data;
    HANDLE h = FindFirstFileA(pattern.c_str(), &data);
    if (h == INVALID_HANDLE_VALUE) return {"<error " + std::to_string(GetLastError()) + ">"};
    std::vector<std::string> names{data.cFileName};
    while (FindNextFileA(h, &data)) names.push_back(data.cFileName);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NO_MORE_FILES));
    EXPECT_TRUE(FindClose(h));
    return names;
  }
};

TEST_F(FilesEmu, PatternsMatchLikeWindowsInListingOrder) {
  using Names = std::vector<std::string>;
  struct Case {
    std::string pattern;
    Names names;
  };
  const std::vector<Case> cases = {
      {"C:\\Apps\\*.exe", {"Setup.EXE", "install.exe", "a.exe", "Sub.exe", "テスト.exe", "表.exe"}},
      {"c:\\APPS\\*.EXE", {"Setup.EXE", "install.exe", "a.exe", "Sub.exe", "テスト.exe", "表.exe"}},
      {"C:\\Apps\\?.exe", {"a.exe", "表.exe"}},
      {"C:\\Apps\\???.exe", {"Sub.exe", "テスト.exe"}},
      {"C:\\Apps\\s*", {"Setup.EXE", "Sub.exe"}},
      {"C:\\Apps\\*.bak", {"tool.exe.bak"}},
      {"C:\\Apps\\*exe", {"Setup.EXE", "install.exe", "a.exe", "Sub.exe", "テスト.exe", "表.exe", "exe"}},
      {"C:\\Apps\\INSTALL.exe", {"install.exe"}},
      {"C:\\Apps\\テ*", {"テスト.exe"}},
      {"C:\\Apps\\表*", {"表.exe"}},
      {"C:\\Apps\\*.*",
       {"readme.txt", "Setup.EXE", "install.exe", "tool.exe.bak", "a.exe", "Sub.exe", "テスト.exe", "表.exe", "noext",
        "exe"}},
      {"C:\\Apps\\*",
       {"readme.txt", "Setup.EXE", "install.exe", "tool.exe.bak", "a.exe", "Sub.exe", "テスト.exe", "表.exe", "noext",
        "exe"}},
      {"C:\\Apps\\*.com", {"<error 2>"}},
      {"C:\\Apps\\", {"<error 2>"}},
      {"C:\\Other\\*.exe", {"<error 3>"}},
      {"C:\\Apps\\Sub.exe\\*.exe", {"<error 3>"}},
  };
  for (const Case& c : cases) EXPECT_EQ(List(c.pattern), c.names) << c.pattern;
  EXPECT_EQ(emu::OpenFindHandles(), 0);
}

TEST_F(FilesEmu, TrailByteBackslashIsNoSeparator) {
  // 表 is 0x95 0x5C: its second byte must not end the folder part.
  ASSERT_EQ(std::string("表"), "\x95\x5C");
  emu::SetFolder("D:\\表\\", {{"ソフト.exe"}, {"x.txt"}});
  emu::SetFolder("D:\\", {{"root.exe"}});
  EXPECT_EQ(List("D:\\表\\*.exe"), std::vector<std::string>{"ソフト.exe"});
  EXPECT_EQ(List("D:\\*.exe"), std::vector<std::string>{"root.exe"});
  EXPECT_EQ(List("D:\\表*.exe"), std::vector<std::string>{"<error 2>"});
  // A folder given without its separator is the same folder.
  emu::SetFolder("E:\\能", {{"y.exe"}});
  EXPECT_EQ(List("E:\\能\\*.exe"), std::vector<std::string>{"y.exe"});
}

TEST_F(FilesEmu, EntriesCarryTheirAttributesAndTheHandleCountsUntilClosed) {
  WIN32_FIND_DATAA data;
  std::memset(&data, 0x55, sizeof data);
  HANDLE first = FindFirstFileA("C:\\Apps\\*.exe", &data);
  ASSERT_NE(first, INVALID_HANDLE_VALUE);
  EXPECT_STREQ(data.cFileName, "Setup.EXE");
  EXPECT_EQ(data.dwFileAttributes, static_cast<DWORD>(FILE_ATTRIBUTE_ARCHIVE));
  EXPECT_EQ(data.cAlternateFileName[0], '\0');
  HANDLE second = FindFirstFileA("C:\\Apps\\S*", &data);
  ASSERT_NE(second, INVALID_HANDLE_VALUE);
  EXPECT_NE(first, second);
  EXPECT_EQ(emu::OpenFindHandles(), 2);
  ASSERT_TRUE(FindNextFileA(first, &data));
  EXPECT_STREQ(data.cFileName, "install.exe");
  EXPECT_EQ(data.dwFileAttributes, static_cast<DWORD>(FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_READONLY));
  ASSERT_TRUE(FindNextFileA(second, &data));
  EXPECT_STREQ(data.cFileName, "Sub.exe");
  EXPECT_EQ(data.dwFileAttributes, static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY));
  EXPECT_TRUE(FindClose(first));
  EXPECT_EQ(emu::OpenFindHandles(), 1);
  SetLastError(0);
  EXPECT_FALSE(FindNextFileA(first, &data));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
  EXPECT_FALSE(FindClose(first));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
  EXPECT_FALSE(FindNextFileA(second, &data));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NO_MORE_FILES));
  EXPECT_FALSE(FindNextFileA(second, &data));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NO_MORE_FILES));
  EXPECT_TRUE(FindClose(second));
  EXPECT_EQ(emu::OpenFindHandles(), 0);
}

TEST_F(FilesEmu, EveryCallIsLoggedWithItsPattern) {
  emu::ClearCallLog();
  WIN32_FIND_DATAA data;
  HANDLE h = FindFirstFileA("C:\\Apps\\*.exe", &data);
  FindNextFileA(h, &data);
  FindClose(h);
  FindFirstFileA("C:\\Nowhere\\テスト*", &data);
  EXPECT_EQ(emu::CallLog(), (std::vector<std::string>{"FindFirstFileA(C:\\Apps\\*.exe)", "FindNextFileA", "FindClose",
                                                      "FindFirstFileA(C:\\Nowhere\\テスト*)"}));
}

TEST_F(FilesEmu, FaultFailsTheSearchWithTheCode) {
  emu::Fail("FindFirstFileA", ERROR_ACCESS_DENIED, 1);
  EXPECT_EQ(List("C:\\Apps\\*.exe"), std::vector<std::string>{"<error 5>"});
  EXPECT_EQ(List("C:\\Apps\\a.exe"), std::vector<std::string>{"a.exe"});
  EXPECT_EQ(emu::OpenFindHandles(), 0);
}

TEST_F(FilesEmu, SettingAFolderAgainReplacesItsListing) {
  emu::SetFolder("c:\\apps", {{"new.exe"}});
  EXPECT_EQ(List("C:\\Apps\\*.exe"), std::vector<std::string>{"new.exe"});
}

TEST_F(FilesEmu, TheProgramsOwnFolderListsTheProgram) {
  emu::Config config;
  config.modulePath = "D:\\Tools\\Install.EXE";
  emu::Reset(config);
  EXPECT_EQ(List("D:\\Tools\\*.exe"), std::vector<std::string>{"Install.EXE"});
  EXPECT_EQ(List("C:\\Program Files\\App\\*.exe"), std::vector<std::string>{"<error 3>"});
}

TEST_F(FilesEmu, ResetClosesEverySearch) {
  WIN32_FIND_DATAA data;
  ASSERT_NE(FindFirstFileA("C:\\Apps\\*", &data), INVALID_HANDLE_VALUE);
  EXPECT_EQ(emu::OpenFindHandles(), 1);
  emu::Reset();
  EXPECT_EQ(emu::OpenFindHandles(), 0);
  EXPECT_EQ(List("C:\\Apps\\*"), std::vector<std::string>{"<error 3>"});
}

}  // namespace
