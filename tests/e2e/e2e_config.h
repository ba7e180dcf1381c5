// What the driver was told on its command line.
#pragma once

#include <string>

namespace tkd::e2e {

struct E2eConfig {
  std::wstring appPath;      // Windows path of TiKoDan.exe
  std::wstring artifactDir;  // where screenshots go; empty when none was given
};

const E2eConfig& Config();

}  // namespace tkd::e2e
