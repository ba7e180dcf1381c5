// BrowserWin32: ShellExecuteW "open", shown normally, its result ignored; RandomWin32: BCryptGenRandom.
#include "platform/browser_win32.h"

#include <bcrypt.h>
#include <shellapi.h>

#include "core/site_address.h"
#include "platform/system_library_win32.h"
#include "platform/text_win32.h"

namespace tkd {

void BrowserWin32::Open(const std::string& url) {
  static const auto execute = SystemFunction<decltype(&ShellExecuteW)>(L"shell32.dll", "ShellExecuteW");
  if (execute && IsWebAddress(url)) execute(owner_, L"open", Utf8ToWide(url).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

std::array<std::uint8_t, 16> RandomWin32::Random128() {
  std::array<std::uint8_t, 16> bytes{};
  static const auto generate = SystemFunction<decltype(&BCryptGenRandom)>(L"bcrypt.dll", "BCryptGenRandom");
  if (generate) generate(nullptr, bytes.data(), static_cast<ULONG>(bytes.size()), BCRYPT_USE_SYSTEM_PREFERRED_RNG);
  return bytes;
}

}  // namespace tkd
