// The shell services of the installer: special-folder paths and shortcut (.lnk) files.
#pragma once

#include "vcl/AnsiString.h"

// The file-system path of a shell special folder (CSIDL number), without trailing separator except for a drive
// root; empty when the shell cannot give it.
AnsiString GetSpecialFolder(int csidl);
AnsiString GetDesktopFolder();
AnsiString GetProgramsFolder();

// Writes the shortcut file `link` pointing at `target` (over any existing file); true when it was saved.
// A link path longer than a wide MAX_PATH buffer holds is not saved.
bool CreateShortcut(const AnsiString& target, const AnsiString& link);
