// A shown form with two cute buttons and an event log, shared by the button's test files.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "components/CuteBtn.h"
#include "harness/Harness.h"
#include "vcl/Forms.h"

namespace cutebtn_test {

using Strings = std::vector<std::string>;

inline const char* LookName(TBevelCut cut) {
  switch (cut) {
    case bvNone:
      return "none";
    case bvLowered:
      return "lowered";
    case bvRaised:
      return "raised";
    default:
      return "space";
  }
}

// Logs a button's events as th::Recorder does, plus the look each click found.
class Log : public th::Recorder {
 public:
  TCuteButton* button = nullptr;
  std::vector<TBevelCut> clickLooks;
  void ClickSeen(TObject* sender) {
    clickLooks.push_back(button->BevelOuter());
    th::Recorder::Click(sender);
  }
  void Attach(TCuteButton* b) {
    button = b;
    b->OnClick = Bind<&Log::ClickSeen>(this);
    b->OnEnter = Bind<&th::Recorder::Enter>(this);
    b->OnExit = Bind<&th::Recorder::Exit>(this);
    b->OnMouseDown = Bind<&th::Recorder::MouseDown>(this);
    b->OnMouseUp = Bind<&th::Recorder::MouseUp>(this);
    b->OnMouseEnter = Bind<&th::Recorder::MouseEnter>(this);
    b->OnMouseLeave = Bind<&th::Recorder::MouseLeave>(this);
    b->OnKeyDown = Bind<&th::Recorder::KeyDown>(this);
    b->OnKeyUp = Bind<&th::Recorder::KeyUp>(this);
  }
  int Clicks() const {
    int n = 0;
    for (const std::string& line : log) n += line == "Click";
    return n;
  }
};

class ButtonForm : public ::testing::Test {
 protected:
  void SetUp() override {
    th::Fresh();
    form = new TForm(Application.Get());
    form->SetBounds(100, 100, 320, 200);
    // First in tab order, so the form's activation focuses it and not the buttons under test.
    sink = NewButton("Sink", 230, 130);
    button = NewButton("OK", 20, 20);
    other = NewButton("Other", 140, 20);
    form->Show();
    th::MoveMouse(0, 0);
    th::Pump();
    log.Attach(button);
    otherLog.Attach(other);
  }
  void TearDown() override { Application.Reset(); }

  TCuteButton* NewButton(const char* caption, int left, int top) {
    auto* b = new TCuteButton(form);
    b->SetParent(form);
    b->SetBounds(left, top, 75, 25);
    b->SetCaption(caption);
    return b;
  }
  // A point of the form well away from both buttons.
  void MoveOff() { th::MoveMouseTo(form, 150, 120); }
  const char* Look() const { return LookName(button->BevelOuter()); }
  bool HasFocus(TCuteButton* b) const { return GetFocus() == b->Handle(); }

  TForm* form = nullptr;
  TCuteButton* button = nullptr;
  TCuteButton* other = nullptr;
  TCuteButton* sink = nullptr;
  Log log;
  Log otherLog;
};

}  // namespace cutebtn_test
