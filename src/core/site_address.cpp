// Web address checks, by hand: only the few forms the program meets.
#include "core/site_address.h"

#include <algorithm>
#include <cctype>

#include "site_config.h"

namespace tkd {
namespace {

std::string Lower(std::string_view s) {
  std::string out(s);
  std::transform(out.begin(), out.end(), out.begin(), [](unsigned char c) { return std::tolower(c); });
  return out;
}

// The length of "http://" or "https://" at the start, or 0.
std::size_t SchemeLength(std::string_view url) {
  const std::string head = Lower(url.substr(0, 8));
  if (head.rfind("http://", 0) == 0) return 7;
  if (head.rfind("https://", 0) == 0) return 8;
  return 0;
}

// Where the path begins: the first "/", "?" or "#" after the host, or the end.
std::size_t PathStart(std::string_view url) {
  const std::size_t at = url.find_first_of("/?#", SchemeLength(url));
  return at == std::string_view::npos ? url.size() : at;
}

}  // namespace

bool IsWebAddress(std::string_view url) {
  const std::size_t scheme = SchemeLength(url);
  if (scheme == 0 || PathStart(url) == scheme) return false;  // no host
  return std::none_of(url.begin(), url.end(), [](unsigned char c) {
    return c <= ' ' || c == 0x7f || c == '"' || c == '<' || c == '>' || c == '\\';
  });
}

SiteAddresses ChooseSiteAddresses(const std::optional<std::string>& baseOverride,
                                  const std::optional<std::string>& promoOverride) {
  SiteAddresses site{TKD_SITE_BASE_DEFAULT, TKD_PROMO_URL_DEFAULT};
  if (baseOverride && IsWebAddress(*baseOverride)) site.base = *baseOverride;
  if (site.base.empty() || site.base.back() != '/') site.base += '/';
  if (promoOverride && IsWebAddress(*promoOverride)) site.promo = *promoOverride;
  return site;
}

}  // namespace tkd
