// Where the running program lives, what it is called, and which version it is.
#pragma once

#include <cstddef>
#include <string>

#include "core/program_info.h"

namespace tkd {

// MAX_PATH: enough for most installations, the first buffer size tried.
inline constexpr std::size_t kUsualPathLength = 260;

// The full path of the running executable in UTF-16, however long. `firstGuess` is the
// starting buffer size in characters; the buffer doubles until the path fits. "" on failure.
std::wstring RunningModulePath(std::size_t firstGuess = kUsualPathLength);

ProgramInfo CurrentProgramInfo();

}  // namespace tkd
