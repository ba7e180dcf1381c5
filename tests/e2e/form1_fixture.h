// The fixture every end-to-end test starts from: a wiped registry, and the program ended afterwards.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <set>
#include <string>

#include "app_driver.h"
#include "registry_access.h"
#include "wait.h"

namespace tkd::e2e {

// The first start in a new prefix loads fonts and the desktop: allow for it.
inline constexpr Ms kStartTimeout = 30s;
// What a click or a typed text needs to show; the program reacts at once.
inline constexpr Ms kReactTimeout = 3s;
// The stopwatch page's tab.
inline constexpr wchar_t kStopwatchTab[] = L"TiKoDan";

class Form1Test : public testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override { EndApp(); }

  // Starts TiKoDan.exe and waits for its main window; a fatal failure when it does not show.
  // Call through ASSERT_NO_FATAL_FAILURE.
  void StartApp();
  void EndApp();
  // Clicks the stopwatch's tab and waits for its controls to show. Call through
  // ASSERT_NO_FATAL_FAILURE.
  void OpenStopwatchPage();

  Form1Page& Main() { return *main_; }
  AppProcess& App() { return *app_; }

  // The usage total in the settings key: it grows by one with every housekeeping tick, which
  // makes it the program's own clock for "a tick has passed". 0 before the first tick.
  static double UsageTotal();
  // Waits until `count` more housekeeping ticks have run.
  testing::AssertionResult TicksPass(int count, Ms timeout);

  std::unique_ptr<AppProcess> app_;
  std::optional<Form1Page> main_;
};

// "a, b, c" for failure messages.
std::string Join(const std::set<std::wstring>& names);

// The window's outer bounds in pixels, as the program stores them in twips at 96 DPI.
struct PixelRect {
  double left, top, width, height;
};
PixelRect PixelsOf(const RECT& rect);
inline constexpr double kTwipsPerPixel = 15;

}  // namespace tkd::e2e
