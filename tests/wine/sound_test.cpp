// SoundWin32 under Wine, which plays to ALSA's discarding device: unplayable paths, and the two
// players kept apart.
#include <gtest/gtest.h>

#include <windows.h>
#include <mmsystem.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#include "platform/sound_win32.h"
#include "platform/text_win32.h"

namespace tkd {
namespace {

namespace fs = std::filesystem;
using std::chrono::steady_clock;

// A failed sound must not hold up the once-a-second tick that asked for it.
constexpr auto kPromptly = std::chrono::seconds(3);
constexpr int kToneSeconds = 5;  // long enough to be still playing when looked at

bool Mci(const std::wstring& command) { return mciSendStringW(command.c_str(), nullptr, 0, nullptr) == 0; }
bool Open(const std::string& path, const wchar_t* alias) {
  return Mci(L"open \"" + Utf8ToWide(path) + L"\" type waveaudio alias " + alias);
}

// The player's mode ("playing", "stopped", ...), or nothing when the alias is not open.
std::optional<std::wstring> Mode(const wchar_t* alias) {
  wchar_t mode[64] = {};
  if (mciSendStringW((std::wstring(L"status ") + alias + L" mode").c_str(), mode, 64, nullptr)) return std::nullopt;
  return mode;
}

class SoundWin32Test : public ::testing::Test {
 protected:
  SoundWin32Test() { fs::create_directory(folder_); }
  ~SoundWin32Test() override {
    for (const wchar_t* alias : {kFirstPlayerAlias, kSecondPlayerAlias}) Mci(L"close " + std::wstring(alias));
    fs::remove_all(folder_);
  }
  std::string PathOf(const std::wstring& name) const { return WideToUtf8((folder_ / name).wstring()); }
  // Writes an 8 kHz, 8-bit mono wave file of a square-wave tone and returns its path.
  std::string Tone(const std::wstring& name) const {
    const std::uint32_t samples = 8000 * kToneSeconds;
    // "RIFF", size, "WAVE", "fmt ", 16, PCM and mono, rate, bytes a second, 1 and 8 bits, "data"
    const std::uint32_t header[] = {0x46464952, 36 + samples, 0x45564157, 0x20746d66, 16,     0x00010001,
                                    8000,       8000,         0x00080001, 0x61746164, samples};
    std::ofstream out(folder_ / name, std::ios::binary);
    out.write(reinterpret_cast<const char*>(header), sizeof header);
    for (std::uint32_t i = 0; i < samples; ++i) out.put((i / 10) % 2 ? '\xC0' : '\x40');
    return PathOf(name);
  }

  const fs::path folder_ = fs::temp_directory_path() / ("tkd_sound_" + std::to_string(GetCurrentProcessId()));
  SoundWin32 sound_;
};

TEST_F(SoundWin32Test, AnUnplayablePathPlaysNothingAndReturnsPromptly) {
  std::ofstream(folder_ / L"notes.wav") << "not a RIFF file";
  fs::create_directory(folder_ / L"folder.wav");
  const std::string tone = Tone(L"tone.wav");
  for (const std::string& path : {PathOf(L"missing.wav"), PathOf(L"\u62a5\u65f6.wav"), std::string(),
                                  PathOf(L"a\".wav"), PathOf(L"notes.wav"), PathOf(L"folder.wav")}) {
    SCOPED_TRACE(path);
    // The sound it replaces goes even when the new one cannot play.
    ASSERT_TRUE(Open(tone, kSecondPlayerAlias));
    const auto start = steady_clock::now();
    sound_.PlayOnSecond(path);
    EXPECT_LT(steady_clock::now() - start, kPromptly);
    EXPECT_EQ(Mode(kSecondPlayerAlias), std::nullopt);
  }
}

TEST_F(SoundWin32Test, TheSecondPlayerPlaysAndStopFirstLeavesItPlaying) {
  const std::string first = Tone(L"first.wav"), second = Tone(L"\u7b2c\u4e8c.wav");
  const auto start = steady_clock::now();
  sound_.PlayOnSecond(second);
  EXPECT_LT(steady_clock::now() - start, std::chrono::seconds(kToneSeconds)) << "waited";
  ASSERT_EQ(Mode(kSecondPlayerAlias), L"playing");

  ASSERT_TRUE(Open(first, kFirstPlayerAlias) && Mci(std::wstring(L"play ") + kFirstPlayerAlias));
  sound_.StopFirst();
  EXPECT_EQ(Mode(kFirstPlayerAlias), L"stopped");
  EXPECT_EQ(Mode(kSecondPlayerAlias), L"playing");
}

}  // namespace
}  // namespace tkd
