// The cute button where virtual time or the emulated menu is needed: refused clicks, a raising handler, drop-downs.
#ifndef _WIN32
#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <string>
#include <vector>

#include "cutebtn_fixture.h"
#include "winapi/emu/control.h"

namespace cutebtn_test {
namespace {

void HardwareClick() {
  emu::MouseDown(emu::Button::Left);
  emu::MouseUp(emu::Button::Left);
}

// A click handler whose first call takes three seconds, with three more clicks of the user in that time.
class SlowHandler : public TObject {
 public:
  enum Mode { kNestedLoop, kBlocking };
  TCuteButton* button = nullptr;
  Mode mode = kNestedLoop;
  int calls = 0;
  int depth = 0;
  int maxDepth = 0;
  std::vector<std::string> order;

  void Click(TObject*) {
    int call = ++calls;
    order.push_back("begin " + std::to_string(call));
    maxDepth = std::max(maxDepth, ++depth);
    if (call == 1) (mode == kNestedLoop ? NestedLoop() : Block());
    --depth;
    order.push_back("end " + std::to_string(call));
  }

 private:
  // Handles messages meanwhile: the clicks come in through the loop.
  static void NestedLoop() {
    const DWORD start = emu::Now();
    for (DWORD at : {1000u, 1800u, 2600u}) emu::At(start + at, HardwareClick);
    const DWORD end = start + 3000;
    emu::At(end, [] { PostMessageA(nullptr, WM_NULL, 0, 0); });
    while (emu::Now() < end) Application->HandleMessage();
  }
  // Handles nothing meanwhile: the clicks wait in the queue.
  static void Block() {
    for (int i = 0; i < 3; ++i) {
      emu::AdvanceClock(800);
      HardwareClick();
    }
  }
};

struct ContCase {
  const char* name;
  bool ignore;
  SlowHandler::Mode mode;
  int calls;
  int maxDepth;
};

class CuteButtonEmu : public ButtonForm, public testing::WithParamInterface<ContCase> {};

TEST_P(CuteButtonEmu, ClicksWhileTheHandlerRuns) {
  const ContCase& c = GetParam();
  SlowHandler handler;
  handler.button = button;
  handler.mode = c.mode;
  button->SetEgnoreContClick(c.ignore);
  button->OnClick = Bind<&SlowHandler::Click>(&handler);
  th::ClickAt(button, 10, 8);
  th::Pump();
  EXPECT_EQ(handler.calls, c.calls);
  EXPECT_EQ(handler.maxDepth, c.maxDepth);
  if (c.maxDepth == 1) {
    // One after the other: each queued click waited for the first call to return.
    std::vector<std::string> serial;
    for (int i = 1; i <= c.calls; ++i) {
      serial.push_back("begin " + std::to_string(i));
      serial.push_back("end " + std::to_string(i));
    }
    EXPECT_EQ(handler.order, serial);
  }
  EXPECT_TRUE(button->OnClick == Bind<&SlowHandler::Click>(&handler));
  EXPECT_STREQ(Look(), "raised");
  // The handler is back: the next click fires again.
  th::Wait(1000);
  th::ClickAt(button, 12, 9);
  EXPECT_EQ(handler.calls, c.calls + 1);
}

INSTANTIATE_TEST_SUITE_P(CuteButton, CuteButtonEmu,
                         testing::Values(ContCase{"OnNestedLoop", true, SlowHandler::kNestedLoop, 1, 1},
                                         ContCase{"OnQueued", true, SlowHandler::kBlocking, 1, 1},
                                         ContCase{"OffNestedLoop", false, SlowHandler::kNestedLoop, 4, 2},
                                         ContCase{"OffQueued", false, SlowHandler::kBlocking, 4, 1}),
                         [](const testing::TestParamInfo<ContCase>& info) { return std::string(info.param.name); });

class CuteButtonMoreEmu : public ButtonForm {};

TEST_F(CuteButtonMoreEmu, RaisingHandlerIsPutBackWhenClicksAreRefused) {
  struct Raiser : TObject {
    int calls = 0;
    void Click(TObject*) {
      if (++calls == 1) throw Exception("boom");
    }
  } raiser;
  button->SetEgnoreContClick(true);
  button->OnClick = Bind<&Raiser::Click>(&raiser);
  th::ClickAt(button, 10, 8);
  EXPECT_EQ(raiser.calls, 1);
  ASSERT_EQ(emu::MessageBoxes().size(), 1u);
  EXPECT_EQ(emu::MessageBoxes()[0].text, "boom.");
  EXPECT_TRUE(button->OnClick == Bind<&Raiser::Click>(&raiser));
  th::Wait(1000);
  th::ClickAt(button, 10, 8);
  EXPECT_EQ(raiser.calls, 2);
}

// Keys held while the pointer moves (a real X server under Wine forgets injected modifiers at each move).
TEST_F(CuteButtonMoreEmu, EnterAndLeaveReportHeldKeys) {
  struct Case {
    std::vector<BYTE> keys;
    const char* shift;
  };
  const Case cases[] = {{{VK_SHIFT}, "[Shift]"},
                        {{VK_CONTROL}, "[Ctrl]"},
                        {{VK_MENU}, "[Alt]"},
                        {{VK_SHIFT, VK_CONTROL}, "[Shift+Ctrl]"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.shift);
    log.log.clear();
    for (BYTE k : c.keys) th::KeyDown(k);
    th::MoveMouseTo(button, 12, 9);
    EXPECT_STREQ(Look(), "raised");
    MoveOff();
    EXPECT_STREQ(Look(), "none");
    for (BYTE k : c.keys) th::KeyUp(k);
    EXPECT_EQ(log.log, (Strings{std::string("MouseEnter(") + c.shift + ",12,9)",
                                std::string("MouseLeave(") + c.shift + ",130,100)"}));
  }
}

TEST_F(CuteButtonMoreEmu, AltCountsInTheShiftState) {
  emu::KeyDown(VK_MENU);
  EXPECT_EQ(GetShiftState(), ssAlt);
  emu::KeyDown(VK_SHIFT);
  EXPECT_EQ(GetShiftState(), ssAlt | ssShift);
  emu::KeyUp(VK_SHIFT);
  emu::KeyUp(VK_MENU);
  EXPECT_EQ(GetShiftState(), 0);
  th::Pump();
}

// ---- Drop-down menu

class CuteButtonDropDownEmu : public ButtonForm {
 protected:
  void SetUp() override {
    ButtonForm::SetUp();
    menu = new TPopupMenu(form);
    auto* item = new TMenuItem(form);
    item->SetCaption("Item");
    menu->Items()->Add(item);
    button->SetDropDownMenu(menu);
  }
  // The menu's loop eats the release the user makes while it is open.
  void ReleaseInsideMenu(BYTE key) {
    emu::SetMenuScript([this, key](const emu::MenuCall&) -> UINT_PTR {
      menuTimes.push_back(emu::Now());
      if (key == VK_LBUTTON)
        emu::MouseUp(emu::Button::Left);
      else
        emu::KeyUp(key);
      return 0;
    });
  }
  POINT BelowButton() const { return button->ClientToScreen(POINT{0, button->Height()}); }

  TPopupMenu* menu = nullptr;
  std::vector<DWORD> menuTimes;
};

TEST_F(CuteButtonDropDownEmu, PressOpensTheMenuAtOnceWithoutDelay) {
  ReleaseInsideMenu(VK_LBUTTON);
  th::MoveMouseTo(button, 10, 8);
  log.log.clear();
  th::Press();  // released while the menu is open
  ASSERT_EQ(emu::MenuCalls().size(), 1u);
  EXPECT_EQ(emu::MenuCalls()[0].x, BelowButton().x);
  EXPECT_EQ(emu::MenuCalls()[0].y, BelowButton().y);
  EXPECT_EQ(log.Clicks(), 0);
  ASSERT_FALSE(log.log.empty());
  EXPECT_EQ(log.log.back(), "MouseUp(Left,[],0,0)");
  EXPECT_STREQ(Look(), "raised");
  EXPECT_EQ(button->Timer(), nullptr);
}

TEST_F(CuteButtonDropDownEmu, QuickPressWithDelayClicks) {
  button->SetDropDownDelay(500);
  th::MoveMouseTo(button, 10, 8);
  th::Press();
  ASSERT_NE(button->Timer(), nullptr);
  EXPECT_EQ(button->Timer()->Interval(), 500u);
  EXPECT_EQ(button->Timer()->FCuteButton, button);
  th::Wait(200);
  th::Release();
  EXPECT_EQ(button->Timer(), nullptr);
  EXPECT_EQ(log.Clicks(), 1);
  th::Wait(1000);
  EXPECT_TRUE(emu::MenuCalls().empty());
}

TEST_F(CuteButtonDropDownEmu, HeldPressOpensTheMenuAtTheTick) {
  button->SetDropDownDelay(500);
  ReleaseInsideMenu(VK_LBUTTON);
  th::MoveMouseTo(button, 10, 8);
  const DWORD pressed = emu::Now();
  th::Press();
  th::MoveMouseTo(button, 10, 60);  // off the button, still held
  th::Wait(600);
  ASSERT_EQ(menuTimes.size(), 1u);
  EXPECT_EQ(menuTimes[0], pressed + 500);
  EXPECT_EQ(emu::MenuCalls()[0].x, BelowButton().x);
  EXPECT_EQ(emu::MenuCalls()[0].y, BelowButton().y);
  EXPECT_EQ(log.Clicks(), 0);
  EXPECT_EQ(log.log.back(), "MouseUp(Left,[],0,0)");
  EXPECT_EQ(button->Timer(), nullptr);
  EXPECT_STREQ(Look(), "raised");
}

TEST_F(CuteButtonDropDownEmu, SpaceOpensTheMenuAndItsReleaseIsSynthetic) {
  ReleaseInsideMenu(VK_SPACE);
  button->SetFocus();
  th::Pump();
  log.log.clear();
  th::KeyDown(VK_SPACE);
  ASSERT_EQ(emu::MenuCalls().size(), 1u);
  EXPECT_EQ(log.Clicks(), 0);
  Strings keys;
  std::copy_if(log.log.begin(), log.log.end(), std::back_inserter(keys),
               [](const std::string& line) { return line.rfind("Key", 0) == 0; });
  EXPECT_EQ(keys, (Strings{"KeyDown(32,[])", "KeyUp(32,[])"}));
  EXPECT_STREQ(Look(), "raised");
}

TEST_F(CuteButtonDropDownEmu, EnterOpensTheMenuOnlyWithDelayZero) {
  struct Case {
    int delay;
    std::size_t menus;
    int clicks;
  };
  const Case cases[] = {{0, 1, 0}, {-1, 0, 1}, {300, 0, 1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.delay);
    button->SetDropDownDelay(c.delay);
    const std::size_t menusBefore = emu::MenuCalls().size();
    const int clicksBefore = log.Clicks();
    button->SetFocus();
    th::Pump();
    th::Key(VK_RETURN);
    EXPECT_EQ(emu::MenuCalls().size() - menusBefore, c.menus);
    EXPECT_EQ(log.Clicks() - clicksBefore, c.clicks);
    EXPECT_EQ(button->Perform(CM_DIALOGCHAR, 'x', 0), 0);
    button->SetCaption("&Go");
    EXPECT_EQ(button->Perform(CM_DIALOGCHAR, 'g', 0), 1);
    EXPECT_EQ(emu::MenuCalls().size() - menusBefore, 2 * c.menus);
    EXPECT_EQ(log.Clicks() - clicksBefore, 2 * c.clicks);
    EXPECT_EQ(button->Timer(), nullptr);
    button->SetCaption("OK");
  }
}

}  // namespace
}  // namespace cutebtn_test
#endif
