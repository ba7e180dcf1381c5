// What the program is called, where it lives and which version it is.
#pragma once

#include <string>
#include <string_view>

#include "core/version.h"

namespace tkd {

inline constexpr char kProductName[] = "TiKoDan";

struct ProgramInfo {
  std::string folder;   // the executable's folder, without a trailing "\"
  std::string exeName;  // the executable's file name without ".exe"
  ProgramVersion version;

  // Folder, "\", name and ".exe": what the start-with-Windows entry holds.
  std::string ExePath() const { return folder + "\\" + exeName + ".exe"; }
};

// Splits an executable's full path (UTF-8) into its folder and its file name without a final
// ".exe" in any letter case; a name without that extension is kept whole.
ProgramInfo ProgramInfoFromPath(std::string_view exePath, ProgramVersion version);

}  // namespace tkd
