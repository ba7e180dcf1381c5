// UpdateDialogWin32: the model's load asks the site; its answer and every button render the view.
#include "app/update_dialog_win32.h"

#include "app/resource.h"

namespace tkd {

UpdateDialogWin32::UpdateDialogWin32(HINSTANCE instance, UpdateDialog& model)
    : DialogWin32(instance, IDD_UPDATE), model_(model) {}

void UpdateDialogWin32::OnInit() {
  model_.Form_Load([this] { Render(); });
  Render();
}

void UpdateDialogWin32::OnCommand(int id, int code) {
  if (code != BN_CLICKED) return;
  switch (id) {
    case IDC_UPD_COMMAND1: model_.Command1_Click(); break;
    case IDC_UPD_COMMAND3: model_.Command3_Click(); break;
    case IDCANCEL: model_.Command2_Click(); break;  // also Escape and the close box
    default: return;
  }
  Render();
}

void UpdateDialogWin32::Render() {
  const UpdateView& v = model_.View();
  SetText(IDC_UPD_LABEL1, v.label1);
  SetText(IDC_UPD_LABEL2, v.label2);
  SetText(IDC_UPD_LABEL3, v.label3);
  Show(IDC_UPD_LABEL4, v.label4Visible);
  Show(IDC_UPD_COMMAND3, v.command3Visible);
  Show(IDC_UPD_COMMAND1, v.command1Visible);
  if (!v.open) Close();
}

}  // namespace tkd
