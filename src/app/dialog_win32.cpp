// DialogWin32: the dialog procedure shared by the program's dialogs.
#include "app/dialog_win32.h"

#include "platform/text_win32.h"

namespace tkd {

DialogWin32::~DialogWin32() {
  if (hwnd_ && !modal_) DestroyWindow(hwnd_);
}

void DialogWin32::ShowModal(HWND owner) {
  modal_ = true;
  DialogBoxParamW(instance_, MAKEINTRESOURCEW(resource_), owner, Proc, reinterpret_cast<LPARAM>(this));
}

bool DialogWin32::ShowModeless(HWND owner) {
  if (!hwnd_) {
    modal_ = false;
    CreateDialogParamW(instance_, MAKEINTRESOURCEW(resource_), owner, Proc, reinterpret_cast<LPARAM>(this));
  }
  if (!hwnd_) return false;
  ShowWindow(hwnd_, SW_SHOWNORMAL);
  SetForegroundWindow(hwnd_);
  return true;
}

void DialogWin32::Close() {
  if (!hwnd_) return;
  if (modal_) EndDialog(hwnd_, IDOK);
  else DestroyWindow(hwnd_);
}

void DialogWin32::SetText(int id, const std::string& text) const {
  SetDlgItemTextW(hwnd_, id, Utf8ToWide(text).c_str());
}

void DialogWin32::Show(int id, bool visible) const { ShowWindow(GetDlgItem(hwnd_, id), visible ? SW_SHOWNA : SW_HIDE); }

INT_PTR CALLBACK DialogWin32::Proc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    SetWindowLongPtrW(dialog, DWLP_USER, lParam);
    reinterpret_cast<DialogWin32*>(lParam)->hwnd_ = dialog;
  }
  auto* self = reinterpret_cast<DialogWin32*>(GetWindowLongPtrW(dialog, DWLP_USER));
  if (!self) return FALSE;
  switch (message) {
    case WM_INITDIALOG:
      self->OnInit();
      return TRUE;
    case WM_COMMAND:
      self->OnCommand(LOWORD(wParam), HIWORD(wParam));
      return TRUE;
    case WM_CTLCOLORSTATIC:
      return reinterpret_cast<INT_PTR>(
          self->OnCtlColor(reinterpret_cast<HDC>(wParam), GetDlgCtrlID(reinterpret_cast<HWND>(lParam))));
    case WM_SETCURSOR:
      if (!self->OnSetCursor(GetDlgCtrlID(reinterpret_cast<HWND>(wParam)))) return FALSE;
      SetWindowLongPtrW(dialog, DWLP_MSGRESULT, TRUE);
      return TRUE;
    case WM_DESTROY:
      self->OnDestroy();
      self->hwnd_ = nullptr;
      SetWindowLongPtrW(dialog, DWLP_USER, 0);
      return FALSE;
  }
  return FALSE;
}

}  // namespace tkd
