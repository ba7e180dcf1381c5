// The about box FormAbout: modeless; while it is open, showing it again only brings it forward.
#pragma once

#include <memory>

#include "app/controls_win32.h"
#include "app/dialog_win32.h"
#include "web/about_box.h"

namespace tkd {

class AboutBoxWin32 : public DialogWin32 {
 public:
  explicit AboutBoxWin32(HINSTANCE instance);
  // Loads the box afresh with `model`, or brings the open one forward and drops `model`.
  void Show(HWND owner, std::unique_ptr<AboutBox> model);

 private:
  void OnInit() override;
  void OnCommand(int id, int code) override;
  HBRUSH OnCtlColor(HDC dc, int id) override;
  bool OnSetCursor(int id) override;
  void OnDestroy() override { model_.reset(); }

  std::unique_ptr<AboutBox> model_;
  UniqueGdi<HFONT> linkFont_;
};

}  // namespace tkd
