// Drives the programs the same way on the emulation and on a real Windows (Wine): input, time, pixels.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "vcl/Controls.h"
#include "vcl/Forms.h"
#include "winapi/winapi.h"

// How test failures show a string (the library itself has no streams).
void PrintTo(const AnsiString& s, std::ostream* out);

namespace th {

struct World {
  int screenWidth = 1024;
  int screenHeight = 768;
};

// True on the emulation; false on a real Windows.
bool OnEmulation();

// A clean start for one test: the application object and its forms destroyed, and on the emulation a new desktop.
void Fresh(const World& world = {});

// Handles every pending message and runs the idle step (mouse tracking) until nothing is left to do.
void Pump();
// Lets `ms` milliseconds pass while messages are handled: virtual time on the emulation, real time on Windows.
void Wait(DWORD ms);

enum class Button { Left, Right, Middle };
// Input as hardware makes it; each call is followed by Pump().
void MoveMouse(int screenX, int screenY);
void MoveMouseTo(TControl* control, int clientX, int clientY);
void Press(Button button = Button::Left);
void Release(Button button = Button::Left);
void ClickAt(TControl* control, int clientX, int clientY);
void KeyDown(BYTE vk, bool autoRepeat = false);
void KeyUp(BYTE vk);
void Key(BYTE vk);

// The colour on screen at a client point of a windowed control.
COLORREF Pixel(TWinControl* window, int clientX, int clientY);

// Records events of controls, one line each, for comparing whole sequences.
class Recorder : public TObject {
 public:
  std::vector<std::string> log;
  void Click(TObject*) { log.push_back("Click"); }
  void Enter(TObject*) { log.push_back("Enter"); }
  void Exit(TObject*) { log.push_back("Exit"); }
  void MouseDown(TObject*, TMouseButton b, TShiftState s, int x, int y);
  void MouseUp(TObject*, TMouseButton b, TShiftState s, int x, int y);
  void MouseEnter(TObject*, TShiftState s, int x, int y);
  void MouseLeave(TObject*, TShiftState s, int x, int y);
  void KeyDown(TObject*, WORD& key, TShiftState s);
  void KeyUp(TObject*, WORD& key, TShiftState s);
};

}  // namespace th
