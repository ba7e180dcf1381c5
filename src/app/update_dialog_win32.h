// The update dialog FormUpdate: modal, shown at once, filled in when the site answers.
#pragma once

#include "app/dialog_win32.h"
#include "web/update_check.h"

namespace tkd {

class UpdateDialogWin32 : public DialogWin32 {
 public:
  UpdateDialogWin32(HINSTANCE instance, UpdateDialog& model);

 private:
  void OnInit() override;
  void OnCommand(int id, int code) override;
  void Render();

  UpdateDialog& model_;
};

}  // namespace tkd
