// HttpWin32: WinHTTP in blocking mode on one worker thread per fetch, each step's time-outs set to
// what is left of the fetch's ten seconds, and a timer on the asking thread as the last word.
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
// dialog): its entry points, all found or none.
struct WinHttpApi {
  decltype(&::WinHttpCloseHandle) CloseHandle = nullptr;
  decltype(&::WinHttpConnect) Connect = nullptr;
  decltype(&::WinHttpCrackUrl) CrackUrl = nullptr;
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

const WinHttpApi* WinHttp() {
  static const WinHttpApi api = [] {
    WinHttpApi a;
    a.CloseHandle = SystemFunction<decltype(&::WinHttpCloseHandle)>(L"winhttp.dll", "WinHttpCloseHandle");
    a.Connect = SystemFunction<decltype(&::WinHttpConnect)>(L"winhttp.dll", "WinHttpConnect");
    a.CrackUrl = SystemFunction<decltype(&::WinHttpCrackUrl)>(L"winhttp.dll", "WinHttpCrackUrl");
    a.Open = SystemFunction<decltype(&::WinHttpOpen)>(L"winhttp.dll", "WinHttpOpen");
    a.OpenRequest = SystemFunction<decltype(&::WinHttpOpenRequest)>(L"winhttp.dll", "WinHttpOpenRequest");
    a.QueryDataAvailable = SystemFunction<decltype(&::WinHttpQueryDataAvailable)>(L"winhttp.dll", "WinHttpQueryDataAvailable");
    a.QueryHeaders = SystemFunction<decltype(&::WinHttpQueryHeaders)>(L"winhttp.dll", "WinHttpQueryHeaders");
    a.ReadData = SystemFunction<decltype(&::WinHttpReadData)>(L"winhttp.dll", "WinHttpReadData");
    a.ReceiveResponse = SystemFunction<decltype(&::WinHttpReceiveResponse)>(L"winhttp.dll", "WinHttpReceiveResponse");
    a.SendRequest = SystemFunction<decltype(&::WinHttpSendRequest)>(L"winhttp.dll", "WinHttpSendRequest");
    a.SetOption = SystemFunction<decltype(&::WinHttpSetOption)>(L"winhttp.dll", "WinHttpSetOption");
    a.SetTimeouts = SystemFunction<decltype(&::WinHttpSetTimeouts)>(L"winhttp.dll", "WinHttpSetTimeouts");
    return a;
  }();
  const bool all = api.CloseHandle && api.Connect && api.CrackUrl && api.Open && api.OpenRequest && api.QueryDataAvailable && api.QueryHeaders && api.ReadData && api.ReceiveResponse && api.SendRequest && api.SetOption && api.SetTimeouts;
  return all ? &api : nullptr;
}

struct InternetDeleter {
  void operator()(HINTERNET handle) const { WinHttp()->CloseHandle(handle); }
};
using UniqueHinternet = std::unique_ptr<void, InternetDeleter>;

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

DWORD NumberHeader(HINTERNET request, DWORD query, DWORD otherwise) {
  DWORD value = 0, size = sizeof value;
  return WinHttp()->QueryHeaders(request, query | WINHTTP_QUERY_FLAG_NUMBER, WINHTTP_HEADER_NAME_BY_INDEX, &value, &size,
                             WINHTTP_NO_HEADER_INDEX)
             ? value
             : otherwise;
}

std::string Location(HINTERNET request) {
  wchar_t buffer[2048];
  DWORD size = sizeof buffer;
  if (!WinHttp()->QueryHeaders(request, WINHTTP_QUERY_LOCATION, WINHTTP_HEADER_NAME_BY_INDEX, buffer, &size,
                           WINHTTP_NO_HEADER_INDEX))
    return "";
  return WideToUtf8(std::wstring_view(buffer, size / sizeof(wchar_t)));
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

enum class Step { Body, Redirect, Failed };

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

// One request of the chain: the body, or where it redirects to.
Step Request(HINTERNET session, const std::string& url, Steady::time_point deadline, FetchCancel* cancel,
             std::string& out) {
  const std::wstring wide = Utf8ToWide(url);
  wchar_t host[256] = L"";
  URL_COMPONENTS parts{};
  parts.dwStructSize = sizeof parts;
  parts.lpszHostName = host;
  parts.dwHostNameLength = 256;
  parts.dwUrlPathLength = parts.dwExtraInfoLength = static_cast<DWORD>(-1);
  if (!IsWebAddress(url) || !WinHttp()->CrackUrl(wide.c_str(), 0, 0, &parts)) return Step::Failed;
  std::wstring path(parts.lpszUrlPath, parts.dwUrlPathLength);
  path.append(parts.lpszExtraInfo, parts.dwExtraInfoLength);
  if (path.empty()) path = L"/";
  UniqueHinternet connection(WinHttp()->Connect(session, host, parts.nPort, 0));
  const DWORD secure = parts.nScheme == INTERNET_SCHEME_HTTPS ? WINHTTP_FLAG_SECURE : 0;
  UniqueHinternet request(connection ? WinHttp()->OpenRequest(connection.get(), L"GET", path.c_str(), nullptr,
                                                          WINHTTP_NO_REFERER, WINHTTP_DEFAULT_ACCEPT_TYPES, secure)
                                     : nullptr);
  HeldRequest held(cancel, request);
  DWORD noRedirects = WINHTTP_DISABLE_REDIRECTS;
  if (!request || !held.Held() || !WinHttp()->SetOption(request.get(), WINHTTP_OPTION_DISABLE_FEATURE, &noRedirects, sizeof noRedirects) ||
      !Bound(request.get(), deadline) ||
      !WinHttp()->SendRequest(request.get(), WINHTTP_NO_ADDITIONAL_HEADERS, 0, WINHTTP_NO_REQUEST_DATA, 0, 0, 0) ||
      !Bound(request.get(), deadline) || !WinHttp()->ReceiveResponse(request.get(), nullptr))
    return Step::Failed;
  const DWORD status = NumberHeader(request.get(), WINHTTP_QUERY_STATUS_CODE, 0);
  if (status == 301 || status == 302 || status == 303 || status == 307 || status == 308) {
    out = ResolveLocation(url, Location(request.get()));
    return out.empty() ? Step::Failed : Step::Redirect;
  }
  if (status < 200 || status > 299 || NumberHeader(request.get(), WINHTTP_QUERY_CONTENT_LENGTH, 0) > kBodyLimit)
    return Step::Failed;
  out.clear();
  for (;;) {
    DWORD available = 0;
    if (!Bound(request.get(), deadline) || !WinHttp()->QueryDataAvailable(request.get(), &available)) return Step::Failed;
    if (available == 0) return Step::Body;
    if (out.size() + available > kBodyLimit) return Step::Failed;
    const std::size_t at = out.size();
    out.resize(at + available);
    DWORD read = 0;
    if (!WinHttp()->ReadData(request.get(), out.data() + at, available, &read)) return Step::Failed;
    out.resize(at + read);
    if (MsLeft(deadline) == 0) return Step::Failed;
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

std::string FetchBlocking(const std::string& url, DWORD limitMs, FetchCancel* cancel) {
  const Steady::time_point deadline = Steady::now() + std::chrono::milliseconds(limitMs);
  if (!WinHttp()) return "";
  UniqueHinternet session(WinHttp()->Open(L"TiKoDan", WINHTTP_ACCESS_TYPE_DEFAULT_PROXY, WINHTTP_NO_PROXY_NAME,
                                      WINHTTP_NO_PROXY_BYPASS, 0));
  if (!session) return "";
  std::string at = url, out;
  for (int redirects = 0; redirects <= kRedirectLimit; ++redirects) {
    switch (Request(session.get(), at, deadline, cancel, out)) {
      case Step::Body: return Decode(std::move(out));
      case Step::Redirect: at = out; break;
      case Step::Failed: return "";
    }
  }
  return "";  // one redirect too many
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
  if (message == WM_TIMER && self) {
    self->Deliver(wParam, "");  // ten seconds without an answer
    return 0;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace tkd
