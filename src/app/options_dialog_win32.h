// The options dialog FormOption: a modal dialog from the resources, rendering OptionsModel.
#pragma once

#include <functional>

#include "app/dialog_win32.h"
#include "settings/options_model.h"

namespace tkd {

class OptionsDialogWin32 : public DialogWin32 {
 public:
  // `changed` runs after every event of the user's, so that the main window shows the pages at once.
  OptionsDialogWin32(HINSTANCE instance, OptionsModel& model, std::function<void()> changed);

 private:
  void OnInit() override;
  void OnCommand(int id, int code) override;
  void Render();  // notifications raised while rendering are not the user's, and are ignored

  OptionsModel& model_;
  std::function<void()> changed_;
  bool rendering_ = false;
};

}  // namespace tkd
