// The main window's frame: tabs, timers and message dispatch; each page has a file of its own.
#pragma once

#include <windows.h>

#include <array>
#include <memory>
#include <string>

#include "app/controls_win32.h"
#include "app/menus_win32.h"
#include "app/page_win32.h"
#include "app/window_frame_win32.h"
#include "platform/ports.h"
#include "platform/monitors_win32.h"
#include "platform/tray_win32.h"
#include "timing/tick_pump.h"
#include "window/form1_model.h"

namespace tkd {

class AboutBoxWin32;
class AdPanelWin32;

class Form1Window {
 public:
  Form1Window(HINSTANCE instance, Clock& clock, Form1FrameWin32& frame, TrayWin32& tray, MonitorsWin32& monitors,
              Form1Model& model);
  ~Form1Window();
  Form1Window(const Form1Window&) = delete;
  Form1Window& operator=(const Form1Window&) = delete;

  // Creates the window (hidden) where the model's start-up placed it, and starts its timers.
  bool Create();
  void Show(int showCommand);
  HWND Handle() const { return hwnd_; }

 private:
  static LRESULT CALLBACK WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void OnCommand(int id, int code);
  void OnTimer(UINT_PTR id);
  void OnTabChange();
  void OnDpiChanged(const RECT& suggested);
  void OnMenu(int id);
  void OnTrayCallback(UINT mouseMessage);
  void BringModalForward();

  void BuildTabs();
  PageWin32* EnsurePage(int page);  // makes the page's controls the first time; nullptr if none
  void Layout();
  void Render();  // notifications raised while rendering are not the user's, and are ignored
  void SyncTimers();
  void ArmSampling();
  int Dpi() const;

  HINSTANCE instance_;
  Clock& clock_;
  Form1FrameWin32& frame_;
  TrayWin32& tray_;
  MonitorsWin32& monitors_;
  Form1Model& model_;
  Menus menus_;
  UINT taskbarCreated_;  // the message Explorer broadcasts when it has (re)started
  UINT anotherStart_;    // the message a second start of the program posts
  HWND hwnd_ = nullptr;
  HWND tab_ = nullptr;
  std::unique_ptr<Fonts> fonts_;
  std::unique_ptr<Controls> controls_;
  std::array<std::unique_ptr<PageWin32>, kPageCount> pages_;
  std::array<bool, kPageCount> pageCreated_{};
  std::array<int, kPageCount> tabPages_{};  // tab index -> page
  int tabCount_ = 0;
  int currentPage_ = 0;
  bool rendering_ = false;
  std::wstring caption_;
  TickPump timer1_, timer2_, timer3_;  // housekeeping; the stopwatch; the shutdown countdown
  int samplingMs_ = 0;                  // Timer4's interval as armed
  ULONGLONG mousePageRenderedMs_ = 0;
  std::unique_ptr<AboutBoxWin32> about_;   // FormAbout
  std::unique_ptr<AdPanelWin32> adPanel_;  // FormHide
};

}  // namespace tkd
