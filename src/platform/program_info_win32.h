// Where the running program lives, what it is called, and which version it is.
#pragma once

#include <cstddef>
#include <string>

#include "window/form1_model.h"

namespace tkd {

// MAX_PATH: enough for most installations, the first buffer size tried.
inline constexpr std::size_t kUsualPathLength = 260;

// The full path of the running executable in UTF-16, however long. `firstGuess` is the
// starting buffer size in characters; the buffer doubles until the path fits. "" on failure.
std::wstring RunningModulePath(std::size_t firstGuess = kUsualPathLength);

// Splits an executable's path into its folder (no trailing "\") and its file name without a
// final ".exe" in any letter case. A name without that extension is kept whole.
void SplitExecutablePath(const std::wstring& path, std::wstring& folder, std::wstring& exeName);

ProgramInfo CurrentProgramInfo();

}  // namespace tkd
