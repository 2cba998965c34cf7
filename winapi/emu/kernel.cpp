// The process's module, version and resources, and the kernel reset that rebuilds them.
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "state.h"

namespace emu {
namespace {

struct Resource {
  std::string type;  // normalised key, see Key
  std::string name;
  std::string bytes;
};

struct Registration {
  std::string type;
  std::string name;
  std::string bytes;
};

struct Kernel {
  Config config;
  ULONG_PTR nextHandle = 0x7C;
  std::vector<std::unique_ptr<Resource>> resources;
};

Kernel& K() {
  static Kernel kernel;
  return kernel;
}

// Kept apart from the resources so that Reset can replay what static initialisation registered.
std::vector<Registration>& Registrations() {
  static std::vector<Registration> registrations;
  return registrations;
}

std::string UpperAscii(std::string s) {
  for (std::size_t i = 0; i < s.size(); i += CharLength(s, i))
    if (s[i] >= 'a' && s[i] <= 'z') s[i] = static_cast<char>(s[i] - 'a' + 'A');
  return s;
}

// Resource types and names compare without case; "#12" and MAKEINTRESOURCEA(12) are the same id.
std::string KeyOfString(const std::string& s) {
  if (s.size() > 1 && s[0] == '#' && s.find_first_not_of("0123456789", 1) == std::string::npos) {
    unsigned long id = 0;
    for (std::size_t i = 1; i < s.size(); ++i) id = (id * 10 + static_cast<unsigned long>(s[i] - '0')) & 0xFFFFFFFFul;
    return "#" + std::to_string(id & 0xFFFF);
  }
  return UpperAscii(s);
}

std::string Key(LPCSTR p) {
  if (IS_INTRESOURCE(p)) return "#" + std::to_string(reinterpret_cast<ULONG_PTR>(p));
  return KeyOfString(p);
}

Resource* FindEntry(const void* handle) {
  for (auto& r : K().resources)
    if (r.get() == handle) return r.get();
  return nullptr;
}

const HANDLE kCurrentProcess = reinterpret_cast<HANDLE>(static_cast<LONG_PTR>(-1));

bool IsOwnModule(HMODULE module) { return module == nullptr || module == ProcessModule(); }

std::string FileNamePart(const std::string& path) { return path.substr(FolderPart(path).size()); }

}  // namespace

HINSTANCE ProcessModule() { return reinterpret_cast<HINSTANCE>(static_cast<ULONG_PTR>(0x00400000)); }

HANDLE NewKernelHandle() {
  const ULONG_PTR h = K().nextHandle;
  K().nextHandle += 4;
  return reinterpret_cast<HANDLE>(h);
}

void AddResource(LPCSTR type, const std::string& name, std::string bytes) {
  const std::string typeKey = Key(type);
  const std::string nameKey = KeyOfString(name);
  for (auto& r : K().resources) {
    if (r->type == typeKey && r->name == nameKey) {
      r->bytes = std::move(bytes);
      return;
    }
  }
  K().resources.push_back(std::make_unique<Resource>(Resource{typeKey, nameKey, std::move(bytes)}));
}

ResourceRegistration::ResourceRegistration(LPCSTR type, const char* name, const char* bytes, std::size_t size) {
  Registration r{Key(type), name, std::string(bytes, size)};
  Registrations().push_back(r);
  AddResource(r.type.c_str(), r.name, r.bytes);
}

void ResetKernel(const Config& c) {
  ResetLog();
  K().config = c;
  K().nextHandle = 0x7C;
  K().resources.clear();
  // A stored type key ("#n" or an upper-cased name) reads back as the same key.
  for (const auto& r : Registrations()) AddResource(r.type.c_str(), r.name, r.bytes);
  ResetFiles(c);
  ResetSecurity();
}

}  // namespace emu

HMODULE WINAPI GetModuleHandleA(LPCSTR name) {
  if (name == nullptr) return emu::ProcessModule();
  const std::string& path = emu::K().config.modulePath;
  if (emu::EqualNoCase(name, path) || emu::EqualNoCase(name, emu::FileNamePart(path))) return emu::ProcessModule();
  SetLastError(ERROR_MOD_NOT_FOUND);
  return nullptr;
}

DWORD WINAPI GetModuleFileNameA(HMODULE module, LPSTR buffer, DWORD size) {
  if (!emu::IsOwnModule(module)) {
    SetLastError(ERROR_MOD_NOT_FOUND);
    return 0;
  }
  if (size == 0) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return 0;
  }
  if (buffer == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  const std::string& path = emu::K().config.modulePath;
  if (path.size() < size) {
    std::memcpy(buffer, path.c_str(), path.size() + 1);
    return static_cast<DWORD>(path.size());
  }
  // Truncated: as many characters as fit before a terminator, and the buffer size as result.
  std::memcpy(buffer, path.data(), size - 1);
  buffer[size - 1] = '\0';
  SetLastError(ERROR_INSUFFICIENT_BUFFER);
  return size;
}

HANDLE WINAPI GetCurrentProcess() {
  emu::Log("GetCurrentProcess");
  return emu::kCurrentProcess;
}

BOOL WINAPI CloseHandle(HANDLE handle) {
  if (handle == emu::kCurrentProcess) {
    // The pseudo handle needs no closing, and Windows says yes to it.
    emu::Log("CloseHandle(process)");
    return TRUE;
  }
  if (emu::CloseToken(handle)) {
    emu::Log("CloseHandle(token)");
    return TRUE;
  }
  emu::Log("CloseHandle(invalid)");
  SetLastError(ERROR_INVALID_HANDLE);
  return FALSE;
}

BOOL WINAPI GetVersionExA(LPOSVERSIONINFOA info) {
  if (info == nullptr) {
    emu::Log("GetVersionExA(null)");
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  emu::Log("GetVersionExA(" + std::to_string(info->dwOSVersionInfoSize) + ")");
  if (info->dwOSVersionInfoSize != sizeof(OSVERSIONINFOA)) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return FALSE;
  }
  const emu::Config& c = emu::K().config;
  info->dwMajorVersion = c.majorVersion;
  info->dwMinorVersion = c.minorVersion;
  info->dwPlatformId = c.platformId;
  // The 9x family keeps the version in the high word of the build number.
  info->dwBuildNumber = c.platformId == VER_PLATFORM_WIN32_NT
                            ? c.buildNumber
                            : (c.majorVersion << 24) | (c.minorVersion << 16) | (c.buildNumber & 0xFFFF);
  std::memset(info->szCSDVersion, 0, sizeof info->szCSDVersion);
  return TRUE;
}

HRSRC WINAPI FindResourceA(HMODULE module, LPCSTR name, LPCSTR type) {
  DWORD code = 0;
  if (emu::ShouldFail("FindResourceA", &code)) {
    SetLastError(code);
    return nullptr;
  }
  if (!emu::IsOwnModule(module)) {
    SetLastError(ERROR_RESOURCE_DATA_NOT_FOUND);
    return nullptr;
  }
  const std::string typeKey = emu::Key(type);
  const std::string nameKey = emu::Key(name);
  bool typeSeen = false;
  for (auto& r : emu::K().resources) {
    if (r->type != typeKey) continue;
    typeSeen = true;
    if (r->name == nameKey) return reinterpret_cast<HRSRC>(r.get());
  }
  SetLastError(typeSeen ? ERROR_RESOURCE_NAME_NOT_FOUND : ERROR_RESOURCE_TYPE_NOT_FOUND);
  return nullptr;
}

HGLOBAL WINAPI LoadResource(HMODULE module, HRSRC res) {
  emu::Resource* r = emu::FindEntry(res);
  if (!emu::IsOwnModule(module) || r == nullptr) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  return r;
}

LPVOID WINAPI LockResource(HGLOBAL data) {
  emu::Resource* r = emu::FindEntry(data);
  return r == nullptr ? nullptr : r->bytes.data();
}

DWORD WINAPI SizeofResource(HMODULE module, HRSRC res) {
  emu::Resource* r = emu::FindEntry(res);
  if (!emu::IsOwnModule(module) || r == nullptr) {
    SetLastError(ERROR_INVALID_HANDLE);
    return 0;
  }
  return static_cast<DWORD>(r->bytes.size());
}
