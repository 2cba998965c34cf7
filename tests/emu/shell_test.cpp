// The emulated shell: special folders, COM start-up, the shell link object and message boxes.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "winapi/emu/control.h"
#include "winapi/winapi.h"

namespace {

const CLSID kShellLink = {0x00021401, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
const IID kShellLinkA = {0x000214EE, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
const IID kPersistFile = {0x0000010B, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
const IID kUnknown = {0x00000000, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
const IID kOther = {0x12345678, 0x9ABC, 0xDEF0, {1, 2, 3, 4, 5, 6, 7, 8}};
const std::string kDesktop = "C:\\Documents and Settings\\User\\Desktop";
const std::string kPrograms = "C:\\Documents and Settings\\User\\Start Menu\\Programs";
const HRESULT kPathNotFound = static_cast<HRESULT>(0x80070003u);

std::string Utf8(const char8_t* s) { return reinterpret_cast<const char*>(s); }

std::u16string Wide(const std::string& ansi) {
  WCHAR buffer[400];
  const int n = MultiByteToWideChar(CP_ACP, 0, ansi.c_str(), -1, buffer, 400);
  return n > 0 ? std::u16string(buffer) : u"<too long>";
}

bool Balanced() {
  const emu::ComState c = emu::Com();
  return c.initializeCalls == c.uninitializeCalls && c.liveObjects == 0 && c.outstandingRefs == 0;
}

// The shell-link recipe, step by step as a program makes it.
HRESULT MakeLink(const std::string& target, const std::string& link) {
  CoInitialize(nullptr);
  IShellLinkA* shellLink = nullptr;
  HRESULT hr = CoCreateInstance(kShellLink, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER, kShellLinkA,
                                reinterpret_cast<void**>(&shellLink));
  if (SUCCEEDED(hr)) {
    shellLink->SetPath(target.c_str());
    IPersistFile* file = nullptr;
    hr = shellLink->QueryInterface(kPersistFile, reinterpret_cast<void**>(&file));
    if (SUCCEEDED(hr)) {
      WCHAR wide[MAX_PATH];
      MultiByteToWideChar(CP_ACP, 0, link.c_str(), -1, wide, MAX_PATH);
      hr = file->Save(wide, TRUE);
      file->Release();
    }
    shellLink->Release();
  }
  CoUninitialize();
  return hr;
}

class ShellEmu : public ::testing::Test {
 protected:
  void SetUp() override { emu::Reset(); }
};

// ---- Special folders

TEST_F(ShellEmu, SpecialFolderPathsComeThroughAnItemIdList) {
  emu::SetSpecialFolder(CSIDL_PROGRAMS, "D:\\スタート\\表");
  struct Case {
    int csidl;
    std::string path;
  };
  for (const Case& c : {Case{CSIDL_DESKTOP, kDesktop}, Case{CSIDL_PROGRAMS, "D:\\スタート\\表"}}) {
    LPITEMIDLIST pidl = nullptr;
    ASSERT_EQ(SHGetSpecialFolderLocation(nullptr, c.csidl, &pidl), S_OK);
    ASSERT_NE(pidl, nullptr);
    char path[264];
    std::fill(std::begin(path), std::end(path), 'X');
    EXPECT_TRUE(SHGetPathFromIDListA(pidl, path));
    EXPECT_EQ(std::string(path), c.path);
    EXPECT_EQ(emu::Com().livePidls, 1);
    CoTaskMemFree(pidl);
    EXPECT_EQ(emu::Com().livePidls, 0);
  }
}

TEST_F(ShellEmu, DefaultFoldersAreTheDesktopAndPrograms) {
  for (const auto& [csidl, path] : {std::pair{CSIDL_DESKTOP, kDesktop}, std::pair{CSIDL_PROGRAMS, kPrograms}}) {
    LPITEMIDLIST pidl = nullptr;
    ASSERT_EQ(SHGetSpecialFolderLocation(nullptr, csidl, &pidl), S_OK);
    char buffer[264];
    ASSERT_TRUE(SHGetPathFromIDListA(pidl, buffer));
    EXPECT_EQ(std::string(buffer), path);
  }
}

TEST_F(ShellEmu, UnknownFolderAndFaultGiveNoItemIdList) {
  LPITEMIDLIST pidl = reinterpret_cast<LPITEMIDLIST>(0x1234);
  EXPECT_EQ(SHGetSpecialFolderLocation(nullptr, 0x0005, &pidl), E_FAIL);
  EXPECT_EQ(pidl, nullptr);
  emu::Fail("SHGetSpecialFolderLocation", static_cast<DWORD>(E_OUTOFMEMORY), 1);
  pidl = reinterpret_cast<LPITEMIDLIST>(0x1234);
  EXPECT_EQ(SHGetSpecialFolderLocation(nullptr, CSIDL_DESKTOP, &pidl), E_OUTOFMEMORY);
  EXPECT_EQ(pidl, nullptr);
  EXPECT_EQ(SHGetSpecialFolderLocation(nullptr, CSIDL_DESKTOP, &pidl), S_OK);
  EXPECT_NE(pidl, nullptr);
  EXPECT_EQ(emu::Com().livePidls, 1);
}

TEST_F(ShellEmu, PathFromBadOrFailingItemIdListIsEmpty) {
  char path[264] = "stale";
  EXPECT_FALSE(SHGetPathFromIDListA(nullptr, path));
  EXPECT_EQ(path[0], '\0');

  LPITEMIDLIST pidl = nullptr;
  ASSERT_EQ(SHGetSpecialFolderLocation(nullptr, CSIDL_DESKTOP, &pidl), S_OK);
  emu::Fail("SHGetPathFromIDListA", ERROR_ACCESS_DENIED, 1);
  path[0] = 'x';
  SetLastError(0);
  EXPECT_FALSE(SHGetPathFromIDListA(pidl, path));
  EXPECT_EQ(path[0], '\0');
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
  EXPECT_TRUE(SHGetPathFromIDListA(pidl, path));

  CoTaskMemFree(pidl);
  path[0] = 'x';
  EXPECT_FALSE(SHGetPathFromIDListA(pidl, path)) << "a freed list names nothing";
  EXPECT_EQ(path[0], '\0');
}

TEST_F(ShellEmu, FolderCallsAreLogged) {
  LPITEMIDLIST pidl = nullptr;
  SHGetSpecialFolderLocation(reinterpret_cast<HWND>(0x1a2c), CSIDL_PROGRAMS, &pidl);
  char path[264];
  SHGetPathFromIDListA(pidl, path);
  CoTaskMemFree(pidl);
  CoTaskMemFree(pidl);
  SHGetSpecialFolderLocation(nullptr, 0x0026, &pidl);
  SHGetPathFromIDListA(pidl, path);
  CoTaskMemFree(pidl);
  EXPECT_EQ(emu::CallLog(), (std::vector<std::string>{"SHGetSpecialFolderLocation(0x1a2c, 2)",
                                                      "SHGetPathFromIDListA(2)", "CoTaskMemFree(pidl)",
                                                      "CoTaskMemFree(unknown)", "SHGetSpecialFolderLocation(null, 38)",
                                                      "SHGetPathFromIDListA(null)", "CoTaskMemFree(null)"}));
}

// ---- COM start-up and object creation

TEST_F(ShellEmu, CoInitializeCountsItsNesting) {
  EXPECT_EQ(CoInitialize(nullptr), S_OK);
  EXPECT_EQ(CoInitialize(nullptr), S_FALSE);
  CoUninitialize();
  EXPECT_EQ(CoInitialize(nullptr), S_FALSE);
  CoUninitialize();
  CoUninitialize();
  EXPECT_EQ(CoInitialize(nullptr), S_OK) << "balanced calls leave the thread uninitialised";
  CoUninitialize();
  const emu::ComState c = emu::Com();
  EXPECT_EQ(c.initializeCalls, 4);
  EXPECT_EQ(c.uninitializeCalls, 4);
}

TEST_F(ShellEmu, CreationFailuresLeaveNothingBehind) {
  struct Case {
    const char* name;
    CLSID clsid;
    DWORD context;
    IID iid;
    const char* fault;  // or nullptr
    bool initialise;
    HRESULT result;
  };
  const std::vector<Case> cases = {
      {"not initialised", kShellLink, 3, kShellLinkA, nullptr, false, CO_E_NOTINITIALIZED},
      {"unknown class", kOther, 3, kShellLinkA, nullptr, true, REGDB_E_CLASSNOTREG},
      {"no in-process server", kShellLink, CLSCTX_INPROC_HANDLER | 0x4, kShellLinkA, nullptr, true,
       REGDB_E_CLASSNOTREG},
      {"unknown interface", kShellLink, 3, kOther, nullptr, true, E_NOINTERFACE},
      {"fault", kShellLink, 3, kShellLinkA, "CoCreateInstance", true, E_OUTOFMEMORY},
  };
  for (const Case& c : cases) {
    emu::Reset();
    if (c.fault != nullptr) emu::Fail(c.fault, static_cast<DWORD>(E_OUTOFMEMORY));
    if (c.initialise) CoInitialize(nullptr);
    void* out = reinterpret_cast<void*>(0x1234);
    EXPECT_EQ(CoCreateInstance(c.clsid, nullptr, c.context, c.iid, &out), c.result) << c.name;
    EXPECT_EQ(out, nullptr) << c.name;
    if (c.initialise) CoUninitialize();
    EXPECT_TRUE(Balanced()) << c.name;
  }
}

TEST_F(ShellEmu, CreationAfterUninitialiseIsRefused) {
  CoInitialize(nullptr);
  CoUninitialize();
  void* out = nullptr;
  EXPECT_EQ(CoCreateInstance(kShellLink, nullptr, 3, kShellLinkA, &out), CO_E_NOTINITIALIZED);
  EXPECT_EQ(out, nullptr);
}

TEST_F(ShellEmu, ReferencesAreCountedPerObject) {
  CoInitialize(nullptr);
  IShellLinkA* a = nullptr;
  IShellLinkA* b = nullptr;
  ASSERT_EQ(CoCreateInstance(kShellLink, nullptr, CLSCTX_INPROC_SERVER, kShellLinkA, reinterpret_cast<void**>(&a)),
            S_OK);
  ASSERT_EQ(CoCreateInstance(kShellLink, nullptr, 3, kShellLinkA, reinterpret_cast<void**>(&b)), S_OK);
  EXPECT_NE(a, b);
  EXPECT_EQ(emu::Com().liveObjects, 2);
  EXPECT_EQ(emu::Com().outstandingRefs, 2);

  IPersistFile* file = nullptr;
  ASSERT_EQ(a->QueryInterface(kPersistFile, reinterpret_cast<void**>(&file)), S_OK);
  EXPECT_NE(static_cast<void*>(file), static_cast<void*>(a));
  IUnknown* unknown = nullptr;
  ASSERT_EQ(file->QueryInterface(kUnknown, reinterpret_cast<void**>(&unknown)), S_OK);
  EXPECT_EQ(static_cast<void*>(unknown), static_cast<void*>(a)) << "one identity for every interface";
  EXPECT_EQ(emu::Com().outstandingRefs, 4);
  EXPECT_EQ(a->AddRef(), 4u);
  EXPECT_EQ(a->Release(), 3u);
  EXPECT_EQ(unknown->Release(), 2u);

  void* none = reinterpret_cast<void*>(0x1234);
  EXPECT_EQ(a->QueryInterface(kOther, &none), E_NOINTERFACE);
  EXPECT_EQ(none, nullptr);
  emu::Fail("QueryInterface", static_cast<DWORD>(E_ACCESSDENIED), 1);
  none = reinterpret_cast<void*>(0x1234);
  EXPECT_EQ(a->QueryInterface(kPersistFile, &none), E_ACCESSDENIED);
  EXPECT_EQ(none, nullptr);
  EXPECT_EQ(emu::Com().outstandingRefs, 3);

  EXPECT_EQ(file->Release(), 1u);
  EXPECT_EQ(a->Release(), 0u);
  EXPECT_EQ(emu::Com().liveObjects, 1);
  EXPECT_EQ(b->Release(), 0u);
  CoUninitialize();
  EXPECT_TRUE(Balanced());
}

TEST_F(ShellEmu, ResetFreesLeakedObjects) {
  CoInitialize(nullptr);
  void* out = nullptr;
  ASSERT_EQ(CoCreateInstance(kShellLink, nullptr, 3, kShellLinkA, &out), S_OK);
  EXPECT_EQ(emu::Com().liveObjects, 1);
  emu::Reset();
  EXPECT_EQ(emu::Com().liveObjects, 0);
  EXPECT_EQ(emu::Com().initializeCalls, 0);
  EXPECT_EQ(CoInitialize(nullptr), S_OK);
}

TEST_F(ShellEmu, UnusedMembersAreNotImplemented) {
  CoInitialize(nullptr);
  IShellLinkA* link = nullptr;
  ASSERT_EQ(CoCreateInstance(kShellLink, nullptr, 3, kShellLinkA, reinterpret_cast<void**>(&link)), S_OK);
  EXPECT_EQ(link->SetArguments(""), E_NOTIMPL);
  EXPECT_EQ(link->SetDescription("x"), E_NOTIMPL);
  EXPECT_EQ(link->SetWorkingDirectory("C:\\"), E_NOTIMPL);
  IPersistFile* file = nullptr;
  ASSERT_EQ(link->QueryInterface(kPersistFile, reinterpret_cast<void**>(&file)), S_OK);
  CLSID clsid{};
  EXPECT_EQ(file->GetClassID(&clsid), S_OK);
  EXPECT_TRUE(clsid == kShellLink);
  EXPECT_EQ(file->Load(u"C:\\a.lnk", 0), E_NOTIMPL);
  file->Release();
  link->Release();
  CoUninitialize();
  EXPECT_TRUE(Balanced());
}

// ---- Saving links

TEST_F(ShellEmu, ALinkIsMadeWithTheseCallsInThisOrder) {
  const std::string link = kDesktop + "\\VIEWER.lnk";
  EXPECT_EQ(MakeLink("C:\\x\\Viewer.exe", link), S_OK);
  EXPECT_EQ(emu::CallLog(), (std::vector<std::string>{
                                "CoInitialize",
                                "CoCreateInstance(ShellLink, IShellLinkA, 3)",
                                "SetPath(C:\\x\\Viewer.exe)",
                                "QueryInterface(IPersistFile)",
                                "MultiByteToWideChar(0, 0, " + link + ", -1, 260)",
                                "Save(" + link + ", 1)",
                                "Release",
                                "Release",
                                "CoUninitialize",
                            }));
  ASSERT_EQ(emu::SavedLinks().size(), 1u);
  EXPECT_EQ(emu::SavedLinks()[0].path, link);
  EXPECT_EQ(emu::SavedLinks()[0].target, "C:\\x\\Viewer.exe");
  EXPECT_EQ(emu::SavedLinks()[0].remember, TRUE);
  EXPECT_TRUE(Balanced());
}

TEST_F(ShellEmu, SavingAgainToAPathReplacesItsEntryInPlace) {
  EXPECT_EQ(MakeLink("C:\\a\\One.exe", kDesktop + "\\ONE.lnk"), S_OK);
  EXPECT_EQ(MakeLink("C:\\a\\Two.exe", kPrograms + "\\TWO.lnk"), S_OK);
  EXPECT_EQ(MakeLink("C:\\b\\Three.exe", kDesktop + "\\one.LNK"), S_OK);
  ASSERT_EQ(emu::SavedLinks().size(), 2u);
  EXPECT_EQ(emu::SavedLinks()[0].path, kDesktop + "\\one.LNK");
  EXPECT_EQ(emu::SavedLinks()[0].target, "C:\\b\\Three.exe");
  EXPECT_EQ(emu::SavedLinks()[1].path, kPrograms + "\\TWO.lnk");
  EXPECT_EQ(emu::SavedLinks()[1].target, "C:\\a\\Two.exe");
  EXPECT_TRUE(Balanced());
}

TEST_F(ShellEmu, SavedPathsAreUtf8AndLoggedAsTheProgramSpellsThem) {
  emu::SetFolder("D:\\表\\", {});
  EXPECT_EQ(MakeLink("D:\\表\\テスト.exe", kDesktop + "\\テスト.lnk"), S_OK);
  EXPECT_EQ(MakeLink("D:\\表\\テスト.exe", "D:\\表\\ｱ.lnk"), S_OK);
  ASSERT_EQ(emu::SavedLinks().size(), 2u);
  EXPECT_EQ(emu::SavedLinks()[0].path, kDesktop + Utf8(u8"\\テスト.lnk"));
  EXPECT_EQ(emu::SavedLinks()[0].target, "D:\\表\\テスト.exe");
  EXPECT_EQ(emu::SavedLinks()[1].path, Utf8(u8"D:\\表\\ｱ.lnk"));
  const auto& log = emu::CallLog();
  EXPECT_NE(std::find(log.begin(), log.end(), "Save(" + kDesktop + "\\テスト.lnk, 1)"), log.end());
  EXPECT_NE(std::find(log.begin(), log.end(), "Save(D:\\表\\ｱ.lnk, 1)"), log.end());
}

TEST_F(ShellEmu, SaveFailuresRecordNothingAndBalance) {
  struct Case {
    const char* name;
    std::string link;
    const char* fault;
    HRESULT result;
  };
  const std::vector<Case> cases = {
      {"unknown folder", "C:\\Nowhere\\A.lnk", nullptr, kPathNotFound},
      {"no folder part", "A.lnk", nullptr, kPathNotFound},
      {"folder inside a special folder", kDesktop + "\\Sub\\A.lnk", nullptr, kPathNotFound},
      {"save fault", kDesktop + "\\A.lnk", "Save", E_ACCESSDENIED},
      {"query fault", kDesktop + "\\A.lnk", "QueryInterface", E_OUTOFMEMORY},
      {"create fault", kDesktop + "\\A.lnk", "CoCreateInstance", E_OUTOFMEMORY},
  };
  for (const Case& c : cases) {
    emu::Reset();
    if (c.fault != nullptr) emu::Fail(c.fault, static_cast<DWORD>(c.result));
    EXPECT_EQ(MakeLink("C:\\x\\A.exe", c.link), c.result) << c.name;
    EXPECT_TRUE(emu::SavedLinks().empty()) << c.name;
    EXPECT_TRUE(Balanced()) << c.name;
  }
}

TEST_F(ShellEmu, AFailedSetPathLeavesTheObjectWorking) {
  emu::Fail("SetPath", static_cast<DWORD>(E_OUTOFMEMORY), 1);
  EXPECT_EQ(MakeLink("C:\\x\\A.exe", kDesktop + "\\A.lnk"), S_OK);
  ASSERT_EQ(emu::SavedLinks().size(), 1u);
  EXPECT_EQ(emu::SavedLinks()[0].target, "") << "the target was never set";
  EXPECT_TRUE(Balanced());

  CoInitialize(nullptr);
  IShellLinkA* link = nullptr;
  ASSERT_EQ(CoCreateInstance(kShellLink, nullptr, 3, kShellLinkA, reinterpret_cast<void**>(&link)), S_OK);
  EXPECT_EQ(link->SetPath("C:\\first.exe"), S_OK);
  emu::Fail("SetPath", static_cast<DWORD>(E_FAIL), 1);
  EXPECT_EQ(link->SetPath("C:\\second.exe"), E_FAIL);
  IPersistFile* file = nullptr;
  ASSERT_EQ(link->QueryInterface(kPersistFile, reinterpret_cast<void**>(&file)), S_OK);
  EXPECT_EQ(file->Save(Wide(kDesktop + "\\B.lnk").c_str(), FALSE), S_OK);
  file->Release();
  link->Release();
  CoUninitialize();
  ASSERT_EQ(emu::SavedLinks().size(), 2u);
  EXPECT_EQ(emu::SavedLinks()[1].target, "C:\\first.exe");
  EXPECT_EQ(emu::SavedLinks()[1].remember, FALSE);
}

TEST_F(ShellEmu, SavePathMustEndWithin260Units) {
  // A listed folder whose name makes the path exactly 259 or 260 units long.
  const std::string prefix = "C:\\";
  const std::string name = "\\A.lnk";
  const std::string folder = prefix + std::string(259 - prefix.size() - name.size(), 'f');
  emu::SetFolder(folder, {});
  CoInitialize(nullptr);
  IShellLinkA* link = nullptr;
  ASSERT_EQ(CoCreateInstance(kShellLink, nullptr, 3, kShellLinkA, reinterpret_cast<void**>(&link)), S_OK);
  IPersistFile* file = nullptr;
  ASSERT_EQ(link->QueryInterface(kPersistFile, reinterpret_cast<void**>(&file)), S_OK);

  std::u16string fits = Wide(folder + name);
  ASSERT_EQ(fits.size(), 259u);
  EXPECT_EQ(file->Save(fits.c_str(), TRUE), S_OK);

  std::u16string longer = fits + u"k";  // 260 units before the terminator
  EXPECT_EQ(file->Save(longer.c_str(), TRUE), E_INVALIDARG);
  EXPECT_EQ(file->Save(nullptr, TRUE), E_INVALIDARG);
  EXPECT_EQ(emu::SavedLinks().size(), 1u);
  EXPECT_EQ(emu::CallLog().back(), "Save(null, 1)");
  file->Release();
  link->Release();
  CoUninitialize();
  EXPECT_TRUE(Balanced());
}

// ---- Message boxes

TEST_F(ShellEmu, MessageBoxesAreRecordedAndAnsweredByTheTest) {
  const HWND owner = reinterpret_cast<HWND>(0x40);
  EXPECT_EQ(MessageBoxA(owner, "ファイルがありません.", "QUOLLSET", MB_OK | MB_ICONSTOP), IDOK);
  emu::SetMessageBoxAnswer(IDNO);
  EXPECT_EQ(MessageBoxA(nullptr, "Quit?", nullptr, MB_YESNO | MB_ICONQUESTION), IDNO);
  EXPECT_EQ(MessageBoxA(nullptr, nullptr, "t", MB_OK), IDNO);
  const auto& boxes = emu::MessageBoxes();
  ASSERT_EQ(boxes.size(), 3u);
  EXPECT_EQ(boxes[0].owner, owner);
  EXPECT_EQ(boxes[0].text, "ファイルがありません.");
  EXPECT_EQ(boxes[0].caption, "QUOLLSET");
  EXPECT_EQ(boxes[0].type, static_cast<UINT>(MB_OK | MB_ICONSTOP));
  EXPECT_EQ(boxes[1].caption, "エラー");
  EXPECT_EQ(boxes[2].text, "");
  EXPECT_EQ(emu::CallLog(), (std::vector<std::string>{"MessageBoxA(ファイルがありません., QUOLLSET, 0x10)",
                                                      "MessageBoxA(Quit?, エラー, 0x24)", "MessageBoxA(, t, 0x0)"}));
  emu::Reset();
  EXPECT_TRUE(emu::MessageBoxes().empty());
  EXPECT_EQ(MessageBoxA(nullptr, "x", "y", MB_OKCANCEL), IDOK);
}

}  // namespace
