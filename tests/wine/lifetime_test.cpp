// LifetimeWin32: EndProgram ends the process on the spot with exit code 0.
#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/lifetime_win32.h"

namespace tkd {
namespace {

// Any code that still runs after EndProgram turns the exit code into this.
constexpr int kCarriedOn = 3;

TEST(LifetimeWin32DeathTest, EndProgramEndsTheProcessAtOnceWithCodeZero) {
  EXPECT_EXIT(
      {
        LifetimeWin32 lifetime;
        lifetime.EndProgram();
        std::_Exit(kCarriedOn);
      },
      ::testing::ExitedWithCode(0), "");
}

}  // namespace
}  // namespace tkd
