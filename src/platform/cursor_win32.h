// The cursor port: GetCursorPos.
#pragma once

#include "platform/ports.h"

namespace tkd {

class CursorWin32 : public Cursor {
 public:
  // The last position read when the system cannot say (a secure desktop in front).
  PointerPosition Position() override;

 private:
  PointerPosition last_;
};

}  // namespace tkd
