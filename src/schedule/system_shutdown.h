// ShutComputer: the one operation that turns the computer off, and then ends the program.
#pragma once

#include "platform/ports.h"

namespace tkd {

inline constexpr char kShutdownCommand[] = "cmd.exe /c shutdown -s -t 0";
// EWX_SHUTDOWN | EWX_FORCE | EWX_POWEROFF: other programs are not asked to agree.
inline constexpr unsigned kShutdownFlags = 13;

// Starts the shutdown command, asks Windows itself to power off (with the shutdown privilege
// enabled first, without which current Windows refuses), and ends the program at once. Neither
// request is awaited, and a command that cannot be started does not stop the other two steps.
inline void ShutComputer(Shutdown& shutdown, Lifetime& lifetime) {
  shutdown.StartMinimised(kShutdownCommand);
  shutdown.EnableShutdownPrivilege();
  shutdown.EndSession(kShutdownFlags);
  lifetime.EndProgram();
}

}  // namespace tkd
