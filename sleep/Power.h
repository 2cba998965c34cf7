// The two power routines: which Windows family runs us, and the shutdown privilege a suspend needs on NT.
#pragma once

// True when Windows reports the NT platform; the version numbers are not looked at.
bool IsWindowsNT();

// Enables "SeShutdownPrivilege" in the process token: -1 when the token cannot be opened, 1 when Windows reports
// an error after the adjustment (the privilege stays disabled), 0 when it is enabled.
int EnableShutdownPrivilege();
