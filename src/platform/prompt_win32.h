// The prompt port: modal message boxes owned by the main window once it exists.
#pragma once

#include <windows.h>

#include "platform/ports.h"

namespace tkd {

class PromptWin32 : public Prompt {
 public:
  explicit PromptWin32(HWND owner = nullptr) : owner_(owner) {}
  // The main window is created after the first prompts may be needed, so the owner comes later.
  void SetOwner(HWND owner) { owner_ = owner; }
  HWND Owner() const { return owner_; }

  void ShowMessage(const std::string& text) override;
  bool Confirm(const std::string& text, const std::string& caption) override;

 private:
  HWND owner_ = nullptr;
};

}  // namespace tkd
