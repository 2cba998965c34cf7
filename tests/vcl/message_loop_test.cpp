// The message loop: OnShow before the window is visible, no tick before OnShow returns, Close ends Run.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "harness/Harness.h"
#include "vcl/ExtCtrls.h"
#include "vcl/Forms.h"

namespace {

class TLoopForm : public TForm {
  VCL_DECLARE_CLASS(TLoopForm)
 public:
  explicit TLoopForm(TComponent* owner) : TForm(owner) {
    SetBounds(0, 0, 200, 100);
    SetPosition(poScreenCenter);
    OnShow = Bind<&TLoopForm::FormShow>(this);
    timer = new TTimer(this);
    timer->SetInterval(200);
    timer->SetOnTimer(Bind<&TLoopForm::Tick>(this));
  }
  void FormShow(TObject*) {
    log.push_back("Show visible=" + std::to_string(IsWindowVisible(Handle())));
    // Longer than the interval: the tick must still wait for this handler.
    Sleep(600);
    log.push_back("Show done");
  }
  void Tick(TObject*) {
    log.push_back("Tick visible=" + std::to_string(IsWindowVisible(Handle())));
    if (++ticks == 2) Close();
  }
  TTimer* timer;
  int ticks = 0;
  std::vector<std::string> log;
};

const TClassInfo& TLoopForm::StaticClass() {
  static const TClassInfo info{"TLoopForm", &TForm::StaticClass(), nullptr, {}, {}, {}};
  return info;
}

TEST(MessageLoop, ShowsBeforeVisibleTicksAfterShowAndEndsOnClose) {
  th::Fresh();
  TLoopForm* form = nullptr;
  Application->CreateForm(form);
  ASSERT_EQ(Application->MainForm(), form);
  EXPECT_TRUE(form->HandleAllocated()) << "the main form's window exists, hidden, before Run";
  EXPECT_FALSE(IsWindowVisible(form->Handle()));
  Application->Run();
  EXPECT_TRUE(Application->Terminated());
  const std::vector<std::string> expected = {"Show visible=0", "Show done", "Tick visible=1", "Tick visible=1"};
  EXPECT_EQ(form->log, expected);
  RECT r;
  GetWindowRect(form->Handle(), &r);
  EXPECT_EQ(r.left, (GetSystemMetrics(SM_CXSCREEN) - 200) / 2);
  EXPECT_EQ(r.top, (GetSystemMetrics(SM_CYSCREEN) - 100) / 2);
  Application.Reset();
}

#ifndef _WIN32
// The emulation sets the screen size; a real desktop has only its own.
struct CentreCase {
  int screenW, screenH, formW, formH, left, top;
};

class CentreEmu : public ::testing::TestWithParam<CentreCase> {};

TEST_P(CentreEmu, TruncatesAndNeverGoesBelowZero) {
  const CentreCase& c = GetParam();
  th::Fresh(th::World{c.screenW, c.screenH});
  TForm* form = new TForm(Application.Get());
  form->SetBounds(5, 5, c.formW, c.formH);
  form->SetPosition(poScreenCenter);
  form->Show();
  EXPECT_EQ(form->Left(), c.left);
  EXPECT_EQ(form->Top(), c.top);
}

INSTANTIATE_TEST_SUITE_P(Screens, CentreEmu,
                         ::testing::Values(CentreCase{1024, 768, 198, 107, 413, 330},
                                           CentreCase{801, 601, 198, 107, 301, 247},
                                           CentreCase{150, 100, 198, 107, 0, 0}, CentreCase{198, 106, 198, 107, 0, 0}));
#endif

}  // namespace
