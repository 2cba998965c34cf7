// The installer's path and name rules, with Shift-JIS names whose second byte looks like a separator or a letter.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "install/Paths.h"

namespace {

struct SplitCase {
  const char* path;
  const char* folder;
  const char* file;
};

TEST(Paths, FolderAndFileNameSplitAtTheLastRealSeparator) {
  // 表 is 0x95 0x5C and ソ 0x83 0x5C: their second byte is a '\' that separates nothing.
  const std::vector<SplitCase> cases = {
      {"C:\\Program Files\\App\\install.exe", "C:\\Program Files\\App\\", "install.exe"},
      {"D:\\install.exe", "D:\\", "install.exe"},
      {"install.exe", "", "install.exe"},
      {"C:install.exe", "C:", "install.exe"},
      {"\\\\server\\share\\setup.exe", "\\\\server\\share\\", "setup.exe"},
      {"C:\\App\\", "C:\\App\\", ""},
      {"", "", ""},
      {"C:\\App\\表示.exe", "C:\\App\\", "表示.exe"},
      {"C:\\ソフト\\install.exe", "C:\\ソフト\\", "install.exe"},
      {"C:\\App\\ソ", "C:\\App\\", "ソ"},
      {"C:\\表", "C:\\", "表"},
      {"D:表.exe", "D:", "表.exe"},
      {"C:\\App\\\x95", "C:\\App\\", "\x95"},  // a lead byte with nothing after it
  };
  for (const SplitCase& c : cases) {
    EXPECT_EQ(paths::FolderPart(c.path), c.folder) << c.path;
    EXPECT_EQ(paths::FileNamePart(c.path), c.file) << c.path;
  }
}

struct NameCase {
  const char* target;
  const char* base;
  const char* link;
};

TEST(Paths, BaseNameIsUpperCasedAndCutAtTheFirstDot) {
  // ヂ is 0x83 0x61: its second byte is an 'a' that must stay as it is.
  const std::vector<NameCase> cases = {
      {"Viewer.exe", "VIEWER", "VIEWER.lnk"},
      {"my.tool.exe", "MY", "MY.lnk"},
      {".hidden.exe", "", ".lnk"},
      {"INSTALL.EXE", "INSTALL", "INSTALL.lnk"},
      {"noextension", "", ".lnk"},
      {"テスト.exe", "テスト", "テスト.lnk"},
      {"テストabc.exe", "テストABC", "テストABC.lnk"},
      {"表a.exe", "表A", "表A.lnk"},
      {"ヂb.exe", "ヂB", "ヂB.lnk"},
      {"aヂ.x.exe", "Aヂ", "Aヂ.lnk"},
  };
  for (const NameCase& c : cases) {
    EXPECT_EQ(paths::BaseName(c.target), c.base) << c.target;
    EXPECT_EQ(paths::LinkName(c.target), c.link) << c.target;
  }
}

TEST(Paths, SameFileNameIgnoresTheCaseOfLettersOnly) {
  struct Case {
    const char* a;
    const char* b;
    bool same;
  };
  const std::vector<Case> cases = {
      {"install.exe", "INSTALL.EXE", true},
      {"Install.Exe", "install.exe", true},
      {"install.exe", "install.ex", false},
      {"テスト.exe", "テスト.EXE", true},
      // ア is 0x83 0x41, what a byte-wise upper-casing would make of ヂ (0x83 0x61).
      {"ヂ.exe", "ア.exe", false},
      {"", "", true},
  };
  for (const Case& c : cases) EXPECT_EQ(paths::SameFileName(c.a, c.b), c.same) << c.a << " / " << c.b;
}

TEST(Paths, LinkPathJoinsFolderAndLinkName) {
  struct Case {
    const char* folder;
    const char* target;
    const char* link;
  };
  const std::vector<Case> cases = {
      {"C:\\Documents and Settings\\User\\Desktop", "Viewer.exe",
       "C:\\Documents and Settings\\User\\Desktop\\VIEWER.lnk"},
      {"C:\\Start\\Programs", "my.tool.exe", "C:\\Start\\Programs\\MY.lnk"},
      {"D:\\", "Viewer.exe", "D:\\VIEWER.lnk"},
      // A folder that ends in 表 still needs its separator.
      {"C:\\表", "Viewer.exe", "C:\\表\\VIEWER.lnk"},
      {"C:\\Desktop", ".hidden.exe", "C:\\Desktop\\.lnk"},
      // An unknown folder gives no link path at all, never one at the root of the current drive.
      {"", "Viewer.exe", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(paths::LinkPath(c.folder, c.target), c.link) << c.folder;
}

}  // namespace
