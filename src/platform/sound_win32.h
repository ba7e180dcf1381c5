// The sound port: two independent MCI wave players addressed by alias.
#pragma once

#include "platform/ports.h"

namespace tkd {

// MCI aliases belong to the whole process, so every SoundWin32 drives the same two players.
inline constexpr wchar_t kFirstPlayerAlias[] = L"tkd_player1";
inline constexpr wchar_t kSecondPlayerAlias[] = L"tkd_player2";

// Every MCI failure (missing or unreadable file, no audio device, alias not open) is absorbed:
// nothing plays, nothing is shown, and the call returns at once. No completion notifications are
// requested, so no window is needed to receive them.
class SoundWin32 : public SoundPlayers {
 public:
  SoundWin32() = default;
  SoundWin32(const SoundWin32&) = delete;
  SoundWin32& operator=(const SoundWin32&) = delete;
  ~SoundWin32() override;  // closes both players

  void PlayOnSecond(const std::string& path) override;
  void StopFirst() override;
};

}  // namespace tkd
