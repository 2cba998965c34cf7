// The cute button driven as a user would: its look after every input, its clicks, its mouse events, form files.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "cutebtn_fixture.h"
#include "vcl/Streaming.h"

namespace cutebtn_test {
namespace {

// ---- A new button

TEST(CuteButtonModel, NewButtonHasItsStartValues) {
  th::Fresh();
  TCuteButton b(nullptr);
  EXPECT_EQ(b.Width(), 75);
  EXPECT_EQ(b.Height(), 25);
  EXPECT_TRUE(b.TabStop());
  EXPECT_EQ(b.BevelOuter(), bvNone);
  EXPECT_EQ(b.BevelInner(), bvRaised);
  EXPECT_EQ(b.BevelWidth(), 1);
  EXPECT_EQ(b.BorderStyle(), bsNone);
  EXPECT_EQ(b.Alignment(), taCenter);
  EXPECT_EQ(b.Layout(), tlCenter);
  EXPECT_FALSE(b.Flat());
  EXPECT_TRUE(b.TabFocusUp());
  EXPECT_FALSE(b.EgnoreContClick());
  EXPECT_FALSE(b.ShowFocusRect());
  EXPECT_FALSE(b.UseDisabledColor());
  EXPECT_EQ(b.MarginX(), -1);
  EXPECT_EQ(b.MarginY(), -1);
  EXPECT_EQ(b.DisabledColor(), 0x808080);
  EXPECT_EQ(b.BevelHighlightColor(), clBtnHighlight);
  EXPECT_EQ(b.BevelShadowColor(), clBtnShadow);
  EXPECT_EQ(b.Color(), clBtnFace);
  EXPECT_EQ(b.Brush()->Color(), clBtnFace);
  EXPECT_FALSE(b.ParentColor());
  EXPECT_EQ(b.DropDownDelay(), 0);
  EXPECT_EQ(b.DropDownMenu(), nullptr);
  EXPECT_EQ(b.Timer(), nullptr);
  EXPECT_EQ(b.Caption(), "");
  // A button, not a container; it still captures, clicks and takes double-clicks.
  EXPECT_EQ(b.ControlStyle() & csAcceptsControls, 0u);
  const unsigned kept = csCaptureMouse | csClickEvents | csSetCaption | csOpaque | csDoubleClicks;
  EXPECT_EQ(b.ControlStyle() & kept, kept);
}

TEST(CuteButtonModel, FormFilesCreateItByClassName) {
  th::Fresh();
  const TClassInfo* info = FindClass("tcutebutton");
  ASSERT_NE(info, nullptr);
  ASSERT_NE(info->create, nullptr);
  TComponent* made = info->create(nullptr);
  EXPECT_NE(dynamic_cast<TCuteButton*>(made), nullptr);
  delete made;
}

// ---- Writers

class CuteButtonWriters : public ButtonForm {};

TEST_F(CuteButtonWriters, StoreAndRepaintOnlyWhenTheValueCanShow) {
  auto* menu = new TPopupMenu(form);
  using Act = std::function<void(TCuteButton*)>;
  using Check = std::function<bool(TCuteButton*)>;
  struct Case {
    const char* name;
    Act prepare;
    Act act;
    Check check;
    bool repaints;
  };
  auto none = [](TCuteButton*) {};
  const Case cases[] = {
      {"MarginX below -1 on -1", none, [](TCuteButton* b) { b->SetMarginX(-5); },
       [](TCuteButton* b) { return b->MarginX() == -1; }, false},
      {"MarginX to 3", none, [](TCuteButton* b) { b->SetMarginX(3); }, [](TCuteButton* b) { return b->MarginX() == 3; },
       true},
      {"MarginX 3 again", [](TCuteButton* b) { b->SetMarginX(3); }, [](TCuteButton* b) { b->SetMarginX(3); },
       [](TCuteButton* b) { return b->MarginX() == 3; }, false},
      {"MarginX from 3 to -7", [](TCuteButton* b) { b->SetMarginX(3); }, [](TCuteButton* b) { b->SetMarginX(-7); },
       [](TCuteButton* b) { return b->MarginX() == -1; }, true},
      {"MarginY below -1 on -1", none, [](TCuteButton* b) { b->SetMarginY(-100); },
       [](TCuteButton* b) { return b->MarginY() == -1; }, false},
      {"MarginY to 0", none, [](TCuteButton* b) { b->SetMarginY(0); }, [](TCuteButton* b) { return b->MarginY() == 0; },
       true},
      {"DisabledColor while enabled", none, [](TCuteButton* b) { b->SetDisabledColor(clRed); },
       [](TCuteButton* b) { return b->DisabledColor() == clRed; }, false},
      {"DisabledColor while disabled", [](TCuteButton* b) { b->SetEnabled(false); },
       [](TCuteButton* b) { b->SetDisabledColor(clRed); }, [](TCuteButton* b) { return b->DisabledColor() == clRed; },
       true},
      {"DisabledColor unchanged while disabled", [](TCuteButton* b) { b->SetEnabled(false); },
       [](TCuteButton* b) { b->SetDisabledColor(clGray); }, [](TCuteButton* b) { return b->DisabledColor() == clGray; },
       false},
      {"UseDisabledColor while enabled", none, [](TCuteButton* b) { b->SetUseDisabledColor(true); },
       [](TCuteButton* b) { return b->UseDisabledColor(); }, false},
      {"UseDisabledColor while disabled", [](TCuteButton* b) { b->SetEnabled(false); },
       [](TCuteButton* b) { b->SetUseDisabledColor(true); }, [](TCuteButton* b) { return b->UseDisabledColor(); },
       true},
      {"BevelHighlightColor", none, [](TCuteButton* b) { b->SetBevelHighlightColor(clYellow); },
       [](TCuteButton* b) { return b->BevelHighlightColor() == clYellow; }, true},
      {"BevelHighlightColor unchanged", none, [](TCuteButton* b) { b->SetBevelHighlightColor(clBtnHighlight); },
       [](TCuteButton* b) { return b->BevelHighlightColor() == clBtnHighlight; }, false},
      {"BevelShadowColor", none, [](TCuteButton* b) { b->SetBevelShadowColor(clGreen); },
       [](TCuteButton* b) { return b->BevelShadowColor() == clGreen; }, true},
      {"BevelShadowColor unchanged", none, [](TCuteButton* b) { b->SetBevelShadowColor(clBtnShadow); },
       [](TCuteButton* b) { return b->BevelShadowColor() == clBtnShadow; }, false},
      {"Layout", none, [](TCuteButton* b) { b->SetLayout(tlBottom); },
       [](TCuteButton* b) { return b->Layout() == tlBottom; }, true},
      {"Layout unchanged", none, [](TCuteButton* b) { b->SetLayout(tlCenter); },
       [](TCuteButton* b) { return b->Layout() == tlCenter; }, false},
      {"ShowFocusRect", none, [](TCuteButton* b) { b->SetShowFocusRect(true); },
       [](TCuteButton* b) { return b->ShowFocusRect(); }, true},
      {"ShowFocusRect unchanged", none, [](TCuteButton* b) { b->SetShowFocusRect(false); },
       [](TCuteButton* b) { return !b->ShowFocusRect(); }, false},
      {"DropDownMenu", none, [menu](TCuteButton* b) { b->SetDropDownMenu(menu); },
       [menu](TCuteButton* b) { return b->DropDownMenu() == menu; }, true},
      {"DropDownMenu unchanged", none, [](TCuteButton* b) { b->SetDropDownMenu(nullptr); },
       [](TCuteButton* b) { return b->DropDownMenu() == nullptr; }, false},
      {"Flat on", none, [](TCuteButton* b) { b->SetFlat(true); },
       [](TCuteButton* b) { return b->Flat() && b->BevelInner() == bvNone && b->BevelOuter() == bvNone; }, true},
      {"Flat on over a raised look", [](TCuteButton* b) { b->SetBevelOuter(bvRaised); },
       [](TCuteButton* b) { b->SetFlat(true); },
       [](TCuteButton* b) { return b->BevelInner() == bvNone && b->BevelOuter() == bvRaised; }, true},
      {"Flat off again", [](TCuteButton* b) { b->SetFlat(true); }, [](TCuteButton* b) { b->SetFlat(false); },
       [](TCuteButton* b) { return !b->Flat() && b->BevelInner() == bvRaised; }, true},
      {"Flat off unchanged", none, [](TCuteButton* b) { b->SetFlat(false); },
       [](TCuteButton* b) { return b->BevelInner() == bvRaised; }, false},
      {"DropDownDelay", none, [](TCuteButton* b) { b->SetDropDownDelay(300); },
       [](TCuteButton* b) { return b->DropDownDelay() == 300; }, false},
      {"EgnoreContClick", none, [](TCuteButton* b) { b->SetEgnoreContClick(true); },
       [](TCuteButton* b) { return b->EgnoreContClick(); }, false},
      {"TabFocusUp", none, [](TCuteButton* b) { b->SetTabFocusUp(false); },
       [](TCuteButton* b) { return !b->TabFocusUp(); }, false},
      {"Brush colour", none, [](TCuteButton* b) { b->Brush()->SetColor(clLime); },
       [](TCuteButton* b) { return b->Brush()->Color() == clLime; }, true},
      {"Brush style", none, [](TCuteButton* b) { b->Brush()->SetStyle(bsCross); },
       [](TCuteButton* b) { return b->Brush()->Style() == bsCross; }, true},
      {"Color carries the brush", none, [](TCuteButton* b) { b->SetColor(0x777777); },
       [](TCuteButton* b) { return b->Brush()->Color() == 0x777777; }, true},
      {"Enabled off", none, [](TCuteButton* b) { b->SetEnabled(false); }, [](TCuteButton* b) { return !b->Enabled(); },
       true},
      {"Enabled on again", [](TCuteButton* b) { b->SetEnabled(false); }, [](TCuteButton* b) { b->SetEnabled(true); },
       [](TCuteButton* b) { return b->Enabled(); }, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TCuteButton* b = NewButton("W", 20, 60);
    th::Pump();
    c.prepare(b);
    th::Pump();
    ASSERT_EQ(GetUpdateRect(b->Handle(), nullptr, FALSE), FALSE);
    c.act(b);
    EXPECT_TRUE(c.check(b));
    EXPECT_EQ(GetUpdateRect(b->Handle(), nullptr, FALSE) != FALSE, c.repaints);
    delete b;
    th::Pump();
  }
}

// ---- Mouse gestures

struct TabFocusCase {
  bool tabFocusUp;
};
std::string Describe(const testing::TestParamInfo<TabFocusCase>& info) {
  return info.param.tabFocusUp ? "TabFocusUpOn" : "TabFocusUpOff";
}

class CuteButtonGesture : public ButtonForm, public testing::WithParamInterface<TabFocusCase> {
 protected:
  void SetUp() override {
    ButtonForm::SetUp();
    button->SetTabFocusUp(GetParam().tabFocusUp);
  }
  // The look a button at rest takes: raised with TabFocusUp on.
  const char* Rest() const { return GetParam().tabFocusUp ? "raised" : "none"; }
};

TEST_P(CuteButtonGesture, MouseClick) {
  th::MoveMouseTo(button, 10, 8);
  EXPECT_STREQ(Look(), "raised");
  th::Press();
  EXPECT_STREQ(Look(), "lowered");
  EXPECT_TRUE(HasFocus(button));
  EXPECT_EQ(form->ActiveControl(), button);
  th::Release();
  EXPECT_STREQ(Look(), "raised");
  MoveOff();
  // The pointer going away leaves a focused button raised only with TabFocusUp.
  EXPECT_STREQ(Look(), Rest());
  EXPECT_EQ(log.log, (Strings{"MouseEnter([],10,8)", "Enter", "MouseDown(Left,[Left],10,8)", "Click",
                              "MouseUp(Left,[],10,8)", "MouseLeave([],130,100)"}));
  EXPECT_EQ(log.clickLooks, std::vector<TBevelCut>{bvLowered});
}

TEST_P(CuteButtonGesture, PressDragOffAndBackReleaseOutside) {
  th::MoveMouseTo(button, 10, 8);
  th::Press();
  log.log.clear();
  MoveOff();
  // The button holds the capture: it hears the pointer go, with the left button held.
  EXPECT_STREQ(Look(), GetParam().tabFocusUp ? "lowered" : "none");
  th::MoveMouseTo(button, 30, 12);
  EXPECT_STREQ(Look(), "lowered");
  MoveOff();
  EXPECT_STREQ(Look(), GetParam().tabFocusUp ? "lowered" : "none");
  th::Release();
  // Released outside: no click; raised only as the focused control with TabFocusUp.
  EXPECT_STREQ(Look(), Rest());
  EXPECT_EQ(log.log, (Strings{"MouseLeave([Left],130,100)", "MouseEnter([Left],30,12)", "MouseLeave([Left],130,100)",
                              "MouseUp(Left,[],130,100)"}));
  th::MoveMouseTo(button, 5, 5);
  EXPECT_STREQ(Look(), "raised");
  EXPECT_EQ(log.Clicks(), 0);
}

TEST_P(CuteButtonGesture, SpacePressAndRelease) {
  button->SetFocus();
  th::Pump();
  EXPECT_STREQ(Look(), Rest());
  log.log.clear();
  th::KeyDown(VK_SPACE);
  EXPECT_STREQ(Look(), "lowered");
  th::KeyDown(VK_SPACE, true);
  th::KeyDown(VK_SPACE, true);
  EXPECT_STREQ(Look(), "lowered");
  EXPECT_EQ(log.Clicks(), 0);
  th::KeyUp(VK_SPACE);
  EXPECT_STREQ(Look(), Rest());
  EXPECT_EQ(log.log, (Strings{"KeyDown(32,[])", "KeyDown(32,[])", "KeyDown(32,[])", "KeyUp(32,[])", "Click"}));
  EXPECT_EQ(log.clickLooks, std::vector<TBevelCut>{bvLowered});
}

TEST_P(CuteButtonGesture, EnterClicksOncePerPress) {
  button->SetFocus();
  th::Pump();
  log.log.clear();
  th::KeyDown(VK_RETURN);
  EXPECT_EQ(log.Clicks(), 1);
  EXPECT_STREQ(Look(), Rest());
  th::KeyDown(VK_RETURN, true);
  th::KeyDown(VK_RETURN, true);
  th::KeyUp(VK_RETURN);
  EXPECT_STREQ(Look(), Rest());
  EXPECT_EQ(log.log,
            (Strings{"KeyDown(13,[])", "Click", "KeyDown(13,[])", "Click", "KeyDown(13,[])", "Click", "KeyUp(13,[])"}));
  EXPECT_EQ(log.clickLooks, (std::vector<TBevelCut>{bvLowered, bvLowered, bvLowered}));
}

TEST_P(CuteButtonGesture, TypedAcceleratorClicksLikeEnter) {
  button->SetCaption("&OK");
  other->SetFocus();
  th::Pump();
  log.log.clear();
  th::Key('O');
  EXPECT_EQ(log.Clicks(), 1);
  EXPECT_STREQ(Look(), Rest());
  th::KeyDown(VK_SHIFT);
  th::Key('O');
  th::KeyUp(VK_SHIFT);
  EXPECT_EQ(log.Clicks(), 2);
  EXPECT_EQ(log.clickLooks, (std::vector<TBevelCut>{bvLowered, bvLowered}));
  EXPECT_EQ(otherLog.Clicks(), 0);
  th::Key('K');
  EXPECT_EQ(log.Clicks(), 2);
  // Typed on the button itself too.
  button->SetFocus();
  th::Key('O');
  EXPECT_EQ(log.Clicks(), 3);
  button->SetCaption("OK&");
  th::Key('K');
  EXPECT_EQ(log.Clicks(), 3);
  button->SetCaption("&OK");
  button->SetEnabled(false);
  th::Key('O');
  EXPECT_EQ(log.Clicks(), 3);
  EXPECT_EQ(otherLog.Clicks(), 0);
}

TEST_P(CuteButtonGesture, FocusArrivesAndLeavesByTab) {
  th::Key(VK_TAB);
  ASSERT_TRUE(HasFocus(button));
  EXPECT_STREQ(Look(), Rest());
  th::Key(VK_TAB);
  ASSERT_TRUE(HasFocus(other));
  EXPECT_STREQ(Look(), "none");
  EXPECT_EQ(log.log, (Strings{"Enter", "KeyUp(9,[])", "Exit"}));
}

TEST_P(CuteButtonGesture, RightPressFocusesWithoutPressedLook) {
  th::MoveMouseTo(button, 10, 8);
  th::Press(th::Button::Right);
  EXPECT_TRUE(HasFocus(button));
  EXPECT_STREQ(Look(), "raised");
  th::Release(th::Button::Right);
  EXPECT_STREQ(Look(), "raised");
  EXPECT_EQ(log.log,
            (Strings{"MouseEnter([],10,8)", "Enter", "MouseDown(Right,[Right],10,8)", "MouseUp(Right,[],10,8)"}));
}

INSTANTIATE_TEST_SUITE_P(CuteButton, CuteButtonGesture, testing::Values(TabFocusCase{true}, TabFocusCase{false}),
                         Describe);

class CuteButtonInput : public ButtonForm {};

TEST_F(CuteButtonInput, AnotherKeyBetweenSpacePressAndReleaseCancels) {
  struct Case {
    const char* name;
    BYTE key;
    const char* lookAfterKey;
  };
  const Case cases[] = {
      {"letter", 'A', "raised"},
      {"shift", VK_SHIFT, "raised"},
      {"escape", VK_ESCAPE, "raised"},
      {"tab", VK_TAB, "none"},  // the focus moves on to the other button
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    button->SetFocus();
    th::Pump();
    th::KeyDown(VK_SPACE);
    EXPECT_STREQ(Look(), "lowered");
    th::KeyDown(c.key);
    EXPECT_STREQ(Look(), c.lookAfterKey);
    th::KeyUp(c.key);
    th::KeyUp(VK_SPACE);
    EXPECT_STREQ(Look(), c.lookAfterKey);
    EXPECT_EQ(log.Clicks(), 0);
    EXPECT_EQ(otherLog.Clicks(), 0);
  }
}

TEST_F(CuteButtonInput, KeyDownHandlerThatEatsSpaceStopsThePress) {
  struct Eater : TObject {
    int seen = 0;
    void KeyDown(TObject*, WORD& key, TShiftState) {
      if (key == VK_SPACE) {
        key = 0;
        ++seen;
      }
    }
  } eater;
  button->OnKeyDown = Bind<&Eater::KeyDown>(&eater);
  button->SetFocus();
  th::Pump();
  th::KeyDown(VK_SPACE);
  EXPECT_EQ(eater.seen, 1);
  EXPECT_STREQ(Look(), "raised");
  th::KeyUp(VK_SPACE);
  EXPECT_STREQ(Look(), "raised");
  EXPECT_EQ(log.Clicks(), 0);
}

TEST_F(CuteButtonInput, DoubleClickGivesOneClick) {
  th::MoveMouseTo(button, 10, 8);
  log.log.clear();
  th::Press();
  th::Release();
  th::Press();
  th::Release();
  EXPECT_EQ(log.log, (Strings{"Enter", "MouseDown(Left,[Left],10,8)", "Click", "MouseUp(Left,[],10,8)",
                              "MouseDown(Left,[Left+Double],10,8)", "MouseUp(Left,[],10,8)"}));
  EXPECT_STREQ(Look(), "raised");
}

TEST_F(CuteButtonInput, AcceleratorAnswers) {
  struct Case {
    const char* caption;
    char typed;
    bool enabled;
    bool visible;
    bool parentVisible;
    LRESULT answer;
  };
  const Case cases[] = {
      {"&OK", 'o', true, true, true, 1},  {"&OK", 'O', true, true, true, 1},   {"&ok", 'O', true, true, true, 1},
      {"&OK", 'k', true, true, true, 0},  {"&OK", '&', true, true, true, 0},   {"OK&", 'k', true, true, true, 0},
      {"OK&", '&', true, true, true, 0},  {"A&&B", '&', true, true, true, 1},  {"A&&B", 'b', true, true, true, 0},
      {"A&&B", 'a', true, true, true, 0}, {"x&y&z", 'y', true, true, true, 1}, {"x&y&z", 'z', true, true, true, 0},
      {"&", '&', true, true, true, 0},    {"", 'o', true, true, true, 0},      {"&OK", 'o', false, true, true, 0},
      {"&OK", 'o', true, false, true, 1}, {"&OK", 'o', true, true, false, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.caption << " '" << c.typed << "' enabled " << c.enabled << " visible "
                                    << c.visible << " parent visible " << c.parentVisible);
    auto* holder = new TPanel(form);
    holder->SetParent(form);
    holder->SetBounds(0, 60, 200, 40);
    auto* b = new TCuteButton(form);
    b->SetParent(holder);
    b->SetCaption(c.caption);
    Log events;
    events.Attach(b);
    b->SetEnabled(c.enabled);
    b->SetVisible(c.visible);
    holder->SetVisible(c.parentVisible);
    th::Pump();
    events.log.clear();
    EXPECT_EQ(b->Perform(CM_DIALOGCHAR, static_cast<unsigned char>(c.typed), 0), c.answer);
    EXPECT_EQ(events.Clicks(), c.answer);
    EXPECT_EQ(events.clickLooks, c.answer ? std::vector<TBevelCut>{bvLowered} : std::vector<TBevelCut>{});
    EXPECT_EQ(b->BevelOuter(), c.answer ? bvRaised : bvNone);
    // The form offers it to every control and passes the answer on.
    EXPECT_EQ(form->Perform(CM_DIALOGCHAR, static_cast<unsigned char>(c.typed), 0), c.answer);
    EXPECT_EQ(events.Clicks(), 2 * c.answer);
    delete holder;
  }
}

TEST_F(CuteButtonInput, ShiftStateReadsTheKeyboardState) {
  struct Case {
    std::vector<BYTE> keys;
    std::vector<th::Button> buttons;
    TShiftState expected;
  };
  const Case cases[] = {
      {{}, {}, 0},
      {{VK_SHIFT}, {}, ssShift},
      {{VK_CONTROL}, {}, ssCtrl},
      {{VK_SHIFT, VK_CONTROL}, {}, ssShift | ssCtrl},
      {{}, {th::Button::Left}, ssLeft},
      {{}, {th::Button::Right}, ssRight},
      {{}, {th::Button::Middle}, ssMiddle},
      {{VK_CONTROL}, {th::Button::Left, th::Button::Right}, ssCtrl | ssLeft | ssRight},
  };
  MoveOff();
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "shift " << int(c.expected));
    for (BYTE k : c.keys) th::KeyDown(k);
    for (th::Button b : c.buttons) th::Press(b);
    EXPECT_EQ(GetShiftState(), c.expected);
    for (th::Button b : c.buttons) th::Release(b);
    for (BYTE k : c.keys) th::KeyUp(k);
    EXPECT_EQ(GetShiftState(), 0);
  }
}

// ---- Mouse events

TEST_F(CuteButtonInput, EnterAndLeaveReportTheClientPosition) {
  const POINT points[] = {{12, 9}, {0, 0}, {74, 24}};
  for (const POINT& p : points) {
    SCOPED_TRACE(testing::Message() << p.x << "," << p.y);
    log.log.clear();
    th::MoveMouseTo(button, p.x, p.y);
    EXPECT_STREQ(Look(), "raised");
    MoveOff();
    EXPECT_STREQ(Look(), "none");
    EXPECT_EQ(log.log, (Strings{"MouseEnter([]," + std::to_string(p.x) + "," + std::to_string(p.y) + ")",
                                "MouseLeave([],130,100)"}));
  }
}

TEST_F(CuteButtonInput, OtherButtonsHeldGiveTheRaisedLook) {
  struct Case {
    th::Button held;
    const char* shift;
  };
  const Case cases[] = {{th::Button::Right, "[Right]"}, {th::Button::Middle, "[Middle]"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.shift);
    log.log.clear();
    MoveOff();
    th::Press(c.held);
    th::MoveMouseTo(button, 12, 9);
    EXPECT_STREQ(Look(), "raised");
    MoveOff();
    EXPECT_STREQ(Look(), "none");
    th::Release(c.held);
    EXPECT_EQ(log.log, (Strings{std::string("MouseEnter(") + c.shift + ",12,9)",
                                std::string("MouseLeave(") + c.shift + ",130,100)"}));
  }
}

TEST_F(CuteButtonInput, DisabledButtonHearsNothingOfTheMouse) {
  button->SetEnabled(false);
  th::Pump();
  log.log.clear();
  th::MoveMouseTo(button, 10, 8);
  th::Press();
  th::Release();
  MoveOff();
  EXPECT_TRUE(log.log.empty());
  EXPECT_STREQ(Look(), "none");
}

TEST_F(CuteButtonInput, DisablingAHoveredButtonEndsIdleAtTheNextIdlePass) {
  th::MoveMouseTo(button, 10, 8);
  ASSERT_STREQ(Look(), "raised");
  log.log.clear();
  button->SetEnabled(false);
  EXPECT_STREQ(Look(), "raised");
  th::Pump();
  EXPECT_STREQ(Look(), "none");
  EXPECT_EQ(log.log, Strings{"MouseLeave([],10,8)"});
}

TEST_F(CuteButtonInput, DisablingAFocusedRaisedButtonEndsIdleThroughTheFocusLeaving) {
  th::ClickAt(button, 10, 8);
  ASSERT_STREQ(Look(), "raised");
  ASSERT_TRUE(HasFocus(button));
  log.log.clear();
  button->SetEnabled(false);
  EXPECT_STREQ(Look(), "none");
  EXPECT_FALSE(HasFocus(button));
  EXPECT_EQ(log.log, Strings{"Exit"});
  th::Pump();
  EXPECT_STREQ(Look(), "none");
  EXPECT_EQ(log.log, (Strings{"Exit", "MouseLeave([],10,8)"}));
}

TEST_F(CuteButtonInput, DragOfTheFormsActiveControlFiresNoEnter) {
  struct Case {
    const char* name;
    bool ownedByForm;
    bool focused;
    Strings expected;
    const char* lookBack;
  };
  const Case cases[] = {
      {"dragged active control", true, true, {"MouseLeave([Left],10,70)"}, "raised"},
      {"dragged, not the active control",
       true,
       false,
       {"MouseLeave([Left],10,70)", "MouseEnter([Left],30,12)"},
       "lowered"},
      {"owner is not a form", false, true, {"MouseLeave([Left],10,70)", "MouseEnter([Left],30,12)"}, "lowered"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto* b = new TCuteButton(c.ownedByForm ? static_cast<TComponent*>(form) : nullptr);
    b->SetParent(form);
    b->SetBounds(20, 60, 75, 25);
    b->SetDragMode(dmAutomatic);
    Log events;
    events.Attach(b);
    th::Pump();
    if (c.focused) b->SetFocus();
    th::MoveMouseTo(b, 10, 8);
    th::Press();
    ASSERT_TRUE(b->Dragging());
    events.log.clear();
    th::MoveMouseTo(b, 10, 70);
    th::MoveMouseTo(b, 30, 12);
    EXPECT_STREQ(LookName(b->BevelOuter()), c.lookBack);
    th::Release();
    EXPECT_FALSE(b->Dragging());
    EXPECT_EQ(events.log, c.expected);
    delete b;
    MoveOff();
  }
}

// ---- Form files

class TStreamForm : public TForm {
  VCL_DECLARE_CLASS(TStreamForm)
 public:
  explicit TStreamForm(TComponent* owner) : TForm(owner) {}
  TCuteButton* CuteButton1 = nullptr;
  void CuteButton1Click(TObject*) {}
  void CuteButton1MouseEnter(TObject*, TShiftState, int, int) {}
};

const TClassInfo& TStreamForm::StaticClass() {
  static const TClassInfo info{"TStreamForm",
                               &TForm::StaticClass(),
                               nullptr,
                               {},
                               {PublishedMethod<&TStreamForm::CuteButton1Click>("CuteButton1Click"),
                                PublishedMethod<&TStreamForm::CuteButton1MouseEnter>("CuteButton1MouseEnter")},
                               {PublishedField<&TStreamForm::CuteButton1>("CuteButton1")}};
  return info;
}

// The property lines of one component in a written form file.
Strings BlockOf(const std::string& text, const std::string& header) {
  Strings lines;
  std::size_t at = text.find(header + "\r\n");
  if (at == std::string::npos) return {"<no " + header + ">"};
  std::size_t indent = header.find_first_not_of(' ');
  std::size_t pos = at + header.size() + 2;
  for (;;) {
    std::size_t end = text.find("\r\n", pos);
    std::string line = text.substr(pos, end - pos);
    if (line == std::string(indent, ' ') + "end" || end == std::string::npos) break;
    lines.push_back(line.substr(line.find_first_not_of(' ')));
    pos = end + 2;
  }
  return lines;
}

class CuteButtonFormFile : public ::testing::Test {
 protected:
  void SetUp() override { th::Fresh(); }
  void TearDown() override { Application.Reset(); }
  TStreamForm* NewForm() {
    auto* f = new TStreamForm(Application.Get());
    return f;
  }
};

TEST_F(CuteButtonFormFile, ANewButtonWritesItsBooleansWithoutDefault) {
  TStreamForm* f = NewForm();
  f->SetName("Form1");
  auto* b = new TCuteButton(f);
  b->SetParent(f);
  b->SetName("CuteButton1");
  b->SetLeft(8);
  b->SetTop(16);
  std::string text = WriteComponent(f).ToString();
  EXPECT_EQ(
      BlockOf(text, "  object CuteButton1: TCuteButton"),
      (Strings{"Left = 8", "Top = 16", "Brush.Color = clBtnFace", "Caption = 'CuteButton1'", "EgnoreContClick = False",
               "Flat = False", "ShowFocusRect = False", "TabOrder = 0", "UseDisabledColor = False"}));
}

TEST_F(CuteButtonFormFile, ChangedValuesRoundTrip) {
  TStreamForm* f = NewForm();
  f->SetName("Form1");
  auto* menu = new TPopupMenu(f);
  menu->SetName("PopupMenu1");
  auto* b = new TCuteButton(f);
  b->SetParent(f);
  b->SetName("CuteButton1");
  b->SetBounds(32, 120, 81, 30);
  b->SetCaption("&Go");
  b->SetEgnoreContClick(true);
  b->SetFlat(true);
  b->SetShowFocusRect(true);
  b->SetUseDisabledColor(true);
  b->SetTabFocusUp(false);
  b->SetMarginX(4);
  b->SetMarginY(0);
  b->SetColor(0x777777);
  b->SetBevelWidth(2);
  b->SetLayout(tlBottom);
  b->SetAlignment(taLeftJustify);
  b->SetDisabledColor(clYellow);
  b->SetBevelHighlightColor(clWhite);
  b->SetBevelShadowColor(clBlack);
  b->SetDropDownDelay(300);
  b->SetDropDownMenu(menu);
  b->SetPopupMenu(menu);
  b->SetDragMode(dmAutomatic);
  b->SetDragCursor(crDefault);
  b->SetCursor(-3);
  b->SetHint("tip");
  b->SetShowHint(true);
  b->SetHelpContext(7);
  b->SetTag(5);
  b->SetTabStop(false);
  b->Font()->SetName("Arial");
  b->Font()->SetHeight(-15);
  b->Font()->SetStyle(fsBold);
  b->OnClick = Bind<&TStreamForm::CuteButton1Click>(f);
  b->OnMouseEnter = Bind<&TStreamForm::CuteButton1MouseEnter>(f);
  std::string text = WriteComponent(f).ToString();
  Strings block = BlockOf(text, "  object CuteButton1: TCuteButton");
  for (const char* line : {"Width = 81", "Height = 30", "TabFocusUp = False", "MarginX = 4", "MarginY = 0",
                           "EgnoreContClick = True", "Flat = True", "DropDownMenu = PopupMenu1",
                           "OnClick = CuteButton1Click", "OnMouseEnter = CuteButton1MouseEnter", "HelpContext = 7",
                           "ParentFont = False", "Layout = tlBottom", "DropDownDelay = 300"})
    EXPECT_NE(std::find(block.begin(), block.end(), line), block.end()) << line;

  delete f;
  TStreamForm* g = NewForm();
  ReadComponent(g, text);
  TCuteButton* r = g->CuteButton1;
  ASSERT_NE(r, nullptr);
  EXPECT_EQ(r->Parent(), g);
  EXPECT_EQ(r->Caption(), "&Go");
  EXPECT_EQ(r->Left(), 32);
  EXPECT_EQ(r->Width(), 81);
  EXPECT_EQ(r->Height(), 30);
  EXPECT_TRUE(r->EgnoreContClick());
  EXPECT_TRUE(r->Flat());
  EXPECT_EQ(r->BevelInner(), bvNone);
  EXPECT_EQ(r->BevelOuter(), bvNone);
  EXPECT_TRUE(r->ShowFocusRect());
  EXPECT_TRUE(r->UseDisabledColor());
  EXPECT_FALSE(r->TabFocusUp());
  EXPECT_EQ(r->MarginX(), 4);
  EXPECT_EQ(r->MarginY(), 0);
  EXPECT_EQ(r->Color(), 0x777777);
  EXPECT_EQ(r->BevelWidth(), 2);
  EXPECT_EQ(r->Layout(), tlBottom);
  EXPECT_EQ(r->Alignment(), taLeftJustify);
  EXPECT_EQ(r->DisabledColor(), clYellow);
  EXPECT_EQ(r->BevelHighlightColor(), clWhite);
  EXPECT_EQ(r->BevelShadowColor(), clBlack);
  EXPECT_EQ(r->DropDownDelay(), 300);
  ASSERT_NE(r->DropDownMenu(), nullptr);
  EXPECT_EQ(r->DropDownMenu()->Name(), "PopupMenu1");
  EXPECT_EQ(r->PopupMenu(), r->DropDownMenu());
  EXPECT_EQ(r->DragMode(), dmAutomatic);
  EXPECT_EQ(r->DragCursor(), crDefault);
  EXPECT_EQ(r->Cursor(), -3);
  EXPECT_EQ(r->Hint(), "tip");
  EXPECT_TRUE(r->ShowHint());
  EXPECT_EQ(r->HelpContext(), 7);
  EXPECT_EQ(r->Tag(), 5);
  EXPECT_FALSE(r->TabStop());
  EXPECT_FALSE(r->ParentFont());
  EXPECT_EQ(r->Font()->Name(), "Arial");
  EXPECT_TRUE(r->OnClick == Bind<&TStreamForm::CuteButton1Click>(g));
  EXPECT_TRUE(r->OnMouseEnter == Bind<&TStreamForm::CuteButton1MouseEnter>(g));
  EXPECT_EQ(WriteComponent(g).ToString(), text);
}

TEST_F(CuteButtonFormFile, ReadsADeclaredButton) {
  TStreamForm* f = NewForm();
  ReadComponent(f,
                "object Form1: TStreamForm\r\n"
                "  object CuteButton1: TCuteButton\r\n"
                "    Left = 32\r\n"
                "    Top = 120\r\n"
                "    Width = 81\r\n"
                "    BevelWidth = 2\r\n"
                "    Caption = 'OK'\r\n"
                "    Color = 7829367\r\n"
                "    EgnoreContClick = False\r\n"
                "    Flat = True\r\n"
                "    ParentFont = False\r\n"
                "    ShowFocusRect = False\r\n"
                "    TabFocusUp = False\r\n"
                "    TabOrder = 0\r\n"
                "    UseDisabledColor = False\r\n"
                "    OnClick = CuteButton1Click\r\n"
                "  end\r\n"
                "end\r\n");
  TCuteButton* b = f->CuteButton1;
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(b->Width(), 81);
  EXPECT_EQ(b->Height(), 25);
  EXPECT_EQ(b->BevelWidth(), 2);
  EXPECT_EQ(b->Color(), 0x777777);
  EXPECT_EQ(b->Brush()->Color(), 0x777777);
  EXPECT_TRUE(b->Flat());
  EXPECT_EQ(b->BevelInner(), bvNone);
  EXPECT_FALSE(b->TabFocusUp());
  EXPECT_EQ(b->TabOrder(), 0);
  EXPECT_TRUE(b->OnClick == Bind<&TStreamForm::CuteButton1Click>(f));
}

}  // namespace
}  // namespace cutebtn_test
