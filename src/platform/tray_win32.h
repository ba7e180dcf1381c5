// The tray port: one notification-area icon of a window, with its private callback message.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include "platform/ports.h"

namespace tkd {

class TrayWin32 : public TrayIcon {
 public:
  // The window that gets the icon's callbacks and the icon shown; set once the window exists.
  void SetWindow(HWND window, HICON icon, UINT callbackMessage);
  bool Add(const std::string& tip) override;
  void Remove() override;
  void SetTip(const std::string& tip) override;
  void ShowBalloon(const std::string& title, const std::string& text) override;
  void HideBalloon() override { ShowBalloon("", ""); }

 private:
  NOTIFYICONDATAW Data() const;
  HWND window_ = nullptr;
  HICON icon_ = nullptr;
  UINT callbackMessage_ = 0;
};

}  // namespace tkd
