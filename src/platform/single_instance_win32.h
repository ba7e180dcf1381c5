// One running copy per logon session: a second start hands over to the first and ends.
#pragma once

#include <windows.h>

namespace tkd {

// Posted to the running copy's main window by a second start: bring the window back, in front.
inline constexpr wchar_t kAnotherStartMessage[] = L"BrisoLaken.TiKoDan.AnotherStart";

class SingleInstance {
 public:
  SingleInstance();  // claims the session's copy, or finds it claimed
  ~SingleInstance();
  SingleInstance(const SingleInstance&) = delete;
  SingleInstance& operator=(const SingleInstance&) = delete;

  bool First() const { return first_; }
  // Asks the running copy, by its main window of this class, to show itself, waiting a few
  // seconds for the window while that copy is still starting. Gives this start's right to take
  // the foreground to it, so that its window really comes to the front.
  void HandOver(const wchar_t* windowClass) const;

 private:
  HANDLE mutex_ = nullptr;
  bool first_ = true;
};

}  // namespace tkd
