// The whole program through its entry point: a run to OK or CANCEL, and start-up errors on the exception display.
#include <gtest/gtest.h>

#ifndef _WIN32

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "InstallerWorld.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int show);

namespace {

int RunInstaller() { return WinMain(GetModuleHandleA(nullptr), nullptr, const_cast<char*>(""), SW_SHOWNORMAL); }

// Plays `steps` one by one from inside the message loop's waits; the loop must end once they are done.
void Script(std::vector<std::function<void()>> steps) {
  auto next = std::make_shared<std::size_t>(0);
  emu::SetIdleHandler([steps = std::move(steps), next] {
    if (*next >= steps.size()) return false;
    steps[(*next)++]();
    return true;
  });
}

POINT Centre(TControl* c) { return c->ClientToScreen(POINT{c->Width() / 2, c->Height() / 2}); }
void Click(TControl* c) {
  const POINT p = Centre(c);
  emu::MouseMove(p.x, p.y);
  emu::MouseDown(emu::Button::Left);
  emu::MouseUp(emu::Button::Left);
}

class StartupEmu : public ::testing::Test {
 protected:
  void SetUp() override { iw::NewWorld(iw::kApp + "install.exe", {{"install.exe"}, {"Viewer.exe"}}); }
  void TearDown() override { iw::EndInstaller(); }
};

TEST_F(StartupEmu, RunToOkWritesBothLinksAndReturnsZero) {
  std::string titleSeen;
  bool visibleWhenClicked = false;
  Script({[&] {
    titleSeen = Form1->TitleLabel->Caption().ToString();
    visibleWhenClicked = IsWindowVisible(Form1->Handle()) != 0;
    Click(Form1->CuteButton1);
  }});
  EXPECT_EQ(RunInstaller(), 0);
  EXPECT_EQ(titleSeen, "Viewer.exeのインストール");
  EXPECT_TRUE(visibleWhenClicked);
  EXPECT_EQ(Application->Title(), "QUOLLSET");
  EXPECT_EQ(Application->MainForm(), Form1);
  const std::string target = iw::kApp + "Viewer.exe";
  EXPECT_EQ(iw::Links(), (std::vector<std::string>{iw::kDesktop + "\\VIEWER.lnk -> " + target,
                                                   iw::kPrograms + "\\VIEWER.lnk -> " + target}));
  EXPECT_TRUE(emu::MessageBoxes().empty());
}

TEST_F(StartupEmu, RunToCancelOrCloseBoxWritesNothingAndReturnsZero) {
  for (bool closeBox : {false, true}) {
    SetUp();
    Script({[closeBox] {
      if (closeBox)
        PostMessageA(Form1->Handle(), WM_SYSCOMMAND, SC_CLOSE, 0);
      else
        Click(Form1->CuteButton2);
    }});
    EXPECT_EQ(RunInstaller(), 0) << closeBox;
    EXPECT_TRUE(emu::SavedLinks().empty()) << closeBox;
    EXPECT_TRUE(iw::Calls("Co").empty()) << closeBox;
    TearDown();
  }
}

TEST_F(StartupEmu, StartUpErrorsAreShownWithTheProductAsCaption) {
  struct Case {
    const char* what;
    const char* fault;
    std::string text;
  };
  const std::vector<Case> cases = {
      {"no form resource", "FindResourceA", "リソース TFORM1 が見つかりません."},
      {"no window", "CreateWindowExA", "ウィンドウを作成できません."},
  };
  for (const Case& c : cases) {
    SetUp();
    emu::Fail(c.fault, ERROR_NOT_ENOUGH_MEMORY);
    // Nothing may need the loop: the error ends the start-up before it runs.
    Script({});
    EXPECT_EQ(RunInstaller(), 0) << c.what;
    ASSERT_EQ(emu::MessageBoxes().size(), 1u) << c.what;
    const emu::MessageBoxCall& box = emu::MessageBoxes()[0];
    EXPECT_EQ(box.caption, "QUOLLSET") << c.what;
    EXPECT_EQ(box.text, c.text) << c.what;
    EXPECT_EQ(box.type, static_cast<UINT>(MB_OK | MB_ICONSTOP)) << c.what;
    EXPECT_EQ(box.owner, Application->Handle()) << c.what;
    EXPECT_TRUE(emu::SavedLinks().empty()) << c.what;
    TearDown();
  }
}

}  // namespace

#endif  // !_WIN32
