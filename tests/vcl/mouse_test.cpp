// Capture and the click record, double-clicks, and the idle step's mouse enter/leave tracking.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "harness/Harness.h"
#include "vcl/Forms.h"

namespace {

std::vector<std::string>* g_log = nullptr;

// Reports the notifications the idle step sends, and the events of the click record.
template <class Base>
class Probe : public Base {
 public:
  explicit Probe(TComponent* owner, const char* name) : Base(owner), name_(name) {
    this->SetControlStyle(this->ControlStyle() | csCaptureMouse | csClickEvents | csDoubleClicks);
  }
  void WndProc(TMessage& m) override {
    if (m.Msg == CM_MOUSEENTER || m.Msg == CM_MOUSELEAVE)
      g_log->push_back(name_ + (m.Msg == CM_MOUSEENTER ? " enter" : " leave"));
    Base::WndProc(m);
  }
  void Click() override { g_log->push_back(name_ + " Click"); }

 protected:
  void MouseDown(TMouseButton, TShiftState s, int x, int y) override {
    g_log->push_back(name_ + " Down" + ((s & ssDouble) ? "(double)" : "") + " " + std::to_string(x) + "," +
                     std::to_string(y));
  }
  void MouseUp(TMouseButton, TShiftState, int x, int y) override {
    g_log->push_back(name_ + " Up " + std::to_string(x) + "," + std::to_string(y));
  }

 private:
  std::string name_;
};

class Mouse : public ::testing::Test {
 protected:
  void SetUp() override {
    th::Fresh();
    g_log = &log;
    form = new TForm(Application.Get());
    form->SetBounds(100, 100, 300, 200);
    graphic = new Probe<TGraphicControl>(form, "G");
    graphic->SetParent(form);
    graphic->SetBounds(10, 10, 50, 30);
    windowed = new Probe<TCustomControl>(form, "W");
    windowed->SetParent(form);
    windowed->SetBounds(100, 10, 50, 30);
    form->Show();
    th::MoveMouse(0, 0);
    th::Pump();
    log.clear();
  }
  void TearDown() override {
    Application.Reset();
    g_log = nullptr;
  }
  std::vector<std::string> log;
  TForm* form = nullptr;
  TControl* graphic = nullptr;
  TWinControl* windowed = nullptr;
};

using Strings = std::vector<std::string>;

TEST_F(Mouse, ReleaseInsideClicksBeforeMouseUp) {
  for (TControl* c : {graphic, static_cast<TControl*>(windowed)}) {
    th::MoveMouseTo(c, 5, 6);
    th::Press();
    th::Release();
    th::MoveMouse(0, 0);
    th::Wait(600);
  }
  EXPECT_EQ(log, (Strings{"G enter", "G Down 5,6", "G Click", "G Up 5,6", "G leave", "W enter", "W Down 5,6", "W Click",
                          "W Up 5,6", "W leave"}));
}

TEST_F(Mouse, ReleaseOutsideGivesMouseUpOnly) {
  for (TControl* c : {graphic, static_cast<TControl*>(windowed)}) {
    th::MoveMouseTo(c, 5, 6);
    th::Press();
    th::MoveMouseTo(c, 70, 40);
    th::Release();
    th::MoveMouse(0, 0);
    th::Wait(600);
  }
  // While a control holds the capture only it hears of the mouse; the release outside is still its own.
  EXPECT_EQ(log, (Strings{"G enter", "G Down 5,6", "G leave", "G Up 70,40", "W enter", "W Down 5,6", "W leave",
                          "W Up 70,40"}));
}

TEST_F(Mouse, SecondPressOfADoubleClickIsNotAPressOfItsOwn) {
  for (TControl* c : {graphic, static_cast<TControl*>(windowed)}) {
    th::MoveMouseTo(c, 5, 6);
    th::Press();
    th::Release();
    th::Press();
    th::Release();
    th::MoveMouse(0, 0);
    th::Wait(600);
  }
  EXPECT_EQ(log,
            (Strings{"G enter", "G Down 5,6", "G Click", "G Up 5,6", "G Down(double) 5,6", "G Up 5,6", "G leave",
                     "W enter", "W Down 5,6", "W Click", "W Up 5,6", "W Down(double) 5,6", "W Up 5,6", "W leave"}));
}

TEST_F(Mouse, TrackingPassesOverDisabledControls) {
  graphic->SetEnabled(false);
  windowed->SetEnabled(false);
  th::MoveMouseTo(graphic, 5, 5);
  th::MoveMouseTo(windowed, 5, 5);
  th::MoveMouse(0, 0);
  EXPECT_EQ(log, Strings{}) << "the form itself is the control under the cursor";
  windowed->SetEnabled(true);
  th::MoveMouseTo(windowed, 5, 5);
  th::MoveMouse(0, 0);
  EXPECT_EQ(log, (Strings{"W enter", "W leave"}));
}

}  // namespace
