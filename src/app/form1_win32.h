// The main window Form1: its frame, tabs, menus, tray icon and one timer; each page and dialog has
// a file of its own.
#pragma once

#include <windows.h>

#include <array>
#include <memory>
#include <string>

#include "app/about_box_win32.h"
#include "app/ad_panel_win32.h"
#include "app/controls_win32.h"
#include "app/menus_win32.h"
#include "app/page_win32.h"
#include "platform/monitors_win32.h"
#include "platform/tray_win32.h"
#include "platform/window_frame_win32.h"
#include "window/form1_model.h"

namespace tkd {

class Form1Window {
 public:
  Form1Window(HINSTANCE instance, Form1FrameWin32& frame, TrayWin32& tray, MonitorsWin32& monitors, Form1Model& model);
  ~Form1Window();
  Form1Window(const Form1Window&) = delete;
  Form1Window& operator=(const Form1Window&) = delete;

  // Creates the window (hidden) where the model's start-up placed it, and arms its timer.
  bool Create();
  void Show(int showCommand);
  HWND Handle() const { return hwnd_; }

 private:
  static LRESULT CALLBACK WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void OnCommand(int id, int code);
  void OnMenu(int id);
  void OnTimer();
  void OnTabChange();
  void OnDpiChanged(int dpi, const RECT& suggested);
  void OnTrayAction(TrayAction action);
  void BringModalForward();

  PageWin32* EnsurePage(int page);  // makes the page's controls the first time; nullptr if none
  void BuildTabs();
  void SelectPage(int page);
  void Layout();
  void Render();  // notifications raised while rendering are not the user's, and are ignored
  void RenderCaption();
  bool PageSeen() const;
  void RenderPage();
  void ArmTimer();

  HINSTANCE instance_;
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
  std::array<bool, kPageCount> tabsBuiltFor_{};  // the pages the tabs were last built for
  std::array<int, kPageCount> tabPages_{};        // tab index -> page
  int tabCount_ = 0;
  int currentPage_ = 0;
  bool rendering_ = false;
  bool shown_ = false;  // as last rendered
  int seenPage_ = kNoPage;  // the page in sight as the timer was last armed
  RECT tabPlace_{};  // where Layout last put the tab control
  std::wstring caption_;
  std::unique_ptr<AboutBoxWin32> about_;   // FormAbout
  std::unique_ptr<AdPanelWin32> adPanel_;  // FormHide
};

}  // namespace tkd
