// The vendor site's base address and the promotion page: built in, or overridden from the
// environment; and what counts as a web address.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tkd {

// True for an absolute http:// or https:// address (scheme in any letter case) with a host, and
// without blanks, control characters or quotes: something a browser opens as a page and the
// shell can never take for a program.
bool IsWebAddress(std::string_view url);

struct SiteAddresses {
  std::string base;   // ends in "/"; every page of the vendor site is named relative to it
  std::string promo;  // empty: no promotion page is opened
};

// The build's addresses, each replaced by its override when that is a web address (the base
// then gets a final "/" if it lacks one); an override that is not is ignored. The overrides
// come from TIKODAN_SITE_BASE and TIKODAN_PROMO_URL.
SiteAddresses ChooseSiteAddresses(const std::optional<std::string>& baseOverride,
                                  const std::optional<std::string>& promoOverride);

inline constexpr char kSiteBaseVariable[] = "TIKODAN_SITE_BASE";
inline constexpr char kPromoUrlVariable[] = "TIKODAN_PROMO_URL";

}  // namespace tkd
