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

namespace {
// Length of the folder part: one past the last separator byte that starts a character.
std::size_t FolderLength(const AnsiString& path) {
  const std::string_view text = path.View();
  std::size_t end = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (IsDBCSLeadByte(static_cast<BYTE>(c)) && i + 1 < text.size()) {
      ++i;  // the trail byte may look like '\' but is part of the character
      continue;
    }
    if (c == '\\' || c == ':') end = i + 1;
  }
  return end;
}
}  // namespace

AnsiString ExtractFilePath(const AnsiString& path) { return path.SubString(0, FolderLength(path)); }

AnsiString ExtractFileName(const AnsiString& path) { return path.SubString(FolderLength(path)); }
