// The window procedure the emulation's tests record messages with, and the answers it gives instead of the default.
#pragma once

#include <map>
#include <vector>

#include "winapi/winapi.h"

// Each test file keeps a record of its own: these names are local to the file that includes this header.
namespace {

struct Record {
  HWND hwnd;
  UINT msg;
  WPARAM wp;
  LPARAM lp;
};
std::vector<Record> records;
std::map<UINT, LRESULT> answers;  // fixed results instead of the default processing

LRESULT CALLBACK Recorder(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  records.push_back(Record{hwnd, msg, wp, lp});
  if (auto it = answers.find(msg); it != answers.end()) return it->second;
  return DefWindowProcA(hwnd, msg, wp, lp);
}

}  // namespace
