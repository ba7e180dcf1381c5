// The main window's Win32 frame: one call into the view-model per event, then a render of its view.
#include "app/form1_win32.h"

#include <commctrl.h>

#include <algorithm>

#include "app/pages_win32.h"
#include "app/resource.h"
#include "app/window_frame_win32.h"
#include "app/web_dialogs_win32.h"
#include "platform/single_instance_win32.h"
#include "platform/text_win32.h"
#include "settings/window_geometry.h"

namespace tkd {
namespace {

constexpr UINT_PTR kTimer1 = 1;  // housekeeping, once a second for the life of the window
constexpr UINT_PTR kTimer2 = 2;  // the stopwatch, while it runs
constexpr UINT_PTR kTimer3 = 3;  // the after-minutes shutdown countdown, while it is armed
constexpr UINT_PTR kTimer4 = 4;  // the mouse odometer's samples
constexpr ULONGLONG kMousePageRenderMs = 50;
constexpr int kTabHeight = 26;  // pixels at 96 dots per inch
constexpr int kSwitchesHeight = 26, kSwitchWidth = 72;

// On the window itself, below the pages.
constexpr ControlSpec kSwitches[] = {
    {IDC_CHECK1, WC_BUTTONW, BS_AUTOCHECKBOX | WS_TABSTOP, FontRole::Ui, "置最前"},
    {IDC_CHECK3, WC_BUTTONW, BS_AUTOCHECKBOX | WS_TABSTOP, FontRole::Ui, "菜单"},
};

// Arms a window timer for the pump's next tick, or stops it.
void Arm(HWND hwnd, UINT_PTR id, const TickPump& pump) {
  if (!pump.Enabled()) {
    KillTimer(hwnd, id);
    return;
  }
  SetTimer(hwnd, id, std::max<UINT>(USER_TIMER_MINIMUM, pump.MsUntilNextTick()), nullptr);
}

}  // namespace

Form1Window::Form1Window(HINSTANCE instance, Clock& clock, Form1FrameWin32& frame, TrayWin32& tray,
                         MonitorsWin32& monitors, Form1Model& model)
    : instance_(instance), clock_(clock), frame_(frame), tray_(tray), monitors_(monitors), model_(model),
      taskbarCreated_(RegisterWindowMessageW(L"TaskbarCreated")),
      anotherStart_(RegisterWindowMessageW(kAnotherStartMessage)), timer1_(clock), timer2_(clock), timer3_(clock) {
  pages_ = MakePages(model);
}

Form1Window::~Form1Window() {
  if (hwnd_) DestroyWindow(hwnd_);  // with it go the controls and their tool tips
}

bool Form1Window::Create() {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = WndProc;
  wc.hInstance = instance_;
  wc.hIcon = LoadIconW(instance_, MAKEINTRESOURCEW(IDI_TIKODAN));
  wc.hIconSm = static_cast<HICON>(LoadImageW(instance_, MAKEINTRESOURCEW(IDI_TIKODAN), IMAGE_ICON,
                                             GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0));
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = TKD_FORM1_CLASS;
  if (!RegisterClassExW(&wc)) return false;

  // Where start-up placed it, in the pixels of the monitor it was saved on.
  const PixelRect place = model_.View().placement;
  caption_ = Utf8ToWide(model_.View().caption);
  CreateWindowExW(WS_EX_CONTROLPARENT, TKD_FORM1_CLASS, caption_.c_str(), WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                  place.left, place.top, place.width, place.height, nullptr, nullptr, instance_, this);
  if (!hwnd_) return false;
  tray_.SetWindow(hwnd_, LoadIconW(instance_, MAKEINTRESOURCEW(IDI_TIKODAN)), TKD_MSG_TRAY_CALLBACK);
  // A copy run as administrator still hears Explorer and a second start, which run as the user.
  for (const UINT message : {taskbarCreated_, anotherStart_, static_cast<UINT>(TKD_MSG_TRAY_CALLBACK)})
    ChangeWindowMessageFilterEx(hwnd_, message, MSGFLT_ALLOW, nullptr);
  about_ = std::make_unique<AboutBoxWin32>(instance_, hwnd_);
  adPanel_ = std::make_unique<AdPanelWin32>(instance_, model_.web().advertising());
  model_.SetChanged([this] { Render(); });  // an answer from the site

  fonts_ = std::make_unique<Fonts>(Dpi());
  controls_ = std::make_unique<Controls>(hwnd_, instance_);
  tab_ = CreateWindowExW(0, WC_TABCONTROLW, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_TABSTOP, 0, 0, 0, 0,
                         hwnd_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_SSTAB1)), instance_, nullptr);
  SendMessageW(tab_, WM_SETFONT, reinterpret_cast<WPARAM>(fonts_->Get(FontRole::Ui)), FALSE);
  controls_->Create(kSwitches, std::size(kSwitches), kNoPage, *fonts_);
  controls_->SetTip(IDC_CHECK1, "是否将本软件置于屏幕最前");
  controls_->SetTip(IDC_CHECK3, "是否显示系统菜单");
  currentPage_ = model_.View().currentPage;
  BuildTabs();
  EnsurePage(currentPage_);
  Layout();
  Render();
  controls_->ShowPage(currentPage_);
  SyncTimers();
  ArmSampling();
  return true;
}

void Form1Window::Show(int showCommand) {
  ShowWindow(hwnd_, showCommand);
  UpdateWindow(hwnd_);
  // Tool tips are only needed once the pointer rests on a control; making them after the window
  // is up shortens the start.
  controls_->CreateToolTips();
}

int Form1Window::Dpi() const { return DpiOfWindow(hwnd_); }

// A page's controls are made the first time the page is shown, as property sheets do, so that
// start-up pays only for the page it opens on.
PageWin32* Form1Window::EnsurePage(int page) {
  PageWin32* shell = pages_[page].get();
  if (!shell || pageCreated_[page]) return shell;
  pageCreated_[page] = true;
  shell->Create(*controls_, *fonts_);
  return shell;
}

void Form1Window::Layout() {
  if (!tab_) return;  // still being created
  RECT client{};
  GetClientRect(hwnd_, &client);
  const int tabHeight = MulDiv(kTabHeight, Dpi(), kBaseDpi);
  MoveWindow(tab_, 0, 0, client.right, tabHeight, TRUE);
  const int switchesTop = client.bottom - MulDiv(kSwitchesHeight, Dpi(), kBaseDpi);
  const int switchWidth = MulDiv(kSwitchWidth, Dpi(), kBaseDpi), margin = MulDiv(8, Dpi(), kBaseDpi);
  const int switchHeight = MulDiv(kSwitchesHeight - 6, Dpi(), kBaseDpi);
  controls_->Move(IDC_CHECK1, margin, switchesTop, switchWidth, switchHeight);
  controls_->Move(IDC_CHECK3, margin * 2 + switchWidth, switchesTop, switchWidth, switchHeight);
  const RECT area{0, tabHeight, client.right, switchesTop};
  for (int page = 0; page < kPageCount; ++page)
    if (pageCreated_[page]) pages_[page]->Layout(*controls_, area, Dpi());
}

void Form1Window::Render() {
  rendering_ = true;
  std::wstring caption = Utf8ToWide(model_.View().caption);
  if (caption != caption_) {
    caption_ = std::move(caption);
    SetWindowTextW(hwnd_, caption_.c_str());
  }
  controls_->SetChecked(IDC_CHECK1, model_.View().check1);
  controls_->SetChecked(IDC_CHECK3, model_.View().check3);
  menus_.ShowMenuBar(hwnd_, model_.View().menuBarVisible);
  for (int page = 0; page < kPageCount; ++page)
    if (pageCreated_[page]) pages_[page]->Render(*controls_);
  rendering_ = false;
}

// The odometer's samples run from the start to the end, shown or hidden, at its own pace.
void Form1Window::ArmSampling() {
  const int interval = model_.odometer().NextSampleMs();
  if (interval == samplingMs_) return;
  samplingMs_ = interval;
  SetTimer(hwnd_, kTimer4, std::max<UINT>(USER_TIMER_MINIMUM, interval), nullptr);
}

void Form1Window::SyncTimers() {
  timer1_.SetEnabled(model_.View().timer1Enabled);
  timer2_.SetEnabled(model_.stopwatch().View().timer2Enabled);
  timer3_.SetEnabled(model_.scheduler().View().timer3Enabled);
  Arm(hwnd_, kTimer1, timer1_);
  Arm(hwnd_, kTimer2, timer2_);
  Arm(hwnd_, kTimer3, timer3_);
}

void Form1Window::OnTimer(UINT_PTR id) {
  // Every tick that has fallen due runs now, so a held-up thread loses no seconds.
  if (id == kTimer1) {
    timer1_.RunDue([&] {
      model_.Timer1_Timer();
      Render();
      return model_.View().timer1Enabled;
    });
  } else if (id == kTimer2) {
    timer2_.RunDue([&] {
      model_.stopwatch().Timer2_Timer();
      return model_.stopwatch().View().timer2Enabled;
    });
    Render();
  } else if (id == kTimer4) {
    model_.Timer4_Timer();
    ArmSampling();
    // Nobody reads a label that changes a hundred times a second: twenty times is plenty.
    const ULONGLONG now = GetTickCount64();
    if (pageCreated_[kPageMouse] && now - mousePageRenderedMs_ >= kMousePageRenderMs) {
      mousePageRenderedMs_ = now;
      pages_[kPageMouse]->Render(*controls_);
    }
    return;  // the other timers are armed as they were
  } else if (id == kTimer3) {
    timer3_.RunDue([&] {
      model_.scheduler().Timer3_Timer();
      return model_.scheduler().View().timer3Enabled;
    });
    Render();
  }
  SyncTimers();
}

void Form1Window::OnCommand(int id, int code) {
  if (rendering_) return;  // changes made by Render are not the user's
  if (id == IDC_LABEL5 && code == STN_DBLCLK) {  // "分钟": the advertising panel
    adPanel_->Open();
    return;
  }
  if ((id == IDC_CHECK1 || id == IDC_CHECK3) && code == BN_CLICKED) {
    const bool checked = controls_->Checked(id);
    id == IDC_CHECK1 ? model_.Check1_Click(checked) : model_.Check3_Click(checked);
    Render();
    return;
  }
  for (int page = 0; page < kPageCount; ++page) {
    if (pageCreated_[page] && pages_[page]->OnCommand(*controls_, id, code)) {
      Render();
      SyncTimers();
      return;
    }
  }
}

void Form1Window::OnDpiChanged(const RECT& suggested) {
  // The old fonts stay alive until every control has been given the new ones.
  auto fonts = std::make_unique<Fonts>(Dpi());
  controls_->ApplyFonts(*fonts);
  SendMessageW(tab_, WM_SETFONT, reinterpret_cast<WPARAM>(fonts->Get(FontRole::Ui)), TRUE);
  fonts_ = std::move(fonts);
  SetWindowPos(hwnd_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
               suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT CALLBACK Form1Window::WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* self = static_cast<Form1Window*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    self->hwnd_ = hwnd;
    self->frame_.SetHandle(hwnd);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<Form1Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!self) return DefWindowProcW(hwnd, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    self->hwnd_ = nullptr;
    self->frame_.SetHandle(nullptr);
    return DefWindowProcW(hwnd, message, wParam, lParam);
  }
  return self->HandleMessage(message, wParam, lParam);
}

LRESULT Form1Window::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      if (lParam == 0 && HIWORD(wParam) == 0) OnMenu(LOWORD(wParam));
      else OnCommand(LOWORD(wParam), HIWORD(wParam));
      return 0;
    case WM_CLOSE:  // a user's close hides the window behind the tray icon, once there is one
      ShowWindow(hwnd_, model_.Form_QueryUnload() == CloseAction::Hide ? SW_HIDE : SW_MINIMIZE);
      return 0;
    case WM_QUERYENDSESSION:  // never stand in the way of logging off or shutting down
      return TRUE;
    case TKD_MSG_TRAY_CALLBACK:
      OnTrayCallback(LOWORD(lParam));
      return 0;
    case WM_TIMER:
      OnTimer(wParam);
      return 0;
    case WM_NOTIFY:
      if (reinterpret_cast<const NMHDR*>(lParam)->hwndFrom == tab_ &&
          reinterpret_cast<const NMHDR*>(lParam)->code == TCN_SELCHANGE)
        OnTabChange();
      return 0;
    case WM_CTLCOLORSTATIC:
      for (int page = 0; page < kPageCount; ++page) {
        if (!pageCreated_[page]) continue;
        const int id = GetDlgCtrlID(reinterpret_cast<HWND>(lParam));
        if (HBRUSH brush = pages_[page]->OnCtlColorStatic(reinterpret_cast<HDC>(wParam), id))
          return reinterpret_cast<LRESULT>(brush);
      }
      break;
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
    case WM_DPICHANGED:
      monitors_.Forget();
      OnDpiChanged(*reinterpret_cast<const RECT*>(lParam));
      return 0;
    case WM_DISPLAYCHANGE:
      monitors_.Forget();
      break;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
  }
  if (message == taskbarCreated_ && taskbarCreated_) model_.TaskbarCreated();
  if (message == anotherStart_ && anotherStart_) {
    model_.AnotherStart();
    ShowWindow(hwnd_, SW_RESTORE);
    SetForegroundWindow(hwnd_);
    return 0;
  }
  return DefWindowProcW(hwnd_, message, wParam, lParam);
}

}  // namespace tkd
