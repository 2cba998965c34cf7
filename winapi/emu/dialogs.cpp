// Message boxes: recorded and answered by the test instead of a user.
#include <string>
#include <vector>

#include "state.h"

namespace emu {
namespace {

struct Dialogs {
  std::vector<MessageBoxCall> boxes;
  int answer = IDOK;
};

Dialogs& D() {
  static Dialogs dialogs;
  return dialogs;
}

std::string Hex(UINT v) {
  static const char digits[] = "0123456789abcdef";
  std::string s;
  do {
    s.insert(s.begin(), digits[v & 0xF]);
    v >>= 4;
  } while (v != 0);
  return "0x" + s;
}

}  // namespace

const std::vector<MessageBoxCall>& MessageBoxes() { return D().boxes; }

void SetMessageBoxAnswer(int answer) { D().answer = answer; }

void ResetDialogs() { D() = Dialogs{}; }

}  // namespace emu

int WINAPI MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
  // A box without caption gets the system's own title for errors.
  emu::MessageBoxCall call{owner, text == nullptr ? "" : text, caption == nullptr ? "エラー" : caption, type};
  emu::Log("MessageBoxA(" + call.text + ", " + call.caption + ", " + emu::Hex(type) + ")");
  emu::D().boxes.push_back(call);
  return emu::D().answer;
}
