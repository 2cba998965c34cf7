// The program's entry: the application object, the one form, and the message loop.
#include "sleep/sleep_Unit1.h"
#include "vcl/Forms.h"
#include "winapi/winapi.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  try {
    Application->Initialize();
    Application->SetTitle("DozeTrigger");
    Application->CreateForm(Form1);
    Application->Run();
  } catch (const Exception& e) {
    Application->ShowException(e);
  }
  return 0;
}
