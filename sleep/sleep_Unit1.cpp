// The sleep window's class: its form file names the fields and handlers published here.
#include "sleep/sleep_Unit1.h"

#include "sleep/Power.h"
#include "winapi/winapi.h"

TForm1* Form1 = nullptr;

const TClassInfo& TForm1::StaticClass() {
  static const TClassInfo info{"TForm1",
                               &TForm::StaticClass(),
                               nullptr,
                               {},
                               {
                                   PublishedMethod<&TForm1::FormShow>("FormShow"),
                                   PublishedMethod<&TForm1::Timer1Timer>("Timer1Timer"),
                               },
                               {
                                   PublishedField<&TForm1::Timer1>("Timer1"),
                                   PublishedField<&TForm1::Label1>("Label1"),
                               }};
  return info;
}

TForm1::TForm1(TComponent* owner) : TForm(owner) { InitInheritedComponent(StaticClass()); }

void TForm1::FormShow(TObject*) {
  if (IsWindowsNT()) EnableShutdownPrivilege();
  // Blocks until the machine has suspended and resumed, or returns at once when the request is refused.
  SetSystemPowerState(TRUE, FALSE);
}

void TForm1::Timer1Timer(TObject*) { Close(); }
