// CurrentProgramInfo: GetModuleFileNameW with a growing buffer, split into folder and name.
#include "platform/program_info_win32.h"

#include <windows.h>

#include <algorithm>
#include <cwctype>

#include "core/version.h"
#include "platform/text_win32.h"

namespace tkd {
namespace {

constexpr wchar_t kExeExtension[] = L".exe";
constexpr std::size_t kExeExtensionLength = sizeof(kExeExtension) / sizeof(wchar_t) - 1;
// Long-path names can reach about 32,767 characters; growing well past that means something
// else is wrong.
constexpr std::size_t kLongestPath = 1 << 16;

bool EndsWithExe(const std::wstring& name) {
  if (name.size() < kExeExtensionLength) return false;
  return std::equal(name.end() - kExeExtensionLength, name.end(), kExeExtension,
                    [](wchar_t a, wchar_t b) { return std::towlower(a) == b; });
}

}  // namespace

std::wstring RunningModulePath(std::size_t firstGuess) {
  std::size_t capacity = std::max<std::size_t>(firstGuess, 1);
  while (capacity <= kLongestPath) {
    std::wstring path(capacity, L'\0');
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(capacity));
    if (length == 0) return {};
    // A result that fills the whole buffer was truncated (ERROR_INSUFFICIENT_BUFFER).
    if (length < capacity) {
      path.resize(length);
      return path;
    }
    capacity *= 2;
  }
  return {};
}

void SplitExecutablePath(const std::wstring& path, std::wstring& folder, std::wstring& exeName) {
  const std::size_t slash = path.find_last_of(L"\\/");
  folder = slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
  exeName = slash == std::wstring::npos ? path : path.substr(slash + 1);
  if (EndsWithExe(exeName)) exeName.resize(exeName.size() - kExeExtensionLength);
}

ProgramInfo CurrentProgramInfo() {
  std::wstring folder, exeName;
  SplitExecutablePath(RunningModulePath(), folder, exeName);
  return {WideToUtf8(folder), WideToUtf8(exeName), BuildVersion()};
}

}  // namespace tkd
