// The OK and CANCEL actions driven by mouse input: which links are written where, in which order, and closing.
#include <gtest/gtest.h>

#ifndef _WIN32

#include <string>
#include <vector>

#include "InstallerWorld.h"

namespace {

const std::string kTarget = iw::kApp + "Viewer.exe";
const std::string kDesktopLink = iw::kDesktop + "\\VIEWER.lnk -> " + kTarget;
const std::string kProgramsLink = iw::kPrograms + "\\VIEWER.lnk -> " + kTarget;

class OkCancelEmu : public ::testing::Test {
 protected:
  void SetUp() override {
    iw::NewWorld(iw::kApp + "install.exe", {{"install.exe"}, {"Viewer.exe"}});
    iw::ShowInstaller();
    ASSERT_EQ(Form1->TargetName, "Viewer.exe");
    emu::ClearCallLog();
  }
  void TearDown() override { iw::EndInstaller(); }

  static void ClickBox(TCheckBox* box, int times) {
    for (int i = 0; i < times; ++i) th::ClickAt(box, 7, 7);
  }
  static void ClickOk() { th::ClickAt(Form1->CuteButton1, 40, 12); }
  static void ClickCancel() { th::ClickAt(Form1->CuteButton2, 40, 12); }
  // The folder look-ups made, by identifier, in order.
  static std::vector<std::string> FolderLookups() {
    std::vector<std::string> ids;
    for (const std::string& line : iw::Calls("SHGetSpecialFolderLocation("))
      ids.push_back(line.substr(line.rfind(' ') + 1, line.size() - line.rfind(' ') - 2));
    return ids;
  }
  static void ExpectBalancedRounds(int rounds) {
    const emu::ComState c = emu::Com();
    EXPECT_EQ(c.initializeCalls, rounds);
    EXPECT_EQ(c.uninitializeCalls, rounds);
    EXPECT_EQ(c.liveObjects, 0);
    EXPECT_EQ(c.outstandingRefs, 0);
    EXPECT_EQ(c.livePidls, 0);
  }
};

TEST_F(OkCancelEmu, OnlyTheBoxStatesAtOkCount) {
  struct Case {
    int desktopClicks;
    int programsClicks;
    std::vector<std::string> links;
    std::vector<std::string> lookups;
  };
  const std::vector<Case> cases = {
      {0, 0, {kDesktopLink, kProgramsLink}, {"0", "2"}},
      {1, 0, {kProgramsLink}, {"2"}},
      {0, 1, {kDesktopLink}, {"0"}},
      {1, 1, {}, {}},
      {2, 3, {kDesktopLink}, {"0"}},
      {3, 2, {kProgramsLink}, {"2"}},
      {4, 4, {kDesktopLink, kProgramsLink}, {"0", "2"}},
  };
  for (const Case& c : cases) {
    const std::string what = std::to_string(c.desktopClicks) + "/" + std::to_string(c.programsClicks) + " clicks";
    SetUp();
    ClickBox(Form1->CheckBox1, c.desktopClicks);
    ClickBox(Form1->CheckBox2, c.programsClicks);
    EXPECT_EQ(Form1->CheckBox1->Checked(), c.desktopClicks % 2 == 0) << what;
    EXPECT_EQ(Form1->CheckBox2->Checked(), c.programsClicks % 2 == 0) << what;
    EXPECT_TRUE(emu::SavedLinks().empty()) << "nothing happens before OK: " << what;
    ClickOk();
    EXPECT_EQ(iw::Links(), c.links) << what;
    EXPECT_EQ(FolderLookups(), c.lookups) << "a folder is asked for only when its box is ticked: " << what;
    ExpectBalancedRounds(static_cast<int>(c.links.size()));
    EXPECT_TRUE(Application->Terminated()) << what;
    TearDown();
  }
}

TEST_F(OkCancelEmu, BothLinksAreTwoCompleteRoundsDesktopFirst) {
  ClickOk();
  // Each round: the folder, then a whole COM round of its own.
  std::vector<std::string> rounds;
  for (const std::string& line : emu::CallLog())
    if (line.rfind("SHGetSpecialFolderLocation", 0) == 0 || line == "CoInitialize" || line == "CoUninitialize" ||
        line.rfind("CoCreateInstance", 0) == 0 || line.rfind("Save(", 0) == 0 || line.rfind("SetPath(", 0) == 0)
      rounds.push_back(line.substr(0, line.find('(')));
  EXPECT_EQ(rounds,
            (std::vector<std::string>{"SHGetSpecialFolderLocation", "CoInitialize", "CoCreateInstance", "SetPath",
                                      "Save", "CoUninitialize", "SHGetSpecialFolderLocation", "CoInitialize",
                                      "CoCreateInstance", "SetPath", "Save", "CoUninitialize"}));
  EXPECT_EQ(iw::Calls("SetPath("), (std::vector<std::string>{"SetPath(" + kTarget + ")", "SetPath(" + kTarget + ")"}));
  EXPECT_EQ(iw::Links(), (std::vector<std::string>{kDesktopLink, kProgramsLink}));
  ExpectBalancedRounds(2);
  EXPECT_TRUE(Application->Terminated());
}

TEST_F(OkCancelEmu, FailedFolderLookupSkipsOnlyItsOwnLink) {
  struct Case {
    const char* fault;
    int times;  // failures, counted from the first look-up
    std::vector<std::string> links;
  };
  const std::vector<Case> cases = {
      {"SHGetSpecialFolderLocation", 1, {kProgramsLink}},
      {"SHGetPathFromIDListA", 1, {kProgramsLink}},
      {"SHGetSpecialFolderLocation", 2, {}},
  };
  for (const Case& c : cases) {
    SetUp();
    emu::Fail(c.fault, static_cast<DWORD>(E_FAIL), c.times);
    ClickOk();
    EXPECT_EQ(iw::Links(), c.links) << c.fault;
    for (const std::string& line : iw::Calls("Save("))
      EXPECT_NE(line.substr(0, 7), "Save(\\V") << "never a link at the drive root";
    ExpectBalancedRounds(static_cast<int>(c.links.size()));
    EXPECT_TRUE(Application->Terminated()) << c.fault;
    TearDown();
  }
}

TEST_F(OkCancelEmu, DesktopAtADriveRootGetsOneSeparator) {
  emu::SetSpecialFolder(CSIDL_DESKTOP, "D:\\");
  ClickOk();
  EXPECT_EQ(iw::Links(), (std::vector<std::string>{"D:\\VIEWER.lnk -> " + kTarget, kProgramsLink}));
}

TEST_F(OkCancelEmu, FailedFirstLinkStillTriesTheSecondAndCloses) {
  for (const char* fault : {"CoCreateInstance", "QueryInterface", "Save"}) {
    SetUp();
    emu::Fail(fault, static_cast<DWORD>(E_ACCESSDENIED), 1);
    ClickOk();
    EXPECT_EQ(iw::Links(), std::vector<std::string>{kProgramsLink}) << fault;
    ExpectBalancedRounds(2);
    EXPECT_TRUE(emu::MessageBoxes().empty()) << "nothing is shown: " << fault;
    EXPECT_TRUE(Application->Terminated()) << fault;
    TearDown();
  }
}

TEST_F(OkCancelEmu, ExistingLinksAreWrittenOver) {
  ClickOk();
  ASSERT_EQ(emu::SavedLinks().size(), 2u);
  // A second run from the same folder, now beside another build of the program.
  iw::EndInstaller();
  emu::SetFolder(iw::kApp, {{"install.exe"}, {"viewer.EXE"}});
  iw::ShowInstaller();
  ClickOk();
  const std::string target = iw::kApp + "viewer.EXE";
  EXPECT_EQ(iw::Links(), (std::vector<std::string>{iw::kDesktop + "\\VIEWER.lnk -> " + target,
                                                   iw::kPrograms + "\\VIEWER.lnk -> " + target}));
}

TEST_F(OkCancelEmu, CancelAndTheCloseBoxWriteNothing) {
  struct Case {
    const char* what;
    void (*close)();
  };
  const std::vector<Case> cases = {
      {"CANCEL", &ClickCancel},
      {"close box",
       [] {
         RECT outer;
         GetWindowRect(Form1->Handle(), &outer);
         const int frame = (outer.right - outer.left - Form1->ClientWidth()) / 2;
         th::MoveMouse(outer.right - frame - 9, outer.top + frame + 9);
         th::Press();
         th::Release();
       }},
      {"CANCEL after changing the boxes",
       [] {
         ClickBox(Form1->CheckBox1, 1);
         ClickBox(Form1->CheckBox2, 2);
         ClickCancel();
       }},
  };
  for (const Case& c : cases) {
    SetUp();
    c.close();
    EXPECT_TRUE(Application->Terminated()) << c.what;
    EXPECT_TRUE(emu::SavedLinks().empty()) << c.what;
    EXPECT_TRUE(iw::Calls("SHGet").empty()) << c.what;
    EXPECT_TRUE(iw::Calls("Co").empty()) << c.what;
    TearDown();
  }
}

}  // namespace

#endif  // !_WIN32
