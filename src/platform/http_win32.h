// The Http port over WinHTTP: each fetch runs on a worker thread of its own and its answer comes
// back to the asking thread as a message to a message-only window.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <map>
#include <string>

#include "platform/ports.h"

namespace tkd {

// The bounds of one fetch, connecting, sending, redirects and receiving together.
inline constexpr DWORD kFetchLimitMs = 10000;
inline constexpr std::size_t kBodyLimit = 64 * 1024;
inline constexpr int kRedirectLimit = 3;

// The whole fetch on the calling thread: the body as UTF-8 (decoded from UTF-8, else from the
// ANSI code page), or empty text on any failure. Exposed for the worker and the Wine tests.
std::string FetchBlocking(const std::string& url, DWORD limitMs = kFetchLimitMs);

class HttpWin32 : public Http {
 public:
  HttpWin32();  // on the thread whose messages carry the answers
  ~HttpWin32() override;
  HttpWin32(const HttpWin32&) = delete;
  HttpWin32& operator=(const HttpWin32&) = delete;

  void Get(const std::string& url, std::function<void(const std::string&)> done) override;

 private:
  static LRESULT CALLBACK WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  void Deliver(UINT_PTR id, const std::string& body);

  HWND hwnd_ = nullptr;
  UINT_PTR nextId_ = 1;
  std::map<UINT_PTR, std::function<void(const std::string&)>> waiting_;
};

}  // namespace tkd
