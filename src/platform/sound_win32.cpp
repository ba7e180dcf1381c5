// SoundWin32: MCI string commands, each failure ending the command sequence quietly.
#include "platform/sound_win32.h"

#include <windows.h>
#include <mmsystem.h>

#include <string>

#include "platform/system_library_win32.h"
#include "platform/text_win32.h"

namespace tkd {
namespace {

using MciSendStringFn = MCIERROR(WINAPI*)(LPCWSTR, LPWSTR, UINT, HWND);

// The multimedia library is loaded the first time a sound is asked for, not at start-up: most
// runs never play anything, and loading it (with the codec manager it pulls in) slows the start.
MciSendStringFn MciSendString() {
  static const MciSendStringFn send = SystemFunction<MciSendStringFn>(L"winmm.dll", "mciSendStringW");
  return send;
}

// True when MCI accepted the command. No return text and no notify window: the players are
// fire-and-forget, and an error must never reach the user.
bool SendMci(const std::wstring& command) {
  const MciSendStringFn send = MciSendString();
  return send && send(command.c_str(), nullptr, 0, nullptr) == 0;
}

void Close(const wchar_t* alias) { SendMci(std::wstring(L"close ") + alias); }

}  // namespace

SoundWin32::~SoundWin32() {
  if (!GetModuleHandleW(L"winmm.dll")) return;  // nothing was ever played
  Close(kFirstPlayerAlias);
  Close(kSecondPlayerAlias);
}

void SoundWin32::PlayOnSecond(const std::string& path) {
  // The new sound replaces the old one even when the new one turns out not to play.
  Close(kSecondPlayerAlias);

  const std::wstring widePath = Utf8ToWide(path);
  // MCI takes the path between double quotes; a path that holds one cannot be a file name.
  if (widePath.empty() || widePath.find(L'"') != std::wstring::npos) return;

  const std::wstring open =
      L"open \"" + widePath + L"\" type waveaudio alias " + kSecondPlayerAlias;
  if (!SendMci(open)) return;  // missing, unreadable or not a wave file, or no wave device
  // Without "wait" the command returns as soon as playback has started.
  if (!SendMci(std::wstring(L"play ") + kSecondPlayerAlias)) Close(kSecondPlayerAlias);
}

void SoundWin32::StopFirst() {
  // Addressed by alias, so it reaches the first player only; with nothing open MCI just reports
  // an unknown alias, which is ignored.
  SendMci(std::wstring(L"stop ") + kFirstPlayerAlias);
}

}  // namespace tkd
