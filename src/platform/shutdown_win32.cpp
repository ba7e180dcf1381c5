// ShutdownWin32: CreateProcessW minimised without waiting, SeShutdownPrivilege, ExitWindowsEx.
#include "platform/shutdown_win32.h"

#include <windows.h>

#include <string>

#include "platform/system_library_win32.h"
#include "platform/text_win32.h"

namespace tkd {
namespace {

// cmd.exe by its full path, in the system folder: a cmd.exe beside the program, or in whatever
// folder it was started from, is never run in its place.
void StartShutdownCommand() {
  const std::wstring system = SystemFolder();
  if (system.empty()) return;
  const std::wstring cmd = system + L"\\cmd.exe";
  std::wstring command = Utf8ToWide(kShutdownCommand);  // CreateProcessW may write into it
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_SHOWMINIMIZED;
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(cmd.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, system.c_str(), &startup, &process))
    return;
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
}

void EnableShutdownPrivilege() {
  HANDLE token = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token)) return;
  TOKEN_PRIVILEGES privileges{};
  privileges.PrivilegeCount = 1;
  privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
  if (LookupPrivilegeValueW(nullptr, SE_SHUTDOWN_NAME, &privileges.Privileges[0].Luid))
    AdjustTokenPrivileges(token, FALSE, &privileges, sizeof privileges, nullptr, nullptr);
  CloseHandle(token);
}

}  // namespace

void ShutdownWin32::PowerOff() {
  StartShutdownCommand();
  EnableShutdownPrivilege();
  ExitWindowsEx(kShutdownFlags, 0);
}

}  // namespace tkd
