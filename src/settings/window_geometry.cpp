// WindowGeometry: restore and save of "Top", "Left", "F_Width" and "F_Height".
#include "settings/window_geometry.h"

#include <algorithm>
#include <cmath>

#include "core/number_text.h"

namespace tkd {

namespace {

// Beyond this a window's place or size means nothing to Windows (a stored "1e11" included).
constexpr double kLargestPixels = 32000;

int Clamped(double pixels) { return static_cast<int>(std::clamp(pixels, -kLargestPixels, kLargestPixels)); }

}  // namespace

int TwipsToPixels(double twips, int dpi) { return Clamped(std::round(twips * dpi / kTwipsPerInch)); }

int TwipsToPixelsAtLeast(double twips, int dpi) {
  return Clamped(std::ceil(twips * dpi / kTwipsPerInch - 1e-9));
}

double PixelsToTwips(int pixels, int dpi) {
  return std::round(static_cast<double>(pixels) * kTwipsPerInch / dpi);
}

TwipsRect WindowGeometry::Restore() {
  auto restored = [&](const Setting& row) { return NumericReading(Restored(row, store_.Read(row))); };
  TwipsRect r;
  r.top = restored(setting::Top);
  r.left = restored(setting::Left);
  r.width = restored(setting::F_Width);
  r.height = restored(setting::F_Height);
  return r;
}

void WindowGeometry::SavePosition() {
  if (!frame_.IsNormal()) return;
  const TwipsRect bounds = frame_.Bounds();
  store_.WriteNumber(setting::Left, bounds.left);
  store_.WriteNumber(setting::Top, bounds.top);
}

void WindowGeometry::SaveSize() {
  if (frame_.IsNormal()) store_.WriteNumber(setting::F_Width, frame_.Bounds().width);
  if (frame_.IsNormal()) store_.WriteNumber(setting::F_Height, frame_.Bounds().height);
}

}  // namespace tkd
