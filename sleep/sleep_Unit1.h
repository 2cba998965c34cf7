// The sleep window: it asks for the suspend as it appears and closes itself on the timer's first tick.
#pragma once

#include "vcl/ExtCtrls.h"
#include "vcl/Forms.h"
#include "vcl/StdCtrls.h"

class TForm1 : public TForm {
  VCL_DECLARE_CLASS(TForm1)
 public:
  explicit TForm1(TComponent* owner);

  TTimer* Timer1 = nullptr;
  TLabel* Label1 = nullptr;

  void FormShow(TObject* sender);
  void Timer1Timer(TObject* sender);
};

extern TForm1* Form1;
