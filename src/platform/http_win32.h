// The Http port over WinHTTP: each fetch runs on a worker thread of its own and its answer comes
// back to the asking thread as a message to a message-only window.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>
#include <string>

#include "platform/ports.h"

namespace tkd {

// The bounds of one fetch, connecting, sending, redirects and receiving together (WinHTTP follows
// the redirects itself).
inline constexpr DWORD kFetchLimitMs = 10000;
inline constexpr std::size_t kBodyLimit = 64 * 1024;
inline constexpr DWORD kRedirectLimit = 3;

// How long the program's end waits for the threads of fetches it broke off.
inline constexpr DWORD kCancelWaitMs = 500;

// Lets another thread break off a fetch: the request it is blocked in is closed under it.
class FetchCancel {
 public:
  // The fetch's request, while it is open; false when the fetch has been broken off already.
  bool Hold(void* request);
  // The fetch is done with its request; false when Cancel closed it (its owner must not).
  bool Drop();
  void Cancel();

 private:
  std::mutex mutex_;
  bool cancelled_ = false;
  bool closed_ = false;  // Cancel closed the request held
  void* request_ = nullptr;
};

// Where a fetch finds its proxy: WinHTTP's automatic proxy where Windows has it (8.1 and later),
// else the user's Internet settings as Windows 7 keeps them. The program always asks for the
// first; the second alone is there for the tests, which have no Windows 7 to fall back on.
enum class ProxyLookup { Automatic, UserSettings };

// The whole fetch on the calling thread: the body as UTF-8 (decoded from UTF-8, else from the
// ANSI code page), or empty text on any failure. Exposed for the worker and the Wine tests.
std::string FetchBlocking(const std::string& url, DWORD limitMs = kFetchLimitMs, FetchCancel* cancel = nullptr,
                          ProxyLookup lookup = ProxyLookup::Automatic);

class HttpWin32 : public Http {
 public:
  HttpWin32();  // on the thread whose messages carry the answers
  ~HttpWin32() override;
  HttpWin32(const HttpWin32&) = delete;
  HttpWin32& operator=(const HttpWin32&) = delete;

  // Without the window that carries answers, the answer is empty text at once.
  void Get(const std::string& url, std::function<void(const std::string&)> done) override;
  void CancelAll() override;

 private:
  static LRESULT CALLBACK WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  void Deliver(UINT_PTR id, const std::string& body);

  HWND hwnd_ = nullptr;
  UINT_PTR nextId_ = 1;
  std::map<UINT_PTR, std::function<void(const std::string&)>> waiting_;
  // The workers still running, and a way to break each one off.
  struct Workers {
    std::mutex mutex;
    std::condition_variable finished;
    std::map<UINT_PTR, std::shared_ptr<FetchCancel>> running;
  };
  std::shared_ptr<Workers> workers_ = std::make_shared<Workers>();
};

}  // namespace tkd
