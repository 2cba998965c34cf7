// The exception display: message with ".", the application title as caption, stop icon, OK; the loop goes on.
#ifndef _WIN32
#include <gtest/gtest.h>

#include "harness/Harness.h"
#include "vcl/Forms.h"
#include "winapi/emu/control.h"

namespace {

class TRaising : public TCustomControl {
 public:
  using TCustomControl::TCustomControl;
  int clicks = 0;
  void Click() override {
    ++clicks;
    throw EInvalidOperation("壊れました");
  }
};

TEST(ExceptionDisplayEmu, ShowsTheMessageWithADotUnderTheTitleAndCarriesOn) {
  th::Fresh();
  Application->SetTitle("QUOLLSET");
  TForm* form = new TForm(Application.Get());
  form->SetBounds(10, 10, 200, 100);
  auto* control = new TRaising(form);
  control->SetParent(form);
  control->SetBounds(10, 10, 40, 20);
  form->Show();
  th::ClickAt(control, 5, 5);
  th::ClickAt(control, 6, 6);
  th::Wait(1000);
  ASSERT_EQ(emu::MessageBoxes().size(), 1u) << "the second click was a double-click: no second Click";
  const emu::MessageBoxCall& box = emu::MessageBoxes()[0];
  EXPECT_EQ(box.text, "壊れました.");
  EXPECT_EQ(box.caption, "QUOLLSET");
  EXPECT_EQ(box.type, static_cast<UINT>(MB_OK | MB_ICONSTOP));
  EXPECT_EQ(box.owner, Application->Handle());
  th::ClickAt(control, 5, 5);
  EXPECT_EQ(control->clicks, 2);
  EXPECT_EQ(emu::MessageBoxes().size(), 2u);
}

}  // namespace
#endif
