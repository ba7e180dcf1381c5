// The lifetime port: ending the process on the spot.
#pragma once

#include "platform/ports.h"

namespace tkd {

class LifetimeWin32 : public Lifetime {
 public:
  [[noreturn]] void EndProgram() override;
};

}  // namespace tkd
