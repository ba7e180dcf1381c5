// StartWithWindows: the Run entries under both roots.
#include "settings/start_with_windows.h"

namespace tkd {
namespace {

constexpr auto kMachine = RegRoot::LocalMachine;
constexpr auto kUser = RegRoot::CurrentUser;

}  // namespace

void StartWithWindows::Register(const ProgramInfo& program) {
  const std::string entry = "\"" + program.ExePath() + "\"";
  const char* name = setting::tikodan.name;
  const bool machineWide =
      store_.ReadAt(kMachine, RunKey, name) == entry || store_.WriteAt(kMachine, RunKey, name, entry);
  if (!machineWide) store_.WriteAt(kUser, RunKey, name, entry);
  else if (!store_.ReadAt(kUser, RunKey, name).value_or("").empty()) store_.WriteAt(kUser, RunKey, name, "");
}

bool StartWithWindows::Unregister() {
  const char* name = setting::tikodan.name;
  const bool machineLeft = !store_.WriteAt(kMachine, RunKey, name, "") &&
                           !store_.ReadAt(kMachine, RunKey, name).value_or("").empty();
  const bool userLeft = !store_.ReadAt(kUser, RunKey, name).value_or("").empty() &&
                        !store_.WriteAt(kUser, RunKey, name, "");
  return machineLeft || userLeft;
}

}  // namespace tkd
