// TrayModel: the icon's life and the window's visibility behind it.
#include "window/tray_model.h"

namespace tkd {

void TrayModel::Form_QueryUnload() {
  if (!iconAdded_) icon_.Add(tip_);
  iconAdded_ = true;
  windowVisible_ = false;
}

TrayAction TrayModel::IconCallback(TrayMouse mouse) {
  switch (mouse) {
    case TrayMouse::LeftUp:
      windowVisible_ = true;
      return TrayAction::ShowWindow;
    case TrayMouse::RightUp: return TrayAction::ShowMenu;
    case TrayMouse::Other: break;
  }
  return TrayAction::None;
}

void TrayModel::TaskbarCreated() {
  if (iconAdded_) icon_.Add(tip_);
}

void TrayModel::RemoveIcon() {
  if (iconAdded_) icon_.Remove();
  iconAdded_ = false;
}

}  // namespace tkd
