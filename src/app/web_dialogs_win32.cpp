// FormUpdate, FormAbout and FormHide: one call into the model per event, then a render.
#include "app/web_dialogs_win32.h"

#include "platform/system_library_win32.h"

#include <ole2.h>

#include "app/resource.h"
#include "app/window_frame_win32.h"
#include "platform/text_win32.h"
#include "settings/window_geometry.h"

namespace tkd {
namespace {

constexpr UINT_PTR kPanelTimer = 1;  // FormHide.Timer1, once a second while the panel is open
constexpr COLORREF kLinkBlue = RGB(0, 0, 255);

void Show(HWND dialog, int id, bool visible) { ShowWindow(GetDlgItem(dialog, id), visible ? SW_SHOWNA : SW_HIDE); }
void SetText(HWND dialog, int id, const std::string& text) { SetDlgItemTextW(dialog, id, Utf8ToWide(text).c_str()); }

// --- FormUpdate

struct UpdateDialogState {
  UpdateDialog& model;
  HWND hwnd = nullptr;
};

void Render(UpdateDialogState& d) {
  const UpdateView& v = d.model.View();
  SetText(d.hwnd, IDC_UPD_LABEL1, v.label1);
  SetText(d.hwnd, IDC_UPD_LABEL2, v.label2);
  SetText(d.hwnd, IDC_UPD_LABEL3, v.label3);
  Show(d.hwnd, IDC_UPD_LABEL4, v.label4Visible);
  Show(d.hwnd, IDC_UPD_COMMAND3, v.command3Visible);
  Show(d.hwnd, IDC_UPD_COMMAND1, v.command1Visible);
  if (!v.open) EndDialog(d.hwnd, IDOK);
}

INT_PTR CALLBACK UpdateDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* d = reinterpret_cast<UpdateDialogState*>(GetWindowLongPtrW(dialog, DWLP_USER));
  switch (message) {
    case WM_INITDIALOG:
      d = reinterpret_cast<UpdateDialogState*>(lParam);
      d->hwnd = dialog;
      SetWindowLongPtrW(dialog, DWLP_USER, lParam);
      d->model.Form_Load([d] { Render(*d); });
      Render(*d);
      return TRUE;
    case WM_COMMAND:
      if (!d || HIWORD(wParam) != BN_CLICKED) return TRUE;
      switch (LOWORD(wParam)) {
        case IDC_UPD_COMMAND1: d->model.Command1_Click(); break;
        case IDC_UPD_COMMAND3: d->model.Command3_Click(); break;
        case IDCANCEL: d->model.Command2_Click(); break;  // also Escape and the close box
        default: return TRUE;
      }
      Render(*d);
      return TRUE;
  }
  return FALSE;
}

}  // namespace

void RunUpdateDialog(HINSTANCE instance, HWND owner, UpdateDialog& model) {
  UpdateDialogState d{model};
  DialogBoxParamW(instance, MAKEINTRESOURCEW(IDD_UPDATE), owner, UpdateDialogProc, reinterpret_cast<LPARAM>(&d));
}

// --- FormAbout

AboutBoxWin32::~AboutBoxWin32() {
  if (hwnd_) DestroyWindow(hwnd_);
}

void AboutBoxWin32::Show(std::unique_ptr<AboutBox> model) {
  if (!hwnd_) {
    model_ = std::move(model);
    CreateDialogParamW(instance_, MAKEINTRESOURCEW(IDD_ABOUT), owner_, DialogProc, reinterpret_cast<LPARAM>(this));
  }
  if (hwnd_) {
    ShowWindow(hwnd_, SW_SHOWNORMAL);
    SetForegroundWindow(hwnd_);
  }
}

INT_PTR CALLBACK AboutBoxWin32::DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    SetWindowLongPtrW(dialog, DWLP_USER, lParam);
    reinterpret_cast<AboutBoxWin32*>(lParam)->hwnd_ = dialog;
  }
  auto* self = reinterpret_cast<AboutBoxWin32*>(GetWindowLongPtrW(dialog, DWLP_USER));
  return self ? self->Handle(message, wParam, lParam) : FALSE;
}

INT_PTR AboutBoxWin32::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG: {
      const AboutView& v = model_->View();
      SetWindowTextW(hwnd_, Utf8ToWide(v.caption).c_str());
      SetText(hwnd_, IDC_ABOUT_LABEL1, v.label1);
      SetText(hwnd_, IDC_ABOUT_LABEL2, v.label2);
      SetText(hwnd_, IDC_ABOUT_LABEL3, v.label3);
      SetText(hwnd_, IDC_ABOUT_LABEL4, v.label4);
      SetText(hwnd_, IDC_ABOUT_LABEL5, v.label5);
      SetText(hwnd_, IDC_ABOUT_LABEL6, v.label6);
      // The link: 9-point SimSun, underlined, blue, with a hand over it.
      const int height = -MulDiv(9, DpiOfWindow(hwnd_), 72);
      linkFont_ = UniqueGdi<HFONT>(CreateFontW(height, 0, 0, 0, FW_NORMAL, FALSE, TRUE, FALSE, GB2312_CHARSET,
                                               OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY,
                                               DEFAULT_PITCH | FF_DONTCARE, L"SimSun"));
      SendDlgItemMessageW(hwnd_, IDC_ABOUT_LABEL5, WM_SETFONT, reinterpret_cast<WPARAM>(linkFont_.Get()), FALSE);
      return TRUE;
    }
    case WM_CTLCOLORSTATIC:
      if (GetDlgCtrlID(reinterpret_cast<HWND>(lParam)) != IDC_ABOUT_LABEL5) return FALSE;
      SetTextColor(reinterpret_cast<HDC>(wParam), kLinkBlue);
      SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
      return reinterpret_cast<INT_PTR>(GetSysColorBrush(COLOR_BTNFACE));
    case WM_SETCURSOR:
      if (GetDlgCtrlID(reinterpret_cast<HWND>(wParam)) != IDC_ABOUT_LABEL5) return FALSE;
      SetCursor(LoadCursorW(nullptr, IDC_HAND));
      SetWindowLongPtrW(hwnd_, DWLP_MSGRESULT, TRUE);
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDC_ABOUT_LABEL5 && HIWORD(wParam) == STN_CLICKED) model_->Label5_Click();
      if (LOWORD(wParam) == IDCANCEL) DestroyWindow(hwnd_);  // Escape and the close box
      return TRUE;
    case WM_DESTROY:
      hwnd_ = nullptr;
      model_.reset();
      return FALSE;
  }
  return FALSE;
}

// --- FormHide

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
  // The web browser control: atl.dll hosts one in any window of its class "AtlAxWin" whose text
  // is a web address.
  static const bool browserHost = [] {
    if (const auto initialize = SystemFunction<decltype(&OleInitialize)>(L"ole32.dll", "OleInitialize"))
      initialize(nullptr);
    HMODULE atl = LoadLibraryW(L"atl.dll");
    using AtlAxWinInitFn = BOOL(WINAPI*)();
    auto init = atl ? reinterpret_cast<AtlAxWinInitFn>(reinterpret_cast<void*>(GetProcAddress(atl, "AtlAxWinInit")))
                    : nullptr;
    return init && init();
  }();
  if (!registered) return;

  // Measures in twips at the system's DPI, as the model reckons.
  const int dpi = DpiOfWindow(nullptr);
  const double twipsPerPixel = kTwipsPerInch / dpi;
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
  if (browserHost)
    CreateWindowExW(0, L"AtlAxWin", Utf8ToWide(v.url).c_str(), WS_CHILD | WS_VISIBLE, 0, 0, client.right,
                    client.bottom, hwnd_, nullptr, instance_, nullptr);
  SetTimer(hwnd_, kPanelTimer, 1000, nullptr);
  ShowWindow(hwnd_, SW_SHOWNORMAL);
}

LRESULT CALLBACK AdPanelWin32::WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE)
    SetWindowLongPtrW(hwnd, GWLP_USERDATA,
                      reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
  auto* self = reinterpret_cast<AdPanelWin32*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  return self && self->hwnd_ == hwnd ? self->Handle(message, wParam, lParam) : DefWindowProcW(hwnd, message, wParam, lParam);
}

LRESULT AdPanelWin32::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_TIMER:
      if (wParam != kPanelTimer) break;
      ads_.PanelTimer();
      if (!ads_.Panel()) DestroyWindow(hwnd_);
      return 0;
    case WM_CLOSE:  // the user may close it at any time
      DestroyWindow(hwnd_);
      return 0;
    case WM_DESTROY:
      KillTimer(hwnd_, kPanelTimer);
      ads_.PanelClosed();
      hwnd_ = nullptr;
      return 0;
  }
  return DefWindowProcW(hwnd_, message, wParam, lParam);
}

}  // namespace tkd
