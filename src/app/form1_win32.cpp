// The main window's Win32 frame: one call into the view-model per event, then a render of its view.
#include "app/form1_win32.h"

#include <commctrl.h>

#include <algorithm>
#include <optional>

#include "app/options_dialog_win32.h"
#include "app/pages_win32.h"
#include "app/resource.h"
#include "app/update_dialog_win32.h"
#include "platform/single_instance_win32.h"
#include "platform/text_win32.h"
#include "settings/window_geometry.h"

namespace tkd {
namespace {

constexpr UINT_PTR kWakeTimer = 1;  // armed for whenever the model is next due
constexpr int kTabHeight = 26;      // pixels at 96 dots per inch
constexpr int kSwitchesHeight = 26, kSwitchWidth = 72;

// On the window itself, below the pages.
constexpr ControlSpec kSwitches[] = {
    {IDC_CHECK1, WC_BUTTONW, BS_AUTOCHECKBOX | WS_TABSTOP, FontRole::Ui, "置最前"},
    {IDC_CHECK3, WC_BUTTONW, BS_AUTOCHECKBOX | WS_TABSTOP, FontRole::Ui, "菜单"},
};

}  // namespace

Form1Window::Form1Window(HINSTANCE instance, Form1FrameWin32& frame, TrayWin32& tray, MonitorsWin32& monitors,
                         Form1Model& model)
    : instance_(instance), frame_(frame), tray_(tray), monitors_(monitors), model_(model),
      taskbarCreated_(RegisterWindowMessageW(L"TaskbarCreated")),
      anotherStart_(RegisterWindowMessageW(kAnotherStartMessage)), pages_(MakePages(model)) {}

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
  // A copy run as administrator still hears Explorer, its icon and a second start, all the user's.
  for (const UINT message : {taskbarCreated_, anotherStart_, static_cast<UINT>(TKD_MSG_TRAY_CALLBACK)})
    ChangeWindowMessageFilterEx(hwnd_, message, MSGFLT_ALLOW, nullptr);
  about_ = std::make_unique<AboutBoxWin32>(instance_);
  adPanel_ = std::make_unique<AdPanelWin32>(instance_, model_.web().advertising());
  model_.SetChanged([this] { Render(); });  // an answer from the site

  fonts_ = std::make_unique<Fonts>(frame_.Dpi());
  controls_ = std::make_unique<Controls>(hwnd_, instance_);
  tab_ = CreateWindowExW(0, WC_TABCONTROLW, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_TABSTOP, 0, 0, 0, 0,
                         hwnd_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_SSTAB1)), instance_, nullptr);
  SendMessageW(tab_, WM_SETFONT, reinterpret_cast<WPARAM>(fonts_->Get(FontRole::Ui)), FALSE);
  Layout();  // the tab control's place, and the switches' before they are made
  controls_->Create(kSwitches, std::size(kSwitches), kNoPage, *fonts_);
  controls_->SetTip(IDC_CHECK1, "是否将本软件置于屏幕最前");
  controls_->SetTip(IDC_CHECK3, "是否显示系统菜单");
  currentPage_ = model_.View().currentPage;
  Render();  // builds the tabs, which makes the first page
  ArmTimer();
  return true;
}

void Form1Window::Show(int showCommand) {
  RenderCaption();
  ShowWindow(hwnd_, showCommand);
  shown_ = true;
  UpdateWindow(hwnd_);
  // Tool tips are only needed once the pointer rests on a control; making them after the window
  // is up shortens the start.
  controls_->CreateToolTips();
}

// A page's controls are made the first time the page is shown, as property sheets do, so that
// start-up pays only for the page it opens on.
PageWin32* Form1Window::EnsurePage(int page) {
  PageWin32* shell = pages_[page].get();
  if (!shell || pageCreated_[page]) return shell;
  pageCreated_[page] = true;
  Layout();  // first, so that each control is made in its place
  shell->Create(*controls_, *fonts_);
  return shell;
}

// The tab control cannot hide a tab, so the visible pages are laid out as its items.
void Form1Window::BuildTabs() {
  tabsBuiltFor_ = model_.View().pageVisible;
  TabCtrl_DeleteAllItems(tab_);
  tabCount_ = 0;
  int selected = -1;
  for (int page = 0; page < kPageCount; ++page) {
    if (!tabsBuiltFor_[page]) continue;
    std::wstring caption = Utf8ToWide(kPageCaptions[page]);
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = caption.data();
    TabCtrl_InsertItem(tab_, tabCount_, &item);
    if (page == currentPage_) selected = tabCount_;
    tabPages_[tabCount_++] = page;
  }
  if (selected < 0 && tabCount_ > 0) currentPage_ = tabPages_[selected = 0];
  TabCtrl_SetCurSel(tab_, selected);
  OnTabChange();
}

void Form1Window::OnTabChange() {
  const int index = TabCtrl_GetCurSel(tab_);
  if (index >= 0 && index < tabCount_) currentPage_ = tabPages_[index];
  model_.Tab_Click(currentPage_);
  controls_->ShowPage(currentPage_);  // first, so that a page made now is made visible
  EnsurePage(currentPage_);  // laid out as it is made; the others were laid out at each resize
  if (pageCreated_[currentPage_]) pages_[currentPage_]->Render(*controls_);
}

// The page the model turned to (a balloon clicked), when it has a tab.
void Form1Window::SelectPage(int page) {
  const auto tab = std::find(tabPages_.begin(), tabPages_.begin() + tabCount_, page);
  if (tab == tabPages_.begin() + tabCount_) return;
  TabCtrl_SetCurSel(tab_, static_cast<int>(tab - tabPages_.begin()));
  OnTabChange();
}

void Form1Window::Layout() {
  if (!tab_) return;  // still being created
  const int dpi = frame_.Dpi();
  const auto px = [dpi](int at96) { return MulDiv(at96, dpi, kBaseDpi); };
  RECT client{};
  GetClientRect(hwnd_, &client);
  if (const RECT place{0, 0, client.right, px(kTabHeight)}; !EqualRect(&place, &tabPlace_)) {
    tabPlace_ = place;
    MoveWindow(tab_, 0, 0, place.right, place.bottom, TRUE);
  }
  const int switchesTop = client.bottom - px(kSwitchesHeight), margin = px(8);
  controls_->Move(IDC_CHECK1, margin, switchesTop, px(kSwitchWidth), px(kSwitchesHeight - 6));
  controls_->Move(IDC_CHECK3, margin * 2 + px(kSwitchWidth), switchesTop, px(kSwitchWidth), px(kSwitchesHeight - 6));
  const RECT area{0, px(kTabHeight), client.right, switchesTop};
  for (int page = 0; page < kPageCount; ++page)
    if (pageCreated_[page]) pages_[page]->Layout(*controls_, area, dpi);
}

void Form1Window::Render() {
  rendering_ = true;
  const Form1View& v = model_.View();
  if (IsWindowVisible(hwnd_)) RenderCaption();
  controls_->SetChecked(IDC_CHECK1, v.check1);
  controls_->SetChecked(IDC_CHECK3, v.check3);
  menus_.ShowMenuBar(hwnd_, v.check3);
  if (v.pageVisible != tabsBuiltFor_ || tabCount_ == 0) BuildTabs();  // only when the pages shown changed
  if (v.currentPage != currentPage_) SelectPage(v.currentPage);
  if (PageSeen()) RenderPage();
  adPanel_->Render();
  if (shown_ && !v.windowVisible) ShowWindow(hwnd_, SW_HIDE);  // behind the tray icon
  shown_ = shown_ && v.windowVisible;
  rendering_ = false;
}

// The time of day in the caption changes every second; behind the tray icon nobody sees it, so it
// is brought up to date just before the window shows.
void Form1Window::RenderCaption() {
  if (std::wstring caption = Utf8ToWide(model_.View().caption); caption != caption_) {
    caption_ = std::move(caption);
    SetWindowTextW(hwnd_, caption_.c_str());
  }
}

// A page behind the tray icon or in a minimised window is brought up to date when it comes back
// (the render after the tray's event, WM_SIZE), not every second while nobody can see it.
bool Form1Window::PageSeen() const { return IsWindowVisible(hwnd_) && !IsIconic(hwnd_); }

void Form1Window::RenderPage() {
  // A page back in sight: a stopwatch's tick that waited runs first, and the timers hear of it.
  const bool backInSight = currentPage_ != seenPage_;
  if (backInSight && currentPage_ == kPageStopwatch) model_.StopwatchInSight();
  if (pageCreated_[currentPage_]) pages_[currentPage_]->Render(*controls_);
  if (backInSight) ArmTimer();
}

void Form1Window::ArmTimer() {
  seenPage_ = PageSeen() ? currentPage_ : kNoPage;
  const InSight inSight{seenPage_ == kPageStopwatch, seenPage_ == kPageMouse};
  SetTimer(hwnd_, kWakeTimer, std::max<UINT>(USER_TIMER_MINIMUM, model_.MsUntilDue(inSight)), nullptr);
}

void Form1Window::OnTimer() {
  const Woken woken = model_.Wake();
  if (woken.ticked) Render();
  else if (woken.mousePage && currentPage_ == kPageMouse && PageSeen()) RenderPage();
  ArmTimer();
}

void Form1Window::OnCommand(int id, int code) {
  if (rendering_) return;  // changes made by Render are not the user's
  if (id == IDC_LABEL5 && code == STN_DBLCLK) {  // "分钟": the advertising panel
    adPanel_->Open();
  } else if ((id == IDC_CHECK1 || id == IDC_CHECK3) && code == BN_CLICKED) {
    const bool checked = controls_->Checked(id);
    id == IDC_CHECK1 ? model_.Check1_Click(checked) : model_.Check3_Click(checked);
  } else if (const int page = controls_->PageOf(id); page >= 0 && pageCreated_[page]) {
    pages_[page]->OnCommand(*controls_, id, code);
  } else {
    return;
  }
  Render();
  ArmTimer();
}

void Form1Window::OnMenu(int id) {
  switch (id) {
    case IDM_OPTION:
      if (std::optional<OptionsModel> options = model_.OpenOptions()) {
        OptionsDialogWin32(instance_, *options, [this] { Render(); }).ShowModal(hwnd_);
        model_.OptionsDialog_Closed();
      } else {
        BringModalForward();
      }
      break;
    case IDM_EXIT:
      if (!model_.menuExit_Click()) BringModalForward();
      break;
    case IDM_REXIT: model_.RmenuExit_Click(); break;
    case IDM_CHAOZHOU:
    case IDM_RSUPPORT: model_.menuChaoZhou_Click(); break;
    case IDM_UPDATE:
    case IDM_RUPDATE:  // the housekeeping tick stops while the dialog is open
      if (const std::unique_ptr<UpdateDialog> dialog = model_.menuUpdate_Click()) {
        ArmTimer();
        UpdateDialogWin32(instance_, *dialog).ShowModal(hwnd_);
        model_.UpdateDialog_Closed();
      } else {
        BringModalForward();
      }
      break;
    case IDM_ABOUT:
    case IDM_RABOUT: about_->Show(hwnd_, model_.nemuAbout_Click()); break;
    default: return;
  }
  Render();
  ArmTimer();
}

// The dialog or message box of ours that holds the main window: a visible, enabled window the main
// window owns, other than the modeless about box. The topmost one comes first.
namespace {
struct ModalSearch {
  HWND owner, about, found;
};
// A named CALLBACK rather than a lambda: a 32-bit build needs the system's calling convention.
BOOL CALLBACK FindModal(HWND window, LPARAM parameter) {
  auto& s = *reinterpret_cast<ModalSearch*>(parameter);
  if (window == s.about || GetWindow(window, GW_OWNER) != s.owner || !IsWindowVisible(window) ||
      !IsWindowEnabled(window))
    return TRUE;
  s.found = window;
  return FALSE;
}
}  // namespace

void Form1Window::BringModalForward() {
  ModalSearch search{hwnd_, about_->Handle(), nullptr};
  EnumThreadWindows(GetCurrentThreadId(), FindModal, reinterpret_cast<LPARAM>(&search));
  if (search.found) SetForegroundWindow(search.found);
}

void Form1Window::OnTrayAction(TrayAction action) {
  if (action == TrayAction::ShowWindow) {
    RenderCaption();
    ShowWindow(hwnd_, SW_RESTORE);
    SetForegroundWindow(hwnd_);
    shown_ = true;
  } else if (action == TrayAction::ShowMenu) {
    menus_.ShowTrayMenu(hwnd_);
  }
}

void Form1Window::OnDpiChanged(int dpi, const RECT& suggested) {
  frame_.SetDpi(dpi);
  monitors_.Forget();
  // The old fonts stay alive until every control has been given the new ones.
  auto fonts = std::make_unique<Fonts>(dpi);
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
      if (model_.Form_QueryUnload() == CloseAction::Minimise) ShowWindow(hwnd_, SW_MINIMIZE);
      Render();
      return 0;
    case WM_QUERYENDSESSION:  // never stand in the way of logging off or shutting down
      return TRUE;
    case TKD_MSG_TRAY_CALLBACK: {
      const UINT event = LOWORD(lParam);
      const TrayAction action = model_.TrayIcon_Callback(
          event == WM_LBUTTONUP                                     ? TrayMouse::LeftUp
          : event == WM_RBUTTONUP                                   ? TrayMouse::RightUp
          : event == NIN_BALLOONUSERCLICK                           ? TrayMouse::BalloonClick
          : event == NIN_BALLOONTIMEOUT || event == NIN_BALLOONHIDE ? TrayMouse::BalloonGone
                                                                    : TrayMouse::Other);
      OnTrayAction(action);
      if (action != TrayAction::None) Render();  // the page a balloon brings back; not for every hover
      return 0;
    }
    case WM_TIMER:
      if (wParam == kWakeTimer) OnTimer();
      return 0;
    case WM_INPUT:  // the pointer's first move after a rest; the system still cleans up after it
      model_.PointerMoved();
      ArmTimer();
      break;
    case WM_NOTIFY:
      if (reinterpret_cast<const NMHDR*>(lParam)->hwndFrom == tab_ &&
          reinterpret_cast<const NMHDR*>(lParam)->code == TCN_SELCHANGE)
        OnTabChange();
      return 0;
    case WM_CTLCOLORSTATIC: {
      const int page = controls_ ? controls_->PageOf(GetDlgCtrlID(reinterpret_cast<HWND>(lParam))) : kNoPage;
      if (page >= 0 && pageCreated_[page])
        if (HBRUSH brush = pages_[page]->OnCtlColorStatic(reinterpret_cast<HDC>(wParam),
                                                          GetDlgCtrlID(reinterpret_cast<HWND>(lParam))))
          return reinterpret_cast<LRESULT>(brush);
      break;
    }
    case WM_SIZE:
      model_.Form_Resize(wParam == SIZE_MINIMIZED);
      Layout();
      if (wParam != SIZE_MINIMIZED) RenderPage();
      return 0;
    case WM_GETMINMAXINFO: {
      // Never smaller than the minimum size; a minimised or maximised window is not affected.
      auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
      info->ptMinTrackSize.x = TwipsToPixelsAtLeast(Form1minW, frame_.Dpi());
      info->ptMinTrackSize.y = TwipsToPixelsAtLeast(Form1minH, frame_.Dpi());
      return 0;
    }
    case WM_DPICHANGED:
      OnDpiChanged(LOWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
      return 0;
    case WM_DISPLAYCHANGE:
      monitors_.Forget();
      break;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
  }
  if (message == taskbarCreated_ && taskbarCreated_) model_.TaskbarCreated();
  if (message == anotherStart_ && anotherStart_) OnTrayAction(model_.AnotherStart());
  return DefWindowProcW(hwnd_, message, wParam, lParam);
}

}  // namespace tkd
