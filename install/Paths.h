// Path and name rules of the installer: folder and file-name parts, the upper-cased base name, link names.
#pragma once

#include "vcl/AnsiString.h"

namespace paths {

// Everything up to and including the last '\' or ':' that is not the second byte of a double-byte character.
AnsiString FolderPart(const AnsiString& path);
// Everything after that separator; the whole path when it has none.
AnsiString FileNamePart(const AnsiString& path);
// The same file name whatever the letter case, compared after ANSI upper-casing.
bool SameFileName(const AnsiString& a, const AnsiString& b);
// The upper-cased name cut before its first '.'; empty when the name holds no '.'.
AnsiString BaseName(const AnsiString& fileName);
// The shortcut file name for a target: BASE + ".lnk".
AnsiString LinkName(const AnsiString& targetName);
// folder + "\" + link name (no second separator after a drive root such as D:\), or empty when the folder is
// unknown (empty): a link then never lands at the root of the current drive.
AnsiString LinkPath(const AnsiString& folder, const AnsiString& targetName);

}  // namespace paths
