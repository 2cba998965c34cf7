// An emulated machine for the installer: where it runs from, what its folder lists, its window shown.
#pragma once

#ifndef _WIN32

#include <string>
#include <vector>

#include "harness/Harness.h"
#include "install/Paths.h"
#include "install/inst_Unit1.h"
#include "winapi/emu/control.h"

namespace iw {

inline const std::string kDesktop = "C:\\Documents and Settings\\User\\Desktop";
inline const std::string kPrograms = "C:\\Documents and Settings\\User\\Start Menu\\Programs";
inline const std::string kApp = "C:\\Program Files\\App\\";

inline emu::FileEntry Dir(const std::string& name) { return emu::FileEntry{name, FILE_ATTRIBUTE_DIRECTORY}; }

// A new desktop on which the installer was started as `modulePath`, its folder listing `listing` in that order.
inline void NewWorld(const std::string& modulePath, const std::vector<emu::FileEntry>& listing) {
  th::Fresh();
  emu::Config config;
  config.modulePath = modulePath;
  emu::Reset(config);
  emu::SetFolder(paths::FolderPart(modulePath).ToString(), listing);
}

// The application object and the installer's form, shown as the message loop shows it (discovery runs).
inline void ShowInstaller() {
  Application->Initialize();
  Application->SetTitle("QUOLLSET");
  Application->CreateForm(Form1);
  Form1->Show();
  th::Pump();
}

inline void EndInstaller() {
  Application.Reset();
  Form1 = nullptr;
}

// The calls of one kind (lines starting with `prefix`) from the emulation's call log.
inline std::vector<std::string> Calls(const std::string& prefix) {
  std::vector<std::string> out;
  for (const std::string& line : emu::CallLog())
    if (line.rfind(prefix, 0) == 0) out.push_back(line);
  return out;
}

inline std::string Utf8(const char8_t* s) { return reinterpret_cast<const char*>(s); }

// What was saved, as "link -> target" lines in save order (link paths in UTF-8).
inline std::vector<std::string> Links() {
  std::vector<std::string> out;
  for (const emu::SavedLink& l : emu::SavedLinks()) out.push_back(l.path + " -> " + l.target);
  return out;
}

}  // namespace iw

#endif  // !_WIN32
