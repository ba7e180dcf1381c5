// UsageTotal: the seconds of use over all runs, kept in two keys as a guard against editing.
#pragma once

#include "settings/settings_store.h"

namespace tkd {

class UsageTotal {
 public:
  explicit UsageTotal(SettingsStore& store) : store_(store) {}

  // The stored total when both copies agree (within the second a cut-off tick leaves), else 0.
  void Restore();
  void Count() { seconds_ += 1; }
  // The same blank-number text under the settings key and the copy key.
  void Store();
  double Seconds() const { return seconds_; }

 private:
  SettingsStore& store_;
  double seconds_ = 0;
};

}  // namespace tkd
