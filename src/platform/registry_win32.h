// The registry port over the real Windows registry (string values only), and an owning HKEY.
#pragma once

#include <windows.h>

#include <map>
#include <tuple>

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
// A key, once opened, stays open for the next value: start-up reads some sixty values from a
// handful of keys and every tick writes several, and each opening of a path walks it part by part
// in the registry server. A key deleted meanwhile (by the user or another program) fails the
// next access through the old handle; that access is then tried once more on a fresh opening.
class RegistryWin32 : public Registry {
 public:
  std::optional<std::string> Read(RegRoot root, const std::string& subKey,
                                  const std::string& name) override;
  bool Write(RegRoot root, const std::string& subKey, const std::string& name,
             const std::string& text) override;
  bool HasKey(RegRoot root, const std::string& subKey) override;

 private:
  enum class Access { Query, Set };
  // The open key, opened (Query) or created (Set) when not held yet; null when that fails.
  HKEY Key(RegRoot root, const std::string& subKey, Access access);
  void Forget(RegRoot root, const std::string& subKey, Access access);

  std::map<std::tuple<RegRoot, std::string, Access>, UniqueHkey> keys_;
};

}  // namespace tkd
