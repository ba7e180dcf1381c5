// The Browser port: the shell's "open" of a web address, and the system's random bytes.
#pragma once

#include <windows.h>

#include "platform/ports.h"

namespace tkd {

class BrowserWin32 : public Browser {
 public:
  // The main window is made after the adapters, so the owner comes later.
  void SetOwner(HWND owner) { owner_ = owner; }
  // Only web addresses are handed to the shell, never a program or a file.
  void Open(const std::string& url) override;

 private:
  HWND owner_ = nullptr;
};

class RandomWin32 : public RandomSource {
 public:
  std::array<std::uint8_t, 16> Random128() override;  // the system's preferred generator
};

}  // namespace tkd
