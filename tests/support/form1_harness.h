// The main window's view-model over fakes, with the shell's two timers driven by the fake clock.
#pragma once

#include <memory>

#include "support/fakes.h"
#include "timing/tick_pump.h"
#include "window/form1_model.h"

namespace tkd::testing {

inline constexpr char kFolder[] = "C:\\Apps\\TiKoDan";

struct Form1Harness {
  explicit Form1Harness(ProgramVersion version = {1, 4, 6}) : version_(version) { Restart(); }

  // A new process over the same registry: what a restart sees.
  void Restart() {
    store = std::make_unique<SettingsStore>(registry);
    model = std::make_unique<Form1Model>(
        Form1Ports{*store, clock, locale, sound, prompt, lifetime, frame, shutdown, tray, cursor, monitors,
                   {http, browser, random, site}},
        ProgramInfo{kFolder, "TiKoDan", version_});
    timer1 = std::make_unique<TickPump>(clock);
    timer2 = std::make_unique<TickPump>(clock);
  }
  bool Load() {
    const bool ok = model->Form_Load();
    timer1->SetEnabled(model->View().timer1Enabled);
    return ok;
  }

  // Lets `ms` of monotonic time pass in steps of `step`, delivering due ticks as the shell does.
  void Run(std::uint64_t ms, std::uint64_t step = 250) {
    for (std::uint64_t t = 0; t < ms; t += step) {
      timer2->SetEnabled(model->stopwatch().View().timer2Enabled);  // after every event
      clock.monotonicMs += step;
      timer1->RunDue([&] { model->Timer1_Timer(); return true; });
      timer2->RunDue([&] {
        model->stopwatch().Timer2_Timer();
        return model->stopwatch().View().timer2Enabled;
      });
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
  std::unique_ptr<TickPump> timer1, timer2;

 private:
  ProgramVersion version_;
};

}  // namespace tkd::testing
