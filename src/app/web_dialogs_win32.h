// The web services' windows: the update dialog FormUpdate, the about box FormAbout and the
// advertising panel FormHide, each rendering its model from src/web/.
#pragma once

#include <windows.h>

#include <memory>

#include "app/controls_win32.h"
#include "web/about_box.h"
#include "web/advertising.h"
#include "web/update_check.h"

namespace tkd {

// FormUpdate: shows at once and fills in when the site answers; returns when it has closed.
void RunUpdateDialog(HINSTANCE instance, HWND owner, UpdateDialog& model);

// FormAbout: modeless; while it is open, showing it again only brings it forward.
class AboutBoxWin32 {
 public:
  AboutBoxWin32(HINSTANCE instance, HWND owner) : instance_(instance), owner_(owner) {}
  ~AboutBoxWin32();
  // Loads the box afresh with `model`, or brings the open one forward and drops `model`.
  void Show(std::unique_ptr<AboutBox> model);
  HWND Handle() const { return hwnd_; }  // nullptr while closed

 private:
  static INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
  INT_PTR Handle(UINT message, WPARAM wParam, LPARAM lParam);

  HINSTANCE instance_;
  HWND owner_;
  HWND hwnd_ = nullptr;
  std::unique_ptr<AboutBox> model_;
  UniqueGdi<HFONT> linkFont_;
};

// FormHide: a tool window above the taskbar in the bottom-right corner, with a browser control
// showing the page the model chose, closed by the model's own timer.
class AdPanelWin32 {
 public:
  AdPanelWin32(HINSTANCE instance, Advertising& ads) : instance_(instance), ads_(ads) {}
  ~AdPanelWin32();
  // Label5_DblClick: loads the panel, or brings the open one forward.
  void Open();

 private:
  static LRESULT CALLBACK WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);

  HINSTANCE instance_;
  Advertising& ads_;
  HWND hwnd_ = nullptr;
};

}  // namespace tkd
