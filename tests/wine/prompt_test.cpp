// PromptWin32: the box's caption, text, single OK button and owner, read back from the live box.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "platform/prompt_win32.h"
#include "platform/text_win32.h"

namespace tkd {
namespace {

// What the message box showed, captured by a hook while the box is up.
struct ShownBox {
  int count = 0;
  std::wstring caption;
  std::vector<std::wstring> statics;  // texts of the static controls (the message is one)
  std::vector<int> buttonIds;
  HWND owner = nullptr;
};

ShownBox* g_shown = nullptr;
HHOOK g_hook = nullptr;

std::wstring TextOf(HWND window) {
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(),
                                                      static_cast<int>(text.size()))));
  return text;
}

std::wstring ClassOf(HWND window) {
  wchar_t name[64] = {};
  GetClassNameW(window, name, static_cast<int>(std::size(name)));
  return name;
}

// Reads the box once its dialog is built (WM_INITDIALOG has run), then dismisses it with OK.
LRESULT CALLBACK CaptureAndDismiss(int code, WPARAM wParam, LPARAM lParam) {
  const auto* call = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
  if (code == HC_ACTION && g_shown && call->message == WM_INITDIALOG &&
      ClassOf(call->hwnd) == L"#32770") {
    HWND box = call->hwnd;
    ++g_shown->count;
    g_shown->caption = TextOf(box);
    g_shown->owner = GetWindow(box, GW_OWNER);
    g_shown->statics.clear();
    g_shown->buttonIds.clear();
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
      const std::wstring cls = ClassOf(child);
      if (lstrcmpiW(cls.c_str(), L"Static") == 0) g_shown->statics.push_back(TextOf(child));
      if (lstrcmpiW(cls.c_str(), L"Button") == 0) g_shown->buttonIds.push_back(GetDlgCtrlID(child));
    }
    PostMessageW(box, WM_COMMAND, IDOK, 0);
  }
  return CallNextHookEx(g_hook, code, wParam, lParam);
}

bool Contains(const std::vector<std::wstring>& texts, const std::wstring& wanted) {
  for (const std::wstring& text : texts)
    if (text == wanted) return true;
  return false;
}

class PromptWin32Test : public ::testing::Test {
 protected:
  void SetUp() override {
    owner_ = CreateWindowExW(0, L"Static", L"owner", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr,
                             nullptr, GetModuleHandleW(nullptr), nullptr);
    if (!owner_) GTEST_SKIP() << "no display to show windows on";
    g_shown = &shown_;
    g_hook = SetWindowsHookExW(WH_CALLWNDPROCRET, CaptureAndDismiss, nullptr, GetCurrentThreadId());
    ASSERT_NE(g_hook, nullptr);
  }
  void TearDown() override {
    if (g_hook) UnhookWindowsHookEx(g_hook);
    g_hook = nullptr;
    g_shown = nullptr;
    if (owner_) DestroyWindow(owner_);
  }
  HWND owner_ = nullptr;
  ShownBox shown_;
};

TEST_F(PromptWin32Test, ShowsTheTextUnderTheProductCaptionWithOnlyOk) {
  struct Case {
    const char* label;
    std::string text;
    std::wstring shown;
  };
  const std::vector<Case> cases = {
      {"Chinese", "版本号请调整一下", L"\u7248\u672c\u53f7\u8bf7\u8c03\u6574\u4e00\u4e0b"},
      {"non-BMP", "\U00020BB7", std::wstring{wchar_t(0xD842), wchar_t(0xDFB7)}},
      {"ascii", "V1.0.0", L"V1.0.0"},
  };
  PromptWin32 prompt;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    shown_ = ShownBox{};
    prompt.ShowMessage(c.text);
    ASSERT_EQ(shown_.count, 1) << "no message box appeared";
    EXPECT_EQ(shown_.caption, L"TiKoDan");
    EXPECT_TRUE(Contains(shown_.statics, c.shown));
    EXPECT_EQ(shown_.buttonIds, std::vector<int>{IDOK});
  }
}

TEST_F(PromptWin32Test, BoxBelongsToTheOwnerOnceOneIsSet) {
  PromptWin32 prompt;
  prompt.ShowMessage("before");
  ASSERT_EQ(shown_.count, 1);
  EXPECT_EQ(shown_.owner, nullptr);

  prompt.SetOwner(owner_);
  prompt.ShowMessage("after");
  ASSERT_EQ(shown_.count, 2);
  EXPECT_EQ(shown_.owner, owner_);
}

}  // namespace
}  // namespace tkd
