// Screenshots of a window from the screen, for the test artifacts.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tkd::e2e {

struct Capture {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> pixels;  // 0x00RRGGBB, top row first
};

// The window's pixels as the screen shows them (frame included).
std::optional<Capture> CaptureWindow(HWND hwnd);

// A 24-bit BMP that any image tool opens. False when the file could not be written.
bool SaveBmp(const Capture& capture, const std::wstring& path);

// The number of different colours in the capture; a painted window has many, a failed
// capture one.
std::size_t DistinctColours(const Capture& capture);

}  // namespace tkd::e2e
