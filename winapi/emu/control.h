// What a test can do to the emulated Windows: lay out its world, drive it as hardware would, read what it did.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "win32.h"

namespace emu {

// ---- The world
struct Config {
  int screenWidth = 1024;
  int screenHeight = 768;
  DWORD platformId = VER_PLATFORM_WIN32_NT;
  DWORD majorVersion = 5;
  DWORD minorVersion = 1;
  std::string modulePath = "C:\\Program Files\\App\\install.exe";  // its folder lists just this file until SetFolder
  DWORD buildNumber = 2600;
};
// Throws everything away (windows, timers, queue, records, faults) and starts a new desktop.
void Reset(const Config& config = {});
const Config& CurrentConfig();

// ---- Virtual clock: it moves only when a test (or the idle handler) moves it.
DWORD Now();
// Moves the clock; timers that fall due are posted as the queue is next read.
void AdvanceClock(DWORD ms);
// The earliest time a live timer falls due, or false when no timer runs.
bool NextTimerDue(DWORD* when);

// WaitMessage has nothing to wait for in a headless world: it calls this handler, which must make
// something happen (inject input, advance the clock) and return true, or return false to give up.
// The default handler advances the clock to the next timer; with none it fails the wait.
using IdleHandler = std::function<bool()>;
void SetIdleHandler(IdleHandler handler);
// Runs `action` from inside WaitMessage once the clock has reached `when` (and advances the clock to it).
void At(DWORD when, std::function<void()> action);

// ---- Input, as hardware makes it: state first, then the messages to the window under the pointer.
enum class Button { Left, Right, Middle };
void MouseMove(int screenX, int screenY);
void MouseDown(Button button);
void MouseUp(Button button);
void KeyDown(BYTE vk, bool autoRepeat = false);
void KeyUp(BYTE vk);

// ---- Painting: the raster of a top-level window, window coordinates (0,0 is the outer top-left).
COLORREF WindowPixel(HWND topLevel, int x, int y);
// A child's client (0,0) in its top-level window's raster.
POINT ClientOriginInTopLevel(HWND hwnd);

// Every DrawTextA call that drew (DT_CALCRECT does not), in order.
struct TextCall {
  HWND window;       // the window of the DC, or nullptr for a memory DC
  std::string text;  // the bytes drawn, as passed (length applied)
  RECT rect;         // logical coordinates, as passed
  UINT format;
  COLORREF textColor;
  COLORREF bkColor;
  int bkMode;
  LOGFONTA font;
  POINT origin;  // device position of logical (0,0)
  RECT clip;     // device clip box
};
const std::vector<TextCall>& TextCalls();
void ClearTextCalls();

// ---- Calls made to the kernel, shell, COM, security and power services, one line each,
// e.g. "OpenProcessToken(process, 0x28)". Window and GDI calls are not logged here.
const std::vector<std::string>& CallLog();
void ClearCallLog();
void Log(std::string line);

// Makes the named API fail `times` times (or for ever with -1), the way Windows does:
// functions with BOOL or handle results fail and set GetLastError() to `code`; HRESULT ones return it.
// Names: "FindFirstFileA", "OpenProcessToken", "LookupPrivilegeValueA", "AdjustTokenPrivileges",
// "SetTimer", "CoCreateInstance", "QueryInterface", "SetPath", "Save", "SHGetSpecialFolderLocation",
// "SHGetPathFromIDListA", "FindResourceA", "SetSystemPowerState", "CreateWindowExA", "RegisterClassA".
void Fail(const std::string& api, DWORD code, int times = -1);
// True (and consumes one failure) when `api` is set to fail now; used by the emulation itself.
bool ShouldFail(const std::string& api, DWORD* code);

// ---- Kernel: files and resources
struct FileEntry {
  std::string name;
  DWORD attributes = FILE_ATTRIBUTE_ARCHIVE;
};
// The listing FindFirstFileA/FindNextFileA give for `folder` (with trailing separator), in this order.
// Patterns are matched as Windows does (* and ?, case-insensitive).
void SetFolder(const std::string& folder, std::vector<FileEntry> entries);
int OpenFindHandles();
void AddResource(LPCSTR type, const std::string& name, std::string bytes);
// Registers at static initialisation, so program sources stay the same on both platforms.
struct ResourceRegistration {
  ResourceRegistration(LPCSTR type, const char* name, const char* bytes, std::size_t size);
};

// ---- Shell and COM
// Until set, the desktop is C:\Documents and Settings\User\Desktop and the Programs folder
// C:\Documents and Settings\User\Start Menu\Programs; other identifiers are unknown.
void SetSpecialFolder(int csidl, const std::string& path);
struct SavedLink {
  std::string path;    // UTF-8 of the wide path passed to Save
  std::string target;  // as given to SetPath
  BOOL remember;
};
// Link files in save order; a save to an existing path replaces its entry in place.
const std::vector<SavedLink>& SavedLinks();
struct ComState {
  int initializeCalls = 0;
  int uninitializeCalls = 0;
  int liveObjects = 0;      // link objects not yet freed
  int outstandingRefs = 0;  // references handed out and not released
  int livePidls = 0;        // item-id lists not yet given to CoTaskMemFree
};
ComState Com();

// ---- Security and power
// How long a suspend request holds the thread (virtual ms, no message handled meanwhile) and what it returns.
void SetSuspend(DWORD durationMs, BOOL result);
// Runs `hook` inside each suspend request, once its time has passed and just before the request returns.
void SetSuspendHook(std::function<void()> hook);
// Whether the process token holds the shutdown privilege (AdjustTokenPrivileges then sets ERROR_NOT_ALL_ASSIGNED).
void SetShutdownPrivilegeHeld(bool held);
// Whether an adjustment has enabled it (and none has disabled it since).
bool ShutdownPrivilegeEnabled();

// ---- System colours: the classic palette after every reset; a test may change one, as a user would.
void SetSysColor(int index, COLORREF color);

// ---- Message boxes and menus
struct MessageBoxCall {
  HWND owner;
  std::string text;
  std::string caption;
  UINT type;
};
const std::vector<MessageBoxCall>& MessageBoxes();
void SetMessageBoxAnswer(int answer);
struct MenuCall {
  HMENU menu;
  int x, y;
  UINT flags;
  HWND owner;
  std::vector<std::string> items;  // texts of the menu's items
};
// TrackPopupMenu runs this while its modal loop is on; it returns the chosen item's id, or 0 to dismiss.
// The default dismisses. Messages posted meanwhile stay queued (the menu's loop eats only input).
using MenuScript = std::function<UINT_PTR(const MenuCall&)>;
void SetMenuScript(MenuScript script);
const std::vector<MenuCall>& MenuCalls();

}  // namespace emu
