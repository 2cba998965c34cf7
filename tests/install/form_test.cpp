// The installer window as its form file declares it: controls, order, geometry, colours, fonts, texts, wiring.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "harness/Harness.h"
#include "install/inst_Unit1.h"

namespace {

class InstallForm : public ::testing::Test {
 protected:
  void SetUp() override {
    th::Fresh();
    Application->CreateForm(Form1);
    ASSERT_NE(Form1, nullptr);
  }
  void TearDown() override {
    Application.Reset();
    Form1 = nullptr;
  }
};

AnyCode Handler(const TNotifyEvent& e) { return reinterpret_cast<AnyCode>(e.GetCode()); }
AnyCode Published(const char* name) {
  const MethodInfo* m = TForm1::StaticClass().FindMethod(name);
  return m ? m->code : nullptr;
}

TEST_F(InstallForm, ControlsAreCreatedInOrderAndBoundToTheFields) {
  const std::vector<std::pair<const char*, const char*>> expected = {
      {"GradBox1", "TGradBox"},       {"Label1", "TLabel"},           {"Label2", "TLabel"},
      {"Label3", "TLabel"},           {"TitleLabel", "TLabel"},       {"Label4", "TLabel"},
      {"CuteButton1", "TCuteButton"}, {"CuteButton2", "TCuteButton"}, {"CheckBox1", "TCheckBox"},
      {"CheckBox2", "TCheckBox"},
  };
  ASSERT_EQ(Form1->ComponentCount(), static_cast<int>(expected.size()));
  ASSERT_EQ(Form1->ControlCount(), static_cast<int>(expected.size()));
  for (int i = 0; i < Form1->ComponentCount(); ++i) {
    EXPECT_EQ(Form1->Components(i)->Name(), expected[static_cast<std::size_t>(i)].first) << i;
    EXPECT_STREQ(Form1->Components(i)->ClassName(), expected[static_cast<std::size_t>(i)].second) << i;
    EXPECT_EQ(static_cast<TComponent*>(Form1->Controls(i)), Form1->Components(i)) << "painting order " << i;
    EXPECT_EQ(Form1->Controls(i)->Parent(), Form1) << i;
  }
  const std::vector<std::pair<TComponent*, const char*>> fields = {
      {Form1->GradBox1, "GradBox1"},       {Form1->CuteButton1, "CuteButton1"}, {Form1->Label1, "Label1"},
      {Form1->Label2, "Label2"},           {Form1->Label3, "Label3"},           {Form1->TitleLabel, "TitleLabel"},
      {Form1->CuteButton2, "CuteButton2"}, {Form1->CheckBox1, "CheckBox1"},     {Form1->Label4, "Label4"},
      {Form1->CheckBox2, "CheckBox2"},
  };
  for (const auto& [field, name] : fields) EXPECT_EQ(field, Form1->FindComponent(name)) << name;
  // Declared order of the published fields and handlers.
  const TClassInfo& info = TForm1::StaticClass();
  ASSERT_EQ(info.fields.size(), fields.size());
  for (std::size_t i = 0; i < fields.size(); ++i) EXPECT_EQ(info.fields[i].name, fields[i].second);
  ASSERT_EQ(info.methods.size(), 3u);
  EXPECT_EQ(info.methods[0].name, "CuteButton1Click");
  EXPECT_EQ(info.methods[1].name, "FormShow");
  EXPECT_EQ(info.methods[2].name, "CuteButton2Click");
}

TEST_F(InstallForm, FormSettings) {
  EXPECT_EQ(Form1->ClientWidth(), 241);
  EXPECT_EQ(Form1->ClientHeight(), 153);
  EXPECT_EQ(Form1->BorderStyle(), bsSingle);
  EXPECT_EQ(Form1->BorderIcons(), biSystemMenu);
  EXPECT_EQ(Form1->Caption(), "QUOLLSET");
  EXPECT_EQ(Form1->Color(), 0x999999);
  EXPECT_EQ(Form1->Font()->Charset(), SHIFTJIS_CHARSET);
  EXPECT_EQ(Form1->Font()->Color(), clWindowText);
  EXPECT_EQ(Form1->Font()->Height(), -12);
  EXPECT_EQ(Form1->Font()->Name(), "ＭＳ Ｐゴシック");
  EXPECT_EQ(Form1->Font()->Style(), 0);
  EXPECT_EQ(Form1->Position(), poScreenCenter);
  EXPECT_FALSE(Form1->Scaled());
  EXPECT_EQ(Form1->PixelsPerInch(), 96);
  EXPECT_EQ(Form1->TextHeight(), 12);
  EXPECT_FALSE(Form1->HorzScrollBar()->Visible());
  EXPECT_FALSE(Form1->VertScrollBar()->Visible());
  EXPECT_EQ(Handler(Form1->OnShow), Published("FormShow"));
  EXPECT_EQ(Form1->OnShow.Data(), Form1);
  // A fixed frame with the close box only.
  const auto style = static_cast<DWORD>(GetWindowLongPtrA(Form1->Handle(), GWL_STYLE));
  EXPECT_NE(style & WS_SYSMENU, 0u);
  EXPECT_EQ(style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX), 0u);
}

TEST_F(InstallForm, GradientHeader) {
  TGradBox* g = Form1->GradBox1;
  EXPECT_EQ(g->BoundsRect().left, 0);
  EXPECT_EQ(g->BoundsRect().top, 0);
  EXPECT_EQ(g->Width(), 241);
  EXPECT_EQ(g->Height(), 121);
  EXPECT_EQ(g->TopColor(), 0x444444);
  EXPECT_EQ(g->LastColor(), 0x999999);
  EXPECT_EQ(g->OutLineColor(), clNone);
  EXPECT_FALSE(g->DrawOutLine());
  EXPECT_FALSE(g->Font3D());
  EXPECT_TRUE(g->Caption().IsEmpty());
  EXPECT_EQ(g->GradStyle(), gsTopBottom);
}

struct LabelCase {
  TLabel* TForm1::*field;
  const char* name;
  int left, top;
  const char* caption;
  BYTE charset;
  TColor fontColor;
  const char* face;
  TFontStyles style;
  bool parentColor;
  TColor color;  // when not from the parent
  TAlignment alignment;
  bool autoSize;
};

TEST_F(InstallForm, Labels) {
  const std::vector<LabelCase> cases = {
      {&TForm1::Label1, "Label1", 133, 2, "QUOLLSET Ver0.11", ANSI_CHARSET, clBlack, "Arial", 0, true, 0, taLeftJustify,
       true},
      {&TForm1::Label2, "Label2", 24, 48, "デスクトップにショートカットを作ります", SHIFTJIS_CHARSET, clWhite,
       "ＭＳ Ｐゴシック", fsBold, false, clBlack, taLeftJustify, true},
      {&TForm1::Label3, "Label3", 72, 96, "よろしいですか？", SHIFTJIS_CHARSET, clWhite, "ＭＳ Ｐゴシック", fsBold,
       false, clBlack, taLeftJustify, true},
      {&TForm1::TitleLabel, "TitleLabel", 16, 24, "Error TargetFile is nothing!", SHIFTJIS_CHARSET, clYellow,
       "ＭＳ Ｐゴシック", fsBold, true, 0, taCenter, false},
      {&TForm1::Label4, "Label4", 37, 72, "スタートにショートカットを作ります", SHIFTJIS_CHARSET, clWhite,
       "ＭＳ Ｐゴシック", fsBold, false, clBlack, taLeftJustify, true},
  };
  for (const LabelCase& c : cases) {
    TLabel* l = Form1->*c.field;
    EXPECT_EQ(l->Left(), c.left) << c.name;
    EXPECT_EQ(l->Top(), c.top) << c.name;
    EXPECT_EQ(l->Caption(), c.caption) << c.name;
    EXPECT_FALSE(l->ParentFont()) << c.name;
    EXPECT_EQ(l->Font()->Charset(), c.charset) << c.name;
    EXPECT_EQ(l->Font()->Color(), c.fontColor) << c.name;
    EXPECT_EQ(l->Font()->Height(), -12) << c.name;
    EXPECT_EQ(l->Font()->Name(), c.face) << c.name;
    EXPECT_EQ(l->Font()->Style(), c.style) << c.name;
    EXPECT_EQ(l->ParentColor(), c.parentColor) << c.name;
    EXPECT_EQ(l->Color(), c.parentColor ? Form1->Color() : c.color) << c.name;
    EXPECT_TRUE(l->Transparent()) << c.name;
    EXPECT_EQ(l->Alignment(), c.alignment) << c.name;
    EXPECT_EQ(l->AutoSize(), c.autoSize) << c.name;
    EXPECT_FALSE(static_cast<bool>(l->OnClick)) << "no text reacts to clicks: " << c.name;
  }
  // The title keeps its box whatever its text; the others fit theirs.
  EXPECT_EQ(Form1->TitleLabel->Width(), 209);
  EXPECT_EQ(Form1->TitleLabel->Height(), 12);
}

TEST_F(InstallForm, Buttons) {
  struct Case {
    TCuteButton* button;
    int left;
    const char* caption;
    int tabOrder;
    const char* handler;
  };
  for (const Case& c : {Case{Form1->CuteButton1, 32, "OK", 0, "CuteButton1Click"},
                        Case{Form1->CuteButton2, 136, "CANCEL", 1, "CuteButton2Click"}}) {
    TCuteButton* b = c.button;
    EXPECT_EQ(b->Left(), c.left) << c.caption;
    EXPECT_EQ(b->Top(), 120) << c.caption;
    EXPECT_EQ(b->Width(), 81) << c.caption;
    EXPECT_EQ(b->Height(), 25) << c.caption;
    EXPECT_EQ(b->Caption(), c.caption);
    EXPECT_EQ(b->Color(), 0x777777) << c.caption;
    EXPECT_EQ(b->BevelWidth(), 2) << c.caption;
    EXPECT_TRUE(b->Flat()) << c.caption;
    EXPECT_FALSE(b->EgnoreContClick()) << c.caption;
    EXPECT_FALSE(b->ShowFocusRect()) << c.caption;
    EXPECT_FALSE(b->TabFocusUp()) << c.caption;
    EXPECT_FALSE(b->UseDisabledColor()) << c.caption;
    EXPECT_FALSE(b->ParentFont()) << c.caption;
    EXPECT_EQ(b->Font()->Charset(), ANSI_CHARSET) << c.caption;
    EXPECT_EQ(b->Font()->Color(), clBlack) << c.caption;
    EXPECT_EQ(b->Font()->Height(), -15) << c.caption;
    EXPECT_EQ(b->Font()->Name(), "Arial") << c.caption;
    EXPECT_EQ(b->Font()->Style(), fsBold) << c.caption;
    EXPECT_EQ(b->TabOrder(), c.tabOrder) << c.caption;
    EXPECT_EQ(Handler(b->OnClick), Published(c.handler)) << c.caption;
    EXPECT_EQ(b->OnClick.Data(), Form1) << c.caption;
    EXPECT_EQ(b->DropDownMenu(), nullptr) << c.caption;
    EXPECT_EQ(b->PopupMenu(), nullptr) << c.caption;
  }
}

TEST_F(InstallForm, CheckBoxes) {
  struct Case {
    TCheckBox* box;
    const char* name;
    int top;
    const char* caption;
    int tabOrder;
  };
  for (const Case& c :
       {Case{Form1->CheckBox1, "CheckBox1", 48, "", 2}, Case{Form1->CheckBox2, "CheckBox2", 72, "CheckBox2", 3}}) {
    EXPECT_EQ(c.box->Left(), 8) << c.name;
    EXPECT_EQ(c.box->Top(), c.top) << c.name;
    EXPECT_EQ(c.box->Width(), 14) << c.name;
    EXPECT_EQ(c.box->Height(), 14) << c.name;
    EXPECT_EQ(c.box->Caption(), c.caption) << c.name;
    EXPECT_EQ(c.box->State(), cbChecked) << c.name;
    EXPECT_TRUE(c.box->Checked()) << c.name;
    EXPECT_EQ(c.box->TabOrder(), c.tabOrder) << c.name;
    EXPECT_EQ(c.box->Color(), Form1->Color()) << c.name;
    EXPECT_FALSE(static_cast<bool>(c.box->OnClick)) << c.name;
  }
}

TEST_F(InstallForm, KeyboardOrderIsOkCancelThenTheBoxes) {
  std::vector<TWinControl*> order;
  Form1->GetTabOrderList(order);
  EXPECT_EQ(order,
            (std::vector<TWinControl*>{Form1->CuteButton1, Form1->CuteButton2, Form1->CheckBox1, Form1->CheckBox2}));
}

TEST_F(InstallForm, StringsAreEmptyUntilShown) {
  EXPECT_TRUE(Form1->TargetDir.IsEmpty());
  EXPECT_TRUE(Form1->TargetName.IsEmpty());
  EXPECT_EQ(Form1->TitleLabel->Caption(), "Error TargetFile is nothing!");
}

TEST_F(InstallForm, OpensCentredWithTheFocusOnOk) {
  Form1->Show();
  th::Pump();
  EXPECT_EQ(Form1->Left(), (Screen->Width() - Form1->Width()) / 2);
  EXPECT_EQ(Form1->Top(), (Screen->Height() - Form1->Height()) / 2);
  EXPECT_TRUE(IsWindowVisible(Form1->Handle()));
  EXPECT_EQ(Form1->ActiveControl(), Form1->CuteButton1);
}

}  // namespace
