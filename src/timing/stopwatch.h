// The stopwatch and countdown of the first page: its state, its handlers and what it shows.
#pragma once

#include <string>

#include "platform/ports.h"
#include "settings/settings_store.h"

namespace tkd {

struct Rgb {
  int r = 0, g = 0, b = 0;
  bool operator==(const Rgb&) const = default;
};
inline constexpr Rgb kBlue{0, 0, 255};
inline constexpr Rgb kRed{255, 0, 0};
inline constexpr Rgb kLightCyan{192, 255, 255};

// Captions and tool tips; the running state is read from the captions, as the buttons show it.
namespace stopwatch_text {
inline constexpr char kStart[] = "开始";
inline constexpr char kStop[] = "停止";
inline constexpr char kPause[] = "暂停";
inline constexpr char kContinue[] = "继续";
inline constexpr char kStartTip[] = "点一下开始计时";
inline constexpr char kStartAgainTip[] = "点一下就开始计时";
inline constexpr char kStopTip[] = "点一下将会停止计时";
inline constexpr char kPauseTip[] = "点一下将会暂停计时";
inline constexpr char kContinueTip[] = "点一下将会继续计时(不会从头开始)";
inline constexpr char kPaused[] = "计时暂停中";
inline constexpr char kTimeUp[] = "时间到了";
inline constexpr char kMustBePositive[] = "此处必须大于0";
inline constexpr char kWarningSound[] = "\\sound\\default.wav";
}  // namespace stopwatch_text

struct StopwatchView {
  std::string label2 = "0:00:00";
  Rgb label2Color = kBlue;
  std::string label7 = "正在计时...";
  std::string command1Caption = stopwatch_text::kStart;
  std::string command1Tip = stopwatch_text::kStartTip;
  bool command2Visible = false;
  std::string command2Caption = stopwatch_text::kPause;
  std::string command2Tip = stopwatch_text::kPauseTip;
  std::string text1 = "5";
  bool check2 = false;
  bool timer2Enabled = false;
  bool operator==(const StopwatchView&) const = default;
};

class Stopwatch {
 public:
  Stopwatch(SettingsStore& store, SoundPlayers& sound, Prompt& prompt, std::string programFolder);

  // User events.
  void Command1_Click();  // Start / Stop
  void Command2_Click();  // Pause / Continue
  void Timer2_Timer();    // one second of timing
  void Text1_Change(const std::string& text);
  void Check2_Click(bool ticked);

  // Assignments made by the program; like a user's change, they raise the handler when the
  // state actually changes.
  void SetText1(const std::string& text);
  void SetCheck2(bool ticked);
  void ClearStatus() { view_.label7.clear(); }

  const StopwatchView& View() const { return view_; }
  double js1() const { return js1_; }
  // Whether the next tick only changes what the page shows: no warning sound, no countdown's end.
  // Nobody misses such a tick when it comes a little late while the page is out of sight.
  bool NextTickOnlyShows() const;

 private:
  void ShowRunning();
  void ShowIdle(const char* startTip);

  SettingsStore& store_;
  SoundPlayers& sound_;
  Prompt& prompt_;
  std::string programFolder_;
  StopwatchView view_;
  double js1_ = 0;  // seconds of this run, one per tick, never taken from a clock
};

}  // namespace tkd
