// AdPanelWin32: the panel's window, placed by the model, and the browser control that fills it.
#include "app/ad_panel_win32.h"

#include <ole2.h>

#include "app/resource.h"
#include "platform/system_library_win32.h"
#include "platform/text_win32.h"
#include "platform/window_frame_win32.h"
#include "settings/window_geometry.h"

namespace tkd {
namespace {

// The web browser control: atl.dll hosts one in any window of its class "AtlAxWin" whose text is
// a web address.
bool BrowserHost() {
  static const bool ready = [] {
    if (const auto initialize = SystemFunction<decltype(&OleInitialize)>(L"ole32.dll", "OleInitialize"))
      initialize(nullptr);
    using AtlAxWinInitFn = BOOL(WINAPI*)();
    const auto init = SystemFunction<AtlAxWinInitFn>(L"atl.dll", "AtlAxWinInit");
    return init && init();
  }();
  return ready;
}

}  // namespace

AdPanelWin32::~AdPanelWin32() {
  if (hwnd_) DestroyWindow(hwnd_);
}

void AdPanelWin32::Open() {
  if (hwnd_) {  // open already: forward, with no new page and its time going on
    SetWindowPos(hwnd_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
    SetForegroundWindow(hwnd_);
    return;
  }
  static const bool registered = [this] {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = WndProc;
    wc.hInstance = instance_;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = TKD_FORMHIDE_CLASS;
    return RegisterClassExW(&wc) != 0;
  }();
  if (!registered) return;

  // Measures in twips at the system's DPI, as the model reckons.
  const int dpi = DpiOfWindow(nullptr);
  const double twipsPerPixel = static_cast<double>(kTwipsPerInch) / dpi;
  const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU, exStyle = WS_EX_TOOLWINDOW;
  RECT outer{0, 0, TwipsToPixels(kAdPanelClientWidth, dpi), TwipsToPixels(kAdPanelClientHeight, dpi)};
  AdjustWindowRectEx(&outer, style, FALSE, exStyle);
  RECT work{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  const Screen screen{GetSystemMetrics(SM_CXSCREEN) * twipsPerPixel, GetSystemMetrics(SM_CYSCREEN) * twipsPerPixel,
                      twipsPerPixel, static_cast<int>(work.bottom)};
  if (!ads_.OpenPanel(screen, (outer.right - outer.left) * twipsPerPixel, (outer.bottom - outer.top) * twipsPerPixel))
    return;
  const AdPanelView& v = ads_.Panel()->View();
  hwnd_ = CreateWindowExW(exStyle, TKD_FORMHIDE_CLASS, Utf8ToWide(v.caption).c_str(), style,
                          TwipsToPixels(v.place.left, dpi), TwipsToPixels(v.place.top, dpi),
                          TwipsToPixels(v.place.width, dpi), TwipsToPixels(v.place.height, dpi), nullptr, nullptr,
                          instance_, this);
  if (!hwnd_) {
    ads_.PanelClosed();
    return;
  }
  RECT client{};
  GetClientRect(hwnd_, &client);
  if (BrowserHost())
    CreateWindowExW(0, L"AtlAxWin", Utf8ToWide(v.url).c_str(), WS_CHILD | WS_VISIBLE, 0, 0, client.right,
                    client.bottom, hwnd_, nullptr, instance_, nullptr);
  ShowWindow(hwnd_, SW_SHOWNORMAL);
}

void AdPanelWin32::Render() {
  if (hwnd_ && !ads_.Panel()) DestroyWindow(hwnd_);
}

LRESULT CALLBACK AdPanelWin32::WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE)
    SetWindowLongPtrW(hwnd, GWLP_USERDATA,
                      reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
  auto* self = reinterpret_cast<AdPanelWin32*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (self && message == WM_CLOSE) {  // the user may close it at any time
    DestroyWindow(hwnd);
    return 0;
  }
  if (self && message == WM_DESTROY && self->hwnd_ == hwnd) {
    self->ads_.PanelClosed();
    self->hwnd_ = nullptr;
    return 0;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace tkd
