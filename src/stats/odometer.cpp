// MouseOdometer: sampling, the encoded stored distances and the labels of the mouse page.
#include "stats/odometer.h"

#include <algorithm>
#include <cmath>

#include "core/number_text.h"

namespace tkd {
namespace {

constexpr char kRecordTip[] = "历史最高记录发生于：";

std::string Coordinate(int v) { return BlankNumberText(v); }

}  // namespace

// Written in full where 15 digits would not read back (beyond about 7000 km), so that it still decodes.
std::string EncodeDistance(double pixels) {
  return BlankNumberTextExact(std::floor(pixels) * kDistanceFactor + kDistanceOffset);
}

std::optional<double> DecodeDistance(const std::string& stored) {
  const double quotient = (NumericReading(stored) - kDistanceOffset) / kDistanceFactor;
  if (!StartsWithNumber(stored) || quotient != std::floor(quotient)) return std::nullopt;
  return quotient;
}

std::string MouseOdometer::Metres(double pixels) const {
  return " " + locale_.Number(pixels * kMillimetresPerPixel / 1000, 3) + "m ";
}

void MouseOdometer::Restore() {
  allMove_ = DecodeDistance(store_.Read(setting::AllMove)).value_or(0);
  maxMoveDate_ = store_.Read(setting::MaxMoveDate);
  if (const auto record = DecodeDistance(store_.Read(setting::MaxMove))) {
    maxMove_ = *record;
    view_.label24 = Metres(maxMove_);
    view_.label24Tip = kRecordTip + maxMoveDate_;
  } else {
    maxMove_ = 0;
    view_.label24 = " 0m ";
  }
}

bool MouseOdometer::Sample(PointerPosition at) {
  // A pointer standing still changes nothing: most samples cost a comparison.
  if (sampled_ && at.x == last_.x && at.y == last_.y) {
    stillMs_ = std::min(stillMs_ + NextSampleMs(), kStillBeforeSlowingMs);  // weeks of rest stay in range
    return false;
  }
  sampled_ = true;
  stillMs_ = 0;
  const double dx = static_cast<double>(at.x) - last_.x, dy = static_cast<double>(at.y) - last_.y;
  const double d = std::sqrt(dx * dx + dy * dy);
  todayMove_ += d;
  allMove_ += d;
  last_ = at;
  return true;
}

bool MouseOdometer::Sample(const std::vector<PointerPosition>& path, bool whole) {
  pathKept_ = whole;
  bool moved = false;
  for (const PointerPosition& at : path) moved = Sample(at) || moved;
  return moved;
}

std::string MouseOdometer::Label3() const { return sampled_ ? Metres(todayMove_) : ""; }

std::string MouseOdometer::Label22() const {
  return sampled_ ? "(" + Coordinate(last_.x) + "," + Coordinate(last_.y) + ")" : "";
}

void MouseOdometer::Store(const LocalTime& now) {
  store_.Write(setting::AllMove, EncodeDistance(allMove_));
  view_.label20 = " " + locale_.Number(allMove_ * kMillimetresPerPixel / 1000000, 3) + "km ";
  // The record's date is the last second in which it grew: a pointer at rest rewrites neither.
  if (maxMove_ < todayMove_ && todayMove_ != recordStored_) {
    store_.Write(setting::MaxMove, EncodeDistance(todayMove_));
    store_.Write(setting::MaxMoveDate, locale_.ShortDate(now) + " " + locale_.TimeOfDay(now));
    recordStored_ = todayMove_;
  }
}

}  // namespace tkd
