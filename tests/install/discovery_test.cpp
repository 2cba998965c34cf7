// Target discovery when the window is shown: which entry of the installer's folder becomes the target.
#include <gtest/gtest.h>

#ifndef _WIN32

#include <string>
#include <vector>

#include "InstallerWorld.h"

namespace {

const char kNothing[] = "Error TargetFile is nothing!";

struct Case {
  const char* what;
  std::string modulePath;
  std::vector<emu::FileEntry> listing;
  std::string pattern;  // passed to the file search
  std::string targetDir;
  std::string targetName;  // as listed
  std::string title;
  int nextCalls;            // FindNextFileA calls made
  std::string desktopLink;  // UTF-8 path of the link OK writes on the desktop
  std::string target;       // what it points at
};

std::vector<Case> Cases() {
  const std::string app = iw::kApp;
  const std::string desk = iw::kDesktop + "\\";
  const std::string title = "のインストール";
  return {
      {"installer first, another after: the second is taken without a test",
       app + "install.exe",
       {{"install.exe"}, iw::Dir("Tools.exe"), {"Viewer.exe"}},
       app + "*.exe",
       app,
       "Tools.exe",
       "Tools.exe" + title,
       1,
       desk + "TOOLS.lnk",
       app + "Tools.exe"},
      {"installer first, then the installer's name again",
       app + "install.exe",
       {{"install.exe"}, {"INSTALL.EXE"}},
       app + "*.exe",
       app,
       "INSTALL.EXE",
       "INSTALL.EXE" + title,
       1,
       desk + "INSTALL.lnk",
       app + "INSTALL.EXE"},
      {"installer not first",
       app + "install.exe",
       {{"Alpha.exe"}, {"install.exe"}, {"Beta.exe"}},
       app + "*.exe",
       app,
       "Alpha.exe",
       "Alpha.exe" + title,
       0,
       desk + "ALPHA.lnk",
       app + "Alpha.exe"},
      {"installer the only executable",
       app + "install.exe",
       {{"readme.txt"}, {"install.exe"}, {"data.dat"}},
       app + "*.exe",
       app,
       "install.exe",
       kNothing,
       1,
       desk + "INSTALL.lnk",
       app + "install.exe"},
      {"listed as INSTALL.EXE, started as install.exe",
       app + "install.exe",
       {{"INSTALL.EXE"}, {"Viewer.exe"}},
       app + "*.exe",
       app,
       "Viewer.exe",
       "Viewer.exe" + title,
       1,
       desk + "VIEWER.lnk",
       app + "Viewer.exe"},
      {"listed as INSTALL.EXE and alone",
       app + "install.exe",
       {{"INSTALL.EXE"}},
       app + "*.exe",
       app,
       "INSTALL.EXE",
       kNothing,
       1,
       desk + "INSTALL.lnk",
       app + "INSTALL.EXE"},
      {"a sub-folder matching first",
       app + "install.exe",
       {iw::Dir("Data.exe"), {"install.exe"}, {"Viewer.exe"}},
       app + "*.exe",
       app,
       "Data.exe",
       "Data.exe" + title,
       0,
       desk + "DATA.lnk",
       app + "Data.exe"},
      {"Viewer.exe",
       app + "install.exe",
       {{"install.exe"}, {"Viewer.exe"}},
       app + "*.exe",
       app,
       "Viewer.exe",
       "Viewer.exe" + title,
       1,
       desk + "VIEWER.lnk",
       app + "Viewer.exe"},
      {"my.tool.exe: cut at the first dot",
       app + "install.exe",
       {{"my.tool.exe"}, {"install.exe"}},
       app + "*.exe",
       app,
       "my.tool.exe",
       "my.tool.exe" + title,
       0,
       desk + "MY.lnk",
       app + "my.tool.exe"},
      {".hidden.exe: empty base name",
       app + "install.exe",
       {{"install.exe"}, {".hidden.exe"}},
       app + "*.exe",
       app,
       ".hidden.exe",
       ".hidden.exe" + title,
       1,
       desk + ".lnk",
       app + ".hidden.exe"},
      {"テスト.exe: kana stay",
       app + "install.exe",
       {{"install.exe"}, {"テスト.exe"}},
       app + "*.exe",
       app,
       "テスト.exe",
       "テスト.exe" + title,
       1,
       desk + iw::Utf8(u8"テスト.lnk"),
       app + "テスト.exe"},
      {"letters beside double-byte characters are upper-cased, trail bytes are not",
       app + "install.exe",
       {{"install.exe"}, {"表aヂb.v1.exe"}},
       app + "*.exe",
       app,
       "表aヂb.v1.exe",
       "表aヂb.v1.exe" + title,
       1,
       desk + iw::Utf8(u8"表AヂB.lnk"),
       app + "表aヂb.v1.exe"},
      {"installer named 表示.exe: the '\\' inside 表 splits nothing",
       "C:\\App\\表示.exe",
       {{"表示.EXE"}, {"Viewer.exe"}},
       "C:\\App\\*.exe",
       "C:\\App\\",
       "Viewer.exe",
       "Viewer.exe" + title,
       1,
       desk + "VIEWER.lnk",
       "C:\\App\\Viewer.exe"},
      {"installer in a folder ending with ソ",
       "C:\\ソ\\install.exe",
       {{"install.exe"}, {"Viewer.exe"}},
       "C:\\ソ\\*.exe",
       "C:\\ソ\\",
       "Viewer.exe",
       "Viewer.exe" + title,
       1,
       desk + "VIEWER.lnk",
       "C:\\ソ\\Viewer.exe"},
      {"a drive root",
       "D:\\install.exe",
       {{"install.exe"}, {"Viewer.exe"}},
       "D:\\*.exe",
       "D:\\",
       "Viewer.exe",
       "Viewer.exe" + title,
       1,
       desk + "VIEWER.lnk",
       "D:\\Viewer.exe"},
  };
}

class DiscoveryEmu : public ::testing::Test {
 protected:
  void TearDown() override { iw::EndInstaller(); }
};

TEST_F(DiscoveryEmu, TargetTitleAndLinks) {
  for (const Case& c : Cases()) {
    iw::NewWorld(c.modulePath, c.listing);
    iw::ShowInstaller();
    EXPECT_EQ(Form1->TargetDir, c.targetDir.c_str()) << c.what;
    EXPECT_EQ(Form1->TargetName, c.targetName.c_str()) << c.what;
    EXPECT_EQ(Form1->TitleLabel->Caption(), c.title.c_str()) << c.what;
    EXPECT_EQ(iw::Calls("FindFirstFileA"), std::vector<std::string>{"FindFirstFileA(" + c.pattern + ")"}) << c.what;
    EXPECT_EQ(iw::Calls("FindNextFileA").size(), static_cast<std::size_t>(c.nextCalls)) << c.what;
    EXPECT_EQ(iw::Calls("FindClose").size(), 1u) << c.what;
    EXPECT_EQ(emu::OpenFindHandles(), 0) << c.what;

    // Only the desktop box left ticked: one link, to the target in the installer's folder.
    Form1->CheckBox2->SetChecked(false);
    Form1->CuteButton1Click(Form1->CuteButton1);
    EXPECT_EQ(iw::Links(), std::vector<std::string>{c.desktopLink + " -> " + c.target}) << c.what;
    iw::EndInstaller();
  }
}

TEST_F(DiscoveryEmu, NoExecutableAtAllLeavesNoTargetAndOkWritesNothing) {
  struct Fault {
    const char* what;
    std::string modulePath;
    std::vector<emu::FileEntry> listing;
    bool failSearch;
  };
  const std::vector<Fault> cases = {
      {"started under another extension", iw::kApp + "install.bin", {{"install.bin"}, {"readme.txt"}}, false},
      {"an empty listing", iw::kApp + "install.exe", {}, false},
      {"the folder cannot be listed", iw::kApp + "install.exe", {{"install.exe"}, {"Viewer.exe"}}, true},
  };
  for (const Fault& c : cases) {
    iw::NewWorld(c.modulePath, c.listing);
    if (c.failSearch) emu::Fail("FindFirstFileA", ERROR_ACCESS_DENIED);
    iw::ShowInstaller();
    EXPECT_EQ(Form1->TargetDir, iw::kApp.c_str()) << c.what;
    EXPECT_TRUE(Form1->TargetName.IsEmpty()) << c.what;
    EXPECT_EQ(Form1->TitleLabel->Caption(), kNothing) << c.what;
    EXPECT_EQ(emu::OpenFindHandles(), 0) << c.what;
    EXPECT_TRUE(iw::Calls("FindNextFileA").empty()) << c.what;

    emu::ClearCallLog();
    Form1->CuteButton1Click(Form1->CuteButton1);
    th::Pump();
    EXPECT_TRUE(emu::SavedLinks().empty()) << c.what;
    EXPECT_TRUE(iw::Calls("SHGet").empty()) << c.what;
    EXPECT_TRUE(iw::Calls("CoInitialize").empty()) << c.what;
    EXPECT_TRUE(Application->Terminated()) << "OK still closes: " << c.what;
    iw::EndInstaller();
  }
}

TEST_F(DiscoveryEmu, EachShowDiscoversAfresh) {
  iw::NewWorld(iw::kApp + "install.exe", {{"install.exe"}, {"Viewer.exe"}});
  iw::ShowInstaller();
  ASSERT_EQ(Form1->TargetName, "Viewer.exe");
  Form1->Hide();
  emu::SetFolder(iw::kApp, {{"install.exe"}, {"Other.exe"}});
  Form1->Show();
  th::Pump();
  EXPECT_EQ(Form1->TargetName, "Other.exe");
  EXPECT_EQ(Form1->TitleLabel->Caption(), "Other.exeのインストール");
  EXPECT_EQ(emu::OpenFindHandles(), 0);
}

TEST_F(DiscoveryEmu, LongTitleStaysInItsCentredBoxAndIsCut) {
  const std::string name = std::string(60, 'W') + ".exe";
  iw::NewWorld(iw::kApp + "install.exe", {{"install.exe"}, {name}});
  iw::ShowInstaller();
  emu::ClearTextCalls();
  Form1->Repaint();
  th::Pump();
  EXPECT_EQ(Form1->TitleLabel->Width(), 209);
  EXPECT_EQ(Form1->TitleLabel->Height(), 12);
  EXPECT_EQ(Form1->TitleLabel->Left(), 16);
  bool drawn = false;
  for (const emu::TextCall& t : emu::TextCalls()) {
    if (t.text != name + "のインストール") continue;
    drawn = true;
    EXPECT_EQ(t.rect.right - t.rect.left, 209);
    EXPECT_NE(t.format & DT_CENTER, 0u);
    EXPECT_EQ(t.format & DT_WORDBREAK, 0u) << "cut, not wrapped";
  }
  EXPECT_TRUE(drawn);
}

}  // namespace

#endif  // !_WIN32
