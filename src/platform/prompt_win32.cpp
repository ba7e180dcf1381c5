// PromptWin32: MessageBoxW, captioned with the product name unless a caption is given.
#include "platform/prompt_win32.h"

#include "platform/text_win32.h"
#include "core/program_info.h"

namespace tkd {

void PromptWin32::ShowMessage(const std::string& text) {
  static const std::wstring caption = Utf8ToWide(kProductName);
  MessageBoxW(owner_, Utf8ToWide(text).c_str(), caption.c_str(), MB_OK);
}

bool PromptWin32::Confirm(const std::string& text, const std::string& caption) {
  const UINT style = MB_OKCANCEL | MB_ICONQUESTION | MB_DEFBUTTON2;
  return MessageBoxW(owner_, Utf8ToWide(text).c_str(), Utf8ToWide(caption).c_str(), style) == IDOK;
}

}  // namespace tkd
