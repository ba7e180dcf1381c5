// The main window's desktop side: its menus, the options dialog and the tray icon's callbacks.
#include <optional>

#include "app/form1_win32.h"
#include "app/options_dialog_win32.h"
#include "app/resource.h"
#include "app/web_dialogs_win32.h"

namespace tkd {

void Form1Window::OnMenu(int id) {
  switch (id) {
    case IDM_OPTION: {
      std::optional<OptionsModel> options = model_.OpenOptions();
      if (!options) {
        BringModalForward();
        break;
      }
      RunOptionsDialog(instance_, hwnd_, *options, [this] {
        BuildTabs();
        OnTabChange();
      });
      model_.OptionsDialog_Closed();
      break;
    }
    case IDM_EXIT:
      if (!model_.menuExit_Click()) BringModalForward();
      break;
    case IDM_REXIT: model_.RmenuExit_Click(); break;
    case IDM_CHAOZHOU:
    case IDM_RSUPPORT: model_.menuChaoZhou_Click(); break;
    case IDM_UPDATE:
    case IDM_RUPDATE: {  // the housekeeping tick stops while the dialog is open
      const std::unique_ptr<UpdateDialog> dialog = model_.menuUpdate_Click();
      if (!dialog) {
        BringModalForward();
        break;
      }
      SyncTimers();
      RunUpdateDialog(instance_, hwnd_, *dialog);
      model_.UpdateDialog_Closed();
      SyncTimers();
      break;
    }
    case IDM_ABOUT:
    case IDM_RABOUT: about_->Show(model_.nemuAbout_Click()); break;
    default: break;
  }
}

// The dialog or message box of ours that holds the main window: a visible, enabled window the main
// window owns, other than the modeless about box. The topmost one comes first.
void Form1Window::BringModalForward() {
  struct Search {
    HWND owner, about, found;
  } search{hwnd_, about_->Handle(), nullptr};
  EnumThreadWindows(GetCurrentThreadId(), [](HWND window, LPARAM parameter) -> BOOL {
    auto& s = *reinterpret_cast<Search*>(parameter);
    if (window == s.about || GetWindow(window, GW_OWNER) != s.owner || !IsWindowVisible(window) ||
        !IsWindowEnabled(window))
      return TRUE;
    s.found = window;
    return FALSE;
  }, reinterpret_cast<LPARAM>(&search));
  if (search.found) SetForegroundWindow(search.found);
}

void Form1Window::OnTrayCallback(UINT mouseMessage) {
  const TrayMouse mouse = mouseMessage == WM_LBUTTONUP   ? TrayMouse::LeftUp
                          : mouseMessage == WM_RBUTTONUP ? TrayMouse::RightUp
                                                         : TrayMouse::Other;
  switch (model_.TrayIcon_Callback(mouse)) {
    case TrayAction::ShowWindow:
      ShowWindow(hwnd_, SW_RESTORE);
      SetForegroundWindow(hwnd_);
      break;
    case TrayAction::ShowMenu: menus_.ShowTrayMenu(hwnd_); break;
    case TrayAction::None: break;
  }
}

}  // namespace tkd
