// Builds the main window's view-model over fakes, and plays the part of the shell's timers.
#pragma once

#include <memory>

#include "support/fakes.h"
#include "timing/steady_timer.h"
#include "window/form1_model.h"

namespace tkd::testing {

inline constexpr char kFolder[] = "C:\\Apps\\TiKoDan";

struct Form1Harness {
  explicit Form1Harness(ProgramVersion version = {1, 4, 6}) : version_(version) { Rebuild(); }

  // A new process over the same registry: what a restart sees.
  void Rebuild() {
    store = std::make_unique<SettingsStore>(registry);
    model = std::make_unique<Form1Model>(
        Form1Ports{*store, clock, locale, sound, prompt, lifetime, frame},
        ProgramInfo{kFolder, "TiKoDan", version_});
  }

  Stopwatch& watch() { return model->stopwatch(); }
  const StopwatchView& sw() { return model->stopwatch().View(); }

  // Delivers n stopwatch ticks, as the shell does while Timer2 is enabled.
  void Ticks2(int n) {
    for (int i = 0; i < n && sw().timer2Enabled; ++i) watch().Timer2_Timer();
  }

  std::optional<std::string> Stored(const std::string& name, const char* key = SettingsKey) {
    return registry.Get(RegRoot::LocalMachine, key, name);
  }

  FakeRegistry registry;
  FakeClock clock;
  FakeLocale locale;
  FakeSound sound;
  FakePrompt prompt;
  FakeLifetime lifetime;
  FakeFrame frame;
  std::unique_ptr<SettingsStore> store;
  std::unique_ptr<Form1Model> model;

 private:
  ProgramVersion version_;
};

}  // namespace tkd::testing
