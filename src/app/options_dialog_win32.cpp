// RunOptionsDialog: the dialog procedure, one call into the model per event, then a render.
#include "app/options_dialog_win32.h"

#include "app/resource.h"
#include "platform/text_win32.h"

namespace tkd {
namespace {

struct Dialog {
  OptionsModel& model;
  std::function<void()> changed;
  bool rendering = false;
};

void Render(HWND dialog, Dialog& d) {
  d.rendering = true;
  const OptionsView& v = d.model.View();
  CheckDlgButton(dialog, IDC_OPT_CHECK1, v.check1 ? BST_CHECKED : BST_UNCHECKED);
  for (int page = 0; page < kHideablePages; ++page)
    CheckDlgButton(dialog, IDC_OPT_CHECK2 + page, v.hidePage[page] ? BST_CHECKED : BST_UNCHECKED);
  const std::wstring text = Utf8ToWide(v.text1);
  wchar_t shown[256] = L"";
  GetDlgItemTextW(dialog, IDC_OPT_TEXT1, shown, 256);
  if (text != shown) SetDlgItemTextW(dialog, IDC_OPT_TEXT1, text.c_str());
  d.rendering = false;
  if (d.changed) d.changed();
  if (!v.open) EndDialog(dialog, IDOK);
}

void OnCommand(HWND dialog, Dialog& d, int id, int code) {
  const bool checked = IsDlgButtonChecked(dialog, id) == BST_CHECKED;
  if (id == IDC_OPT_CHECK1 && code == BN_CLICKED) d.model.Check1_Click(checked);
  else if (id >= IDC_OPT_CHECK2 && id <= IDC_OPT_CHECK5 && code == BN_CLICKED)
    d.model.HidePage_Click(id - IDC_OPT_CHECK2, checked);
  else if (id == IDC_OPT_TEXT1 && code == EN_CHANGE) {
    wchar_t text[256] = L"";
    GetDlgItemTextW(dialog, IDC_OPT_TEXT1, text, 256);
    d.model.Text1_Change(WideToUtf8(text));
  } else if (id == IDOK) d.model.Command1_Click();
  else if (id == IDCANCEL) d.model.Command2_Click();  // also Escape and the close box
  else return;
  Render(dialog, d);
}

INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* d = reinterpret_cast<Dialog*>(GetWindowLongPtrW(dialog, DWLP_USER));
  switch (message) {
    case WM_INITDIALOG:
      d = reinterpret_cast<Dialog*>(lParam);
      SetWindowLongPtrW(dialog, DWLP_USER, lParam);
      d->model.Form_Load();  // each opening reloads from the registry
      Render(dialog, *d);
      return TRUE;
    case WM_COMMAND:
      if (d && !d->rendering) OnCommand(dialog, *d, LOWORD(wParam), HIWORD(wParam));
      return TRUE;
  }
  return FALSE;
}

}  // namespace

void RunOptionsDialog(HINSTANCE instance, HWND owner, OptionsModel& model, std::function<void()> changed) {
  Dialog d{model, std::move(changed)};
  DialogBoxParamW(instance, MAKEINTRESOURCEW(IDD_OPTIONS), owner, DialogProc, reinterpret_cast<LPARAM>(&d));
}

}  // namespace tkd
