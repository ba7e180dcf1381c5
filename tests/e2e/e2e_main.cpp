// Entry point of the end-to-end driver: takes the program's path and the artifact folder, then runs the tests.
#include <gtest/gtest.h>

#include <cwchar>
#include <string>

#include "e2e_config.h"

namespace tkd::e2e {

E2eConfig& MutableConfig() {
  static E2eConfig config;
  return config;
}
const E2eConfig& Config() { return MutableConfig(); }

}  // namespace tkd::e2e

int wmain(int argc, wchar_t** argv) {
  testing::InitGoogleTest(&argc, argv);  // takes the --gtest_* options out of argv
  auto& config = tkd::e2e::MutableConfig();
  for (int i = 1; i < argc; ++i) {
    const std::wstring arg = argv[i];
    if (arg.rfind(L"--app=", 0) == 0) {
      config.appPath = arg.substr(6);
    } else if (arg.rfind(L"--artifacts=", 0) == 0) {
      config.artifactDir = arg.substr(12);
    } else {
      std::fwprintf(stderr, L"unknown argument: %ls\n", argv[i]);
      return 2;
    }
  }
  if (config.appPath.empty()) {
    std::fwprintf(stderr, L"usage: tkd_e2e_driver --app=PATH\\TiKoDan.exe [--artifacts=FOLDER] "
                          L"[gtest options]\n");
    return 2;
  }
  return RUN_ALL_TESTS();
}
