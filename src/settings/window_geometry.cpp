// WindowGeometry: restore and save of "Top", "Left", "F_Width" and "F_Height" across monitors.
#include "settings/window_geometry.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "core/number_text.h"

namespace tkd {

namespace {

// Beyond this a window's place or size means nothing to Windows (a stored "1e11" included).
constexpr double kLargestPixels = 32000;

int Clamped(double pixels) { return static_cast<int>(std::clamp(pixels, -kLargestPixels, kLargestPixels)); }

// How far a point lies outside a rectangle (0 inside), in the rectangle's own units.
template <class Rect>
double DistanceOutside(const Rect& r, double x, double y) {
  const double dx = std::max({r.left - x, 0.0, x - (r.left + r.width)});
  const double dy = std::max({r.top - y, 0.0, y - (r.top + r.height)});
  return std::hypot(dx, dy);
}

// The rectangle that holds the point, else the nearest; the first of equals.
template <class Rect>
std::size_t Holding(const std::vector<Rect>& rects, double x, double y) {
  std::size_t best = 0;
  double bestDistance = std::numeric_limits<double>::infinity();
  for (std::size_t i = 0; i < rects.size(); ++i) {
    const bool inside = x >= rects[i].left && x < rects[i].left + rects[i].width && y >= rects[i].top &&
                        y < rects[i].top + rects[i].height;
    const double distance = inside ? -1 : DistanceOutside(rects[i], x, y);
    if (distance < bestDistance) best = i, bestDistance = distance;
  }
  return best;
}

// The fewest pixels whose twips are not below the size's: the minimum size is never undercut, and
// a size saved from pixels comes back as those pixels.
int SizeInPixels(double twips, int dpi) {
  const int pixels = TwipsToPixels(twips, dpi);
  return PixelsToTwips(pixels, dpi) < twips ? Clamped(pixels + 1.0) : pixels;
}

}  // namespace

int TwipsToPixels(double twips, int dpi) { return Clamped(std::round(twips * dpi / kTwipsPerInch)); }

int TwipsToPixelsAtLeast(double twips, int dpi) {
  return Clamped(std::ceil(twips * dpi / kTwipsPerInch - 1e-9));
}

double PixelsToTwips(int pixels, int dpi) {
  return std::round(static_cast<double>(pixels) * kTwipsPerInch / dpi);
}

ScreenLayout::ScreenLayout(std::vector<Monitor> monitors) : monitors_(std::move(monitors)) {
  if (monitors_.empty()) monitors_.push_back({{0, 0, 1920, 1080}, 96});
  int lowest = monitors_.front().dpi;
  for (Monitor& m : monitors_) {
    m.dpi = std::max(m.dpi, 1);
    lowest = std::min(lowest, m.dpi);
  }
  cornerTwipsPerPixel_ = static_cast<double>(kTwipsPerInch) / lowest;
}

TwipsRect ScreenLayout::TwipsOf(const Monitor& m) const {
  return {m.bounds.left * cornerTwipsPerPixel_, m.bounds.top * cornerTwipsPerPixel_,
          PixelsToTwips(m.bounds.width, m.dpi), PixelsToTwips(m.bounds.height, m.dpi)};
}

TwipsRect ScreenLayout::ToTwips(const PixelRect& place) const {
  std::vector<PixelRect> pixels;
  for (const Monitor& m : monitors_) pixels.push_back(m.bounds);
  const Monitor& m = monitors_[Holding(pixels, place.left, place.top)];
  const TwipsRect corner = TwipsOf(m);
  return {corner.left + PixelsToTwips(place.left - m.bounds.left, m.dpi),
          corner.top + PixelsToTwips(place.top - m.bounds.top, m.dpi), PixelsToTwips(place.width, m.dpi),
          PixelsToTwips(place.height, m.dpi)};
}

PixelRect ScreenLayout::ToPixels(const TwipsRect& place) const {
  std::vector<TwipsRect> twips;
  for (const Monitor& m : monitors_) twips.push_back(TwipsOf(m));
  const std::size_t at = Holding(twips, place.left, place.top);
  const Monitor& m = monitors_[at];
  return {Clamped(m.bounds.left + static_cast<double>(TwipsToPixels(place.left - twips[at].left, m.dpi))),
          Clamped(m.bounds.top + static_cast<double>(TwipsToPixels(place.top - twips[at].top, m.dpi))),
          SizeInPixels(place.width, m.dpi), SizeInPixels(place.height, m.dpi)};
}

bool ScreenLayout::OnAMonitor(const PixelRect& place) const {
  return std::any_of(monitors_.begin(), monitors_.end(), [&](const Monitor& m) {
    const PixelRect& b = m.bounds;
    return place.left < b.left + b.width && b.left < place.left + place.width && place.top < b.top + b.height &&
           b.top < place.top + place.height;
  });
}

PixelRect WindowGeometry::Restore() {
  auto restored = [&](const Setting& row) { return NumericReading(Restored(row, store_.Read(row))); };
  TwipsRect r;
  r.top = restored(setting::Top);
  r.left = restored(setting::Left);
  r.width = restored(setting::F_Width);
  r.height = restored(setting::F_Height);
  const ScreenLayout layout(monitors_.Attached());
  const PixelRect place = layout.ToPixels(r);
  if (layout.OnAMonitor(place)) return place;
  // Saved on a monitor that is no longer attached (or edited to lie nowhere): the default place.
  r.left = r.top = kDefaultEdge;
  return layout.ToPixels(r);
}

void WindowGeometry::SavePosition() {
  if (!frame_.IsNormal()) return;
  const TwipsRect twips = ScreenLayout(monitors_.Attached()).ToTwips(frame_.Bounds());
  store_.WriteNumber(setting::Left, twips.left);
  store_.WriteNumber(setting::Top, twips.top);
}

void WindowGeometry::SaveSize() {
  if (frame_.IsNormal())
    store_.WriteNumber(setting::F_Width, ScreenLayout(monitors_.Attached()).ToTwips(frame_.Bounds()).width);
  if (frame_.IsNormal())
    store_.WriteNumber(setting::F_Height, ScreenLayout(monitors_.Attached()).ToTwips(frame_.Bounds()).height);
}

}  // namespace tkd
