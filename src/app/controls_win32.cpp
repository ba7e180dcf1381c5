// Controls: creation from tables, change-only rendering, tool tips and fonts.
#include "app/controls_win32.h"

#include <commctrl.h>

#include <cmath>

#include "platform/text_win32.h"

namespace tkd {
namespace {

constexpr wchar_t kSimSun[] = L"SimSun";
// Point sizes of the designed fonts, by FontRole.
constexpr double kPoints[] = {9, 48, 26.25, 15.75};

}  // namespace

Fonts::Fonts(int dpi) {
  for (int role = 0; role < static_cast<int>(FontRole::Count); ++role) {
    const int height = -static_cast<int>(std::lround(kPoints[role] * dpi / 72.0));
    fonts_[role] = UniqueGdi<HFONT>(CreateFontW(
        height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, GB2312_CHARSET, OUT_DEFAULT_PRECIS,
        CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY, DEFAULT_PITCH | FF_DONTCARE, kSimSun));
  }
}

Controls::~Controls() {
  if (tooltip_ && IsWindow(tooltip_)) DestroyWindow(tooltip_);
}

void Controls::Create(const ControlSpec* specs, std::size_t count, int page, const Fonts& fonts) {
  for (std::size_t i = 0; i < count; ++i) {
    const ControlSpec& item = specs[i];
    const bool edit = std::wstring(item.windowClass) == WC_EDITW;
    Control control{item.id, nullptr, page, item.font, true, {}, {}, false};
    control.text = Utf8ToWide(item.text);
    // Made visible at once when it belongs on screen: a show of its own would cost a round trip.
    const DWORD visible = page == kNoPage || page == page_ ? WS_VISIBLE : 0;
    // Likewise made in its place when it was laid out before: a move would cost another.
    if (const auto place = places_.find(item.id); place != places_.end()) control.place = place->second;
    const RECT& at = control.place;
    control.hwnd = CreateWindowExW(edit ? WS_EX_CLIENTEDGE : 0, item.windowClass, control.text.c_str(),
                                   WS_CHILD | visible | item.style, at.left, at.top, at.right - at.left,
                                   at.bottom - at.top, parent_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(item.id)),
                                   instance_, nullptr);
    if (!control.hwnd) continue;
    SendMessageW(control.hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(fonts.Get(item.font)), FALSE);
    controls_.push_back(std::move(control));
    Show(controls_.back());
  }
}

void Controls::ApplyFonts(const Fonts& fonts) {
  for (const Control& c : controls_)
    SendMessageW(c.hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(fonts.Get(c.font)), TRUE);
}

// The tool tip has no owner. A topmost window owned by the main window would keep the main window
// itself out of the topmost band under Wine: raising an owner first raises what it owns, and the
// owner then lands below a topmost window that is followed by ordinary ones. TTF_SUBCLASS tools and
// TTS_ALWAYSTIP need no owner, and ~Controls destroys the tip with the controls.
void Controls::CreateToolTips() {
  if (tooltip_) return;
  tooltip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                             CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr,
                             nullptr, instance_, nullptr);
  for (Control& c : controls_) AddTip(c);
}

void Controls::AddTip(Control& control) {
  if (!tooltip_ || control.tip.empty()) return;
  TOOLINFOW ti{};
  ti.cbSize = sizeof ti;
  ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  ti.hwnd = parent_;
  ti.uId = reinterpret_cast<UINT_PTR>(control.hwnd);
  ti.lpszText = control.tip.data();
  SendMessageW(tooltip_, control.tipAdded ? TTM_UPDATETIPTEXTW : TTM_ADDTOOLW, 0,
               reinterpret_cast<LPARAM>(&ti));
  control.tipAdded = true;
}

Controls::Control* Controls::Get(int id) {
  for (Control& c : controls_)
    if (c.id == id) return &c;
  return nullptr;
}

HWND Controls::Find(int id) const {
  for (const Control& c : controls_)
    if (c.id == id) return c.hwnd;
  return nullptr;
}

int Controls::PageOf(int id) const {
  for (const Control& c : controls_)
    if (c.id == id) return c.page;
  return kNoPage;
}

// A layout after every size change moves most controls to where they already are.
void Controls::Move(int id, int x, int y, int width, int height) {
  Control* c = Get(id);
  const RECT place{x, y, x + width, y + height};
  if (!c) places_[id] = place;  // not made yet
  if (!c || EqualRect(&place, &c->place)) return;
  c->place = place;
  MoveWindow(c->hwnd, x, y, width, height, TRUE);
}

void Controls::SetText(int id, const std::string& text) {
  Control* c = Get(id);
  if (!c) return;
  std::wstring wide = Utf8ToWide(text);
  if (wide == c->text) return;
  c->text = std::move(wide);
  SetWindowTextW(c->hwnd, c->text.c_str());
}

void Controls::SetTip(int id, const std::string& tip) {
  Control* c = Get(id);
  if (!c) return;
  std::wstring wide = Utf8ToWide(tip);
  if (wide == c->tip) return;
  c->tip = std::move(wide);
  AddTip(*c);
}

// A box is asked for its state only when the user clicked it: every question to a themed button
// costs round trips to the system, and a page renders all its boxes each second.
void Controls::SetChecked(int id, bool checked) {
  Control* c = Get(id);
  if (!c || c->checked == static_cast<int>(checked)) return;
  c->checked = checked;
  SendMessageW(c->hwnd, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

bool Controls::Checked(int id) {
  Control* c = Get(id);
  if (!c) return false;
  c->checked = SendMessageW(c->hwnd, BM_GETCHECK, 0, 0) == BST_CHECKED;
  return c->checked == 1;
}

std::wstring Controls::Text(int id) {
  Control* c = Get(id);
  if (!c) return {};
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(c->hwnd)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(c->hwnd, text.data(), static_cast<int>(text.size()))));
  c->text = text;
  return text;
}

void Controls::SetVisible(int id, bool visible) {
  if (Control* c = Get(id)) {
    c->visible = visible;
    Show(*c);
  }
}

void Controls::ShowPage(int page) {
  page_ = page;
  for (Control& c : controls_) Show(c);
}

void Controls::Show(Control& control) {
  const bool shown = control.visible && (control.page == kNoPage || control.page == page_);
  const bool showing = (GetWindowLongW(control.hwnd, GWL_STYLE) & WS_VISIBLE) != 0;
  if (shown != showing) ShowWindow(control.hwnd, shown ? SW_SHOWNA : SW_HIDE);
}

}  // namespace tkd
