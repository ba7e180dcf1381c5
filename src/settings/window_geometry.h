// The main window's place and size: restored from, and kept in, the registry in twips.
#pragma once

#include "platform/ports.h"
#include "settings/settings_store.h"

namespace tkd {

inline constexpr int kTwipsPerInch = 1440;

// Twips and pixels at a given dots-per-inch. Sizes round up, so that a window made from a stored
// size is never a fraction of a pixel below its minimum.
int TwipsToPixels(double twips, int dpi);
int TwipsToPixelsAtLeast(double twips, int dpi);
double PixelsToTwips(int pixels, int dpi);

class WindowGeometry {
 public:
  WindowGeometry(SettingsStore& store, WindowFrame& frame) : store_(store), frame_(frame) {}

  // Top, left, width and height under their restore rules; a place beyond the screen is kept.
  TwipsRect Restore();
  // Kept only while the window is in its normal state, which is asked afresh for each value.
  void SavePosition();
  void SaveSize();

 private:
  SettingsStore& store_;
  WindowFrame& frame_;
};

}  // namespace tkd
