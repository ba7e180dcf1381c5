// The mouse odometer page ("鼠标统计"): how far the pointer travels in this run and over all
// runs, the best run, and where the pointer is.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/ports.h"
#include "settings/settings_store.h"

namespace tkd {

// One pixel counts as 0.265 mm: the single-precision value nearest to it, as every conversion uses.
inline constexpr double kMillimetresPerPixel = static_cast<double>(0.265f);

// Stored distances are floor(pixels) × kDistanceFactor + kDistanceOffset, so that a value edited by
// hand (or an empty one, which reads 0) no longer decodes.
inline constexpr double kDistanceFactor = 37;
inline constexpr double kDistanceOffset = 4219;
std::string EncodeDistance(double pixels);
std::optional<double> DecodeDistance(const std::string& stored);

// How often the pointer is sampled. While it moves: twenty times a second where the platform keeps
// the points it passed through between samples, so that every bend of the way is measured; as
// often as the platform's timer allows where it does not, each sample then a straight line. A
// few times a second once it has stood still for half a second, so that an idle pointer costs next
// to nothing.
inline constexpr int kSampleMovingMs = 16;  // the platform's own timer rate, 64 a second
inline constexpr int kSamplePathMs = 50;
inline constexpr int kSampleStillMs = 250;
inline constexpr int kStillBeforeSlowingMs = 500;

struct OdometerView {
  std::string label20;     // all runs, " 0.842km "
  std::string label24;     // the record, " 1.000m "
  std::string label24Tip;  // "历史最高记录发生于：" and its date
};

class MouseOdometer {
 public:
  MouseOdometer(SettingsStore& store, Locale& locale) : store_(store), locale_(locale) {}

  // Start-up: the total and the record from the registry; 0 when they fail the check.
  void Restore();
  // One sample: the straight line from the previous position (from (0, 0) at the first).
  // Returns whether the pointer moved.
  bool Sample(PointerPosition at);
  // One sample of the way the pointer went since the last, as the platform gave it (`whole` when
  // it kept every point between), each point a straight line from the one before.
  bool Sample(const std::vector<PointerPosition>& path, bool whole);
  // When the next sample is due.
  int NextSampleMs() const { return Resting() ? kSampleStillMs : pathKept_ ? kSamplePathMs : kSampleMovingMs; }
  bool Resting() const { return stillMs_ >= kStillBeforeSlowingMs; }
  // Once a second: stores the total, shows it, and keeps a record passed in this run, written
  // with the date and time of `now` in every second in which it grew; it shows from the next start.
  void Store(const LocalTime& now);

  const OdometerView& View() const { return view_; }
  // This run's distance (Label3, " 12.345m ") and the pointer (Label22, "( 512, 384)"), formatted
  // only when asked for: a moving pointer is sampled far more often than anyone can read.
  std::string Label3() const;
  std::string Label22() const;
  double AllMove() const { return allMove_; }
  double TodayMove() const { return todayMove_; }

 private:
  std::string Metres(double pixels) const;

  SettingsStore& store_;
  Locale& locale_;
  OdometerView view_;
  PointerPosition last_;
  bool sampled_ = false;
  int stillMs_ = 0;  // how long the pointer has stood still, up to kStillBeforeSlowingMs
  bool pathKept_ = false;  // the platform gave the whole way at the last sample
  // Double precision: a single-precision sum stops taking small steps after a few kilometres.
  double todayMove_ = 0;
  double allMove_ = 0;
  double maxMove_ = 0;
  double recordStored_ = 0;  // the distance last stored as this run's record
  std::string maxMoveDate_;
};

}  // namespace tkd
