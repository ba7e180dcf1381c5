// Page objects over Win32 that work TiKoDan.exe from another process as a user would, and deadline polling.
#pragma once

#include <windows.h>

#include <commctrl.h>
#include <shellapi.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <chrono>
#include <cstdio>
#include <cwchar>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "app/resource.h"
#include "platform/registry_win32.h"
#include "platform/text_win32.h"

namespace tkd::e2e {

using namespace std::chrono_literals;
using Ms = std::chrono::milliseconds;

// Failure messages show the program's Chinese texts as they are, not as escapes.
inline std::string Show(const std::wstring& text) { return "\"" + WideToUtf8(text) + "\""; }
inline std::string Show(const std::vector<std::wstring>& texts) {
  std::string shown;
  for (const std::wstring& text : texts) shown += (shown.empty() ? "{" : ", ") + Show(text);
  return shown.empty() ? "{}" : shown + "}";
}
template <class T>
std::string Show(const T& value) { return testing::PrintToString(value); }

// True as soon as `condition()` holds; false when it still does not once the deadline has passed.
template <class Condition>
bool WaitUntil(Condition condition, Ms timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  for (;;) {
    if (condition()) return true;
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(25ms);
  }
}

// Polls `read()` until it equals `expected`; a failure prints the last value read and the expected one.
template <class Read, class T>
testing::AssertionResult Becomes(Read read, const T& expected, Ms timeout) {
  T last = read();
  if (WaitUntil([&] { return (last = read()) == expected; }, timeout)) return testing::AssertionSuccess();
  return testing::AssertionFailure() << "after " << timeout.count() << " ms still\n  " << Show(last)
                                     << "\ninstead of\n  " << Show(expected);
}

// The program's settings, read as another program would.
inline constexpr char kSettingsKey[] = "SOFTWARE\\BrisoLaken\\TiKoDan";
inline std::optional<std::string> Setting(const std::string& name) {
  return RegistryWin32().Read(RegRoot::LocalMachine, kSettingsKey, name);
}
// Removes every key the program writes to, and its start-with-Windows entry, under both roots and
// both views of the machine's SOFTWARE key, so that the next start is a first start.
inline bool WipeProgramKeys() {
  bool gone = true;
  for (const auto& [root, view] : {std::pair{HKEY_LOCAL_MACHINE, KEY_WOW64_32KEY},
                                   {HKEY_LOCAL_MACHINE, KEY_WOW64_64KEY}, {HKEY_CURRENT_USER, 0}}) {
    HKEY software = nullptr;
    if (RegOpenKeyExW(root, L"SOFTWARE", 0, KEY_ALL_ACCESS | view, &software) != ERROR_SUCCESS) return false;
    for (const wchar_t* key : {L"BrisoLaken\\TiKoDan", L"microsoft\\com3"}) {
      const LONG status = RegDeleteTreeW(software, key);  // the key itself goes too
      gone = gone && (status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND);
    }
    const LONG status = RegDeleteKeyValueW(software, L"Microsoft\\Windows\\CurrentVersion\\Run", L"tikodan");
    gone = gone && (status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND);
    RegCloseKey(software);
  }
  return gone;
}

// The TiKoDan.exe the driver was given (--app=, a Windows path).
inline std::wstring AppPath() {
  int argc = 0;
  LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  std::wstring path;
  for (int i = 1; i < argc; ++i)
    if (std::wcsncmp(argv[i], L"--app=", 6) == 0) path = argv[i] + 6;
  LocalFree(argv);
  return path;
}

// A send to a busy program gives up after two seconds; a driver that hangs tells nothing.
inline LRESULT Ask(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT otherwise = 0) {
  DWORD_PTR answer = 0;
  const bool answered = SendMessageTimeoutW(hwnd, message, wParam, lParam, SMTO_ABORTIFHUNG, 2000, &answer);
  return answered ? static_cast<LRESULT>(answer) : otherwise;
}

// Any window's text, also another process's (the system carries WM_GETTEXT across). One fixed
// buffer: the title changes every second, so a length asked first could already be stale.
inline std::wstring WindowText(HWND hwnd) {
  wchar_t text[1024] = L"";
  Ask(hwnd, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text));
  return text;
}

inline DWORD ProcessOf(HWND hwnd) {
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  return pid;
}

// The top-level windows of a process with the given class; tool tips are among them also while hidden.
inline std::vector<HWND> TopLevel(DWORD pid, const wchar_t* className, bool visibleOnly = true) {
  std::vector<HWND> found;
  for (HWND hwnd = nullptr; (hwnd = FindWindowExW(nullptr, hwnd, className, nullptr)) != nullptr;)
    if (ProcessOf(hwnd) == pid && (!visibleOnly || IsWindowVisible(hwnd))) found.push_back(hwnd);
  return found;
}
// The program's top-level window of this class and caption (any caption when empty), once it is
// on screen; nullptr when none shows in time.
inline HWND WaitForTopLevel(HWND main, const wchar_t* className, const std::wstring& caption, Ms timeout) {
  HWND found = nullptr;
  WaitUntil([&] {
    for (HWND hwnd : TopLevel(ProcessOf(main), className))
      if (caption.empty() || WindowText(hwnd) == caption) return (found = hwnd) != nullptr;
    return false;
  }, timeout);
  return found;
}

// The tray balloon on screen, which Wine's notification area shows as a balloon tool tip of its
// own (explorer's); nullptr while there is none.
inline HWND TrayBalloon() {
  for (HWND tip = nullptr; (tip = FindWindowExW(nullptr, tip, TOOLTIPS_CLASSW, nullptr)) != nullptr;)
    if (ProcessOf(tip) != GetCurrentProcessId() && IsWindowVisible(tip) && (GetWindowLongW(tip, GWL_STYLE) & TTS_BALLOON))
      return tip;
  return nullptr;
}

template <class Pointer>
std::uint32_t Low(Pointer value) { return static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(value)); }

// Common-control messages whose argument points to a struct that points to a text: the system
// does not carry these across processes, so both must live in the program's own memory.
class Remote {
 public:
  static constexpr std::size_t kTextAt = 256, kChars = 1024;
  explicit Remote(HWND target)
      : process_(OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE | PROCESS_QUERY_INFORMATION, FALSE,
                             ProcessOf(target))) {
    if (process_)
      base_ = static_cast<char*>(VirtualAllocEx(process_, nullptr, kTextAt + kChars * sizeof(wchar_t),
                                                MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
  }
  ~Remote() {
    if (base_) VirtualFreeEx(process_, base_, 0, MEM_RELEASE);
    if (process_) CloseHandle(process_);
  }
  Remote(const Remote&) = delete;
  Remote& operator=(const Remote&) = delete;

  wchar_t* Text() const { return reinterpret_cast<wchar_t*>(base_ + kTextAt); }
  // A 32-bit program (under 64-bit Windows) lays a struct's pointers and handles out in four bytes.
  bool ThirtyTwoBit() const { BOOL wow64 = FALSE; return process_ && IsWow64Process(process_, &wow64) && wow64; }
  // Copies `item` and an empty text over, sends, and copies both back; false when any of it fails.
  // The answer itself is not looked at: some of these messages answer nothing.
  template <class Item>
  bool Send(HWND target, UINT message, WPARAM wParam, Item& item, std::wstring* text = nullptr) const {
    static_assert(sizeof(Item) <= kTextAt);
    wchar_t buffer[kChars] = L"";
    DWORD_PTR ignored = 0;
    if (!base_ || !WriteProcessMemory(process_, base_, &item, sizeof item, nullptr) ||
        !WriteProcessMemory(process_, Text(), buffer, sizeof(wchar_t), nullptr) ||
        !SendMessageTimeoutW(target, message, wParam, reinterpret_cast<LPARAM>(base_), SMTO_ABORTIFHUNG,
                             2000, &ignored) ||
        !ReadProcessMemory(process_, base_, &item, sizeof item, nullptr) ||
        !ReadProcessMemory(process_, Text(), buffer, sizeof buffer - sizeof(wchar_t), nullptr))
      return false;
    if (text) *text = buffer;
    return true;
  }

 private:
  HANDLE process_;
  char* base_ = nullptr;
};

// One child control of the main window. Clicks are posted, and typing is sent with a
// short deadline: the program's handler may open a modal box, which holds a plain send until it
// closes. A control that is not on screen cannot be used and fails the test.
class Control {
 public:
  Control(HWND form, HWND hwnd) : form_(form), hwnd_(hwnd) {}
  std::wstring Text() const { return WindowText(hwnd_); }
  bool Visible() const { return hwnd_ && IsWindowVisible(hwnd_); }
  bool Checked() const { return Ask(hwnd_, BM_GETCHECK, 0, 0) == BST_CHECKED; }
  // The text the tool tip shows when the mouse rests on the control.
  std::wstring Tip() const {
    for (HWND tip : TopLevel(ProcessOf(form_), TOOLTIPS_CLASSW, false)) {
      const Remote remote(tip);
      std::wstring text;  // stays empty for a tool this tip does not know
      if (remote.ThirtyTwoBit()) {  // TTTOOLINFOW as a 32-bit program lays it out
        struct { UINT size, flags; std::uint32_t window, id; RECT rect; std::uint32_t instance, text, param, reserved; } info{
            sizeof info, TTF_IDISHWND, Low(form_), Low(hwnd_), {}, 0, Low(remote.Text()), 0, 0};
        if (remote.Send(tip, TTM_GETTEXTW, Remote::kChars, info, &text) && !text.empty()) return text;
        continue;
      }
      TTTOOLINFOW info{};
      info.cbSize = sizeof info;
      info.uFlags = TTF_IDISHWND;
      info.hwnd = form_;
      info.uId = reinterpret_cast<UINT_PTR>(hwnd_);
      info.lpszText = remote.Text();
      if (remote.Send(tip, TTM_GETTEXTW, Remote::kChars, info, &text) && !text.empty()) return text;
    }
    return L"";
  }
  void Click() const {
    if (OnScreen("clicked")) PostMessageW(hwnd_, BM_CLICK, 0, 0);
  }
  void Type(const std::wstring& text) const {
    DWORD_PTR ignored = 0;  // the program takes the text even when the send times out
    if (OnScreen("typed into"))
      SendMessageTimeoutW(hwnd_, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), 0, 500, &ignored);
  }

 private:
  bool OnScreen(const char* action) const {
    if (Visible()) return true;
    ADD_FAILURE() << action << " control " << GetDlgCtrlID(hwnd_) << ", which is not on screen";
    return false;
  }
  HWND form_;
  HWND hwnd_;
};

// The main window, Form1.
class MainWindow {
 public:
  explicit MainWindow(HWND hwnd) : hwnd_(hwnd), tab_(GetDlgItem(hwnd, IDC_SSTAB1)) {}
  HWND Handle() const { return hwnd_; }
  std::wstring Title() const { return WindowText(hwnd_); }
  Control Child(int id) const { return Control(hwnd_, GetDlgItem(hwnd_, id)); }
  RECT Place() const {
    RECT place{};
    GetWindowRect(hwnd_, &place);
    return place;
  }
  void MoveTo(const RECT& r) const {  // as dragging its frame would
    SetWindowPos(hwnd_, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  }
  std::vector<std::wstring> Tabs() const {
    std::vector<std::wstring> captions;
    for (int index = 0, count = static_cast<int>(Ask(tab_, TCM_GETITEMCOUNT, 0, 0)); index < count; ++index)
      captions.push_back(TabCaption(index));
    return captions;
  }
  std::wstring SelectedTab() const {
    const LRESULT index = Ask(tab_, TCM_GETCURSEL, 0, 0, -1);
    return index < 0 ? L"" : TabCaption(static_cast<int>(index));
  }
  // A click in the middle of the tab: the control selects it and tells the window (TCN_SELCHANGE).
  bool ClickTab(const std::wstring& caption) const {
    const std::vector<std::wstring> tabs = Tabs();
    const auto found = std::find(tabs.begin(), tabs.end(), caption);
    RECT r{};
    if (found == tabs.end() || !Remote(tab_).Send(tab_, TCM_GETITEMRECT, found - tabs.begin(), r))
      return false;
    const LPARAM point = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    PostMessageW(tab_, WM_LBUTTONDOWN, MK_LBUTTON, point);
    PostMessageW(tab_, WM_LBUTTONUP, 0, point);
    return true;
  }

 private:
  std::wstring TabCaption(int index) const {
    const Remote remote(tab_);
    std::wstring caption;
    if (remote.ThirtyTwoBit()) {  // TCITEMW as a 32-bit program lays it out
      struct { UINT mask; DWORD state, stateMask; std::uint32_t text; int textMax, image, param; } item{
          TCIF_TEXT, 0, 0, Low(remote.Text()), Remote::kChars, 0, 0};
      remote.Send(tab_, TCM_GETITEMW, index, item, &caption);
      return caption;
    }
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = remote.Text();
    item.cchTextMax = Remote::kChars;
    remote.Send(tab_, TCM_GETITEMW, index, item, &caption);
    return caption;
  }
  HWND hwnd_;
  HWND tab_;
};

inline void PressOk(HWND messageBox) { PostMessageW(GetDlgItem(messageBox, IDOK), BM_CLICK, 0, 0); }

// TiKoDan.exe as a process, started in its own folder (where it looks for its sounds); the
// object ends the process when it goes.
class App {
 public:
  explicit App(const std::wstring& exePath) {
    std::wstring commandLine = L"\"" + exePath + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    if (!CreateProcessW(exePath.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        exePath.substr(0, exePath.find_last_of(L"\\/")).c_str(), &startup, &info_))
      info_ = {};
  }
  ~App() {
    if (!info_.hProcess) return;
    TerminateProcess(info_.hProcess, 1);  // fails harmlessly when the process has ended already
    WaitForSingleObject(info_.hProcess, 10000);
    CloseHandle(info_.hThread);
    CloseHandle(info_.hProcess);
  }
  App(const App&) = delete;
  App& operator=(const App&) = delete;
  bool Started() const { return info_.hProcess != nullptr; }
  void Terminate() const { TerminateProcess(info_.hProcess, 1); }  // as the task manager ends it
  bool EndsWithin(Ms timeout) const {
    return WaitForSingleObject(info_.hProcess, static_cast<DWORD>(timeout.count())) == WAIT_OBJECT_0;
  }
  // The process's main window once it is on screen; nullopt when it does not show in time.
  std::optional<MainWindow> WaitForWindow(Ms timeout) const {
    std::vector<HWND> found;
    const auto shown = [&] { return !(found = TopLevel(info_.dwProcessId, TKD_FORM1_CLASS)).empty(); };
    WaitUntil([&] { return shown() || EndsWithin(0ms); }, timeout);
    return found.empty() ? std::nullopt : std::optional<MainWindow>(MainWindow(found.front()));
  }

 private:
  PROCESS_INFORMATION info_{};
};

// Posted like a click on a tab; true once the tab is the selected one (false too when the
// program ended meanwhile).
inline bool SelectTab(const MainWindow& main, const App& app, const std::wstring& tab) {
  main.ClickTab(tab);
  WaitUntil([&] { return main.SelectedTab() == tab || app.EndsWithin(0ms); }, 3s);
  return main.SelectedTab() == tab;
}

inline std::string Text(const std::optional<std::string>& value) { return value.value_or("(missing)"); }

// A driver's main: gtest's options, then --app=PATH\TiKoDan.exe.
inline int RunDriver(int argc, wchar_t** argv) {
  testing::InitGoogleTest(&argc, argv);  // takes the --gtest_* options out of argv
  if (argc != 2 || std::wcsncmp(argv[1], L"--app=", 6) != 0) {
    std::fwprintf(stderr, L"usage: %ls --app=PATH\\TiKoDan.exe [gtest options]\n", argv[0]);
    return 2;
  }
  return RUN_ALL_TESTS();
}

// The exe's own version as its texts show it, and as one number.
struct Version {
  std::wstring text;  // V1.0.0
  int number;         // 100
};
inline Version ExeVersion(const std::wstring& exe) {
  DWORD ignored = 0;
  std::vector<BYTE> info(GetFileVersionInfoSizeW(exe.c_str(), &ignored));
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  if (info.empty() || !GetFileVersionInfoW(exe.c_str(), 0, static_cast<DWORD>(info.size()), info.data()) ||
      !VerQueryValueW(info.data(), L"\\", reinterpret_cast<void**>(&fixed), &length))
    return {L"", 0};
  const int major = HIWORD(fixed->dwFileVersionMS), minor = LOWORD(fixed->dwFileVersionMS),
            revision = HIWORD(fixed->dwFileVersionLS);
  return {L"V" + std::to_wstring(major) + L"." + std::to_wstring(minor) + L"." + std::to_wstring(revision),
          major * 100 + minor * 10 + revision};
}

}  // namespace tkd::e2e
