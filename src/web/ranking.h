// The user's rank among the site's users ("MingCi"), the identifier the site knows this
// installation by, and the text of the rank label.
#pragma once

#include <functional>
#include <string>

#include "settings/settings_store.h"
#include "web/web_ports.h"

namespace tkd {

inline constexpr char kRankPage[] = "tkd/test.htm";
inline constexpr double kRankTick = 120;
inline constexpr char kNoRankText[] = "排名：（目前您的积分太少，还没有排名哦）";

// "排名：第15名"; the no-rank text for 0.
std::string RankText(double mingCi);

// A random 128-bit identifier as 32 lower-case hexadecimal digits, made on first need and kept
// in the settings key. Nothing about the machine or its user goes into it.
class UserId {
 public:
  UserId(SettingsStore& store, RandomSource& random) : store_(store), random_(random) {}
  // The stored identifier; a new one, stored at once, when there is none or it is malformed.
  const std::string& Get();

 private:
  SettingsStore& store_;
  RandomSource& random_;
  std::string id_;
};

class Ranking {
 public:
  Ranking(SettingsStore& store, const WebPorts& web) : store_(store), web_(web), userId_(store, web.random) {}

  // Start-up: the stored rank when above 0, else none, and the label's text for it.
  void Restore();
  // RefreshRanking: asks the rank page and returns at once. When the page's title names this
  // installation exactly (blanks, tabs and line breaks around either text aside), its body's
  // number becomes the rank: stored and shown, then `changed`
  // runs. Any other answer changes nothing.
  void Refresh(std::function<void()> changed = nullptr);

  double MingCi() const { return mingCi_; }
  const std::string& Text() const { return text_; }  // the rank label Label31

 private:
  SettingsStore& store_;
  const WebPorts& web_;
  UserId userId_;
  double mingCi_ = 0;
  std::string text_ = kNoRankText;
  AnswerGuard guard_;
};

}  // namespace tkd
