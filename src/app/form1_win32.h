// The main window: creates the Win32 controls, renders the view-model and forwards events to it.
#pragma once

#include <windows.h>

#include <array>
#include <string>
#include <deque>

#include "platform/ports.h"
#include "timing/steady_timer.h"
#include "window/form1_model.h"

namespace tkd {

class Form1Window : public WindowFrame {
 public:
  Form1Window(HINSTANCE instance, Clock& clock);
  ~Form1Window() override;
  Form1Window(const Form1Window&) = delete;
  Form1Window& operator=(const Form1Window&) = delete;

  // Creates the window (hidden) where the model's start-up placed it, and starts its timers.
  bool Create(Form1Model& model);
  void Show(int showCommand);
  HWND Handle() const { return hwnd_; }

  // The main window as the model sees it.
  bool IsNormal() override;
  TwipsRect Bounds() override;

 private:
  // A control and the tab page it lives on (-1: on the window itself, outside the pages).
  struct Control {
    HWND hwnd = nullptr;
    int page = -1;
    bool visible = true;  // the model's visibility, before the current page is applied
    std::wstring text;    // last text rendered
    std::wstring tip;     // last tool tip rendered
    bool hasTip = false;
    bool tipRegistered = false;
  };

  static LRESULT CALLBACK WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void OnCommand(int id, int code);
  void OnTimer(UINT_PTR id);
  LRESULT OnCtlColorStatic(HDC dc, HWND control);

  void CreateFonts();
  void DestroyFonts();
  void CreateTab();
  bool EnsurePageCreated(int page);
  void CreateStopwatchPage();
  Control& AddControl(int id, const wchar_t* cls, const std::wstring& text, DWORD style,
                      int page, HFONT font);
  void AddTip(Control& control, const std::string& tip);
  void CreateToolTips();
  void RegisterTips();
  void Layout();
  void LayoutStopwatchPage(int width);
  void BuildTabs();

  // Brings every control in line with the model's view; notifications raised meanwhile are ignored.
  void Render();
  void RenderStopwatchPage();
  Control& ControlOf(int id);
  void SetText(Control& control, const std::string& text);
  void SetTip(Control& control, const std::string& tip);
  void SetVisible(Control& control, bool visible);
  void ApplyPageVisibility();
  void SyncTimers();
  void ArmTimer(UINT_PTR id, const SteadyTimer& timer);

  int Dpi() const;
  int Scale(int px96) const;

  HINSTANCE instance_;
  Clock& clock_;
  Form1Model* model_ = nullptr;
  HWND hwnd_ = nullptr;
  HWND tab_ = nullptr;
  HWND tooltip_ = nullptr;
  std::deque<Control> controls_;  // a deque: references stay valid as pages add controls
  std::array<bool, kPageCount> pageCreated_{};
  std::array<int, kPageCount> tabPages_{};  // tab index -> page
  int tabCount_ = 0;
  int currentPage_ = 0;
  bool rendering_ = false;
  std::wstring caption_;
  Rgb label2Colour_ = kBlue;

  HFONT uiFont_ = nullptr, displayFont_ = nullptr, statusFont_ = nullptr, buttonFont_ = nullptr;
  HBRUSH displayBrush_ = nullptr;

  SteadyTimer timer1_, timer2_;
};

}  // namespace tkd
