// The one door to Windows: the real API on Windows, the headless emulation elsewhere.
#pragma once

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>
#include <objidl.h>
#else
#include "emu/win32.h"
#endif
