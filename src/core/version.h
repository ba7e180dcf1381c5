// The program's own version: its text, its single-number form, and the start-up sanity check.
#pragma once

#include <string>

namespace tkd {

struct ProgramVersion {
  int major = 0, minor = 0, revision = 0;
};

// The version this build was made as (from the build's project version).
ProgramVersion BuildVersion();

// "V1.4.6" for version 1.4.6.
std::string VersionText(const ProgramVersion& v);

// major * 100 + minor * 10 + revision (146); meaningful only with single-digit minor and revision.
int VersionNumber(const ProgramVersion& v);

// True when the minor or revision number exceeds 9, which the single-number form cannot hold.
bool VersionNeedsAdjusting(const ProgramVersion& v);

}  // namespace tkd
