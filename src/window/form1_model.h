// The main window's view-model: its two events, start-up and the housekeeping tick, composed
// from the subsystems; no HWNDs.
#pragma once

#include <array>
#include <string>

#include "core/program_info.h"
#include "platform/ports.h"
#include "schedule/hourly_chime.h"
#include "schedule/shutdown_scheduler.h"
#include "settings/settings_store.h"
#include "settings/window_geometry.h"
#include "stats/usage_total.h"
#include "timing/stopwatch.h"

namespace tkd {

// Tab pages of the main window, by index.
enum Page { kPageStopwatch = 0, kPageShutdown, kPageChime, kPageMouse, kPageReminder, kPageOverview };
inline constexpr int kPageCount = 6;
inline constexpr const char* kPageCaptions[kPageCount] = {"TiKoDan", "定时关机", "整点报时",
                                                         "鼠标统计", "提醒",     "概况"};
inline constexpr char kVersionMustBeAdjusted[] = "版本号请调整一下";

struct Form1Ports {
  SettingsStore& store;
  Clock& clock;
  Locale& locale;
  SoundPlayers& sound;
  Prompt& prompt;
  Lifetime& lifetime;
  WindowFrame& frame;
  Shutdown& shutdown;
};

struct Form1View {
  std::string caption = kProductName;
  std::array<bool, kPageCount> pageVisible{true, true, true, true, true, true};
  int currentPage = kPageStopwatch;
  TwipsRect geometry{kDefaultEdge, kDefaultEdge, Form1minW, kDefaultHeight};  // where it opens
  bool timer1Enabled = true;
};

class Form1Model {
 public:
  Form1Model(const Form1Ports& ports, ProgramInfo program);

  // Start-up: restores everything from the registry. Returns false when the program has been
  // told to end instead of showing its window.
  bool Form_Load();

  // The housekeeping tick, once a second for the life of the program.
  void Timer1_Timer();

  Stopwatch& stopwatch() { return stopwatch_; }
  HourlyChime& chime() { return chime_; }
  ShutdownScheduler& scheduler() { return scheduler_; }
  const Form1View& View() const { return view_; }
  double js0() const { return js0_; }
  double UsageSeconds() const { return usage_.Seconds(); }
  const std::string& VersionText() const { return versionText_; }

 private:
  // Start-up steps that belong to no subsystem, and those whose features come later.
  void ShowFirstPages();
  void RestoreAdvertInterval() {}
  void RestorePageVisibility() {}
  void RestoreRank() {}
  void RestoreSwitches();
  void RestoreOdometer() {}
  void RestoreFirstUseDate() {}
  bool CheckVersion();
  void RecordInstallation() {}
  void RegisterStartWithWindows() {}

  // Tick steps that belong to no subsystem, and those whose features come later.
  void RefreshTitle();
  void ApplyAlwaysOnTop() {}
  void CheckForUpdateOnce() {}
  void RefreshRankingOnce() {}
  void OpenPromotionWhenDue() {}
  void UpdateOdometer() {}
  void UpdateUsageAndPoints() {}

  Form1Ports ports_;
  ProgramInfo program_;
  Stopwatch stopwatch_;
  HourlyChime chime_;
  ShutdownScheduler scheduler_;
  WindowGeometry geometry_;
  UsageTotal usage_;
  Form1View view_;
  std::string versionText_;  // built by start-up
  double js0_ = 0;           // seconds of this run, one per housekeeping tick
};

}  // namespace tkd
