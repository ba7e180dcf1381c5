// CurrentProgramInfo: GetModuleFileNameW with a growing buffer.
#include "platform/program_info_win32.h"

#include <windows.h>

#include <algorithm>

#include "core/version.h"
#include "platform/text_win32.h"

namespace tkd {
namespace {

// Long-path names can reach about 32,767 characters; growing well past that means something
// else is wrong.
constexpr std::size_t kLongestPath = 1 << 16;

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

ProgramInfo CurrentProgramInfo() {
  return ProgramInfoFromPath(WideToUtf8(RunningModulePath()), BuildVersion());
}

}  // namespace tkd
