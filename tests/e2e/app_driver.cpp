// Page objects over Win32: finding the program's windows by class and process, and reading and working its controls.
#include "app_driver.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace tkd::e2e {
namespace {

// Cross-process sends can block if the program is busy; a driver that hangs tells nothing.
constexpr UINT kSendTimeoutMs = 2000;

std::wstring ClassOf(HWND hwnd) {
  wchar_t name[256] = L"";
  GetClassNameW(hwnd, name, static_cast<int>(std::size(name)));
  return name;
}

DWORD ProcessOf(HWND hwnd) {
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  return pid;
}

// Every top-level window of a process with the given class.
std::vector<HWND> TopLevelWindows(DWORD pid, const std::wstring& className) {
  struct Search {
    DWORD pid;
    const std::wstring* className;
    std::vector<HWND> found;
  } search{pid, &className, {}};
  EnumWindows(
      [](HWND hwnd, LPARAM param) -> BOOL {
        auto* s = reinterpret_cast<Search*>(param);
        if (ProcessOf(hwnd) == s->pid && ClassOf(hwnd) == *s->className) s->found.push_back(hwnd);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// A message whose answer is a number; `otherwise` when the program does not answer in time.
LRESULT Ask(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT otherwise) {
  DWORD_PTR answer = 0;
  if (!SendMessageTimeoutW(hwnd, message, wParam, lParam, SMTO_ABORTIFHUNG, kSendTimeoutMs, &answer))
    return otherwise;
  return static_cast<LRESULT>(answer);
}

// WM_GETTEXT, which the system marshals across processes. One fixed buffer: the title changes
// every second, so a length asked first could already be stale.
std::wstring WindowText(HWND hwnd) {
  std::vector<wchar_t> buffer(4096, L'\0');
  DWORD_PTR copied = 0;
  if (!SendMessageTimeoutW(hwnd, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()),
                           SMTO_ABORTIFHUNG, kSendTimeoutMs, &copied))
    return L"";
  return std::wstring(buffer.data(), std::min<std::size_t>(copied, buffer.size() - 1));
}

// Memory inside the program's process, freed with the object.
class RemoteBuffer {
 public:
  RemoteBuffer(DWORD pid, std::size_t bytes)
      : process_(OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid)) {
    if (process_)
      address_ = VirtualAllocEx(process_, nullptr, bytes, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
  }
  ~RemoteBuffer() {
    if (address_) VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
    if (process_) CloseHandle(process_);
  }
  RemoteBuffer(const RemoteBuffer&) = delete;
  RemoteBuffer& operator=(const RemoteBuffer&) = delete;

  bool Valid() const { return address_ != nullptr; }
  char* At(std::size_t offset) const { return static_cast<char*>(address_) + offset; }
  bool Write(std::size_t offset, const void* data, std::size_t bytes) const {
    return WriteProcessMemory(process_, At(offset), data, bytes, nullptr) != FALSE;
  }
  bool Read(std::size_t offset, void* data, std::size_t bytes) const {
    return ReadProcessMemory(process_, At(offset), data, bytes, nullptr) != FALSE;
  }

 private:
  HANDLE process_;
  void* address_ = nullptr;
};

}  // namespace

// ---------------------------------------------------------------------------------------------
// AppProcess

std::unique_ptr<AppProcess> AppProcess::Launch(const std::wstring& exePath) {
  const std::wstring::size_type slash = exePath.find_last_of(L"\\/");
  const std::wstring folder = slash == std::wstring::npos ? L"." : exePath.substr(0, slash);
  std::wstring commandLine = L"\"" + exePath + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION info{};
  if (!CreateProcessW(exePath.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      folder.c_str(), &startup, &info))
    return nullptr;
  return std::unique_ptr<AppProcess>(new AppProcess(info));
}

AppProcess::~AppProcess() {
  Kill();
  CloseHandle(info_.hThread);
  CloseHandle(info_.hProcess);
}

bool AppProcess::Running() const { return WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT; }

bool AppProcess::Ended(Ms timeout) const {
  return WaitForSingleObject(info_.hProcess, static_cast<DWORD>(timeout.count())) == WAIT_OBJECT_0;
}

void AppProcess::Kill() {
  if (!Running()) return;
  TerminateProcess(info_.hProcess, 1);
  WaitForSingleObject(info_.hProcess, 10000);
}

// ---------------------------------------------------------------------------------------------
// Control

std::wstring Control::Text() const { return WindowText(hwnd_); }

bool Control::Checked() const {
  return Ask(hwnd_, BM_GETCHECK, 0, 0, BST_UNCHECKED) == BST_CHECKED;
}

bool Control::UsableOrFail(const char* action) const {
  if (Exists() && Visible()) return true;
  ADD_FAILURE() << action << " control " << GetDlgCtrlID(hwnd_) << ", which is "
                << (Exists() ? "hidden" : "missing");
  return false;
}

void Control::Click() const {
  if (UsableOrFail("clicked")) PostMessageW(hwnd_, BM_CLICK, 0, 0);
}

void Control::SetText(const std::wstring& text) const {
  if (!UsableOrFail("typed into")) return;
  // Only the send can carry the text's pointer across processes. When the program's EN_CHANGE
  // handler opens a modal box the send times out, but the program still takes the text.
  DWORD_PTR ignored = 0;
  SendMessageTimeoutW(hwnd_, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), SMTO_NORMAL,
                      500, &ignored);
}

void Control::Clear() const {
  if (!UsableOrFail("cleared")) return;
  PostMessageW(hwnd_, EM_SETSEL, 0, -1);
  PostMessageW(hwnd_, WM_CLEAR, 0, 0);
}

std::wstring Control::ToolTip() const {
  // TTM_GETTEXTW carries pointers the system does not marshal: the TOOLINFOW and the text
  // buffer must live in the program's own memory.
  constexpr std::size_t kTextChars = 1024;  // what the tool tip control copies at most
  constexpr std::size_t kTextOffset = (sizeof(TTTOOLINFOW) + 15) & ~std::size_t{15};
  RemoteBuffer remote(pid_, kTextOffset + (kTextChars + 1) * sizeof(wchar_t));
  if (!remote.Valid()) return L"";

  for (HWND tip : TopLevelWindows(pid_, TOOLTIPS_CLASSW)) {
    if (GetWindow(tip, GW_OWNER) != form_) continue;
    TTTOOLINFOW info{};
    info.cbSize = sizeof(info);
    info.uFlags = TTF_IDISHWND;
    info.hwnd = form_;
    info.uId = reinterpret_cast<UINT_PTR>(hwnd_);
    info.lpszText = reinterpret_cast<wchar_t*>(remote.At(kTextOffset));
    const std::vector<wchar_t> blank(kTextChars + 1, L'\0');
    if (!remote.Write(0, &info, sizeof(info)) ||
        !remote.Write(kTextOffset, blank.data(), blank.size() * sizeof(wchar_t)))
      return L"";
    DWORD_PTR ignored = 0;
    if (!SendMessageTimeoutW(tip, TTM_GETTEXTW, kTextChars, reinterpret_cast<LPARAM>(remote.At(0)),
                             SMTO_ABORTIFHUNG, kSendTimeoutMs, &ignored))
      continue;
    std::vector<wchar_t> text(kTextChars + 1, L'\0');
    if (!remote.Read(kTextOffset, text.data(), kTextChars * sizeof(wchar_t))) continue;
    if (text[0] != L'\0') return std::wstring(text.data());
  }
  return L"";
}

// ---------------------------------------------------------------------------------------------
// MessageBoxPage

std::wstring MessageBoxPage::Title() const { return WindowText(box_); }

std::wstring MessageBoxPage::Text() const {
  // The message is the static control with ID 0xFFFF; fall back to the first non-empty static.
  if (HWND message = GetDlgItem(box_, 0xFFFF)) return WindowText(message);
  for (HWND child = GetWindow(box_, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (ClassOf(child) == L"Static") {
      std::wstring text = WindowText(child);
      if (!text.empty()) return text;
    }
  }
  return L"";
}

void MessageBoxPage::PressOk() const {
  if (HWND ok = GetDlgItem(box_, IDOK)) PostMessageW(ok, BM_CLICK, 0, 0);
}

// ---------------------------------------------------------------------------------------------
// Form1Page

std::optional<Form1Page> Form1Page::WaitFor(const AppProcess& app, Ms timeout) {
  HWND found = nullptr;
  WaitUntil(
      [&] {
        for (HWND hwnd : TopLevelWindows(app.Id(), TKD_FORM1_CLASS))
          if (IsWindowVisible(hwnd)) found = hwnd;
        return found != nullptr;
      },
      timeout);
  if (!found) return std::nullopt;
  return Form1Page(found, app.Id());
}

std::wstring Form1Page::Title() const { return WindowText(form_); }

RECT Form1Page::Bounds() const {
  RECT rect{};
  GetWindowRect(form_, &rect);
  return rect;
}

void Form1Page::MoveTo(int left, int top, int width, int height) const {
  SetWindowPos(form_, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

namespace {

// The caption of a tab item, read through a TCITEMW in the program's memory.
std::wstring TabCaption(HWND tab, int index, const RemoteBuffer& remote) {
  constexpr std::size_t kChars = 256;
  constexpr std::size_t kTextOffset = 256;  // past the TCITEMW
  TCITEMW item{};
  item.mask = TCIF_TEXT;
  item.pszText = reinterpret_cast<wchar_t*>(remote.At(kTextOffset));
  item.cchTextMax = kChars;
  const std::vector<wchar_t> blank(kChars, L'\0');
  if (!remote.Write(0, &item, sizeof(item)) ||
      !remote.Write(kTextOffset, blank.data(), blank.size() * sizeof(wchar_t)))
    return L"";
  DWORD_PTR ok = 0;
  if (!SendMessageTimeoutW(tab, TCM_GETITEMW, index, reinterpret_cast<LPARAM>(remote.At(0)),
                           SMTO_ABORTIFHUNG, kSendTimeoutMs, &ok) || !ok)
    return L"";
  std::vector<wchar_t> text(kChars, L'\0');
  if (!remote.Read(kTextOffset, text.data(), (kChars - 1) * sizeof(wchar_t))) return L"";
  return text.data();
}

}  // namespace

bool Form1Page::SelectTab(const std::wstring& caption) const {
  const HWND tab = GetDlgItem(form_, IDC_SSTAB1);
  if (!tab || !IsWindowVisible(tab)) return false;
  RemoteBuffer remote(pid_, 256 + 256 * sizeof(wchar_t));
  if (!remote.Valid()) return false;
  const int count = static_cast<int>(Ask(tab, TCM_GETITEMCOUNT, 0, 0, 0));
  for (int index = 0; index < count; ++index) {
    if (TabCaption(tab, index, remote) != caption) continue;
    RECT rect{};
    DWORD_PTR ok = 0;
    if (!SendMessageTimeoutW(tab, TCM_GETITEMRECT, index, reinterpret_cast<LPARAM>(remote.At(0)),
                             SMTO_ABORTIFHUNG, kSendTimeoutMs, &ok) ||
        !ok || !remote.Read(0, &rect, sizeof(rect)))
      return false;
    // A click in the middle of the tab: the control selects it and tells Form1 (TCN_SELCHANGE).
    const LPARAM point = MAKELPARAM((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    PostMessageW(tab, WM_LBUTTONDOWN, MK_LBUTTON, point);
    PostMessageW(tab, WM_LBUTTONUP, 0, point);
    return true;
  }
  return false;
}

std::wstring Form1Page::SelectedTab() const {
  const HWND tab = GetDlgItem(form_, IDC_SSTAB1);
  RemoteBuffer remote(pid_, 256 + 256 * sizeof(wchar_t));
  if (!tab || !remote.Valid()) return L"";
  const int index = static_cast<int>(Ask(tab, TCM_GETCURSEL, 0, 0, -1));
  return index < 0 ? L"" : TabCaption(tab, index, remote);
}

std::vector<std::wstring> Form1Page::TabCaptions() const {
  const HWND tab = GetDlgItem(form_, IDC_SSTAB1);
  RemoteBuffer remote(pid_, 256 + 256 * sizeof(wchar_t));
  std::vector<std::wstring> captions;
  if (!tab || !remote.Valid()) return captions;
  const int count = static_cast<int>(Ask(tab, TCM_GETITEMCOUNT, 0, 0, 0));
  for (int index = 0; index < count; ++index) captions.push_back(TabCaption(tab, index, remote));
  return captions;
}

Control Form1Page::Child(int id) const { return Control(form_, GetDlgItem(form_, id), pid_); }

std::optional<MessageBoxPage> Form1Page::FindMessageBox() const {
  for (HWND box : TopLevelWindows(pid_, L"#32770"))
    if (IsWindowVisible(box)) return MessageBoxPage(box);
  return std::nullopt;
}

}  // namespace tkd::e2e
