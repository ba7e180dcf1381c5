// Functions of system libraries that the program needs only now and then (the tray icon, the
// browser, the site, a random identifier), loaded on first use: start-up then does not pay for
// loading those libraries, nor a run that never needs them for their memory.
#pragma once

#include <windows.h>

#include <string>

namespace tkd {

// The system folder (System32; a 32-bit program on 64-bit Windows is given its own), or empty.
inline std::wstring SystemFolder() {
  wchar_t folder[MAX_PATH];
  const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
  return length == 0 || length >= MAX_PATH ? std::wstring() : std::wstring(folder, length);
}

// "<system folder>\<library>". A library is always loaded by its full path: by name alone the
// search would begin in the program's folder, where any file of that name would run in its place.
// (LOAD_LIBRARY_SEARCH_SYSTEM32 says the same, but Windows 7 without a later update refuses it and
// every such load would fail.)
inline std::wstring SystemLibraryPath(const wchar_t* library) {
  const std::wstring folder = SystemFolder();
  return folder.empty() ? folder : folder + L"\\" + library;
}

// For every library loaded by name from now on, the system's own included: never the current
// folder, and where Windows can (8 and later, or 7 with its update) only the system folder.
inline void KeepLibrariesToTheSystemFolder() {
  SetDllDirectoryW(L"");
  using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
  const auto restrict = reinterpret_cast<SetDefaultDllDirectoriesFn>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories")));
  if (restrict) restrict(LOAD_LIBRARY_SEARCH_SYSTEM32);
}

// The function, or nullptr when the library or the function is not there.
template <class Function>
Function SystemFunction(const wchar_t* library, const char* name) {
  HMODULE module = GetModuleHandleW(library);
  if (!module) {
    const std::wstring path = SystemLibraryPath(library);
    if (!path.empty()) module = LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
  }
  return module ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name))) : nullptr;
}

}  // namespace tkd
