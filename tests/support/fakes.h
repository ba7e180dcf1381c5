// In-memory stand-ins for every platform port, for tests that run without Windows.
#pragma once

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "core/number_text.h"
#include "platform/ports.h"

namespace tkd::testing {

// Key paths and value names compare without regard to letter case, as in the registry.
struct FakeRegistry : Registry {
  std::optional<std::string> Read(RegRoot root, const std::string& subKey,
                                  const std::string& name) override {
    auto it = values_.find(Id(root, subKey, name));
    if (it == values_.end()) return std::nullopt;
    return it->second;
  }
  bool Write(RegRoot root, const std::string& subKey, const std::string& name,
             const std::string& text) override {
    writes.push_back(name + "=" + text);
    if (root == RegRoot::LocalMachine && refuseMachineWrites) return false;
    values_[Id(root, subKey, name)] = text;
    return true;
  }
  bool HasKey(RegRoot root, const std::string& subKey) override {
    for (const auto& [id, text] : values_)
      if (std::get<0>(id) == root && std::get<1>(id) == Lower(subKey)) return true;
    return false;
  }
  // Arranges a value directly, bypassing any refusal.
  void Set(RegRoot root, const std::string& subKey, const std::string& name, const std::string& text) {
    values_[Id(root, subKey, name)] = text;
  }

  bool refuseMachineWrites = false;
  std::vector<std::string> writes;  // "name=text", in order

 private:
  using Key = std::tuple<RegRoot, std::string, std::string>;
  static std::string Lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return std::tolower(c); });
    return s;
  }
  static Key Id(RegRoot root, const std::string& subKey, const std::string& name) {
    return {root, Lower(subKey), Lower(name)};
  }
  std::map<Key, std::string> values_;
};

struct FakeClock : Clock {
  std::uint64_t MonotonicMs() override { return monotonicMs; }
  LocalTime Now() override { return now; }
  std::uint64_t monotonicMs = 0;
  LocalTime now{2026, 12, 6, 14, 5, 9};
};

// Dates as year-month-day, times as h:mm:ss: enough to see which moment was rendered.
struct FakeLocale : Locale {
  std::string ShortDate(const LocalTime& t) override {
    return std::to_string(t.year) + "-" + std::to_string(t.month) + "-" + std::to_string(t.day);
  }
  std::string TimeOfDay(const LocalTime& t) override {
    auto two = [](int v) { return (v < 10 ? "0" : "") + std::to_string(v); };
    return std::to_string(t.hour) + ":" + two(t.minute) + ":" + two(t.second);
  }
  // Grouped by threes with ",": 1234.5 with 3 decimals gives "1,234.500".
  std::string Number(double value, int decimals) override {
    std::string text = FixedText(value, decimals);
    const std::size_t point = std::min(text.find('.'), text.size());
    for (std::size_t at = point; at > 3 && std::isdigit(static_cast<unsigned char>(text[at - 4])); at -= 3)
      text.insert(at - 3, ",");
    return text;
  }
};

struct FakeCursor : Cursor {
  bool Path(std::vector<PointerPosition>& points) override {  // a platform that keeps no record
    points = {at};
    return false;
  }
  bool WatchForMove(bool watch) override {
    watching = watch && canWatch;
    return watching || !watch;
  }
  PointerPosition at;
  bool canWatch = true;
  bool watching = false;
};

struct FakeSound : SoundPlayers {
  void PlayOnSecond(const std::string& path) override { played.push_back(path); }
  void StopFirst() override { ++firstStops; }
  std::vector<std::string> played;
  int firstStops = 0;
};

struct FakePrompt : Prompt {
  void ShowMessage(const std::string& text) override {
    shown.push_back(text);
    if (whileShown) whileShown();
  }
  bool Confirm(const std::string& text, const std::string& caption) override {
    shown.push_back(caption + ": " + text);
    if (whileShown) whileShown();
    return confirms;
  }
  std::vector<std::string> shown;
  std::function<void()> whileShown;  // what happens while the modal box is up
  bool confirms = true;              // OK rather than Cancel
};

struct FakeLifetime : Lifetime {
  void EndProgram() override {
    ++ended;
    if (whenEnded) whenEnded();
  }
  int ended = 0;
  std::function<void()> whenEnded;  // what the test looks at as the process would go
};

struct FakeShutdown : Shutdown {
  void PowerOff() override { ++powerOffs; }
  int powerOffs = 0;
};

struct FakeTray : TrayIcon {
  bool Add(const std::string& tip) override {
    calls.push_back("add " + tip);
    return failingAdds == 0 || failingAdds-- == 0;
  }
  void Remove() override { calls.push_back("remove"); }
  void SetTip(const std::string& tip) override { calls.push_back("tip " + tip); }
  void ShowBalloon(const std::string& title, const std::string& text) override {
    calls.push_back("balloon " + title + ": " + text);
  }
  void HideBalloon() override { calls.push_back("hide balloon"); }
  std::vector<std::string> calls;
  int failingAdds = 0;  // adds refused before the notification area is there
};

struct FakeFrame : WindowFrame {
  bool IsNormal() override { return normal; }
  PixelRect Bounds() override { return bounds; }
  void SetTopmost(bool on) override { topmost.push_back(on); }
  bool normal = true;
  std::vector<bool> topmost;  // every request, in order
  PixelRect bounds{150, 120, 600, 500};  // 1500, 1200, 6000 and 5000 twips at 144 dots per inch
};

// One monitor at 144 dots per inch unless told otherwise: ten twips a pixel.
struct FakeMonitors : Monitors {
  FakeMonitors() = default;
  explicit FakeMonitors(std::vector<Monitor> list) : monitors(std::move(list)) {}
  std::vector<Monitor> Attached() override { return monitors; }
  std::vector<Monitor> monitors{{{0, 0, 2880, 1800}, 144}};
};

// Fetches wait until the test answers them, oldest first, as the site would.
struct FakeHttp : Http {
  void Get(const std::string& url, std::function<void(const std::string&)> done) override {
    requested.push_back(url);
    pending.push_back(std::move(done));
  }
  // Answers the oldest waiting fetch; false when none waits.
  bool Answer(const std::string& body) {
    if (pending.empty()) return false;
    auto done = std::move(pending.front());
    pending.erase(pending.begin());
    done(body);
    return true;
  }
  void CancelAll() override {
    ++cancels;
    pending.clear();
  }
  std::vector<std::string> requested;
  std::vector<std::function<void(const std::string&)>> pending;
  int cancels = 0;
};

struct FakeBrowser : Browser {
  void Open(const std::string& url) override { opened.push_back(url); }
  std::vector<std::string> opened;
};

struct FakeRandom : RandomSource {
  std::array<std::uint8_t, 16> Random128() override {
    std::array<std::uint8_t, 16> bytes{};
    for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<std::uint8_t>(next + 17 * i);
    ++next;
    return bytes;
  }
  std::uint8_t next = 0xa0;
};

}  // namespace tkd::testing
