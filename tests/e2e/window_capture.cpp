// Window screenshots: BitBlt from the screen into a DIB, written out as a BMP file.
#include "window_capture.h"

#include <cstdio>
#include <unordered_set>

namespace tkd::e2e {

std::optional<Capture> CaptureWindow(HWND hwnd) {
  RECT rect{};
  if (!GetWindowRect(hwnd, &rect)) return std::nullopt;
  Capture capture;
  capture.width = rect.right - rect.left;
  capture.height = rect.bottom - rect.top;
  if (capture.width <= 0 || capture.height <= 0) return std::nullopt;

  // Another process's window cannot paint into our DC, so the pixels come from the screen.
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = capture.width;
  info.bmiHeader.biHeight = -capture.height;  // top row first
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  bool copied = false;
  if (bitmap) {
    HGDIOBJ previous = SelectObject(memory, bitmap);
    copied = BitBlt(memory, 0, 0, capture.width, capture.height, screen, rect.left, rect.top,
                    SRCCOPY | CAPTUREBLT) != FALSE;
    GdiFlush();
    if (copied) {
      const auto* source = static_cast<const std::uint32_t*>(bits);
      capture.pixels.assign(source, source + static_cast<std::size_t>(capture.width) * capture.height);
      for (auto& pixel : capture.pixels) pixel &= 0x00FFFFFF;
    }
    SelectObject(memory, previous);
    DeleteObject(bitmap);
  }
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  if (!copied) return std::nullopt;
  return capture;
}

bool SaveBmp(const Capture& capture, const std::wstring& path) {
  const std::size_t rowBytes = (static_cast<std::size_t>(capture.width) * 3 + 3) & ~std::size_t{3};
  const std::size_t imageBytes = rowBytes * capture.height;
  BITMAPFILEHEADER file{};
  BITMAPINFOHEADER header{};
  file.bfType = 0x4D42;  // "BM"
  file.bfOffBits = sizeof(file) + sizeof(header);
  file.bfSize = static_cast<DWORD>(file.bfOffBits + imageBytes);
  header.biSize = sizeof(header);
  header.biWidth = capture.width;
  header.biHeight = capture.height;  // bottom row first, as every reader expects
  header.biPlanes = 1;
  header.biBitCount = 24;
  header.biCompression = BI_RGB;
  header.biSizeImage = static_cast<DWORD>(imageBytes);

  FILE* out = _wfopen(path.c_str(), L"wb");
  if (!out) return false;
  bool ok = std::fwrite(&file, sizeof(file), 1, out) == 1 &&
            std::fwrite(&header, sizeof(header), 1, out) == 1;
  std::vector<unsigned char> row(rowBytes, 0);
  for (int y = capture.height - 1; ok && y >= 0; --y) {
    for (int x = 0; x < capture.width; ++x) {
      const std::uint32_t pixel = capture.pixels[static_cast<std::size_t>(y) * capture.width + x];
      row[x * 3 + 0] = static_cast<unsigned char>(pixel & 0xFF);
      row[x * 3 + 1] = static_cast<unsigned char>((pixel >> 8) & 0xFF);
      row[x * 3 + 2] = static_cast<unsigned char>((pixel >> 16) & 0xFF);
    }
    ok = std::fwrite(row.data(), 1, rowBytes, out) == rowBytes;
  }
  return std::fclose(out) == 0 && ok;
}

std::size_t DistinctColours(const Capture& capture) {
  return std::unordered_set<std::uint32_t>(capture.pixels.begin(), capture.pixels.end()).size();
}

}  // namespace tkd::e2e
