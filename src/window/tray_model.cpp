// TrayModel: the icon's life and the window's visibility behind it.
#include "window/tray_model.h"

namespace tkd {

void TrayModel::TryAdd() {
  iconAdded_ = icon_.Add(tip_);
  ticksToRetry_ = kTrayRetryTicks;
}

void TrayModel::WantIcon() {
  if (!iconWanted_) {
    iconWanted_ = true;
    retriesLeft_ = kTrayRetries;
    TryAdd();
  } else if (!iconAdded_) {
    TryAdd();
  }
}

CloseAction TrayModel::Form_QueryUnload() {
  WantIcon();
  if (!iconAdded_) return CloseAction::Minimise;
  windowVisible_ = false;
  return CloseAction::Hide;
}

TrayAction TrayModel::IconCallback(TrayMouse mouse) {
  switch (mouse) {
    case TrayMouse::LeftUp:
    case TrayMouse::BalloonClick: {
      const bool warned = mouse == TrayMouse::BalloonClick || balloonTicks_ > 0;
      balloonTicks_ = 0;
      windowVisible_ = true;
      return warned ? TrayAction::ShowShutdownPage : TrayAction::ShowWindow;
    }
    case TrayMouse::BalloonGone: balloonTicks_ = 0; break;
    case TrayMouse::RightUp: return TrayAction::ShowMenu;
    case TrayMouse::Other: break;
  }
  return TrayAction::None;
}

void TrayModel::TaskbarCreated() {
  if (iconWanted_) TryAdd();
}

void TrayModel::Tick() {
  if (balloonTicks_ > 0) --balloonTicks_;
  if (!iconWanted_ || iconAdded_ || retriesLeft_ == 0 || --ticksToRetry_ > 0) return;
  --retriesLeft_;
  TryAdd();
}

void TrayModel::ShowBalloon(const std::string& title, const std::string& text) {
  WantIcon();
  if (!iconAdded_) return;
  icon_.ShowBalloon(title, text);
  balloonTicks_ = kBalloonTicks;
}

void TrayModel::HideBalloon() {
  if (balloonTicks_ == 0) return;
  icon_.HideBalloon();
  balloonTicks_ = 0;
}

void TrayModel::ShowNextShutdown(const std::string& at) {
  std::string tip = at.empty() ? baseTip_ : baseTip_ + " " + at + " 关机";
  if (tip == tip_) return;
  tip_ = std::move(tip);
  if (iconAdded_) icon_.SetTip(tip_);
}

void TrayModel::RemoveIcon() {
  if (iconAdded_) icon_.Remove();
  iconAdded_ = false;
}

}  // namespace tkd
