// The advertising panel FormHide: a tool window above the taskbar in the bottom-right corner, with
// a browser control showing the page the model chose; the model's own timer closes it.
#pragma once

#include <windows.h>

#include "web/advertising.h"

namespace tkd {

class AdPanelWin32 {
 public:
  AdPanelWin32(HINSTANCE instance, Advertising& ads) : instance_(instance), ads_(ads) {}
  ~AdPanelWin32();
  AdPanelWin32(const AdPanelWin32&) = delete;
  AdPanelWin32& operator=(const AdPanelWin32&) = delete;

  // Label5_DblClick: loads the panel, or brings the open one forward.
  void Open();
  // After the model's timers ran: the window goes when the model's panel has.
  void Render();

 private:
  static LRESULT CALLBACK WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

  HINSTANCE instance_;
  Advertising& ads_;
  HWND hwnd_ = nullptr;
};

}  // namespace tkd
