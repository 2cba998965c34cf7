// Shell special folders, COM start-up and the shell link object that saves shortcut files.
#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "state.h"

// An item-id list of the emulation names one special folder.
struct ITEMIDLIST {
  int csidl;
  std::string path;
};

namespace emu {
namespace {

constexpr GUID kClsidShellLink = {0x00021401, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
constexpr GUID kIidShellLinkA = {0x000214EE, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
constexpr GUID kIidPersistFile = {0x0000010B, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
constexpr GUID kIidUnknown = {0x00000000, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
constexpr std::size_t kMaxWidePath = 260;

class ShellLink;

struct Shell {
  std::map<int, std::string> specialFolders;
  std::vector<std::unique_ptr<ITEMIDLIST>> pidls;
  std::vector<ShellLink*> links;  // live objects; Reset frees what a test leaked
  std::vector<SavedLink> saved;
  int depth = 0;  // CoInitialize calls not yet balanced
  int initializeCalls = 0;
  int uninitializeCalls = 0;
};

Shell& S() {
  static Shell shell;
  return shell;
}

std::string Hex(ULONG_PTR v) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "0x%lx", static_cast<unsigned long>(v));
  return buffer;
}

std::string GuidName(const GUID& g) {
  if (g == kClsidShellLink) return "ShellLink";
  if (g == kIidShellLinkA) return "IShellLinkA";
  if (g == kIidPersistFile) return "IPersistFile";
  if (g == kIidUnknown) return "IUnknown";
  char buffer[48];
  std::snprintf(buffer, sizeof buffer, "{%08lX-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}",
                static_cast<unsigned long>(g.Data1), g.Data2, g.Data3, g.Data4[0], g.Data4[1], g.Data4[2], g.Data4[3],
                g.Data4[4], g.Data4[5], g.Data4[6], g.Data4[7]);
  return buffer;
}

std::string WithSeparator(const std::string& folder) {
  if (folder.empty() || FolderPart(folder) == folder) return folder;
  return folder + "\\";
}

// Paths held as UTF-8: only ASCII letters fold, every other byte must be equal.
bool EqualUtf8NoCase(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'a' && x <= 'z') x = static_cast<char>(x - 'a' + 'A');
    if (y >= 'a' && y <= 'z') y = static_cast<char>(y - 'a' + 'A');
    if (x != y) return false;
  }
  return true;
}

class ShellLink final : public IShellLinkA, public IPersistFile {
 public:
  ShellLink() { S().links.push_back(this); }
  ~ShellLink() {
    auto& links = S().links;
    for (auto it = links.begin(); it != links.end(); ++it) {
      if (*it == this) {
        links.erase(it);
        break;
      }
    }
  }
  ShellLink(const ShellLink&) = delete;
  ShellLink& operator=(const ShellLink&) = delete;

  int Refs() const { return refs_; }

  // The interface behind `iid`, without counting a reference, or nullptr.
  void* Find(REFIID iid) {
    if (iid == kIidUnknown || iid == kIidShellLinkA) return static_cast<IShellLinkA*>(this);
    if (iid == kIidPersistFile) return static_cast<IPersistFile*>(this);
    return nullptr;
  }
  ULONG Count() { return static_cast<ULONG>(++refs_); }
  ULONG Uncount() {
    const ULONG left = static_cast<ULONG>(--refs_);
    if (left == 0) delete this;
    return left;
  }

  // IUnknown, shared by both interfaces.
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    Log("QueryInterface(" + GuidName(iid) + ")");
    if (out == nullptr) return E_POINTER;
    *out = nullptr;
    DWORD code = 0;
    if (ShouldFail("QueryInterface", &code)) return static_cast<HRESULT>(code);
    void* p = Find(iid);
    if (p == nullptr) return E_NOINTERFACE;
    Count();
    *out = p;
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override {
    Log("AddRef");
    return Count();
  }
  ULONG STDMETHODCALLTYPE Release() override {
    Log("Release");
    return Uncount();
  }

  // IShellLinkA: only the target is kept.
  HRESULT STDMETHODCALLTYPE SetPath(LPCSTR file) override {
    Log("SetPath(" + std::string(file == nullptr ? "null" : file) + ")");
    DWORD code = 0;
    if (ShouldFail("SetPath", &code)) return static_cast<HRESULT>(code);
    if (file == nullptr) return E_INVALIDARG;
    target_ = file;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetPath(LPSTR, int, WIN32_FIND_DATAA*, DWORD) override { return NotImpl("GetPath"); }
  HRESULT STDMETHODCALLTYPE GetIDList(void**) override { return NotImpl("GetIDList"); }
  HRESULT STDMETHODCALLTYPE SetIDList(const void*) override { return NotImpl("SetIDList"); }
  HRESULT STDMETHODCALLTYPE GetDescription(LPSTR, int) override { return NotImpl("GetDescription"); }
  HRESULT STDMETHODCALLTYPE SetDescription(LPCSTR) override { return NotImpl("SetDescription"); }
  HRESULT STDMETHODCALLTYPE GetWorkingDirectory(LPSTR, int) override { return NotImpl("GetWorkingDirectory"); }
  HRESULT STDMETHODCALLTYPE SetWorkingDirectory(LPCSTR) override { return NotImpl("SetWorkingDirectory"); }
  HRESULT STDMETHODCALLTYPE GetArguments(LPSTR, int) override { return NotImpl("GetArguments"); }
  HRESULT STDMETHODCALLTYPE SetArguments(LPCSTR) override { return NotImpl("SetArguments"); }
  HRESULT STDMETHODCALLTYPE GetHotkey(WORD*) override { return NotImpl("GetHotkey"); }
  HRESULT STDMETHODCALLTYPE SetHotkey(WORD) override { return NotImpl("SetHotkey"); }
  HRESULT STDMETHODCALLTYPE GetShowCmd(int*) override { return NotImpl("GetShowCmd"); }
  HRESULT STDMETHODCALLTYPE SetShowCmd(int) override { return NotImpl("SetShowCmd"); }
  HRESULT STDMETHODCALLTYPE GetIconLocation(LPSTR, int, int*) override { return NotImpl("GetIconLocation"); }
  HRESULT STDMETHODCALLTYPE SetIconLocation(LPCSTR, int) override { return NotImpl("SetIconLocation"); }
  HRESULT STDMETHODCALLTYPE SetRelativePath(LPCSTR, DWORD) override { return NotImpl("SetRelativePath"); }
  HRESULT STDMETHODCALLTYPE Resolve(HWND, DWORD) override { return NotImpl("Resolve"); }

  // IPersistFile: saving records the link file.
  HRESULT STDMETHODCALLTYPE GetClassID(CLSID* clsid) override {
    Log("GetClassID");
    if (clsid == nullptr) return E_POINTER;
    *clsid = kClsidShellLink;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE IsDirty() override { return NotImpl("IsDirty"); }
  HRESULT STDMETHODCALLTYPE Load(LPCWSTR, DWORD) override { return NotImpl("Load"); }
  HRESULT STDMETHODCALLTYPE Save(LPCWSTR file, BOOL remember) override;
  HRESULT STDMETHODCALLTYPE SaveCompleted(LPCWSTR) override { return NotImpl("SaveCompleted"); }
  HRESULT STDMETHODCALLTYPE GetCurFile(LPWSTR*) override { return NotImpl("GetCurFile"); }

 private:
  static HRESULT NotImpl(const char* member) {
    Log(member);
    return E_NOTIMPL;
  }

  int refs_ = 0;
  std::string target_;
};

HRESULT ShellLink::Save(LPCWSTR file, BOOL remember) {
  std::size_t len = 0;
  while (file != nullptr && len < kMaxWidePath && file[len] != 0) ++len;
  const bool terminated = file != nullptr && len < kMaxWidePath;
  const std::u16string wide = file == nullptr ? std::u16string() : std::u16string(file, len);
  Log("Save(" +
      (file == nullptr ? std::string("null")
       : terminated    ? WideToAnsi(wide)
                       : std::string("<unterminated>")) +
      ", " + std::to_string(remember) + ")");
  DWORD code = 0;
  if (ShouldFail("Save", &code)) return static_cast<HRESULT>(code);
  if (!terminated) return E_INVALIDARG;
  const std::size_t cut = wide.find_last_of(u"\\:");
  const std::u16string folder = cut == std::u16string::npos ? std::u16string() : wide.substr(0, cut + 1);
  const std::string ansiFolder = WideToAnsi(folder);
  if (!IsKnownFolder(ansiFolder) && !IsSpecialFolder(ansiFolder)) return HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND);
  if (folder.size() == wide.size()) return E_ACCESSDENIED;  // a folder, not a file
  SavedLink link{WideToUtf8(wide), target_, remember};
  for (SavedLink& s : S().saved) {
    if (EqualUtf8NoCase(s.path, link.path)) {
      s = link;
      return S_OK;
    }
  }
  S().saved.push_back(link);
  return S_OK;
}

void DefaultFolders() {
  S().specialFolders = {{CSIDL_DESKTOP, "C:\\Documents and Settings\\User\\Desktop"},
                        {CSIDL_PROGRAMS, "C:\\Documents and Settings\\User\\Start Menu\\Programs"}};
}

bool OwnPidl(LPCITEMIDLIST pidl) {
  for (const auto& p : S().pidls)
    if (p.get() == pidl) return true;
  return false;
}

}  // namespace

void SetSpecialFolder(int csidl, const std::string& path) { S().specialFolders[csidl] = path; }

bool IsSpecialFolder(const std::string& folder) {
  for (const auto& [csidl, path] : S().specialFolders)
    if (EqualNoCase(WithSeparator(path), WithSeparator(folder))) return true;
  return false;
}

const std::vector<SavedLink>& SavedLinks() { return S().saved; }

ComState Com() {
  ComState c;
  c.initializeCalls = S().initializeCalls;
  c.uninitializeCalls = S().uninitializeCalls;
  c.liveObjects = static_cast<int>(S().links.size());
  for (const ShellLink* l : S().links) c.outstandingRefs += l->Refs();
  c.livePidls = static_cast<int>(S().pidls.size());
  return c;
}

void ResetShell() {
  // Objects a test leaked die with its world; deleting one takes it out of the list.
  while (!S().links.empty()) delete S().links.back();
  S() = Shell{};
  DefaultFolders();
  ResetDialogs();
}

}  // namespace emu

HRESULT WINAPI SHGetSpecialFolderLocation(HWND owner, int folder, LPITEMIDLIST* pidl) {
  emu::Log("SHGetSpecialFolderLocation(" +
           (owner == nullptr ? std::string("null") : emu::Hex(reinterpret_cast<ULONG_PTR>(owner))) + ", " +
           std::to_string(folder) + ")");
  if (pidl == nullptr) return E_INVALIDARG;
  *pidl = nullptr;
  DWORD code = 0;
  if (emu::ShouldFail("SHGetSpecialFolderLocation", &code)) return static_cast<HRESULT>(code);
  auto it = emu::S().specialFolders.find(folder);
  if (it == emu::S().specialFolders.end()) return E_FAIL;
  emu::S().pidls.push_back(std::make_unique<ITEMIDLIST>(ITEMIDLIST{folder, it->second}));
  *pidl = emu::S().pidls.back().get();
  return S_OK;
}

BOOL WINAPI SHGetPathFromIDListA(LPCITEMIDLIST pidl, LPSTR path) {
  const bool own = emu::OwnPidl(pidl);
  emu::Log("SHGetPathFromIDListA(" +
           (pidl == nullptr ? std::string("null")
            : own           ? std::to_string(pidl->csidl)
                            : std::string("invalid")) +
           ")");
  if (path == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  path[0] = '\0';
  DWORD code = 0;
  if (emu::ShouldFail("SHGetPathFromIDListA", &code)) {
    SetLastError(code);
    return FALSE;
  }
  if (!own || pidl->path.size() >= MAX_PATH) return FALSE;
  pidl->path.copy(path, pidl->path.size());
  path[pidl->path.size()] = '\0';
  return TRUE;
}

void WINAPI CoTaskMemFree(LPVOID p) {
  if (p == nullptr) {
    emu::Log("CoTaskMemFree(null)");
    return;
  }
  auto& pidls = emu::S().pidls;
  for (auto it = pidls.begin(); it != pidls.end(); ++it) {
    if (it->get() == p) {
      emu::Log("CoTaskMemFree(pidl)");
      pidls.erase(it);
      return;
    }
  }
  emu::Log("CoTaskMemFree(unknown)");  // a double free or foreign memory: recorded, not crashed on
}

HRESULT WINAPI CoInitialize(LPVOID reserved) {
  emu::Log(reserved == nullptr ? "CoInitialize" : "CoInitialize(non-null)");
  ++emu::S().initializeCalls;
  if (reserved != nullptr) return E_INVALIDARG;
  return emu::S().depth++ == 0 ? S_OK : S_FALSE;
}

void WINAPI CoUninitialize() {
  emu::Log("CoUninitialize");
  ++emu::S().uninitializeCalls;
  if (emu::S().depth > 0) --emu::S().depth;
}

HRESULT WINAPI CoCreateInstance(REFCLSID clsid, LPUNKNOWN outer, DWORD context, REFIID iid, LPVOID* out) {
  emu::Log("CoCreateInstance(" + emu::GuidName(clsid) + ", " + emu::GuidName(iid) + ", " + std::to_string(context) +
           ")");
  if (out == nullptr) return E_POINTER;
  *out = nullptr;
  if (emu::S().depth == 0) return CO_E_NOTINITIALIZED;
  DWORD code = 0;
  if (emu::ShouldFail("CoCreateInstance", &code)) return static_cast<HRESULT>(code);
  if (!(clsid == emu::kClsidShellLink) || (context & CLSCTX_INPROC_SERVER) == 0) return REGDB_E_CLASSNOTREG;
  if (outer != nullptr) return CLASS_E_NOAGGREGATION;
  auto* link = new emu::ShellLink();
  void* p = link->Find(iid);
  if (p == nullptr) {
    delete link;
    return E_NOINTERFACE;
  }
  link->Count();
  *out = p;
  return S_OK;
}
