// The shell services: the exact calls behind a special folder and a shortcut, their faults and COM balance.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "harness/Harness.h"
#include "install/ShellServices.h"
#include "vcl/Forms.h"
#include "winapi/winapi.h"

#ifndef _WIN32
#include "winapi/emu/control.h"
#endif

namespace {

#ifndef _WIN32

const char kDesktop[] = "C:\\Documents and Settings\\User\\Desktop";
const char kPrograms[] = "C:\\Documents and Settings\\User\\Start Menu\\Programs";

std::string Hex(const void* p) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "0x%lx", static_cast<unsigned long>(reinterpret_cast<std::uintptr_t>(p)));
  return buffer;
}

std::string Utf8(const char8_t* s) { return reinterpret_cast<const char*>(s); }

// COM left as it was found: every start undone, every object and reference and item-id list given back.
void ExpectBalanced(const std::string& what) {
  const emu::ComState c = emu::Com();
  EXPECT_EQ(c.initializeCalls, c.uninitializeCalls) << what;
  EXPECT_EQ(c.liveObjects, 0) << what;
  EXPECT_EQ(c.outstandingRefs, 0) << what;
  EXPECT_EQ(c.livePidls, 0) << what;
}

class ShellServicesEmu : public ::testing::Test {
 protected:
  void SetUp() override {
    th::Fresh();
    Application->Initialize();
    emu::ClearCallLog();
  }
  void TearDown() override { Application.Reset(); }
};

TEST_F(ShellServicesEmu, SpecialFolderComesFromTheShellWithTheApplicationAsOwner) {
  struct Case {
    AnsiString (*get)();
    int csidl;
    std::string path;
  };
  emu::SetSpecialFolder(2, "D:\\スタート\\表");
  const std::vector<Case> cases = {{&GetDesktopFolder, 0, kDesktop}, {&GetProgramsFolder, 2, "D:\\スタート\\表"}};
  for (const Case& c : cases) {
    emu::ClearCallLog();
    EXPECT_EQ(c.get(), c.path.c_str());
    const std::string id = std::to_string(c.csidl);
    EXPECT_EQ(emu::CallLog(),
              (std::vector<std::string>{"SHGetSpecialFolderLocation(" + Hex(Application->Handle()) + ", " + id + ")",
                                        "SHGetPathFromIDListA(" + id + ")", "CoTaskMemFree(pidl)"}));
    EXPECT_EQ(GetSpecialFolder(c.csidl), c.path.c_str());
    ExpectBalanced(c.path);
  }
}

TEST_F(ShellServicesEmu, FailedLookupGivesAnEmptyPathAndFreesWhatItGot) {
  struct Case {
    const char* what;
    const char* fault;
    int csidl;
  };
  const std::vector<Case> cases = {
      {"no item-id list", "SHGetSpecialFolderLocation", 0},
      {"no file-system path", "SHGetPathFromIDListA", 2},
      {"a folder the shell does not know", nullptr, 0x26},
  };
  for (const Case& c : cases) {
    th::Fresh();
    Application->Initialize();
    if (c.fault) emu::Fail(c.fault, static_cast<DWORD>(E_FAIL), 1);
    EXPECT_TRUE(GetSpecialFolder(c.csidl).IsEmpty()) << c.what;
    ExpectBalanced(c.what);
    // The fault was one call only: the next lookup works again.
    if (c.fault) {
      EXPECT_FALSE(GetSpecialFolder(c.csidl).IsEmpty()) << c.what;
    }
  }
}

TEST_F(ShellServicesEmu, ShortcutIsOneSelfContainedComRound) {
  const char* target = "C:\\Program Files\\App\\Viewer.exe";
  const std::string link = std::string(kDesktop) + "\\VIEWER.lnk";
  EXPECT_TRUE(CreateShortcut(target, link.c_str()));
  EXPECT_EQ(emu::CallLog(), (std::vector<std::string>{
                                "CoInitialize",
                                "CoCreateInstance(ShellLink, IShellLinkA, 3)",
                                "SetPath(" + std::string(target) + ")",
                                "QueryInterface(IPersistFile)",
                                "MultiByteToWideChar(0, 0, " + link + ", -1, 0)",
                                "MultiByteToWideChar(0, 0, " + link + ", -1, 260)",
                                "Save(" + link + ", 1)",
                                "Release",
                                "Release",
                                "CoUninitialize",
                            }));
  ASSERT_EQ(emu::SavedLinks().size(), 1u);
  EXPECT_EQ(emu::SavedLinks()[0].path, link);
  EXPECT_EQ(emu::SavedLinks()[0].target, target);
  EXPECT_EQ(emu::SavedLinks()[0].remember, TRUE);
  const emu::ComState c = emu::Com();
  EXPECT_EQ(c.initializeCalls, 1);
  ExpectBalanced("one link");
}

TEST_F(ShellServicesEmu, EachFailingStepGivesItsResultWithComBalanced) {
  struct Case {
    const char* step;
    HRESULT code;
    bool result;
    std::vector<std::string> tail;  // the calls after CoInitialize
    bool saved;
  };
  const std::string link = std::string(kPrograms) + "\\VIEWER.lnk";
  const std::string convert = "MultiByteToWideChar(0, 0, " + link + ", -1, ";
  const std::vector<Case> cases = {
      {"CoCreateInstance",
       E_OUTOFMEMORY,
       false,
       {"CoCreateInstance(ShellLink, IShellLinkA, 3)", "CoUninitialize"},
       false},
      {"QueryInterface",
       E_NOINTERFACE,
       false,
       {"CoCreateInstance(ShellLink, IShellLinkA, 3)", "SetPath(C:\\A\\Viewer.exe)", "QueryInterface(IPersistFile)",
        "Release", "CoUninitialize"},
       false},
      {"Save",
       E_ACCESSDENIED,
       false,
       {"CoCreateInstance(ShellLink, IShellLinkA, 3)", "SetPath(C:\\A\\Viewer.exe)", "QueryInterface(IPersistFile)",
        convert + "0)", convert + "260)", "Save(" + link + ", 1)", "Release", "Release", "CoUninitialize"},
       false},
      // A refused target goes unnoticed: the save decides.
      {"SetPath",
       E_INVALIDARG,
       true,
       {"CoCreateInstance(ShellLink, IShellLinkA, 3)", "SetPath(C:\\A\\Viewer.exe)", "QueryInterface(IPersistFile)",
        convert + "0)", convert + "260)", "Save(" + link + ", 1)", "Release", "Release", "CoUninitialize"},
       true},
      // A success code other than S_OK is success.
      {"Save",
       S_FALSE,
       true,
       {"CoCreateInstance(ShellLink, IShellLinkA, 3)", "SetPath(C:\\A\\Viewer.exe)", "QueryInterface(IPersistFile)",
        convert + "0)", convert + "260)", "Save(" + link + ", 1)", "Release", "Release", "CoUninitialize"},
       false},
  };
  for (const Case& c : cases) {
    th::Fresh();
    Application->Initialize();
    emu::ClearCallLog();
    emu::Fail(c.step, static_cast<DWORD>(c.code), 1);
    const std::string what = std::string(c.step) + " gives " + std::to_string(c.code);
    EXPECT_EQ(CreateShortcut("C:\\A\\Viewer.exe", link.c_str()), c.result) << what;
    std::vector<std::string> expected{"CoInitialize"};
    expected.insert(expected.end(), c.tail.begin(), c.tail.end());
    EXPECT_EQ(emu::CallLog(), expected) << what;
    EXPECT_EQ(emu::SavedLinks().size(), c.saved ? 1u : 0u) << what;
    EXPECT_EQ(emu::Com().initializeCalls, 1) << what;
    ExpectBalanced(what);
  }
}

TEST_F(ShellServicesEmu, SaveIntoAMissingFolderFails) {
  EXPECT_FALSE(CreateShortcut("C:\\A\\Viewer.exe", "C:\\Nowhere\\VIEWER.lnk"));
  EXPECT_TRUE(emu::SavedLinks().empty());
  ExpectBalanced("missing folder");
}

TEST_F(ShellServicesEmu, ExistingLinkIsWrittenOver) {
  const std::string link = std::string(kDesktop) + "\\VIEWER.lnk";
  EXPECT_TRUE(CreateShortcut("C:\\Old\\Viewer.exe", link.c_str()));
  EXPECT_TRUE(CreateShortcut("C:\\New\\Viewer.exe", link.c_str()));
  ASSERT_EQ(emu::SavedLinks().size(), 1u);
  EXPECT_EQ(emu::SavedLinks()[0].target, "C:\\New\\Viewer.exe");
  EXPECT_EQ(emu::Com().initializeCalls, 2) << "two calls, two rounds";
  ExpectBalanced("two saves");
}

TEST_F(ShellServicesEmu, TargetIsHandedOverUnchanged) {
  const std::string link = std::string(kDesktop) + "\\X.lnk";
  for (const char* target : {"relative\\not-there.txt", "", "C:\\表\\テスト.exe"}) {
    EXPECT_TRUE(CreateShortcut(target, link.c_str())) << target;
    ASSERT_EQ(emu::SavedLinks().size(), 1u);
    EXPECT_EQ(emu::SavedLinks()[0].target, target);
  }
}

TEST_F(ShellServicesEmu, LinkPathMustFitTheWideBufferWithItsTerminator) {
  // Lengths count UTF-16 units: each kana is two bytes but one unit.
  struct Case {
    std::string name;  // after "C:\L\", in the ANSI code page
    std::string utf8;  // the same, as the saved link reports it, or empty when nothing may be saved
  };
  std::string kana, kanaUtf8;
  for (int i = 0; i < 250; ++i) {
    kana += "あ";
    kanaUtf8 += Utf8(u8"あ");
  }
  const std::string a250(250, 'a');
  const std::vector<Case> cases = {
      {a250 + ".lnk", a250 + ".lnk"},  // 259 units
      {a250 + "b.lnk", ""},            // 260 units: no room for the terminator
      {std::string(400, 'a') + ".lnk", ""},
      {kana + ".lnk", kanaUtf8 + ".lnk"},  // 259 units in 509 bytes
      {kana + "x.lnk", ""},
  };
  for (const Case& c : cases) {
    th::Fresh();
    Application->Initialize();
    emu::SetFolder("C:\\L", {});
    emu::ClearCallLog();
    const std::string link = "C:\\L\\" + c.name;
    const bool fits = !c.utf8.empty();
    EXPECT_EQ(CreateShortcut("C:\\A\\Viewer.exe", link.c_str()), fits) << link.size();
    ASSERT_EQ(emu::SavedLinks().size(), fits ? 1u : 0u) << link.size();
    if (fits) {
      EXPECT_EQ(emu::SavedLinks()[0].path, "C:\\L\\" + c.utf8);
    }
    bool saveCalled = false;
    for (const std::string& line : emu::CallLog())
      if (line.rfind("Save(", 0) == 0) saveCalled = true;
    EXPECT_EQ(saveCalled, fits) << "a path that does not fit is never handed to Save";
    ExpectBalanced(link);
  }
}

#else  // _WIN32

// Real shortcut files, written into a folder of our own under the temporary folder.
class ShellServicesWindows : public ::testing::Test {
 protected:
  void SetUp() override {
    th::Fresh();
    char temp[MAX_PATH + 1] = {};
    ASSERT_NE(GetTempPathA(MAX_PATH, temp), 0u);
    dir_ = std::string(temp) + "install-links-" + std::to_string(GetCurrentProcessId());
    ASSERT_TRUE(CreateDirectoryA(dir_.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS);
  }
  void TearDown() override {
    for (const std::string& f : made_) DeleteFileA(f.c_str());
    RemoveDirectoryA(dir_.c_str());
    Application.Reset();
  }
  std::string File(const std::string& name) {
    made_.push_back(dir_ + "\\" + name);
    return made_.back();
  }
  // The first bytes of a file, or empty when it cannot be read.
  static std::string Head(const std::string& path, DWORD count) {
    HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return "";
    std::string bytes(count, '\0');
    DWORD got = 0;
    ReadFile(h, bytes.data(), count, &got, nullptr);
    CloseHandle(h);
    bytes.resize(got);
    return bytes;
  }
  static bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

  std::string dir_;
  std::vector<std::string> made_;
};

// A shell link file opens with its header size, 0x4C, as a 32-bit number.
const std::string kLinkHeader("\x4C\0\0\0", 4);

TEST_F(ShellServicesWindows, ShortcutFileIsWrittenAndWrittenOver) {
  const std::string link = File("VIEWER.lnk");
  EXPECT_TRUE(CreateShortcut((dir_ + "\\Viewer.exe").c_str(), link.c_str()));
  EXPECT_EQ(Head(link, 4), kLinkHeader);

  // Something else already there is replaced by the link.
  ASSERT_TRUE(DeleteFileA(link.c_str()));
  HANDLE h = CreateFileA(link.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  DWORD written = 0;
  WriteFile(h, "not a link", 10, &written, nullptr);
  CloseHandle(h);
  EXPECT_TRUE(CreateShortcut((dir_ + "\\Other.exe").c_str(), link.c_str()));
  EXPECT_EQ(Head(link, 4), kLinkHeader);
}

TEST_F(ShellServicesWindows, MissingFolderOrOverlongPathSavesNothing) {
  const std::string missing = dir_ + "\\missing\\VIEWER.lnk";
  EXPECT_FALSE(CreateShortcut("C:\\A\\Viewer.exe", missing.c_str()));
  EXPECT_FALSE(Exists(missing));

  const std::string tooLong = dir_ + "\\" + std::string(300, 'a') + ".lnk";
  EXPECT_FALSE(CreateShortcut("C:\\A\\Viewer.exe", tooLong.c_str()));
  // Whatever a cut path would have named must not exist either.
  WIN32_FIND_DATAA entry;
  HANDLE search = FindFirstFileA((dir_ + "\\a*").c_str(), &entry);
  EXPECT_EQ(search, INVALID_HANDLE_VALUE);
  if (search != INVALID_HANDLE_VALUE) FindClose(search);
}

TEST_F(ShellServicesWindows, SpecialFoldersAreFullPathsWithoutTrailingSeparator) {
  const AnsiString desktop = GetDesktopFolder();
  const AnsiString programs = GetProgramsFolder();
  for (const AnsiString& folder : {desktop, programs}) {
    ASSERT_GT(folder.Length(), 3u) << folder.c_str();
    EXPECT_EQ(folder[1], ':') << folder.c_str();
    EXPECT_NE(folder[folder.Length() - 1], '\\') << folder.c_str();
  }
  EXPECT_FALSE(desktop == programs);
}

#endif  // _WIN32

}  // namespace
