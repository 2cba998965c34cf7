// The installer's entry point: the application, its one form and the message loop.
#include "install/inst_Unit1.h"
#include "vcl/Forms.h"
#include "winapi/winapi.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  try {
    Application->Initialize();
    Application->SetTitle("QUOLLSET");
    Application->CreateForm(Form1);
    Application->Run();
  } catch (const Exception& e) {
    Application->ShowException(e);
  }
  return 0;
}
