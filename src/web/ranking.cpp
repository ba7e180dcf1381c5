// RefreshRanking and the identifier it looks for.
#include "web/ranking.h"

#include <algorithm>
#include <cctype>

#include "core/number_text.h"
#include "web/page_text.h"

namespace tkd {
namespace {

constexpr std::size_t kIdDigits = 32;

bool IsUserId(const std::string& text) {
  return text.size() == kIdDigits && std::all_of(text.begin(), text.end(), [](unsigned char c) {
           return std::isdigit(c) || (c >= 'a' && c <= 'f');
         });
}

}  // namespace

std::string RankText(double mingCi) {
  return mingCi == 0 ? kNoRankText : "排名：第" + NumberText(mingCi) + "名";
}

const std::string& UserId::Get() {
  if (!id_.empty()) return id_;
  id_ = store_.Read(setting::UserId);
  if (IsUserId(id_)) return id_;
  static constexpr char kHex[] = "0123456789abcdef";
  id_.clear();
  for (std::uint8_t byte : random_.Random128()) {
    id_ += kHex[byte >> 4];
    id_ += kHex[byte & 15];
  }
  store_.Write(setting::UserId, id_);
  return id_;
}

void Ranking::Restore() {
  mingCi_ = NumericReading(Restored(setting::MingCi, store_.Read(setting::MingCi)));
  text_ = RankText(mingCi_);
}

void Ranking::Refresh(std::function<void()> changed) {
  const std::string id = userId_.Get();
  web_.http.Get(web_.site.base + kRankPage, guard_.Wrap([this, id, changed = std::move(changed)](const std::string& page) {
    if (TrimBlanks(ExtractBetween(page, "<title>", "</title>")) != id) return;
    mingCi_ = NumericReading(TrimBlanks(ExtractBetween(page, "<body>", "</body>")));
    store_.WriteNumber(setting::MingCi, mingCi_);
    text_ = "排名：第" + NumberText(mingCi_) + "名";
    if (changed) changed();
  }));
}

}  // namespace tkd
