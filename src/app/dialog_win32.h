// A dialog from the resources, shown modal or modeless: its object found from WM_INITDIALOG on,
// and one virtual for each message the program's dialogs answer.
#pragma once

#include <windows.h>

#include <string>

namespace tkd {

class DialogWin32 {
 public:
  DialogWin32(HINSTANCE instance, int resource) : instance_(instance), resource_(resource) {}
  virtual ~DialogWin32();  // a modeless dialog still open goes with its object
  DialogWin32(const DialogWin32&) = delete;
  DialogWin32& operator=(const DialogWin32&) = delete;

  // Returns once the dialog has closed.
  void ShowModal(HWND owner);
  // Makes and shows the dialog, or brings the open one forward; false when it could not be made.
  bool ShowModeless(HWND owner);
  HWND Handle() const { return hwnd_; }  // nullptr while closed

 protected:
  virtual void OnInit() {}
  virtual void OnCommand(int /*id*/, int /*code*/) {}
  // The brush a static control is painted with (its colours set on `dc`), or nullptr for the usual.
  virtual HBRUSH OnCtlColor(HDC /*dc*/, int /*id*/) { return nullptr; }
  virtual bool OnSetCursor(int /*id*/) { return false; }  // true: the cursor was set
  virtual void OnDestroy() {}

  void Close();  // ends a modal dialog, destroys a modeless one
  void SetText(int id, const std::string& text) const;
  void Show(int id, bool visible) const;

 private:
  static INT_PTR CALLBACK Proc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

  HINSTANCE instance_;
  int resource_;
  HWND hwnd_ = nullptr;
  bool modal_ = false;
};

}  // namespace tkd
