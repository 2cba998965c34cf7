// Form files: reading builds and wires a form, writing stores exactly what differs from the stored defaults.
#include <gtest/gtest.h>

#include "harness/Harness.h"
#include "vcl/ExtCtrls.h"
#include "vcl/Forms.h"
#include "vcl/StdCtrls.h"
#include "vcl/Streaming.h"

namespace {

class TStreamForm : public TForm {
  VCL_DECLARE_CLASS(TStreamForm)
 public:
  explicit TStreamForm(TComponent* owner) : TForm(owner) {}
  TLabel* Label1 = nullptr;
  TCheckBox* Check1 = nullptr;
  TTimer* Timer1 = nullptr;
  int clicks = 0;
  int ticks = 0;
  void Check1Click(TObject*) { ++clicks; }
  void Timer1Timer(TObject*) { ++ticks; }
  void MouseHandler(TObject*, TMouseButton, TShiftState, int, int) {}
};

const TClassInfo& TStreamForm::StaticClass() {
  static const TClassInfo info{
      "TStreamForm",
      &TForm::StaticClass(),
      nullptr,
      {},
      {PublishedMethod<&TStreamForm::Check1Click>("Check1Click"),
       PublishedMethod<&TStreamForm::Timer1Timer>("Timer1Timer"),
       PublishedMethod<&TStreamForm::MouseHandler>("MouseHandler")},
      {PublishedField<&TStreamForm::Label1>("Label1"), PublishedField<&TStreamForm::Check1>("Check1"),
       PublishedField<&TStreamForm::Timer1>("Timer1")}};
  return info;
}

// In the writer's own order and layout, so that writing what was read gives the same bytes.
const char* const kForm =
    "object Form1: TStreamForm\r\n"
    "  Left = 10\r\n"
    "  Top = 20\r\n"
    "  BorderIcons = [biSystemMenu]\r\n"
    "  BorderStyle = bsSingle\r\n"
    "  Caption = 'It''s テスト'#9'x'\r\n"
    "  ClientHeight = 153\r\n"
    "  ClientWidth = 241\r\n"
    "  Color = 10066329\r\n"
    "  Font.Charset = SHIFTJIS_CHARSET\r\n"
    "  Font.Color = clWindowText\r\n"
    "  Font.Height = -12\r\n"
    "  Font.Name = 'ＭＳ Ｐゴシック'\r\n"
    "  Font.Style = []\r\n"
    "  HorzScrollBar.Visible = False\r\n"
    "  Position = poScreenCenter\r\n"
    "  Scaled = False\r\n"
    "  PixelsPerInch = 96\r\n"
    "  TextHeight = 12\r\n"
    "  object Label1: TLabel\r\n"
    "    Left = 8\r\n"
    "    Top = 24\r\n"
    "    Width = 60\r\n"
    "    Height = 30\r\n"
    "    AutoSize = False\r\n"
    "    Caption = 'Hello'\r\n"
    "    Font.Charset = ANSI_CHARSET\r\n"
    "    Font.Color = clBlack\r\n"
    "    Font.Height = -29\r\n"
    "    Font.Name = 'Arial'\r\n"
    "    Font.Style = [fsBold, fsItalic]\r\n"
    "    ParentFont = False\r\n"
    "    Transparent = True\r\n"
    "  end\r\n"
    "  object Check1: TCheckBox\r\n"
    "    Left = 8\r\n"
    "    Top = 72\r\n"
    "    Width = 14\r\n"
    "    Height = 14\r\n"
    "    State = cbChecked\r\n"
    "    TabOrder = 0\r\n"
    "    OnClick = Check1Click\r\n"
    "  end\r\n"
    "  object Timer1: TTimer\r\n"
    "    Enabled = False\r\n"
    "    Interval = 250\r\n"
    "    OnTimer = Timer1Timer\r\n"
    "    Left = 0\r\n"
    "    Top = 48\r\n"
    "  end\r\n"
    "end\r\n";

class Streaming : public ::testing::Test {
 protected:
  void SetUp() override { th::Fresh(); }
  void TearDown() override { delete form; }
  TStreamForm* form = new TStreamForm(nullptr);
};

TEST_F(Streaming, ReadingBuildsTheFormAndWritingGivesItBack) {
  ReadComponent(form, kForm);
  EXPECT_EQ(form->Name(), "Form1");
  EXPECT_EQ(form->Caption(), "It's テスト\tx");
  EXPECT_EQ(form->BorderStyle(), bsSingle);
  EXPECT_EQ(form->Color(), 0x999999);
  EXPECT_EQ(form->ClientWidth(), 241);
  EXPECT_EQ(form->ClientHeight(), 153);
  ASSERT_NE(form->Label1, nullptr);
  ASSERT_NE(form->Check1, nullptr);
  ASSERT_NE(form->Timer1, nullptr);
  EXPECT_EQ(form->Label1->Owner(), form);
  EXPECT_EQ(form->Label1->Parent(), form);
  EXPECT_EQ(form->Timer1->Owner(), form);
  EXPECT_EQ(form->Label1->Font()->Style(), fsBold | fsItalic);
  EXPECT_EQ(form->Label1->Font()->Height(), -29);
  EXPECT_FALSE(form->Label1->ParentFont());
  EXPECT_TRUE(form->Check1->Checked());
  EXPECT_EQ(form->Timer1->Interval(), 250u);
  EXPECT_EQ(form->Timer1->DesignTop(), 48);

  form->Check1->OnClick(form->Check1);
  form->Timer1->OnTimer()(form->Timer1);
  EXPECT_EQ(form->clicks, 1);
  EXPECT_EQ(form->ticks, 1);

  EXPECT_EQ(WriteComponent(form).ToString(), kForm);
}

TEST_F(Streaming, FreshComponentsWriteOnlyWhatDiffersFromTheirDefaults) {
  form->SetName("Form1");
  TLabel* label = new TLabel(form);
  label->SetAutoSize(false);
  label->SetName("Label1");
  label->SetParent(form);
  TTimer* timer = new TTimer(form);
  timer->SetName("Timer1");
  std::string text = WriteComponent(form).ToString();
  // A caption that equals the name follows it; the label keeps the form's font and colour, so neither is
  // written; the timer writes its design position.
  std::string label_part = text.substr(text.find("object Label1"));
  EXPECT_EQ(label_part.substr(0, label_part.find("end")),
            "object Label1: TLabel\r\n    Left = 0\r\n    Top = 0\r\n    Width = 65\r\n    Height = 17\r\n"
            "    AutoSize = False\r\n    Caption = 'Label1'\r\n  ");
  EXPECT_NE(text.find("object Timer1: TTimer\r\n    Left = 0\r\n    Top = 0\r\n  end"), std::string::npos);
  EXPECT_NE(text.find("  Caption = 'Form1'\r\n"), std::string::npos);
  EXPECT_NE(text.find("  Font.Name = "), std::string::npos) << "a form's own font is always written";
  EXPECT_EQ(text.find("Visible"), std::string::npos) << "a form is hidden by default, a label visible";
}

struct BadFile {
  const char* name;
  const char* text;
  const char* names;  // what the message must mention
  int line;
  bool classNotFound;
};

class StreamingErrors : public ::testing::TestWithParam<BadFile> {
 protected:
  void SetUp() override { th::Fresh(); }
};

TEST_P(StreamingErrors, NameTheLineAndWhatWasWrong) {
  const BadFile& c = GetParam();
  TStreamForm* form = new TStreamForm(nullptr);
  try {
    ReadComponent(form, c.text);
    ADD_FAILURE() << "no error";
  } catch (const EReadError& e) {
    std::string message = e.Message().ToString();
    EXPECT_NE(message.find(c.names), std::string::npos) << message;
    EXPECT_NE(message.find(std::to_string(c.line)), std::string::npos) << message;
    EXPECT_EQ(dynamic_cast<const EClassNotFound*>(&e) != nullptr, c.classNotFound);
  }
  delete form;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, StreamingErrors,
    ::testing::Values(
        BadFile{"UnknownClass", "object F: TStreamForm\n  object X: TNoSuchThing\n  end\nend\n", "TNoSuchThing", 2,
                true},
        BadFile{"UnknownProperty", "object F: TStreamForm\n  Left = 1\n  Bogus = 2\nend\n", "Bogus", 3, false},
        BadFile{"UnknownSubProperty", "object F: TStreamForm\n  Font.Colour = clRed\nend\n", "Font.Colour", 2, false},
        BadFile{"BadEnum", "object F: TStreamForm\n  BorderStyle = bsRound\nend\n", "bsRound", 2, false},
        BadFile{"BadBool", "object F: TStreamForm\n\n  Scaled = Maybe\nend\n", "Maybe", 3, false},
        BadFile{"UnknownHandler", "object F: TStreamForm\n  OnShow = NoSuchMethod\nend\n", "NoSuchMethod", 2, false},
        BadFile{"HandlerOfAnotherType", "object F: TStreamForm\n  OnShow = MouseHandler\nend\n", "MouseHandler", 2,
                false},
        BadFile{"WrongRootClass", "object F: TForm\nend\n", "TStreamForm", 1, false},
        BadFile{"MissingEnd", "object F: TStreamForm\n  Left = 1\n", "end", 3, false},
        BadFile{"UnknownReference", "object F: TStreamForm\n  ActiveControl = Nowhere\nend\n", "Nowhere", 2, false},
        BadFile{"UnterminatedString", "object F: TStreamForm\n  Caption = 'abc\nend\n", "'", 2, false}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
