// Special folders through the shell's item-id lists; shortcuts through the ShellLink COM object.
#include "install/ShellServices.h"

#include "vcl/Forms.h"
#include "winapi/winapi.h"

namespace {

// Our own copies, so nothing depends on the import library's GUID tables.
const CLSID kClsidShellLink = {0x00021401, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
const IID kIidShellLinkA = {0x000214EE, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
const IID kIidPersistFile = {0x0000010B, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

constexpr int kDesktop = 0;   // CSIDL_DESKTOP
constexpr int kPrograms = 2;  // CSIDL_PROGRAMS
constexpr DWORD kInProc = 3;  // CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER
constexpr int kWidePath = 260;
// HRESULT_FROM_WIN32(ERROR_FILENAME_EXCED_RANGE)
const HRESULT kPathTooLong = static_cast<HRESULT>(0x800700CEu);

}  // namespace

AnsiString GetSpecialFolder(int csidl) {
  LPITEMIDLIST pidl = nullptr;
  if (FAILED(SHGetSpecialFolderLocation(Application->Handle(), csidl, &pidl)) || pidl == nullptr) return AnsiString();
  char path[264] = {};
  const BOOL found = SHGetPathFromIDListA(pidl, path);
  // The list is the shell's allocation, handed to us to free.
  CoTaskMemFree(pidl);
  if (!found) return AnsiString();
  path[sizeof path - 1] = '\0';
  return AnsiString(path);
}

AnsiString GetDesktopFolder() { return GetSpecialFolder(kDesktop); }

AnsiString GetProgramsFolder() { return GetSpecialFolder(kPrograms); }

bool CreateShortcut(const AnsiString& target, const AnsiString& link) {
  // Only a successful start (S_OK or S_FALSE) is balanced by an uninitialise.
  const bool comStarted = SUCCEEDED(CoInitialize(nullptr));
  IShellLinkA* shellLink = nullptr;
  HRESULT hr =
      CoCreateInstance(kClsidShellLink, nullptr, kInProc, kIidShellLinkA, reinterpret_cast<void**>(&shellLink));
  if (SUCCEEDED(hr)) {
    // A refused target is not looked at: the save decides.
    shellLink->SetPath(target.c_str());
    IPersistFile* file = nullptr;
    hr = shellLink->QueryInterface(kIidPersistFile, reinterpret_cast<void**>(&file));
    if (SUCCEEDED(hr)) {
      // A path the buffer cannot hold whole is refused rather than saved cut or unterminated.
      WCHAR wide[kWidePath];
      const int needed = MultiByteToWideChar(CP_ACP, 0, link.c_str(), -1, nullptr, 0);
      if (needed <= 0 || needed > kWidePath ||
          MultiByteToWideChar(CP_ACP, 0, link.c_str(), -1, wide, kWidePath) != needed) {
        hr = kPathTooLong;
      } else {
        hr = file->Save(wide, TRUE);
      }
      file->Release();
    }
    shellLink->Release();
  }
  if (comStarted) CoUninitialize();
  return SUCCEEDED(hr);
}
