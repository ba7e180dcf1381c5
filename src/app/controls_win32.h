// Small Win32 control wrappers: RAII GDI objects, the designed fonts, and a window's child
// controls made from per-page tables, with their tool tips.
#pragma once

#include <windows.h>

#include <array>
#include <map>
#include <string>
#include <vector>

namespace tkd {

// Owns one GDI object (font, brush) and deletes it exactly once.
template <class Handle>
class UniqueGdi {
 public:
  UniqueGdi() = default;
  explicit UniqueGdi(Handle handle) : handle_(handle) {}
  ~UniqueGdi() { Reset(); }
  UniqueGdi(UniqueGdi&& other) noexcept : handle_(other.handle_) { other.handle_ = nullptr; }
  UniqueGdi& operator=(UniqueGdi&& other) noexcept {
    if (this != &other) {
      Reset();
      handle_ = other.handle_;
      other.handle_ = nullptr;
    }
    return *this;
  }
  UniqueGdi(const UniqueGdi&) = delete;
  UniqueGdi& operator=(const UniqueGdi&) = delete;
  Handle Get() const { return handle_; }
  void Reset() {
    if (handle_) DeleteObject(handle_);
    handle_ = nullptr;
  }

 private:
  Handle handle_ = nullptr;
};

// The fonts the designed controls use, all SimSun.
enum class FontRole { Ui, Display, Status, Button, Count };

class Fonts {
 public:
  explicit Fonts(int dpi);
  HFONT Get(FontRole role) const { return fonts_[static_cast<int>(role)].Get(); }

 private:
  std::array<UniqueGdi<HFONT>, static_cast<int>(FontRole::Count)> fonts_;
};

// One row of a page's control table.
struct ControlSpec {
  int id;
  const wchar_t* windowClass;  // WC_STATICW, WC_BUTTONW, WC_EDITW
  DWORD style;                 // besides WS_CHILD
  FontRole font = FontRole::Ui;
  const char* text = "";       // what it shows until the first render
};

// Outside the tab pages: controls on the window itself.
inline constexpr int kNoPage = -1;

class Controls {
 public:
  Controls(HWND parent, HINSTANCE instance) : parent_(parent), instance_(instance) {}
  ~Controls();
  Controls(const Controls&) = delete;
  Controls& operator=(const Controls&) = delete;

  // Makes a page's controls from its table, hidden until the page is shown.
  void Create(const ControlSpec* specs, std::size_t count, int page, const Fonts& fonts);
  // Gives every control its role's font from `fonts` (after a DPI change).
  void ApplyFonts(const Fonts& fonts);
  // The tool-tip window, made once the main window is up; tips set before are added then.
  void CreateToolTips();

  HWND Find(int id) const;  // nullptr when the control has not been made
  int PageOf(int id) const;  // the page whose control it is; kNoPage also for one not made
  bool Has(int id) const { return Find(id) != nullptr; }
  void Move(int id, int x, int y, int width, int height);

  // Renders: each changes the control only when the value differs from the last one rendered.
  void SetText(int id, const std::string& text);
  void SetTip(int id, const std::string& tip);
  void SetChecked(int id, bool checked);
  void SetVisible(int id, bool visible);  // the page's own visibility rule
  // Shows the controls of `page` (and those outside the pages), hides the others.
  void ShowPage(int page);

  // Reads what the user changed.
  std::wstring Text(int id);  // also remembered as rendered, so rendering it back does nothing
  bool Checked(int id);  // likewise

 private:
  struct Control {
    int id;
    HWND hwnd;
    int page;
    FontRole font;
    bool visible = true;
    std::wstring text, tip;
    bool tipAdded = false;
    int checked = -1;  // a box's state as last set or read; -1 before either
    RECT place{};  // where it was made or last moved to (0, 0 with no size before a layout)
  };
  Control* Get(int id);
  void AddTip(Control& control);
  void Show(Control& control);

  HWND parent_;
  HINSTANCE instance_;
  HWND tooltip_ = nullptr;
  int page_ = kNoPage;
  std::vector<Control> controls_;
  std::map<int, RECT> places_;  // laid out before they were made: made there
};

}  // namespace tkd
