// Our modal windows: the dialogs and message boxes that hold the main window while they are open.
#pragma once

#include <functional>
#include <string>

#include "platform/ports.h"

namespace tkd {

// Every message box of the program goes through here, and the modal dialogs say when they open
// and close, so that the main window knows whether one is open: the tray menu still works while
// one is, and must not open a second one on top of it.
class ModalWindows : public Prompt {
 public:
  explicit ModalWindows(Prompt& boxes) : boxes_(boxes) {}

  void ShowMessage(const std::string& text) override {
    Opened();
    boxes_.ShowMessage(text);
    Closed();
  }
  bool Confirm(const std::string& text, const std::string& caption) override {
    Opened();
    const bool ok = boxes_.Confirm(text, caption);
    Closed();
    return ok;
  }

  void Opened() { ++open_; }
  void Closed() {
    if (open_ > 0 && --open_ == 0 && lastClosed_) lastClosed_();
  }
  bool AnyOpen() const { return open_ > 0; }
  // What waits for the last of them to close.
  void WhenLastClosed(std::function<void()> then) { lastClosed_ = std::move(then); }

 private:
  Prompt& boxes_;
  int open_ = 0;
  std::function<void()> lastClosed_;
};

}  // namespace tkd
