// The sleep window as its form file builds it: the form, the label and the timer with their stored values.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "harness/Harness.h"
#include "sleep/sleep_Unit1.h"
#include "vcl/Streaming.h"

namespace {

// Full-width M and S, a space, full-width P and four katakana, in code page 932.
const char kFormFontName[] = "\x82\x6C\x82\x72\x20\x82\x6F\x83\x53\x83\x56\x83\x62\x83\x4E";

class SleepFormFile : public ::testing::Test {
 protected:
  void SetUp() override {
    th::Fresh();
    Application->CreateForm(Form1);
    ASSERT_NE(Form1, nullptr);
  }
};

TEST_F(SleepFormFile, FormHasItsStoredValuesAndTheClassDefaults) {
  EXPECT_STREQ(Form1->ClassName(), "TForm1");
  EXPECT_EQ(Form1->Name(), "Form1");
  EXPECT_EQ(Form1->Caption(), "DozeTrigger");
  EXPECT_EQ(Form1->Left(), 214);
  EXPECT_EQ(Form1->Top(), 107);
  EXPECT_EQ(Form1->Width(), 198);
  EXPECT_EQ(Form1->Height(), 107);
  EXPECT_EQ(Form1->Position(), poScreenCenter);
  EXPECT_EQ(Form1->PixelsPerInch(), 96);
  EXPECT_EQ(Form1->TextHeight(), 12);
  EXPECT_EQ(Form1->BorderStyle(), bsSizeable);
  EXPECT_EQ(Form1->BorderIcons(), biSystemMenu | biMinimize | biMaximize);
  EXPECT_EQ(Form1->Color(), clBtnFace);
  EXPECT_TRUE(Form1->Scaled());

  TFont* font = Form1->Font();
  EXPECT_EQ(font->Charset(), SHIFTJIS_CHARSET);
  EXPECT_EQ(font->Color(), clWindowText);
  EXPECT_EQ(font->Height(), -12);
  EXPECT_EQ(font->Name(), kFormFontName);
  EXPECT_EQ(font->Style(), 0);

  EXPECT_TRUE(Form1->OnShow == Bind<&TForm1::FormShow>(Form1));
  EXPECT_FALSE(Form1->OnCreate);
}

TEST_F(SleepFormFile, FormIsTheHiddenMainFormWithItsWindowMade) {
  EXPECT_EQ(Application->MainForm(), Form1);
  EXPECT_FALSE(Form1->Visible());
  ASSERT_TRUE(Form1->HandleAllocated());
  EXPECT_FALSE(IsWindowVisible(Form1->Handle()));
  char title[64] = {};
  GetWindowTextA(Form1->Handle(), title, sizeof title);
  EXPECT_STREQ(title, "DozeTrigger");
}

TEST_F(SleepFormFile, ChildrenComeInFileOrderIntoThePublishedFields) {
  ASSERT_EQ(Form1->ComponentCount(), 2);
  EXPECT_EQ(Form1->Components(0), Form1->Label1);
  EXPECT_EQ(Form1->Components(1), Form1->Timer1);
  ASSERT_NE(Form1->Label1, nullptr);
  ASSERT_NE(Form1->Timer1, nullptr);
  EXPECT_EQ(Form1->Label1->Name(), "Label1");
  EXPECT_EQ(Form1->Timer1->Name(), "Timer1");
  EXPECT_EQ(Form1->Label1->Parent(), Form1);
}

TEST_F(SleepFormFile, LabelHasItsOwnFontAndTheFormsColour) {
  TLabel* label = Form1->Label1;
  EXPECT_EQ(label->Left(), 8);
  EXPECT_EQ(label->Top(), 24);
  EXPECT_EQ(label->Caption(), "DozeTrigger");
  EXPECT_FALSE(label->ParentFont());
  TFont* font = label->Font();
  EXPECT_EQ(font->Charset(), ANSI_CHARSET);
  EXPECT_EQ(font->Color(), clBlack);
  EXPECT_EQ(font->Height(), -29);
  EXPECT_EQ(font->Name(), "Arial");
  EXPECT_EQ(font->Style(), fsBold);

  EXPECT_TRUE(label->AutoSize());
  EXPECT_EQ(label->Alignment(), taLeftJustify);
  EXPECT_FALSE(label->Transparent());
  EXPECT_TRUE(label->ParentColor());
  EXPECT_EQ(label->Color(), clBtnFace);
  EXPECT_FALSE(label->WordWrap());
  EXPECT_TRUE(label->ShowAccelChar());
}

TEST_F(SleepFormFile, LabelIsSizedToItsTextKeepingLeftAndTop) {
  TLabel* label = Form1->Label1;
  // Measured the way Windows lays out the caption in the label's font, from the designed rectangle.
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, label->Font()->Handle());
  RECT r{0, 0, 171, 34};
  DrawTextA(dc, "DozeTrigger", -1, &r, DT_EXPANDTABS | DT_CALCRECT);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  EXPECT_GT(r.right, 0);
  EXPECT_EQ(label->Width(), r.right);
  EXPECT_EQ(label->Height(), r.bottom);
  EXPECT_EQ(label->Left(), 8);
  EXPECT_EQ(label->Top(), 24);
}

TEST_F(SleepFormFile, TimerRunsEverySecondIntoTheTickHandler) {
  TTimer* timer = Form1->Timer1;
  EXPECT_TRUE(timer->Enabled());
  EXPECT_EQ(timer->Interval(), 1000u);
  EXPECT_TRUE(timer->OnTimer() == Bind<&TForm1::Timer1Timer>(Form1));
  EXPECT_EQ(timer->Owner(), Form1);
  EXPECT_EQ(timer->DesignLeft(), 0);
  EXPECT_EQ(timer->DesignTop(), 48);
}

// Written back, the form gives exactly the stored values of its file, in the file's order; only the label's size
// is what it measured for itself.
TEST_F(SleepFormFile, WritingTheFormGivesBackItsStoredValues) {
  const std::string labelWidth = std::to_string(Form1->Label1->Width());
  const std::string labelHeight = std::to_string(Form1->Label1->Height());
  const std::vector<std::string> lines = {
      "object Form1: TForm1",
      "  Left = 214",
      "  Top = 107",
      "  Width = 198",
      "  Height = 107",
      "  Caption = 'DozeTrigger'",
      "  Font.Charset = SHIFTJIS_CHARSET",
      "  Font.Color = clWindowText",
      "  Font.Height = -12",
      std::string("  Font.Name = '") + kFormFontName + "'",
      "  Font.Style = []",
      "  Position = poScreenCenter",
      "  OnShow = FormShow",
      "  PixelsPerInch = 96",
      "  TextHeight = 12",
      "  object Label1: TLabel",
      "    Left = 8",
      "    Top = 24",
      "    Width = " + labelWidth,
      "    Height = " + labelHeight,
      "    Caption = 'DozeTrigger'",
      "    Font.Charset = ANSI_CHARSET",
      "    Font.Color = clBlack",
      "    Font.Height = -29",
      "    Font.Name = 'Arial'",
      "    Font.Style = [fsBold]",
      "    ParentFont = False",
      "  end",
      "  object Timer1: TTimer",
      "    OnTimer = Timer1Timer",
      "    Left = 0",
      "    Top = 48",
      "  end",
      "end",
  };
  std::string expected;
  for (const std::string& line : lines) expected += line + "\r\n";
  EXPECT_EQ(WriteComponent(Form1).ToString(), expected);
}

}  // namespace
