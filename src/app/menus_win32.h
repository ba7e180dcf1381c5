// The menu bar "菜单(&T)" and the tray pop-up menu, built from tables, owned and shown here.
#pragma once

#include <windows.h>

namespace tkd {

class Menus {
 public:
  Menus();
  ~Menus();
  Menus(const Menus&) = delete;
  Menus& operator=(const Menus&) = delete;

  // Attaches or detaches the menu bar; the menus stay owned here either way.
  void ShowMenuBar(HWND window, bool visible);
  // Opens the tray menu at the pointer. The window comes to the foreground first and gets a
  // message after, so that the menu closes when the user clicks elsewhere.
  void ShowTrayMenu(HWND window) const;

 private:
  HMENU bar_;
  HMENU tray_;
  bool barShown_ = false;
};

}  // namespace tkd
