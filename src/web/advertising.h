// The advertising panel FormHide above the taskbar, and the promotion page opened at each
// multiple of the advertising interval of total use.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "settings/settings_store.h"
#include "web/web_ports.h"

namespace tkd {

inline constexpr double kPromotionUnit = 3678;  // seconds in one "hour" of the interval
inline constexpr double kAdPanelClientWidth = 5160, kAdPanelClientHeight = 3255;  // twips
inline constexpr int kAdPages = 5;

// The screen as the panel places itself on it.
struct Screen {
  double width = 0, height = 0;  // twips
  double twipsPerPixelX = 15;
  int workAreaBottom = 0;        // pixels
};

// GetTaskbarHeight: the strip between the work area's bottom and the screen's, in twips as a
// 16-bit number; 0 when the taskbar stands elsewhere or is hidden.
std::int16_t GetTaskbarHeight(const Screen& screen);

// The program's own pseudo-random sequence, never seeded from the clock: every run draws the
// same pages in the same order.
class AdSequence {
 public:
  float Next();  // in [0, 1), single precision
  int NextPage() { return 1 + static_cast<int>(5 * Next()); }  // 1 ... 5

 private:
  std::uint32_t state_ = 0x2545F491u;
};

struct AdPanelView {
  std::string caption;  // "ad1" ... "ad5"
  std::string url;      // the page its browser control shows
  TwipsRect place;      // outer bounds
  bool open = true;
};

// FormHide: placed by its own load, closed by its own one-second timer after ADtime + 1 ticks.
class AdPanel {
 public:
  // Form_Load, for a window of the given outer size on `screen`.
  AdPanel(SettingsStore& store, const std::string& siteBase, AdSequence& sequence, const Screen& screen,
          double outerWidth, double outerHeight);
  void Timer1_Timer();
  const AdPanelView& View() const { return view_; }
  double T1() const { return t1_; }

 private:
  AdPanelView view_;
  double t1_ = 0;      // whole seconds open
  double adTime_ = 0;  // seconds to stay open
};

// The panel's life, and the promotion page of the housekeeping tick.
class Advertising {
 public:
  Advertising(SettingsStore& store, const WebPorts& web) : store_(store), web_(web) {}

  // Label5_DblClick: loads the panel and returns true; when one is open, returns false (the
  // shell only brings it forward: no new page, its time goes on).
  bool OpenPanel(const Screen& screen, double outerWidth, double outerHeight);
  AdPanel* Panel() { return panel_ ? &*panel_ : nullptr; }
  // The panel's timer; the panel goes when its time is up. The user may close it any time.
  void PanelTimer();
  void PanelClosed() { panel_.reset(); }

  // At each multiple of int(adInterval x 3678) seconds of total use, the promotion page.
  void PromotionTick(double usageTotal, double adInterval);

 private:
  SettingsStore& store_;
  const WebPorts& web_;
  AdSequence sequence_;
  std::optional<AdPanel> panel_;
};

}  // namespace tkd
