// Narrow interfaces between the portable logic and the operating system; Win32 adapters and test fakes implement them.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace tkd {

// The two registry roots the program touches. Settings live under the machine root;
// the user root only shadows values that the machine root refused (see SettingsStore).
enum class RegRoot { LocalMachine, CurrentUser };

// String values only. Text is UTF-8.
class Registry {
 public:
  virtual ~Registry() = default;
  // nullopt when the key or value is missing, the value is not a string value, or the read fails.
  virtual std::optional<std::string> Read(RegRoot root, const std::string& subKey,
                                          const std::string& name) = 0;
  // Creates missing keys. Returns false when the write was refused or failed.
  virtual bool Write(RegRoot root, const std::string& subKey, const std::string& name,
                     const std::string& text) = 0;
  // Whether the key exists (and may be read).
  virtual bool HasKey(RegRoot root, const std::string& subKey) = 0;
};

struct LocalTime {
  int year = 2000, month = 1, day = 1;
  int hour = 0, minute = 0, second = 0;
};

class Clock {
 public:
  virtual ~Clock() = default;
  // Milliseconds of a clock that never goes back and does not advance while the machine sleeps.
  virtual std::uint64_t MonotonicMs() = 0;
  virtual LocalTime Now() = 0;
};

// Date and time texts in the user's regional format.
class Locale {
 public:
  virtual ~Locale() = default;
  virtual std::string ShortDate(const LocalTime& t) = 0;
  virtual std::string TimeOfDay(const LocalTime& t) = 0;
  // A number with exactly this many decimals, in the user's number format (decimal point,
  // digit grouping, leading zero): 1234.5 with 3 gives "1,234.500" in a Chinese locale.
  virtual std::string Number(double value, int decimals) = 0;
};

struct PointerPosition {
  int x = 0, y = 0;  // screen pixels; negative left of or above the primary monitor
};

// Where the mouse pointer is.
class Cursor {
 public:
  virtual ~Cursor() = default;
  // Fills `points` with where the pointer has been since the last call, oldest first, ending where
  // it is now; the first call gives just where it is. False when the platform kept no such
  // history: then `points` holds only where the pointer is now.
  virtual bool Path(std::vector<PointerPosition>& points) = 0;
  // Asks the platform to report the pointer's next move (the window's PointerMoved), or stops
  // asking. False when it cannot: then the pointer is polled.
  virtual bool WatchForMove(bool watch) = 0;
};

// Two independent players. The second starts a file the moment it is given its path and
// replaces whatever it was playing; a missing or unreadable file plays nothing, silently.
class SoundPlayers {
 public:
  virtual ~SoundPlayers() = default;
  virtual void PlayOnSecond(const std::string& path) = 0;
  virtual void StopFirst() = 0;
};

// Modal message boxes, captioned with the application title.
class Prompt {
 public:
  virtual ~Prompt() = default;
  virtual void ShowMessage(const std::string& text) = 0;  // OK button only
  // OK and Cancel with the question icon, Cancel the default; true for OK.
  virtual bool Confirm(const std::string& text, const std::string& caption) = 0;
};

// Ends the process at once: no closing handlers, no further steps.
class Lifetime {
 public:
  virtual ~Lifetime() = default;
  virtual void EndProgram() = 0;
};

// Turning the computer off. Under test, a fake records the request instead.
class Shutdown {
 public:
  virtual ~Shutdown() = default;
  // Asks Windows, in every way it listens to, to shut down and power off at once, forced, so that
  // other programs are not asked to agree. Nothing is awaited and every failure is silent.
  virtual void PowerOff() = 0;
};

// Window measures in twips (1/1440 inch).
struct TwipsRect {
  double left = 0, top = 0, width = 0, height = 0;
};

// Places on the screen in physical pixels; negative left of or above the primary monitor.
struct PixelRect {
  int left = 0, top = 0, width = 0, height = 0;
};

struct Monitor {
  PixelRect bounds;
  int dpi = 96;  // its scale: 96 at 100 %, 144 at 150 %
};

// The monitors attached now.
class Monitors {
 public:
  virtual ~Monitors() = default;
  virtual std::vector<Monitor> Attached() = 0;  // never empty
};

// The main window as the logic sees it: its state and its outer bounds.
class WindowFrame {
 public:
  virtual ~WindowFrame() = default;
  virtual bool IsNormal() = 0;  // neither minimised nor maximised
  virtual PixelRect Bounds() = 0;
  // In the topmost band or out of it; position and size unchanged.
  virtual void SetTopmost(bool topmost) = 0;
};

// The program's icon in the notification area, which brings the hidden window back.
class TrayIcon {
 public:
  virtual ~TrayIcon() = default;
  // True when the icon is there afterwards (also when it was already); false while the
  // notification area does not exist yet.
  virtual bool Add(const std::string& tip) = 0;
  virtual void Remove() = 0;
  // The icon's tip text, which Windows cuts at 127 characters.
  virtual void SetTip(const std::string& tip) = 0;
  // A balloon from the icon with the warning sign; HideBalloon takes a shown one away.
  virtual void ShowBalloon(const std::string& title, const std::string& text) = 0;
  virtual void HideBalloon() = 0;
};

// Pages of the vendor site. A fetch never holds up the caller: Get returns at once and `done`
// runs later on the same thread, with the body as UTF-8 text, or with empty text when the fetch
// failed in any way (no answer within the time allowed, a status other than 2xx, a body too
// large, too many redirects). Every failure is quiet.
class Http {
 public:
  virtual ~Http() = default;
  virtual void Get(const std::string& url, std::function<void(const std::string& body)> done) = 0;
  // Before the program ends: every fetch in flight is broken off unanswered, and the threads that
  // carry them are given a bounded moment to finish, so that none is cut off inside a lock.
  virtual void CancelAll() = 0;
};

// The shell's "open" of a web address in the user's default browser; the result is ignored.
class Browser {
 public:
  virtual ~Browser() = default;
  virtual void Open(const std::string& url) = 0;
};

// Unpredictable bytes from the operating system, for identifiers.
class RandomSource {
 public:
  virtual ~RandomSource() = default;
  virtual std::array<std::uint8_t, 16> Random128() = 0;
};

}  // namespace tkd
