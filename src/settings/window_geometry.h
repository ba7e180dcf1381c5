// The main window's place and size: restored from, and kept in, the registry in twips.
#pragma once

#include <vector>

#include "platform/ports.h"
#include "settings/settings_store.h"

namespace tkd {

inline constexpr int kTwipsPerInch = 1440;

// Twips and pixels at a given dots-per-inch. Sizes round up, so that a window made from a stored
// size is never a fraction of a pixel below its minimum.
int TwipsToPixels(double twips, int dpi);
int TwipsToPixelsAtLeast(double twips, int dpi);
double PixelsToTwips(int pixels, int dpi);

// Twips across monitors of different scales. Within a monitor a twip is a twip at that monitor's
// DPI, so that the window keeps its size in inches; each monitor's corner sits at its pixels
// times the twips of a pixel at the lowest DPI attached, so that no two monitors' twips overlap
// and every place converts back to where it was. With every monitor at one DPI this is plain
// pixels times 1440 / DPI.
class ScreenLayout {
 public:
  explicit ScreenLayout(std::vector<Monitor> monitors);

  // A place in pixels, in twips of the monitor that holds its top-left corner (or is nearest).
  TwipsRect ToTwips(const PixelRect& place) const;
  // A place in twips, in pixels of the monitor whose twips hold its top-left corner (or are nearest).
  PixelRect ToPixels(const TwipsRect& place) const;
  bool OnAMonitor(const PixelRect& place) const;

 private:
  TwipsRect TwipsOf(const Monitor& m) const;
  std::vector<Monitor> monitors_;
  double cornerTwipsPerPixel_;
};

class WindowGeometry {
 public:
  WindowGeometry(SettingsStore& store, WindowFrame& frame, Monitors& monitors)
      : store_(store), frame_(frame), monitors_(monitors) {}

  // Where the window opens: top, left, width and height under their restore rules, on the monitor
  // they were saved on; at the default place when that lies on no monitor attached now.
  PixelRect Restore();
  // Kept only while the window is in its normal state, which is asked afresh for each value.
  void SavePosition();
  void SaveSize();

 private:
  SettingsStore& store_;
  WindowFrame& frame_;
  Monitors& monitors_;
};

}  // namespace tkd
