// The main window's view-model over fakes, its timers woken by the fake clock as the shell wakes them.
#pragma once

#include <memory>

#include "support/fakes.h"
#include "window/form1_model.h"

namespace tkd::testing {

inline constexpr char kFolder[] = "C:\\Apps\\TiKoDan";

struct Form1Harness {
  explicit Form1Harness(ProgramVersion version = {1, 4, 6}) : version_(version) { Restart(); }

  // A new process over the same registry: what a restart sees.
  void Restart() {
    store = std::make_unique<SettingsStore>(registry);
    model = std::make_unique<Form1Model>(
        Form1Ports{.store = *store, .clock = clock, .locale = locale, .sound = sound, .prompt = prompt,
                   .lifetime = lifetime, .frame = frame, .shutdown = shutdown, .tray = tray, .cursor = cursor,
                   .monitors = monitors, .web = {.http = http, .browser = browser, .random = random, .site = site}},
        ProgramInfo{kFolder, "TiKoDan", version_});
  }
  bool Load() { return model->Form_Load(); }

  // Lets `ms` of monotonic time pass in steps of `step`. As the shell does after every event, each
  // step first asks when the model is due, which takes up what the test has just turned on or off.
  void Run(std::uint64_t ms, std::uint64_t step = 250) {
    for (std::uint64_t t = 0; t < ms; t += step) {
      model->MsUntilDue();
      clock.monotonicMs += step;
      model->Wake();
    }
  }

  std::optional<std::string> Stored(const Setting& row) {
    return registry.Read(RegRoot::LocalMachine, KeyPath(row.key), row.name);
  }

  FakeRegistry registry;
  FakeClock clock;
  FakeLocale locale;
  FakeSound sound;
  FakePrompt prompt;
  FakeLifetime lifetime;
  FakeFrame frame;
  FakeShutdown shutdown;
  FakeTray tray;
  FakeCursor cursor;
  FakeMonitors monitors;
  FakeHttp http;
  FakeBrowser browser;
  FakeRandom random;
  SiteAddresses site{"http://site.example/", "https://shop.example/promo"};
  std::unique_ptr<SettingsStore> store;
  std::unique_ptr<Form1Model> model;

 private:
  ProgramVersion version_;
};

}  // namespace tkd::testing
