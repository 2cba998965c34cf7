// The installer's window: finds the program beside it and writes the chosen shortcuts to it.
#pragma once

#include "components/CuteBtn.h"
#include "components/GradBox.h"
#include "vcl/Forms.h"
#include "vcl/StdCtrls.h"

class TForm1 : public TForm {
  VCL_DECLARE_CLASS(TForm1)
 public:
  explicit TForm1(TComponent* owner);
  ~TForm1() override;

  TGradBox* GradBox1 = nullptr;
  TCuteButton* CuteButton1 = nullptr;
  TLabel* Label1 = nullptr;
  TLabel* Label2 = nullptr;
  TLabel* Label3 = nullptr;
  TLabel* TitleLabel = nullptr;
  TCuteButton* CuteButton2 = nullptr;
  TCheckBox* CheckBox1 = nullptr;
  TLabel* Label4 = nullptr;
  TCheckBox* CheckBox2 = nullptr;

  void CuteButton1Click(TObject* sender);
  void FormShow(TObject* sender);
  void CuteButton2Click(TObject* sender);

  // The installer's own folder, with its trailing separator.
  AnsiString TargetDir;
  // The file name (no folder) of the program the shortcuts point at, as the listing spells it.
  AnsiString TargetName;
};

extern TForm1* Form1;
