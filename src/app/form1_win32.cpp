// The main window's Win32 shell: one call into the view-model per event, then a render of its view.
#include "app/form1_win32.h"

#include <commctrl.h>

#include <algorithm>
#include <cmath>

#include "app/resource.h"
#include "platform/text_win32.h"

namespace tkd {
namespace {

constexpr UINT_PTR kTimer1 = 1;  // housekeeping, once a second for the life of the window
constexpr UINT_PTR kTimer2 = 2;  // the stopwatch, while it runs
constexpr int kTwipsPerInch = 1440;
constexpr int kBaseDpi = 96;
constexpr UINT kMinimumTimerMs = USER_TIMER_MINIMUM;

// Point sizes of the designed fonts.
constexpr double kUiPoints = 9;
constexpr double kDisplayPoints = 48;
constexpr double kStatusPoints = 26.25;
constexpr double kButtonPoints = 15.75;
constexpr wchar_t kSimSun[] = L"SimSun";

// Layout in pixels at 96 dots per inch, scaled to the window's DPI.
constexpr int kMargin = 8;
constexpr int kTabHeight = 26;
constexpr int kDisplayHeight = 76;
constexpr int kStatusHeight = 40;
constexpr int kButtonWidth = 96, kButtonHeight = 36;
constexpr int kEditWidth = 64, kEditHeight = 23;
constexpr int kUnitWidth = 36;
constexpr int kCheckWidth = 80;

COLORREF ToColorref(const Rgb& c) { return RGB(c.r, c.g, c.b); }

int DpiOfWindow(HWND hwnd) {
  using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
  static const auto getDpiForWindow = reinterpret_cast<GetDpiForWindowFn>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
  if (hwnd && getDpiForWindow) {
    if (UINT dpi = getDpiForWindow(hwnd)) return static_cast<int>(dpi);
  }
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  return dpi > 0 ? dpi : kBaseDpi;
}

int TwipsToPixels(double twips, int dpi) {
  return static_cast<int>(std::lround(twips * dpi / kTwipsPerInch));
}
// Sizes round up, so that a window is never a fraction of a pixel below its minimum.
int TwipsToPixelsAtLeast(double twips, int dpi) {
  return static_cast<int>(std::ceil(twips * dpi / kTwipsPerInch - 1e-9));
}
double PixelsToTwips(int pixels, int dpi) {
  return std::round(static_cast<double>(pixels) * kTwipsPerInch / dpi);
}

HFONT MakeFont(double points, int dpi) {
  const int height = -static_cast<int>(std::lround(points * dpi / 72.0));
  return CreateFontW(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, GB2312_CHARSET,
                     OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY,
                     DEFAULT_PITCH | FF_DONTCARE, kSimSun);
}

std::wstring WindowText(HWND hwnd) {
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(hwnd)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size()))));
  return text;
}

}  // namespace

Form1Window::Form1Window(HINSTANCE instance, Clock& clock) : instance_(instance), clock_(clock) {}

Form1Window::~Form1Window() {
  if (hwnd_) DestroyWindow(hwnd_);
  DestroyFonts();
  if (displayBrush_) DeleteObject(displayBrush_);
}

bool Form1Window::Create(Form1Model& model) {
  model_ = &model;
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = WndProc;
  wc.hInstance = instance_;
  wc.hIcon = LoadIconW(instance_, MAKEINTRESOURCEW(IDI_TIKODAN));
  wc.hIconSm = static_cast<HICON>(LoadImageW(instance_, MAKEINTRESOURCEW(IDI_TIKODAN), IMAGE_ICON,
                                             GetSystemMetrics(SM_CXSMICON),
                                             GetSystemMetrics(SM_CYSMICON), 0));
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = TKD_FORM1_CLASS;
  if (!RegisterClassExW(&wc)) return false;

  // Stored positions are applied as they are, even beyond the current screen.
  const TwipsRect g = model.View().geometry;
  const int dpi = DpiOfWindow(nullptr);
  caption_ = Utf8ToWide(model.View().caption);
  hwnd_ = CreateWindowExW(WS_EX_CONTROLPARENT, TKD_FORM1_CLASS, caption_.c_str(),
                          WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, TwipsToPixels(g.left, dpi),
                          TwipsToPixels(g.top, dpi), TwipsToPixelsAtLeast(g.width, dpi),
                          TwipsToPixelsAtLeast(g.height, dpi), nullptr, nullptr, instance_, this);
  if (!hwnd_) return false;

  displayBrush_ = CreateSolidBrush(ToColorref(kLightCyan));
  CreateFonts();
  CreateTab();
  currentPage_ = model.View().currentPage;
  BuildTabs();
  EnsurePageCreated(currentPage_);
  Layout();
  Render();
  ApplyPageVisibility();

  timer1_.SetEnabled(model.View().timer1Enabled, clock_.MonotonicMs());
  SyncTimers();
  return true;
}

void Form1Window::Show(int showCommand) {
  ShowWindow(hwnd_, showCommand);
  UpdateWindow(hwnd_);
  // Tool tips are only needed once the pointer rests on a control; making them after the window
  // is up shortens the start.
  CreateToolTips();
}

bool Form1Window::IsNormal() { return hwnd_ && !IsIconic(hwnd_) && !IsZoomed(hwnd_); }

TwipsRect Form1Window::Bounds() {
  RECT r{};
  GetWindowRect(hwnd_, &r);
  const int dpi = Dpi();
  return {PixelsToTwips(r.left, dpi), PixelsToTwips(r.top, dpi),
          PixelsToTwips(r.right - r.left, dpi), PixelsToTwips(r.bottom - r.top, dpi)};
}

int Form1Window::Dpi() const { return DpiOfWindow(hwnd_); }
int Form1Window::Scale(int px96) const { return MulDiv(px96, Dpi(), kBaseDpi); }

void Form1Window::CreateFonts() {
  const int dpi = Dpi();
  uiFont_ = MakeFont(kUiPoints, dpi);
  displayFont_ = MakeFont(kDisplayPoints, dpi);
  statusFont_ = MakeFont(kStatusPoints, dpi);
  buttonFont_ = MakeFont(kButtonPoints, dpi);
}

void Form1Window::DestroyFonts() {
  for (HFONT* font : {&uiFont_, &displayFont_, &statusFont_, &buttonFont_}) {
    if (*font) DeleteObject(*font);
    *font = nullptr;
  }
}

Form1Window::Control& Form1Window::AddControl(int id, const wchar_t* cls, const std::wstring& text,
                                              DWORD style, int page, HFONT font) {
  Control control;
  control.page = page;
  control.text = text;
  const DWORD exStyle = std::wstring(cls) == WC_EDITW ? WS_EX_CLIENTEDGE : 0;
  control.hwnd = CreateWindowExW(exStyle, cls, text.c_str(), WS_CHILD | style, 0, 0, 0, 0, hwnd_,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance_, nullptr);
  SendMessageW(control.hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  controls_.push_back(control);
  return controls_.back();
}

void Form1Window::AddTip(Control& control, const std::string& tip) {
  control.hasTip = true;
  control.tip = Utf8ToWide(tip);
}

void Form1Window::CreateToolTips() {
  tooltip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                             WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT, CW_USEDEFAULT,
                             CW_USEDEFAULT, CW_USEDEFAULT, hwnd_, nullptr, instance_, nullptr);
  RegisterTips();
}

void Form1Window::RegisterTips() {
  for (Control& control : controls_) {
    if (!control.hasTip || control.tipRegistered) continue;
    control.tipRegistered = true;
    TOOLINFOW ti{};
    ti.cbSize = sizeof ti;
    ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    ti.hwnd = hwnd_;
    ti.uId = reinterpret_cast<UINT_PTR>(control.hwnd);
    ti.lpszText = control.tip.data();
    SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
  }
}

void Form1Window::CreateTab() {
  tab_ = CreateWindowExW(0, WC_TABCONTROLW, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_TABSTOP,
                         0, 0, 0, 0, hwnd_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_SSTAB1)),
                         instance_, nullptr);
  SendMessageW(tab_, WM_SETFONT, reinterpret_cast<WPARAM>(uiFont_), FALSE);
}

// A page's controls are made the first time the page is shown, as property sheets do, so that
// start-up pays only for the page it opens on.
// Returns true when the page was made now; the caller then lays out and renders it.
bool Form1Window::EnsurePageCreated(int page) {
  if (page < 0 || page >= kPageCount || pageCreated_[page]) return false;
  pageCreated_[page] = true;
  if (page == kPageStopwatch) CreateStopwatchPage();
  if (tooltip_) RegisterTips();
  return true;
}

void Form1Window::CreateStopwatchPage() {
  const StopwatchView& v = model_->stopwatch().View();
  const int page = kPageStopwatch;
  AddControl(IDC_LABEL2, WC_STATICW, Utf8ToWide(v.label2), SS_CENTER | SS_CENTERIMAGE | SS_NOPREFIX,
             page, displayFont_);
  AddControl(IDC_LABEL7, WC_STATICW, Utf8ToWide(v.label7), SS_CENTER | SS_NOPREFIX, page, statusFont_);
  AddTip(AddControl(IDC_COMMAND1, WC_BUTTONW, Utf8ToWide(v.command1Caption),
                    BS_PUSHBUTTON | WS_TABSTOP, page, buttonFont_),
         v.command1Tip);
  AddTip(AddControl(IDC_COMMAND2, WC_BUTTONW, Utf8ToWide(v.command2Caption),
                    BS_PUSHBUTTON | WS_TABSTOP, page, buttonFont_),
         v.command2Tip);
  AddTip(AddControl(IDC_TEXT1, WC_EDITW, Utf8ToWide(v.text1), ES_AUTOHSCROLL | WS_TABSTOP, page, uiFont_),
         "时间只剩10秒时将会有声音提醒");
  AddControl(IDC_LABEL5, WC_STATICW, L"分钟", SS_LEFT | SS_CENTERIMAGE, page, uiFont_);
  AddTip(AddControl(IDC_CHECK2, WC_BUTTONW, L"倒计时", BS_AUTOCHECKBOX | WS_TABSTOP, page, uiFont_),
         "是否显示为倒计时模式");
  if (v.check2) SendMessageW(GetDlgItem(hwnd_, IDC_CHECK2), BM_SETCHECK, BST_CHECKED, 0);
}

void Form1Window::BuildTabs() {
  // The tab control cannot hide a tab, so the visible pages are laid out as its items.
  TabCtrl_DeleteAllItems(tab_);
  tabCount_ = 0;
  const Form1View& view = model_->View();
  int selected = -1;
  for (int page = 0; page < kPageCount; ++page) {
    if (!view.pageVisible[page]) continue;
    std::wstring caption = Utf8ToWide(kPageCaptions[page]);
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = caption.data();
    TabCtrl_InsertItem(tab_, tabCount_, &item);
    if (page == currentPage_) selected = tabCount_;
    tabPages_[tabCount_++] = page;
  }
  if (selected < 0 && tabCount_ > 0) {
    selected = 0;
    currentPage_ = tabPages_[0];
  }
  TabCtrl_SetCurSel(tab_, selected);
  ApplyPageVisibility();
}

void Form1Window::Layout() {
  if (!tab_) return;  // still being created
  RECT client{};
  GetClientRect(hwnd_, &client);
  const int width = client.right - client.left;
  MoveWindow(tab_, 0, 0, width, Scale(kTabHeight), TRUE);
  if (pageCreated_[kPageStopwatch]) LayoutStopwatchPage(width);
}

void Form1Window::LayoutStopwatchPage(int width) {
  const int m = Scale(kMargin);
  const int inner = std::max(0, width - 2 * m);
  int y = Scale(kTabHeight) + m;
  auto place = [&](int id, int x, int top, int w, int h) {
    MoveWindow(GetDlgItem(hwnd_, id), x, top, w, h, TRUE);
  };
  place(IDC_LABEL2, m, y, inner, Scale(kDisplayHeight));
  y += Scale(kDisplayHeight) + m / 2;
  place(IDC_LABEL7, m, y, inner, Scale(kStatusHeight));
  y += Scale(kStatusHeight) + m / 2;
  place(IDC_COMMAND1, m, y, Scale(kButtonWidth), Scale(kButtonHeight));
  place(IDC_COMMAND2, 2 * m + Scale(kButtonWidth), y, Scale(kButtonWidth), Scale(kButtonHeight));
  y += Scale(kButtonHeight) + m;
  place(IDC_TEXT1, m, y, Scale(kEditWidth), Scale(kEditHeight));
  place(IDC_LABEL5, m + Scale(kEditWidth) + m / 2, y, Scale(kUnitWidth), Scale(kEditHeight));
  place(IDC_CHECK2, 2 * m + Scale(kEditWidth + kUnitWidth), y, Scale(kCheckWidth), Scale(kEditHeight));
}

void Form1Window::SetText(Control& control, const std::string& text) {
  std::wstring wide = Utf8ToWide(text);
  if (wide == control.text) return;
  control.text = std::move(wide);
  SetWindowTextW(control.hwnd, control.text.c_str());
}

void Form1Window::SetTip(Control& control, const std::string& tip) {
  std::wstring wide = Utf8ToWide(tip);
  if (wide == control.tip) return;
  control.tip = std::move(wide);
  if (!tooltip_) return;  // the tool is added with the current text when the tips are made
  TOOLINFOW ti{};
  ti.cbSize = sizeof ti;
  ti.uFlags = TTF_IDISHWND;
  ti.hwnd = hwnd_;
  ti.uId = reinterpret_cast<UINT_PTR>(control.hwnd);
  ti.lpszText = control.tip.data();
  SendMessageW(tooltip_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&ti));
}

void Form1Window::SetVisible(Control& control, bool visible) {
  control.visible = visible;
  const bool shown = visible && (control.page < 0 || control.page == currentPage_);
  const bool showing = (GetWindowLongW(control.hwnd, GWL_STYLE) & WS_VISIBLE) != 0;
  if (shown != showing) ShowWindow(control.hwnd, shown ? SW_SHOWNA : SW_HIDE);
}

void Form1Window::ApplyPageVisibility() {
  for (Control& control : controls_) SetVisible(control, control.visible);
}

void Form1Window::Render() {
  rendering_ = true;
  std::wstring caption = Utf8ToWide(model_->View().caption);
  if (caption != caption_) {
    caption_ = std::move(caption);
    SetWindowTextW(hwnd_, caption_.c_str());
  }
  if (pageCreated_[kPageStopwatch]) RenderStopwatchPage();
  rendering_ = false;
}

Form1Window::Control& Form1Window::ControlOf(int id) {
  const HWND hwnd = GetDlgItem(hwnd_, id);
  return *std::find_if(controls_.begin(), controls_.end(),
                       [&](const Control& c) { return c.hwnd == hwnd; });
}

void Form1Window::RenderStopwatchPage() {
  const StopwatchView& sw = model_->stopwatch().View();
  Control& label2 = ControlOf(IDC_LABEL2);
  const std::wstring before = label2.text;
  SetText(label2, sw.label2);
  if (sw.label2Color != label2Colour_ || before != label2.text) {
    label2Colour_ = sw.label2Color;
    InvalidateRect(label2.hwnd, nullptr, TRUE);  // the colour is applied when it repaints
  }
  SetText(ControlOf(IDC_LABEL7), sw.label7);
  Control& command1 = ControlOf(IDC_COMMAND1);
  SetText(command1, sw.command1Caption);
  SetTip(command1, sw.command1Tip);
  Control& command2 = ControlOf(IDC_COMMAND2);
  SetText(command2, sw.command2Caption);
  SetTip(command2, sw.command2Tip);
  SetVisible(command2, sw.command2Visible);
  SetText(ControlOf(IDC_TEXT1), sw.text1);
  const HWND check2 = ControlOf(IDC_CHECK2).hwnd;
  if ((SendMessageW(check2, BM_GETCHECK, 0, 0) == BST_CHECKED) != sw.check2)
    SendMessageW(check2, BM_SETCHECK, sw.check2 ? BST_CHECKED : BST_UNCHECKED, 0);
}

void Form1Window::ArmTimer(UINT_PTR id, const SteadyTimer& timer) {
  if (!timer.Enabled()) {
    KillTimer(hwnd_, id);
    return;
  }
  const UINT wait = std::max<UINT>(kMinimumTimerMs, timer.MsUntilNextTick(clock_.MonotonicMs()));
  SetTimer(hwnd_, id, wait, nullptr);
}

void Form1Window::SyncTimers() {
  timer1_.SetEnabled(model_->View().timer1Enabled, clock_.MonotonicMs());
  timer2_.SetEnabled(model_->stopwatch().View().timer2Enabled, clock_.MonotonicMs());
  ArmTimer(kTimer1, timer1_);
  ArmTimer(kTimer2, timer2_);
}

void Form1Window::OnTimer(UINT_PTR id) {
  // Every tick that has fallen due runs now, so a held-up thread loses no seconds.
  if (id == kTimer1) {
    while (timer1_.Enabled() && timer1_.TakeDueTick(clock_.MonotonicMs())) {
      model_->Timer1_Timer();
      Render();
    }
  } else if (id == kTimer2) {
    while (timer2_.Enabled() && timer2_.TakeDueTick(clock_.MonotonicMs())) {
      model_->stopwatch().Timer2_Timer();
      timer2_.SetEnabled(model_->stopwatch().View().timer2Enabled, clock_.MonotonicMs());
    }
    Render();
  }
  SyncTimers();
}

void Form1Window::OnCommand(int id, int code) {
  if (rendering_) return;  // changes made by Render are not the user's
  Stopwatch& sw = model_->stopwatch();
  switch (id) {
    case IDC_COMMAND1:
      if (code == BN_CLICKED) sw.Command1_Click();
      break;
    case IDC_COMMAND2:
      if (code == BN_CLICKED) sw.Command2_Click();
      break;
    case IDC_CHECK2:
      if (code == BN_CLICKED)
        sw.Check2_Click(SendMessageW(GetDlgItem(hwnd_, IDC_CHECK2), BM_GETCHECK, 0, 0) == BST_CHECKED);
      break;
    case IDC_TEXT1:
      if (code == EN_CHANGE) {
        HWND edit = GetDlgItem(hwnd_, IDC_TEXT1);
        std::wstring typed = WindowText(edit);
        for (Control& c : controls_)
          if (c.hwnd == edit) c.text = typed;
        sw.Text1_Change(WideToUtf8(typed));
      }
      break;
    default:
      return;
  }
  Render();
  SyncTimers();
}

LRESULT Form1Window::OnCtlColorStatic(HDC dc, HWND control) {
  if (GetDlgCtrlID(control) == IDC_LABEL2) {
    SetTextColor(dc, ToColorref(model_->stopwatch().View().label2Color));
    SetBkColor(dc, ToColorref(kLightCyan));
    return reinterpret_cast<LRESULT>(displayBrush_);
  }
  return DefWindowProcW(hwnd_, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                        reinterpret_cast<LPARAM>(control));
}

LRESULT CALLBACK Form1Window::WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
    auto* self = static_cast<Form1Window*>(create->lpCreateParams);
    self->hwnd_ = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<Form1Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!self || !self->model_)
    return DefWindowProcW(hwnd, message, wParam, lParam);
  return self->HandleMessage(message, wParam, lParam);
}

LRESULT Form1Window::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      OnCommand(LOWORD(wParam), HIWORD(wParam));
      return 0;
    case WM_TIMER:
      OnTimer(wParam);
      return 0;
    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(lParam);
      if (header->hwndFrom == tab_ && header->code == TCN_SELCHANGE) {
        const int index = TabCtrl_GetCurSel(tab_);
        if (index >= 0 && index < tabCount_) currentPage_ = tabPages_[index];
        if (EnsurePageCreated(currentPage_)) {
          Layout();
          Render();
        }
        ApplyPageVisibility();
      }
      return 0;
    }
    case WM_CTLCOLORSTATIC:
      return OnCtlColorStatic(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_SIZE:
      Layout();
      return 0;
    case WM_GETMINMAXINFO: {
      // Never smaller than the minimum size; a minimised or maximised window is not affected.
      auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
      info->ptMinTrackSize.x = TwipsToPixelsAtLeast(Form1minW, Dpi());
      info->ptMinTrackSize.y = TwipsToPixelsAtLeast(Form1minH, Dpi());
      return 0;
    }
    case WM_DPICHANGED: {
      const auto* suggested = reinterpret_cast<const RECT*>(lParam);
      DestroyFonts();
      CreateFonts();
      for (const Control& c : controls_) {
        const int id = GetDlgCtrlID(c.hwnd);
        HFONT font = id == IDC_LABEL2   ? displayFont_
                     : id == IDC_LABEL7 ? statusFont_
                     : (id == IDC_COMMAND1 || id == IDC_COMMAND2) ? buttonFont_
                                                                  : uiFont_;
        SendMessageW(c.hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
      }
      SendMessageW(tab_, WM_SETFONT, reinterpret_cast<WPARAM>(uiFont_), TRUE);
      SetWindowPos(hwnd_, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                   suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
      return 0;
    }
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcW(hwnd_, message, wParam, lParam);
  }
}

}  // namespace tkd
