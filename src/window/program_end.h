// The way out of the program that every exit takes: the exit commands, the close request of
// another program and a scheduled shutdown.
#pragma once

#include "platform/ports.h"

namespace tkd {

// Fetches in flight are broken off first: a worker thread ended inside the HTTP library when the
// process goes could leave it holding a lock that the system still needs.
class ProgramEnd : public Lifetime {
 public:
  ProgramEnd(Http& http, Lifetime& process) : http_(http), process_(process) {}
  void EndProgram() override {
    http_.CancelAll();
    process_.EndProgram();
  }

 private:
  Http& http_;
  Lifetime& process_;
};

}  // namespace tkd
