// Message formatting and the ANSI string helpers.
#include "vcl/SysUtils.h"

#include <cctype>
#include <string>

#include "winapi/winapi.h"

AnsiString Fmt(const char* pattern, std::initializer_list<AnsiString> args) {
  std::string out;
  auto next = args.begin();
  for (const char* p = pattern; *p; ++p) {
    if (p[0] == '%' && p[1] == 's' && next != args.end()) {
      out += next->View();
      ++next;
      ++p;
    } else {
      out += *p;
    }
  }
  return AnsiString(out);
}

AnsiString IntToStr(long long value) { return AnsiString(std::to_string(value)); }

bool SameText(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) return false;
  return true;
}

AnsiString AnsiUpperCase(const AnsiString& s) {
  AnsiString copy = s;
  if (char* text = copy.Unique()) CharUpperBuffA(text, static_cast<DWORD>(copy.Length()));
  return copy;
}
