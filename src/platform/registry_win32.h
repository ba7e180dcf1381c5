// The registry port over the real Windows registry (string values only), and an owning HKEY.
#pragma once

#include <windows.h>

#include "platform/ports.h"

namespace tkd {

// Owns an open registry key and closes it exactly once. Never holds a predefined root key.
class UniqueHkey {
 public:
  UniqueHkey() = default;
  explicit UniqueHkey(HKEY key) : key_(key) {}
  ~UniqueHkey() { Reset(); }
  UniqueHkey(const UniqueHkey&) = delete;
  UniqueHkey& operator=(const UniqueHkey&) = delete;
  UniqueHkey(UniqueHkey&& other) noexcept : key_(other.Release()) {}
  UniqueHkey& operator=(UniqueHkey&& other) noexcept {
    if (this != &other) {
      Reset();
      key_ = other.Release();
    }
    return *this;
  }

  HKEY Get() const { return key_; }
  explicit operator bool() const { return key_ != nullptr; }
  // For the out-parameter of RegOpenKeyExW / RegCreateKeyExW; closes any key held before.
  HKEY* Receive() {
    Reset();
    return &key_;
  }
  HKEY Release() {
    HKEY key = key_;
    key_ = nullptr;
    return key;
  }
  void Reset() {
    if (key_) RegCloseKey(key_);
    key_ = nullptr;
  }

 private:
  HKEY key_ = nullptr;
};

// The predefined key behind a RegRoot.
HKEY RootKey(RegRoot root);

// Reads and writes REG_SZ values. Every failure is quiet: reads give nullopt, writes false.
class RegistryWin32 : public Registry {
 public:
  std::optional<std::string> Read(RegRoot root, const std::string& subKey,
                                  const std::string& name) override;
  bool Write(RegRoot root, const std::string& subKey, const std::string& name,
             const std::string& text) override;
  bool HasKey(RegRoot root, const std::string& subKey) override;
};

}  // namespace tkd
