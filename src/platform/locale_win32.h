// The locale port: dates and times in the user's regional format.
#pragma once

#include "platform/ports.h"

namespace tkd {

// Both return "" for a moment the system cannot format (e.g. month 13).
class LocaleWin32 : public Locale {
 public:
  std::string ShortDate(const LocalTime& t) override;
  std::string TimeOfDay(const LocalTime& t) override;
  std::string Number(double value, int decimals) override;
};

}  // namespace tkd
