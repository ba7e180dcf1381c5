// Construction of the main window's view-model; its start-up and tick live with their subsystems.
#include "window/form1_model.h"

namespace tkd {

Form1Model::Form1Model(const Form1Ports& ports, ProgramInfo program)
    : ports_(ports),
      program_(std::move(program)),
      stopwatch_(ports.store, ports.sound, ports.prompt, program_.folder) {}

}  // namespace tkd
