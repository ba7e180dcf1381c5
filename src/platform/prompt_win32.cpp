// PromptWin32: MessageBoxW captioned with the product name.
#include "platform/prompt_win32.h"

#include "platform/text_win32.h"
#include "core/program_info.h"

namespace tkd {

void PromptWin32::ShowMessage(const std::string& text) {
  static const std::wstring caption = Utf8ToWide(kProductName);
  MessageBoxW(owner_, Utf8ToWide(text).c_str(), caption.c_str(), MB_OK);
}

}  // namespace tkd
