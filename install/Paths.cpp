// Path and name rules of the installer, aware of Shift-JIS double-byte characters.
#include "install/Paths.h"

#include "vcl/SysUtils.h"
#include "winapi/winapi.h"

namespace paths {

AnsiString FolderPart(const AnsiString& path) { return ExtractFilePath(path); }

AnsiString FileNamePart(const AnsiString& path) { return ExtractFileName(path); }

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
  const bool endsWithSeparator =
      ExtractFilePath(folder).Length() == folder.Length() && folder[folder.Length() - 1] == '\\';
  return folder + (endsWithSeparator ? AnsiString() : AnsiString("\\")) + LinkName(targetName);
}

}  // namespace paths
