// The shutdown port: the Windows shutdown command, the shutdown privilege and ExitWindowsEx.
#pragma once

#include "platform/ports.h"

namespace tkd {

// The command line the shutdown command is started with, as Windows' tools show it.
inline constexpr char kShutdownCommand[] = "cmd.exe /c shutdown -s -t 0";
// EWX_SHUTDOWN | EWX_FORCE | EWX_POWEROFF: other programs are not asked to agree.
inline constexpr unsigned kShutdownFlags = 13;

class ShutdownWin32 : public Shutdown {
 public:
  // Starts the shutdown command minimised without waiting for it, enables the shutdown privilege
  // (without which current Windows refuses) and asks Windows itself; a command that cannot be
  // started does not stop the other two.
  void PowerOff() override;
};

}  // namespace tkd
