// The process entry point of a program built against the emulation: a fresh desktop, then the program's WinMain.
#include "winapi/emu/control.h"
#include "winapi/winapi.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int show);

int main() {
  emu::Reset();
  return WinMain(GetModuleHandleA(nullptr), nullptr, const_cast<char*>(""), SW_SHOWNORMAL);
}
