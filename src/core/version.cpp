// Version text and number, built from the version the build stamps into the program.
#include "core/version.h"

#include "version_config.h"

namespace tkd {

ProgramVersion BuildVersion() {
  return {TKD_VERSION_MAJOR, TKD_VERSION_MINOR, TKD_VERSION_REVISION};
}

std::string VersionText(const ProgramVersion& v) {
  return "V" + std::to_string(v.major) + "." + std::to_string(v.minor) + "." +
         std::to_string(v.revision);
}

int VersionNumber(const ProgramVersion& v) { return v.major * 100 + v.minor * 10 + v.revision; }

bool VersionNeedsAdjusting(const ProgramVersion& v) { return v.revision > 9 || v.minor > 9; }

}  // namespace tkd
