// ShutComputer: the one operation that turns the computer off, and then ends the program.
#pragma once

#include "platform/ports.h"

namespace tkd {

// Asks Windows to power off and ends the program at once; the request is not awaited.
inline void ShutComputer(Shutdown& shutdown, Lifetime& lifetime) {
  shutdown.PowerOff();
  lifetime.EndProgram();
}

}  // namespace tkd
