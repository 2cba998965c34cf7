// The call log, scripted failures and the thread's last-error value.
#include <map>
#include <string>
#include <vector>

#include "state.h"

namespace emu {
namespace {

struct Failure {
  DWORD code;
  int remaining;  // -1: for ever
};

std::vector<std::string>& Lines() {
  static std::vector<std::string> lines;
  return lines;
}

std::map<std::string, Failure>& Failures() {
  static std::map<std::string, Failure> failures;
  return failures;
}

thread_local DWORD lastError = 0;

}  // namespace

const std::vector<std::string>& CallLog() { return Lines(); }

void ClearCallLog() { Lines().clear(); }

void Log(std::string line) { Lines().push_back(std::move(line)); }

void Fail(const std::string& api, DWORD code, int times) {
  if (times == 0) {
    Failures().erase(api);
    return;
  }
  Failures()[api] = Failure{code, times < 0 ? -1 : times};
}

bool ShouldFail(const std::string& api, DWORD* code) {
  auto it = Failures().find(api);
  if (it == Failures().end()) return false;
  if (code != nullptr) *code = it->second.code;
  if (it->second.remaining > 0 && --it->second.remaining == 0) Failures().erase(it);
  return true;
}

void ResetLog() {
  Lines().clear();
  Failures().clear();
  lastError = 0;
}

}  // namespace emu

DWORD WINAPI GetLastError() { return emu::lastError; }

void WINAPI SetLastError(DWORD error) { emu::lastError = error; }
