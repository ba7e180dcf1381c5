// SoundWin32 under Wine: unplayable paths stay silent and quick, and the two players stay apart.
#include <gtest/gtest.h>

#include <windows.h>
#include <mmsystem.h>

#include <chrono>
#include <cstdint>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "platform/sound_win32.h"
#include "platform/text_win32.h"
#include "scratch_registry.h"

namespace tkd {
namespace {

// A failed open must not stall the program's once-a-second tick for long.
constexpr auto kPromptly = std::chrono::seconds(5);

// The player's mode ("playing", "stopped", ...), or nothing when the alias is not open.
std::optional<std::wstring> Mode(const wchar_t* alias) {
  wchar_t mode[64] = {};
  const std::wstring command = std::wstring(L"status ") + alias + L" mode";
  if (mciSendStringW(command.c_str(), mode, static_cast<UINT>(std::size(mode)), nullptr) != 0) {
    return std::nullopt;
  }
  return std::wstring(mode);
}

bool Mci(const std::wstring& command) {
  return mciSendStringW(command.c_str(), nullptr, 0, nullptr) == 0;
}

int VisibleWindowsOfThisProcess() {
  int count = 0;
  EnumWindows(
      [](HWND window, LPARAM counter) -> BOOL {
        DWORD process = 0;
        GetWindowThreadProcessId(window, &process);
        if (process == GetCurrentProcessId() && IsWindowVisible(window)) {
          ++*reinterpret_cast<int*>(counter);
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&count));
  return count;
}

// A folder of its own under %TEMP%, removed with its files at the end.
class ScratchFolder {
 public:
  ScratchFolder() {
    wchar_t temp[MAX_PATH + 1] = {};
    GetTempPathW(MAX_PATH + 1, temp);
    path_ = temp + Utf8ToWide("tkd_sound_" + wine_test::UniqueKeyName());
    CreateDirectoryW(path_.c_str(), nullptr);
  }
  ~ScratchFolder() {
    for (const std::wstring& file : files_) DeleteFileW(file.c_str());
    for (auto it = folders_.rbegin(); it != folders_.rend(); ++it) RemoveDirectoryW(it->c_str());
    RemoveDirectoryW(path_.c_str());
  }
  std::string File(const std::string& name) {
    files_.push_back(path_ + L"\\" + Utf8ToWide(name));
    return WideToUtf8(files_.back());
  }
  std::string Folder(const std::string& name) {
    folders_.push_back(path_ + L"\\" + Utf8ToWide(name));
    CreateDirectoryW(folders_.back().c_str(), nullptr);
    return WideToUtf8(folders_.back());
  }

 private:
  std::wstring path_;
  std::vector<std::wstring> files_, folders_;
};

// An 8 kHz, 8-bit mono PCM wave file of a square-wave tone.
void WriteTone(const std::string& path, int seconds) {
  constexpr std::uint32_t kRate = 8000;
  constexpr std::uint16_t kChannels = 1, kBits = 8, kPcm = 1, kHalfPeriod = 10;
  constexpr std::uint32_t kFmtSize = 16, kHeaderRest = 36;
  const std::uint32_t dataSize = kRate * static_cast<std::uint32_t>(seconds);
  std::ofstream out(Utf8ToWide(path).c_str(), std::ios::binary);
  auto u32 = [&out](std::uint32_t v) { out.write(reinterpret_cast<const char*>(&v), 4); };
  auto u16 = [&out](std::uint16_t v) { out.write(reinterpret_cast<const char*>(&v), 2); };
  out.write("RIFF", 4);
  u32(kHeaderRest + dataSize);
  out.write("WAVEfmt ", 8);
  u32(kFmtSize);
  u16(kPcm);
  u16(kChannels);
  u32(kRate);
  u32(kRate * kChannels * kBits / 8);
  u16(kChannels * kBits / 8);
  u16(kBits);
  out.write("data", 4);
  u32(dataSize);
  for (std::uint32_t i = 0; i < dataSize; ++i) out.put((i / kHalfPeriod) % 2 ? '\xC0' : '\x40');
}

class SoundWin32Test : public ::testing::Test {
 protected:
  void TearDown() override {
    Mci(std::wstring(L"close ") + kFirstPlayerAlias);
    Mci(std::wstring(L"close ") + kSecondPlayerAlias);
  }
  // Whether this machine can play at all; the tests that need a sound device skip otherwise.
  // MCI may accept "play" without a device and simply never start, so look at the mode.
  bool CanPlay(const std::string& wave) {
    const std::wstring probe = L"tkd_probe";
    const bool played = Mci(L"open \"" + Utf8ToWide(wave) + L"\" type waveaudio alias " + probe) &&
                        Mci(L"play " + probe) && Mode(probe.c_str()) == L"playing";
    Mci(L"close " + probe);
    return played;
  }
  ScratchFolder folder_;
  SoundWin32 sound_;
};

TEST_F(SoundWin32Test, UnplayablePathsPlayNothingPromptlyAndShowNothing) {
  const std::string notWave = folder_.File("notes.wav");
  std::ofstream(Utf8ToWide(notWave).c_str()) << "not a RIFF file";
  const std::string empty = folder_.File("empty.wav");
  std::ofstream(Utf8ToWide(empty).c_str()).close();
  struct Case {
    const char* label;
    std::string path;
  };
  const std::vector<Case> cases = {
      {"missing file", folder_.File("missing.wav")},
      {"missing folder", folder_.File("nowhere\\missing.wav")},
      {"Chinese name, missing", folder_.File("报时.wav")},
      {"no path", ""},
      {"quote in path", folder_.File("a\".wav")},
      {"text file", notWave},
      {"empty file", empty},
      {"folder", folder_.Folder("sounds.wav")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    const auto start = std::chrono::steady_clock::now();
    sound_.PlayOnSecond(c.path);
    EXPECT_LT(std::chrono::steady_clock::now() - start, kPromptly);
    EXPECT_EQ(Mode(kSecondPlayerAlias), std::nullopt) << "a failed open left the player open";
    EXPECT_EQ(VisibleWindowsOfThisProcess(), 0);
  }
}

TEST_F(SoundWin32Test, UnplayablePathStillReplacesTheSecondPlayersSound) {
  const std::string tone = folder_.File("tone.wav");
  WriteTone(tone, 1);
  if (!Mci(L"open \"" + Utf8ToWide(tone) + L"\" type waveaudio alias " + kSecondPlayerAlias)) {
    GTEST_SKIP() << "MCI cannot open wave files here";
  }
  ASSERT_TRUE(Mode(kSecondPlayerAlias).has_value());
  sound_.PlayOnSecond(folder_.File("missing.wav"));
  EXPECT_EQ(Mode(kSecondPlayerAlias), std::nullopt);
}

TEST_F(SoundWin32Test, StopFirstWithNothingOpenIsHarmless) {
  const auto start = std::chrono::steady_clock::now();
  sound_.StopFirst();
  sound_.StopFirst();
  EXPECT_LT(std::chrono::steady_clock::now() - start, kPromptly);
  EXPECT_EQ(Mode(kFirstPlayerAlias), std::nullopt) << "stopping must not open the player";
  EXPECT_EQ(VisibleWindowsOfThisProcess(), 0);
}

TEST_F(SoundWin32Test, PlayableFileReturnsAtOnceAndShowsNothingWithOrWithoutADevice) {
  const std::string tone = folder_.File("tone.wav");
  constexpr int kToneSeconds = 5;
  WriteTone(tone, kToneSeconds);
  const bool device = CanPlay(tone);
  const auto start = std::chrono::steady_clock::now();
  sound_.PlayOnSecond(tone);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(kToneSeconds))
      << "PlayOnSecond waited for the sound to end";
  EXPECT_EQ(VisibleWindowsOfThisProcess(), 0);
  if (device) {
    EXPECT_EQ(Mode(kSecondPlayerAlias), L"playing");
  }
}

TEST_F(SoundWin32Test, SecondPlayerPlaysAndStopFirstLeavesItPlaying) {
  const std::string first = folder_.File("first.wav");
  const std::string second = folder_.File("第二.wav");
  constexpr int kLongEnoughSeconds = 5;
  WriteTone(first, kLongEnoughSeconds);
  WriteTone(second, kLongEnoughSeconds);
  if (!CanPlay(second)) GTEST_SKIP() << "no wave output device (waveOutGetNumDevs = "
                                     << waveOutGetNumDevs() << ")";

  sound_.PlayOnSecond(second);
  ASSERT_EQ(Mode(kSecondPlayerAlias), L"playing");

  ASSERT_TRUE(Mci(L"open \"" + Utf8ToWide(first) + L"\" type waveaudio alias " +
                  kFirstPlayerAlias));
  ASSERT_TRUE(Mci(std::wstring(L"play ") + kFirstPlayerAlias));
  sound_.StopFirst();
  EXPECT_EQ(Mode(kFirstPlayerAlias), L"stopped");
  EXPECT_EQ(Mode(kSecondPlayerAlias), L"playing");

  // A new file on the second player replaces the one it was playing.
  sound_.PlayOnSecond(first);
  EXPECT_EQ(Mode(kSecondPlayerAlias), L"playing");
  EXPECT_EQ(Mode(kFirstPlayerAlias), L"stopped");
}

}  // namespace
}  // namespace tkd
