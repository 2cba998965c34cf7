// Reports what a program sees of the Wine prefix: code pages, version, shell folders, fonts, a saved shortcut.
#include <objbase.h>
#include <objidl.h>
#include <shlobj.h>
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

// The family a requested face really resolves to, read from the selected font's own name table.
std::string ResolvedFamily(const char* face) {
  HDC dc = GetDC(nullptr);
  HFONT font = CreateFontA(-12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                           CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, face);
  HGDIOBJ old = SelectObject(dc, font);
  std::string family = "?";
  UINT size = GetOutlineTextMetricsA(dc, 0, nullptr);
  if (size != 0) {
    std::vector<char> buffer(size);
    auto* metrics = reinterpret_cast<OUTLINETEXTMETRICA*>(buffer.data());
    if (GetOutlineTextMetricsA(dc, size, metrics) != 0) {
      family = buffer.data() + reinterpret_cast<std::uintptr_t>(metrics->otmpFamilyName);
    }
  }
  SelectObject(dc, old);
  DeleteObject(font);
  ReleaseDC(nullptr, dc);
  return family;
}

std::string SpecialFolder(int csidl) {
  char path[MAX_PATH] = {};
  return SUCCEEDED(SHGetFolderPathA(nullptr, csidl, nullptr, 0, path)) ? path : "?";
}

// Saves a shortcut the way the installer does; returns the HRESULT of the save.
HRESULT SaveShortcut(const std::string& path) {
  IShellLinkA* link = nullptr;
  HRESULT hr = CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                reinterpret_cast<void**>(&link));
  if (FAILED(hr)) return hr;
  link->SetPath("C:\\windows\\notepad.exe");
  IPersistFile* file = nullptr;
  hr = link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file));
  if (SUCCEEDED(hr)) {
    std::wstring wide(path.size() + 1, L'\0');
    int n = MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide.data(), static_cast<int>(wide.size()));
    wide.resize(n > 0 ? n - 1 : 0);
    hr = file->Save(wide.c_str(), TRUE);
    file->Release();
  }
  link->Release();
  return hr;
}

}  // namespace

int main(int argc, char** argv) {
  OSVERSIONINFOA version{};
  version.dwOSVersionInfoSize = sizeof version;
  GetVersionExA(&version);
  std::printf("acp=%u\noemcp=%u\n", GetACP(), GetOEMCP());
  std::printf("platform=%lu\nversion=%lu.%lu\n", version.dwPlatformId, version.dwMajorVersion, version.dwMinorVersion);
  std::printf("screen=%dx%d\n", GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
  const std::string desktop = SpecialFolder(CSIDL_DESKTOPDIRECTORY);
  std::printf("desktop=%s\nprograms=%s\n", desktop.c_str(), SpecialFolder(CSIDL_PROGRAMS).c_str());
  std::printf("font.mspgothic=%s\n", ResolvedFamily("ＭＳ Ｐゴシック").c_str());
  std::printf("font.arial=%s\n", ResolvedFamily("Arial").c_str());
  if (argc > 1) {
    CoInitialize(nullptr);
    const std::string path = desktop + "\\" + argv[1];
    std::printf("shortcut=0x%08lx\n", static_cast<unsigned long>(SaveShortcut(path)));
    CoUninitialize();
  }
  return 0;
}
