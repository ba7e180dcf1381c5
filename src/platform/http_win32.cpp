// HttpWin32: WinHTTP in blocking mode on one worker thread per fetch, through the user's proxy and
// WinHTTP's own redirects, each step's time-outs set to what is left of the fetch's ten seconds,
// and a timer on the asking thread as the last word.
#include "platform/http_win32.h"

#include <winhttp.h>

#include <chrono>
#include <memory>
#include <thread>

#include "core/site_address.h"
#include "platform/system_library_win32.h"
#include "platform/text_win32.h"

namespace tkd {
namespace {

constexpr UINT kMsgFetched = WM_APP + 1;  // wParam: the fetch's id; lParam: a new std::string
constexpr wchar_t kWindowClass[] = L"TiKoDanHttpAnswers";

// WinHTTP is loaded by the first fetch, not at start-up (two minutes in, or from the update
// dialog): its entry points, all found or none. Each is in Windows 7 SP1's winhttp.dll.
struct WinHttpApi {
  decltype(&::WinHttpCloseHandle) CloseHandle = nullptr;
  decltype(&::WinHttpConnect) Connect = nullptr;
  decltype(&::WinHttpCrackUrl) CrackUrl = nullptr;
  decltype(&::WinHttpGetIEProxyConfigForCurrentUser) GetIEProxyConfigForCurrentUser = nullptr;
  decltype(&::WinHttpGetProxyForUrl) GetProxyForUrl = nullptr;
  decltype(&::WinHttpOpen) Open = nullptr;
  decltype(&::WinHttpOpenRequest) OpenRequest = nullptr;
  decltype(&::WinHttpQueryDataAvailable) QueryDataAvailable = nullptr;
  decltype(&::WinHttpQueryHeaders) QueryHeaders = nullptr;
  decltype(&::WinHttpReadData) ReadData = nullptr;
  decltype(&::WinHttpReceiveResponse) ReceiveResponse = nullptr;
  decltype(&::WinHttpSendRequest) SendRequest = nullptr;
  decltype(&::WinHttpSetOption) SetOption = nullptr;
  decltype(&::WinHttpSetTimeouts) SetTimeouts = nullptr;
};

template <class Function>
void Find(Function& function, const char* name) {
  function = SystemFunction<Function>(L"winhttp.dll", name);
}

const WinHttpApi* WinHttp() {
  static const WinHttpApi api = [] {
    WinHttpApi a;
    Find(a.CloseHandle, "WinHttpCloseHandle");
    Find(a.Connect, "WinHttpConnect");
    Find(a.CrackUrl, "WinHttpCrackUrl");
    Find(a.GetIEProxyConfigForCurrentUser, "WinHttpGetIEProxyConfigForCurrentUser");
    Find(a.GetProxyForUrl, "WinHttpGetProxyForUrl");
    Find(a.Open, "WinHttpOpen");
    Find(a.OpenRequest, "WinHttpOpenRequest");
    Find(a.QueryDataAvailable, "WinHttpQueryDataAvailable");
    Find(a.QueryHeaders, "WinHttpQueryHeaders");
    Find(a.ReadData, "WinHttpReadData");
    Find(a.ReceiveResponse, "WinHttpReceiveResponse");
    Find(a.SendRequest, "WinHttpSendRequest");
    Find(a.SetOption, "WinHttpSetOption");
    Find(a.SetTimeouts, "WinHttpSetTimeouts");
    return a;
  }();
  const bool all = api.CloseHandle && api.Connect && api.CrackUrl && api.GetIEProxyConfigForCurrentUser &&
                   api.GetProxyForUrl && api.Open && api.OpenRequest && api.QueryDataAvailable && api.QueryHeaders &&
                   api.ReadData && api.ReceiveResponse && api.SendRequest && api.SetOption && api.SetTimeouts;
  return all ? &api : nullptr;
}

struct InternetDeleter {
  void operator()(HINTERNET handle) const { WinHttp()->CloseHandle(handle); }
};
using UniqueHinternet = std::unique_ptr<void, InternetDeleter>;

// The texts WinHTTP hands out in the proxy structures, which the caller frees with GlobalFree.
struct GlobalDeleter {
  void operator()(wchar_t* text) const { GlobalFree(text); }
};
using GlobalText = std::unique_ptr<wchar_t, GlobalDeleter>;

constexpr wchar_t kAgent[] = L"TiKoDan";

UniqueHinternet OpenSession(DWORD access, const wchar_t* proxy = WINHTTP_NO_PROXY_NAME,
                            const wchar_t* bypass = WINHTTP_NO_PROXY_BYPASS) {
  return UniqueHinternet(WinHttp()->Open(kAgent, access, proxy, bypass, 0));
}

// Windows 7's way to the user's proxy: the Internet settings, where an auto-config script or
// auto-detection goes before a named proxy and its bypass list, and WinHTTP's own default
// (netsh's) when they name none. The proxy is the session's, so a redirect goes through the one
// found for the first address. It is given to WinHttpOpen rather than set on the request, as
// Wine 8 ignores WINHTTP_OPTION_PROXY.
UniqueHinternet UserProxySession(const std::wstring& url) {
  WINHTTP_CURRENT_USER_IE_PROXY_CONFIG user{};
  if (!WinHttp()->GetIEProxyConfigForCurrentUser(&user)) return OpenSession(WINHTTP_ACCESS_TYPE_DEFAULT_PROXY);
  const GlobalText script(user.lpszAutoConfigUrl), named(user.lpszProxy), namedBypass(user.lpszProxyBypass);
  if (user.fAutoDetect || script) {
    WINHTTP_AUTOPROXY_OPTIONS options{};
    options.dwFlags = (user.fAutoDetect ? WINHTTP_AUTOPROXY_AUTO_DETECT : 0) | (script ? WINHTTP_AUTOPROXY_CONFIG_URL : 0);
    options.dwAutoDetectFlags = user.fAutoDetect ? WINHTTP_AUTO_DETECT_TYPE_DHCP | WINHTTP_AUTO_DETECT_TYPE_DNS_A : 0;
    options.lpszAutoConfigUrl = script.get();
    WINHTTP_PROXY_INFO found{};
    const UniqueHinternet finder = OpenSession(WINHTTP_ACCESS_TYPE_NO_PROXY);
    if (finder && WinHttp()->GetProxyForUrl(finder.get(), url.c_str(), &options, &found)) {
      const GlobalText proxy(found.lpszProxy), bypass(found.lpszProxyBypass);
      return proxy ? OpenSession(WINHTTP_ACCESS_TYPE_NAMED_PROXY, proxy.get(), bypass ? bypass.get() : WINHTTP_NO_PROXY_BYPASS)
                   : OpenSession(WINHTTP_ACCESS_TYPE_NO_PROXY);  // the script says DIRECT
    }
  }
  if (named && *named)
    return OpenSession(WINHTTP_ACCESS_TYPE_NAMED_PROXY, named.get(), namedBypass ? namedBypass.get() : WINHTTP_NO_PROXY_BYPASS);
  return OpenSession(WINHTTP_ACCESS_TYPE_DEFAULT_PROXY);
}

// WinHTTP's automatic proxy, which Windows 7 refuses as an invalid parameter. Wine 8 opens such a
// session but takes no proxy for it from anywhere (not the user's settings, not WinHTTP's default,
// not http_proxy): under Wine it goes direct.
UniqueHinternet Session(const std::wstring& url, ProxyLookup lookup) {
  if (lookup == ProxyLookup::Automatic) {
    UniqueHinternet session = OpenSession(WINHTTP_ACCESS_TYPE_AUTOMATIC_PROXY);
    if (session || GetLastError() != ERROR_INVALID_PARAMETER) return session;
  }
  return UserProxySession(url);
}

using Steady = std::chrono::steady_clock;

// Milliseconds left before the deadline, at least 1 while any are left, 0 after.
int MsLeft(Steady::time_point deadline) {
  const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Steady::now()).count();
  return left <= 0 ? 0 : static_cast<int>(left);
}

bool Bound(HINTERNET request, Steady::time_point deadline) {
  const int left = MsLeft(deadline);
  return left > 0 && WinHttp()->SetTimeouts(request, left, left, left, left);
}

bool SetNumber(HINTERNET request, DWORD option, DWORD value) {
  return WinHttp()->SetOption(request, option, &value, sizeof value);
}

DWORD NumberHeader(HINTERNET request, DWORD query, DWORD otherwise) {
  DWORD value = 0, size = sizeof value;
  return WinHttp()->QueryHeaders(request, query | WINHTTP_QUERY_FLAG_NUMBER, WINHTTP_HEADER_NAME_BY_INDEX, &value, &size,
                                 WINHTTP_NO_HEADER_INDEX)
             ? value
             : otherwise;
}

// UTF-8 when the bytes are valid UTF-8 (without a byte-order mark), else the ANSI code page's.
std::string Decode(std::string bytes) {
  if (bytes.rfind("\xEF\xBB\xBF", 0) == 0) bytes.erase(0, 3);
  if (bytes.empty()) return bytes;
  const int length = static_cast<int>(bytes.size());
  if (MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, bytes.data(), length, nullptr, 0) > 0) return bytes;
  std::wstring wide(static_cast<std::size_t>(MultiByteToWideChar(CP_ACP, 0, bytes.data(), length, nullptr, 0)), L'\0');
  MultiByteToWideChar(CP_ACP, 0, bytes.data(), length, wide.data(), static_cast<int>(wide.size()));
  return WideToUtf8(wide);
}

// Holds a request open for FetchCancel while the fetch works on it, and lets go of it after.
struct HeldRequest {
  HeldRequest(FetchCancel* cancel, UniqueHinternet& request) : cancel(cancel), request(request) {}
  ~HeldRequest() {
    if (cancel && !cancel->Drop()) (void)request.release();  // closed by Cancel already
  }
  bool Held() { return !cancel || cancel->Hold(request.get()); }
  FetchCancel* cancel;
  UniqueHinternet& request;
};

// The request, answered after the redirects WinHTTP follows: at most three, to http or https,
// never from https to http. A redirect it does not follow (one too many, one without a Location,
// one it refuses) fails the request or leaves its 3xx as the answer, which is no 2xx. Wine 8 keeps
// both options but follows only 301, 302 and 307 (a 303 or 308 is its answer, so such a fetch
// fails there), and takes a Location with another scheme (ftp:) for a path on the same server.
bool Answered(HINTERNET request, Steady::time_point deadline) {
  return SetNumber(request, WINHTTP_OPTION_MAX_HTTP_AUTOMATIC_REDIRECTS, kRedirectLimit) &&
         SetNumber(request, WINHTTP_OPTION_REDIRECT_POLICY, WINHTTP_OPTION_REDIRECT_POLICY_DISALLOW_HTTPS_TO_HTTP) &&
         Bound(request, deadline) &&
         WinHttp()->SendRequest(request, WINHTTP_NO_ADDITIONAL_HEADERS, 0, WINHTTP_NO_REQUEST_DATA, 0, 0, 0) &&
         Bound(request, deadline) && WinHttp()->ReceiveResponse(request, nullptr);
}

// The body of a 2xx answer of at most kBodyLimit bytes, read before the deadline.
bool ReadBody(HINTERNET request, Steady::time_point deadline, std::string& out) {
  const DWORD status = NumberHeader(request, WINHTTP_QUERY_STATUS_CODE, 0);
  if (status < 200 || status > 299 || NumberHeader(request, WINHTTP_QUERY_CONTENT_LENGTH, 0) > kBodyLimit) return false;
  for (;;) {
    DWORD available = 0;
    if (!Bound(request, deadline) || !WinHttp()->QueryDataAvailable(request, &available)) return false;
    if (available == 0) return true;
    if (out.size() + available > kBodyLimit) return false;
    const std::size_t at = out.size();
    out.resize(at + available);
    DWORD read = 0;
    if (!WinHttp()->ReadData(request, out.data() + at, available, &read)) return false;
    out.resize(at + read);
    if (MsLeft(deadline) == 0) return false;
  }
}

}  // namespace

bool FetchCancel::Hold(void* request) {
  const std::lock_guard<std::mutex> lock(mutex_);
  if (!cancelled_) request_ = request;
  return !cancelled_;
}

bool FetchCancel::Drop() {
  const std::lock_guard<std::mutex> lock(mutex_);
  const bool closedHere = closed_;
  request_ = nullptr;
  closed_ = false;
  return !closedHere;
}

// Closing the request handle from another thread makes the blocking call in it fail at once.
void FetchCancel::Cancel() {
  const std::lock_guard<std::mutex> lock(mutex_);
  cancelled_ = true;
  if (request_ && WinHttp()) {
    WinHttp()->CloseHandle(request_);
    closed_ = true;
  }
  request_ = nullptr;
}

// WinHTTP follows the redirects inside ReceiveResponse, each with the time-outs last set: a chain
// of slow hops can outlast the deadline, and the asking thread's timer then breaks the fetch off.
std::string FetchBlocking(const std::string& url, DWORD limitMs, FetchCancel* cancel, ProxyLookup lookup) {
  const Steady::time_point deadline = Steady::now() + std::chrono::milliseconds(limitMs);
  if (!WinHttp() || !IsWebAddress(url)) return "";
  const std::wstring wide = Utf8ToWide(url);
  wchar_t host[256] = L"";
  URL_COMPONENTS parts{};
  parts.dwStructSize = sizeof parts;
  parts.lpszHostName = host;
  parts.dwHostNameLength = 256;
  parts.dwUrlPathLength = parts.dwExtraInfoLength = static_cast<DWORD>(-1);
  if (!WinHttp()->CrackUrl(wide.c_str(), 0, 0, &parts)) return "";
  std::wstring path(parts.lpszUrlPath, parts.dwUrlPathLength);
  path.append(parts.lpszExtraInfo, parts.dwExtraInfoLength);
  if (path.empty()) path = L"/";
  const UniqueHinternet session = Session(wide, lookup);
  const UniqueHinternet connection(session ? WinHttp()->Connect(session.get(), host, parts.nPort, 0) : nullptr);
  const DWORD secure = parts.nScheme == INTERNET_SCHEME_HTTPS ? WINHTTP_FLAG_SECURE : 0;
  UniqueHinternet request(connection ? WinHttp()->OpenRequest(connection.get(), L"GET", path.c_str(), nullptr,
                                                              WINHTTP_NO_REFERER, WINHTTP_DEFAULT_ACCEPT_TYPES, secure)
                                     : nullptr);
  HeldRequest held(cancel, request);
  std::string body;
  if (!request || !held.Held() || !Answered(request.get(), deadline) || !ReadBody(request.get(), deadline, body)) return "";
  return Decode(std::move(body));
}

HttpWin32::HttpWin32() {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = WndProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = kWindowClass;
  RegisterClassExW(&wc);  // fails harmlessly when a second instance registers it again
  hwnd_ = CreateWindowExW(0, kWindowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
  if (hwnd_) SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

HttpWin32::~HttpWin32() {
  // Answers still on their way find no window, and their worker frees them.
  if (hwnd_) DestroyWindow(hwnd_);
}

void HttpWin32::Get(const std::string& url, std::function<void(const std::string&)> done) {
  if (!hwnd_) {  // no answer could ever come back: the fetch fails now
    done("");
    return;
  }
  const UINT_PTR id = nextId_++;
  waiting_[id] = std::move(done);
  if (!SetTimer(hwnd_, id, kFetchLimitMs, nullptr)) {  // fail at the next message instead
    PostMessageW(hwnd_, kMsgFetched, id, reinterpret_cast<LPARAM>(new std::string()));
    return;
  }
  auto cancel = std::make_shared<FetchCancel>();
  {
    const std::lock_guard<std::mutex> lock(workers_->mutex);
    workers_->running[id] = cancel;
  }
  std::thread([url, hwnd = hwnd_, id, cancel, workers = workers_] {
    auto* body = new std::string(FetchBlocking(url, kFetchLimitMs, cancel.get()));
    if (!PostMessageW(hwnd, kMsgFetched, id, reinterpret_cast<LPARAM>(body))) delete body;
    const std::lock_guard<std::mutex> lock(workers->mutex);
    workers->running.erase(id);
    workers->finished.notify_all();
  }).detach();
}

void HttpWin32::CancelAll() {
  waiting_.clear();  // broken off unanswered
  std::unique_lock<std::mutex> lock(workers_->mutex);
  for (auto& [id, cancel] : workers_->running) cancel->Cancel();
  workers_->finished.wait_for(lock, std::chrono::milliseconds(kCancelWaitMs),
                              [&] { return workers_->running.empty(); });
}

void HttpWin32::Deliver(UINT_PTR id, const std::string& body) {
  KillTimer(hwnd_, id);
  const auto found = waiting_.find(id);
  if (found == waiting_.end()) return;  // it timed out before
  auto done = std::move(found->second);
  waiting_.erase(found);
  done(body);
}

LRESULT CALLBACK HttpWin32::WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<HttpWin32*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (message == kMsgFetched) {
    const std::unique_ptr<std::string> body(reinterpret_cast<std::string*>(lParam));
    if (self) self->Deliver(wParam, *body);
    return 0;
  }
  if (message == WM_TIMER && self) {  // ten seconds without an answer: the worker is broken off too
    {
      const std::lock_guard<std::mutex> lock(self->workers_->mutex);
      const auto running = self->workers_->running.find(wParam);
      if (running != self->workers_->running.end()) running->second->Cancel();
    }
    self->Deliver(wParam, "");
    return 0;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace tkd
