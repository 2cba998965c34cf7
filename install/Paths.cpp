// Path and name rules of the installer, aware of Shift-JIS double-byte characters.
#include "install/Paths.h"

#include "vcl/SysUtils.h"
#include "winapi/winapi.h"

namespace paths {
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

AnsiString FolderPart(const AnsiString& path) { return path.SubString(0, FolderLength(path)); }

AnsiString FileNamePart(const AnsiString& path) { return path.SubString(FolderLength(path)); }

bool SameFileName(const AnsiString& a, const AnsiString& b) { return AnsiUpperCase(a) == AnsiUpperCase(b); }

AnsiString BaseName(const AnsiString& fileName) {
  const AnsiString upper = AnsiUpperCase(fileName);
  // '.' is never the second byte of a double-byte character, so a byte search is safe.
  const std::size_t dot = upper.View().find('.');
  if (dot == std::string_view::npos) return AnsiString();
  return upper.SubString(0, dot);
}

AnsiString LinkName(const AnsiString& targetName) { return BaseName(targetName) + ".lnk"; }

AnsiString LinkPath(const AnsiString& folder, const AnsiString& targetName) {
  if (folder.IsEmpty()) return AnsiString();
  // A drive root already ends with its separator.
  const bool endsWithSeparator = FolderLength(folder) == folder.Length() && folder[folder.Length() - 1] == '\\';
  return folder + (endsWithSeparator ? AnsiString() : AnsiString("\\")) + LinkName(targetName);
}

}  // namespace paths
