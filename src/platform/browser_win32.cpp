// BrowserWin32: ShellExecuteW "open", shown normally, its result ignored; RandomWin32: BCryptGenRandom.
#include "platform/browser_win32.h"

#include <bcrypt.h>
#include <shellapi.h>

#include "core/site_address.h"
#include "platform/text_win32.h"

namespace tkd {

void BrowserWin32::Open(const std::string& url) {
  if (IsWebAddress(url)) ShellExecuteW(owner_, L"open", Utf8ToWide(url).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

std::array<std::uint8_t, 16> RandomWin32::Random128() {
  std::array<std::uint8_t, 16> bytes{};
  BCryptGenRandom(nullptr, bytes.data(), static_cast<ULONG>(bytes.size()), BCRYPT_USE_SYSTEM_PREFERRED_RNG);
  return bytes;
}

}  // namespace tkd
