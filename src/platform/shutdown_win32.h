// The shutdown port: the shutdown command, the shutdown privilege and ExitWindowsEx.
#pragma once

#include "platform/ports.h"

namespace tkd {

class ShutdownWin32 : public Shutdown {
 public:
  bool StartMinimised(const std::string& commandLine) override;
  void EnableShutdownPrivilege() override;
  void EndSession(unsigned flags) override;
};

}  // namespace tkd
