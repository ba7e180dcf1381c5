// OptionsDialogWin32: one call into the model per event, then a render.
#include "app/options_dialog_win32.h"

#include "app/resource.h"
#include "platform/text_win32.h"

namespace tkd {

OptionsDialogWin32::OptionsDialogWin32(HINSTANCE instance, OptionsModel& model, std::function<void()> changed)
    : DialogWin32(instance, IDD_OPTIONS), model_(model), changed_(std::move(changed)) {}

void OptionsDialogWin32::OnInit() {
  model_.Form_Load();  // each opening reloads from the registry
  Render();
  changed_();
}

void OptionsDialogWin32::OnCommand(int id, int code) {
  if (rendering_) return;
  const bool checked = IsDlgButtonChecked(Handle(), id) == BST_CHECKED;
  if (id == IDC_OPT_CHECK1 && code == BN_CLICKED) {
    model_.Check1_Click(checked);
  } else if (id >= IDC_OPT_CHECK2 && id <= IDC_OPT_CHECK5 && code == BN_CLICKED) {
    model_.HidePage_Click(id - IDC_OPT_CHECK2, checked);
  } else if (id == IDC_OPT_TEXT1 && code == EN_CHANGE) {
    wchar_t text[256] = L"";
    GetDlgItemTextW(Handle(), IDC_OPT_TEXT1, text, 256);
    model_.Text1_Change(WideToUtf8(text));
  } else if (id == IDOK) {
    model_.Command1_Click();
  } else if (id == IDCANCEL) {
    model_.Command2_Click();  // also Escape and the close box
  } else {
    return;
  }
  Render();
  changed_();
}

void OptionsDialogWin32::Render() {
  rendering_ = true;
  const OptionsView& v = model_.View();
  CheckDlgButton(Handle(), IDC_OPT_CHECK1, v.check1 ? BST_CHECKED : BST_UNCHECKED);
  for (int page = 0; page < kHideablePages; ++page)
    CheckDlgButton(Handle(), IDC_OPT_CHECK2 + page, v.hidePage[page] ? BST_CHECKED : BST_UNCHECKED);
  const std::wstring text = Utf8ToWide(v.text1);
  wchar_t shown[256] = L"";
  GetDlgItemTextW(Handle(), IDC_OPT_TEXT1, shown, 256);
  if (text != shown) SetDlgItemTextW(Handle(), IDC_OPT_TEXT1, text.c_str());
  rendering_ = false;
  if (!v.open) Close();
}

}  // namespace tkd
