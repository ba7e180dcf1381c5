// SingleInstance: a named mutex of the session, and a registered message to the running copy.
#include "platform/single_instance_win32.h"

namespace tkd {
namespace {

// "Local\": per logon session, so that each user who is logged on may run a copy of their own.
constexpr wchar_t kMutexName[] = L"Local\\BrisoLaken.TiKoDan";
constexpr DWORD kWindowWaitMs = 5000, kPollMs = 50;

}  // namespace

SingleInstance::SingleInstance() {
  mutex_ = CreateMutexW(nullptr, FALSE, kMutexName);
  first_ = !mutex_ || GetLastError() != ERROR_ALREADY_EXISTS;  // no mutex at all: run, as before
}

SingleInstance::~SingleInstance() {
  if (mutex_) CloseHandle(mutex_);
}

void SingleInstance::HandOver(const wchar_t* windowClass) const {
  const UINT message = RegisterWindowMessageW(kAnotherStartMessage);
  for (DWORD waited = 0; waited <= kWindowWaitMs; waited += kPollMs) {
    if (const HWND window = FindWindowW(windowClass, nullptr)) {
      DWORD process = 0;
      GetWindowThreadProcessId(window, &process);
      AllowSetForegroundWindow(process);
      PostMessageW(window, message, 0, 0);
      return;
    }
    Sleep(kPollMs);
  }
}

}  // namespace tkd
