// LifetimeWin32: ExitProcess, so no window sees WM_CLOSE and no closing handler runs.
#include "platform/lifetime_win32.h"

#include <windows.h>

namespace tkd {

namespace {
constexpr UINT kNormalExitCode = 0;
}

void LifetimeWin32::EndProgram() { ExitProcess(kNormalExitCode); }

}  // namespace tkd
