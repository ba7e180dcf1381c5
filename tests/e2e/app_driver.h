// Page objects for driving TiKoDan from another process: its process, its main window, its controls and message boxes.
#pragma once

#include <windows.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/resource.h"
#include "wait.h"

namespace tkd::e2e {

// The program under test as a process. Ending the object ends the process, so that no test
// leaves a copy running for the next one.
class AppProcess {
 public:
  // Starts the executable in its own folder (the program looks for its sounds there).
  // nullptr when CreateProcessW fails.
  static std::unique_ptr<AppProcess> Launch(const std::wstring& exePath);
  ~AppProcess();
  AppProcess(const AppProcess&) = delete;
  AppProcess& operator=(const AppProcess&) = delete;

  DWORD Id() const { return info_.dwProcessId; }
  bool Running() const;
  // Waits for the process to end by itself; true when it did before the deadline.
  bool Ended(Ms timeout) const;
  // Ends the process at once and waits until it is gone.
  void Kill();

 private:
  explicit AppProcess(const PROCESS_INFORMATION& info) : info_(info) {}
  PROCESS_INFORMATION info_{};
};

// One child control of the main window, used the way a person would.
class Control {
 public:
  Control(HWND form, HWND hwnd, DWORD processId) : form_(form), hwnd_(hwnd), pid_(processId) {}

  HWND Handle() const { return hwnd_; }
  bool Exists() const { return hwnd_ != nullptr && IsWindow(hwnd_); }
  std::wstring Text() const;
  bool Visible() const { return IsWindowVisible(hwnd_) != FALSE; }
  bool Checked() const;
  // The text of the tool tip that hovering over the control would show.
  std::wstring ToolTip() const;

  // A person can only use what is on screen: these add a test failure, and do nothing, when
  // the control is hidden (e.g. on a tab page that is not selected).

  // A click, posted: the program's handler may open a modal box, and a sent click would wait
  // for that box to close.
  void Click() const;
  // Replaces the text as pasting would; the program sees EN_CHANGE. Returns without waiting
  // for the program's handler to finish, since that handler may open a modal box.
  void SetText(const std::wstring& text) const;
  // Selects everything and deletes it, as a person clearing the box would.
  void Clear() const;

 private:
  bool UsableOrFail(const char* action) const;
  HWND form_;
  HWND hwnd_;
  DWORD pid_;
};

// A message box of the program: the standard dialog (#32770) owned by its process.
class MessageBoxPage {
 public:
  explicit MessageBoxPage(HWND box) : box_(box) {}
  HWND Handle() const { return box_; }
  std::wstring Title() const;
  std::wstring Text() const;
  void PressOk() const;
  bool Gone() const { return !IsWindow(box_) || !IsWindowVisible(box_); }

 private:
  HWND box_;
};

// The main window, Form1.
class Form1Page {
 public:
  // Waits for the process's visible Form1 window.
  static std::optional<Form1Page> WaitFor(const AppProcess& app, Ms timeout);

  HWND Handle() const { return form_; }
  std::wstring Title() const;
  RECT Bounds() const;
  // Moves and sizes the window, as dragging its frame would.
  void MoveTo(int left, int top, int width, int height) const;

  // Clicks the tab with this caption, as a person would; false when there is no such tab.
  bool SelectTab(const std::wstring& caption) const;
  // The caption of the selected tab.
  std::wstring SelectedTab() const;
  // Every tab's caption, left to right.
  std::vector<std::wstring> TabCaptions() const;

  Control Command1() const { return Child(IDC_COMMAND1); }
  Control Command2() const { return Child(IDC_COMMAND2); }
  Control Check2() const { return Child(IDC_CHECK2); }
  Control Text1() const { return Child(IDC_TEXT1); }
  Control Label2() const { return Child(IDC_LABEL2); }
  Control Label7() const { return Child(IDC_LABEL7); }
  std::wstring Label2Text() const { return Label2().Text(); }

  // The program's message box currently shown, if any.
  std::optional<MessageBoxPage> FindMessageBox() const;

 private:
  Form1Page(HWND form, DWORD pid) : form_(form), pid_(pid) {}
  Control Child(int id) const;
  HWND form_;
  DWORD pid_;
};

}  // namespace tkd::e2e
