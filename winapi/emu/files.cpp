// Folder listings laid out by the test and the file search over them.
#include <cstring>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "state.h"

namespace emu {
namespace {

struct Folder {
  std::string path;  // with its trailing separator
  std::vector<FileEntry> entries;
};

struct Search {
  std::vector<FileEntry> matches;
  std::size_t next = 0;
};

struct Files {
  std::vector<Folder> folders;
  std::map<HANDLE, Search> searches;
};

Files& F() {
  static Files files;
  return files;
}

std::string WithSeparator(const std::string& folder) {
  if (folder.empty() || FolderPart(folder) == folder) return folder;
  return folder + "\\";
}

Folder* FindFolder(const std::string& path) {
  for (Folder& f : F().folders)
    if (EqualNoCase(f.path, path)) return &f;
  return nullptr;
}

// One character of a name or pattern: a byte, or the two bytes of a double-byte character.
std::vector<std::string> Chars(const std::string& s) {
  std::vector<std::string> chars;
  for (std::size_t i = 0; i < s.size();) {
    const std::size_t len = CharLength(s, i);
    chars.push_back(s.substr(i, len));
    i += len;
  }
  return chars;
}

bool Matches(const std::vector<std::string>& name, std::size_t n, const std::vector<std::string>& pattern,
             std::size_t p) {
  while (p < pattern.size()) {
    if (pattern[p] == "*") {
      while (p < pattern.size() && pattern[p] == "*") ++p;
      if (p == pattern.size()) return true;
      for (std::size_t k = n; k <= name.size(); ++k)
        if (Matches(name, k, pattern, p)) return true;
      return false;
    }
    if (n == name.size()) return false;
    if (pattern[p] != "?" && !EqualNoCase(pattern[p], name[n])) return false;
    ++n;
    ++p;
  }
  return n == name.size();
}

// "*" and "?" (one character, single- or double-byte), letters in any case; a final ".*" may also match
// nothing, so "*.*" lists names without an extension too.
bool MatchesPattern(const std::string& name, const std::string& pattern) {
  if (pattern.empty()) return false;
  const std::vector<std::string> n = Chars(name);
  if (Matches(n, 0, Chars(pattern), 0)) return true;
  if (pattern.size() >= 2 && pattern.compare(pattern.size() - 2, 2, ".*") == 0)
    return Matches(n, 0, Chars(pattern.substr(0, pattern.size() - 2)), 0);
  return false;
}

void Fill(const FileEntry& e, LPWIN32_FIND_DATAA data) {
  std::memset(data, 0, sizeof *data);
  data->dwFileAttributes = e.attributes;
  const std::size_t n = e.name.size() < MAX_PATH - 1 ? e.name.size() : MAX_PATH - 1;
  std::memcpy(data->cFileName, e.name.data(), n);
}

}  // namespace

std::string FolderPart(const std::string& path) {
  std::size_t end = 0;
  for (std::size_t i = 0; i < path.size();) {
    const std::size_t len = CharLength(path, i);
    if (len == 1 && (path[i] == '\\' || path[i] == ':')) end = i + 1;
    i += len;
  }
  return path.substr(0, end);
}

bool IsKnownFolder(const std::string& folder) { return FindFolder(WithSeparator(folder)) != nullptr; }

void SetFolder(const std::string& folder, std::vector<FileEntry> entries) {
  const std::string path = WithSeparator(folder);
  if (Folder* f = FindFolder(path)) {
    f->entries = std::move(entries);
    return;
  }
  F().folders.push_back(Folder{path, std::move(entries)});
}

int OpenFindHandles() { return static_cast<int>(F().searches.size()); }

void ResetFiles(const Config& c) {
  F() = Files{};
  // The program's own folder exists and holds the program.
  const std::string folder = FolderPart(c.modulePath);
  SetFolder(folder, {FileEntry{c.modulePath.substr(folder.size()), FILE_ATTRIBUTE_ARCHIVE}});
}

}  // namespace emu

HANDLE WINAPI FindFirstFileA(LPCSTR pattern, LPWIN32_FIND_DATAA data) {
  emu::Log("FindFirstFileA(" + std::string(pattern == nullptr ? "null" : pattern) + ")");
  DWORD code = 0;
  if (emu::ShouldFail("FindFirstFileA", &code)) {
    SetLastError(code);
    return INVALID_HANDLE_VALUE;
  }
  if (pattern == nullptr || data == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return INVALID_HANDLE_VALUE;
  }
  const std::string full = pattern;
  const std::string folder = emu::FolderPart(full);
  const emu::Folder* f = emu::FindFolder(folder);
  if (f == nullptr) {
    SetLastError(ERROR_PATH_NOT_FOUND);
    return INVALID_HANDLE_VALUE;
  }
  emu::Search search;
  for (const emu::FileEntry& e : f->entries)
    if (emu::MatchesPattern(e.name, full.substr(folder.size()))) search.matches.push_back(e);
  if (search.matches.empty()) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    return INVALID_HANDLE_VALUE;
  }
  emu::Fill(search.matches[0], data);
  search.next = 1;
  HANDLE handle = emu::NewKernelHandle();
  emu::F().searches[handle] = std::move(search);
  return handle;
}

BOOL WINAPI FindNextFileA(HANDLE find, LPWIN32_FIND_DATAA data) {
  emu::Log("FindNextFileA");
  auto it = emu::F().searches.find(find);
  if (it == emu::F().searches.end()) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  if (data == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  emu::Search& s = it->second;
  if (s.next >= s.matches.size()) {
    SetLastError(ERROR_NO_MORE_FILES);
    return FALSE;
  }
  emu::Fill(s.matches[s.next++], data);
  return TRUE;
}

BOOL WINAPI FindClose(HANDLE find) {
  emu::Log("FindClose");
  if (emu::F().searches.erase(find) == 0) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  return TRUE;
}
