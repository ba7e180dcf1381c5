// TrayModel: the icon's life and the window's visibility behind it.
#include "window/tray_model.h"

namespace tkd {

void TrayModel::TryAdd() {
  iconAdded_ = icon_.Add(tip_);
  ticksToRetry_ = kTrayRetryTicks;
}

CloseAction TrayModel::Form_QueryUnload() {
  if (!iconWanted_) {
    iconWanted_ = true;
    retriesLeft_ = kTrayRetries;
    TryAdd();
  } else if (!iconAdded_) {
    TryAdd();
  }
  if (!iconAdded_) return CloseAction::Minimise;
  windowVisible_ = false;
  return CloseAction::Hide;
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
  if (iconWanted_) TryAdd();
}

void TrayModel::RetryWhenDue() {
  if (!iconWanted_ || iconAdded_ || retriesLeft_ == 0 || --ticksToRetry_ > 0) return;
  --retriesLeft_;
  TryAdd();
}

void TrayModel::RemoveIcon() {
  if (iconAdded_) icon_.Remove();
  iconAdded_ = false;
}

}  // namespace tkd
