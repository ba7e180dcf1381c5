// Functions of system libraries that the program needs only now and then (the tray icon, the
// browser, the site, a random identifier), loaded on first use: start-up then does not pay for
// loading those libraries, nor a run that never needs them for their memory.
#pragma once

#include <windows.h>

namespace tkd {

// The function, or nullptr when the library or the function is not there.
template <class Function>
Function SystemFunction(const wchar_t* library, const char* name) {
  HMODULE module = GetModuleHandleW(library);
  if (!module) module = LoadLibraryExW(library, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
  return module ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name))) : nullptr;
}

}  // namespace tkd
