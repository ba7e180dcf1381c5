// Menus: menuCaiDan and R_menu with their entries in order; the unavailable ones greyed.
#include "app/menus_win32.h"

#include "app/resource.h"
#include "platform/text_win32.h"

namespace tkd {
namespace {

struct Entry {
  UINT id;  // 0: a separator
  const char* caption;
  bool available = true;
};

constexpr Entry kMenuCaiDan[] = {
    {IDM_CHAOZHOU, "技术支持(&S)"}, {IDM_UPDATE, "检查更新(&K)"}, {IDM_ABOUT, "关于本软件(&A)..."},
    {IDM_OPTION, "选项(&O)..."},   {IDM_JIEMIAN, "切换成：简洁界面/默认界面(&J)", false},
    {0, ""},                       {IDM_EXIT, "退出(&X)"},
};
constexpr Entry kRMenu[] = {
    {IDM_RSUPPORT, "技术支持(&S)"}, {IDM_RUPDATE, "检查更新(&K)"},       {IDM_RABOUT, "关于本软件(&A)..."},
    {IDM_ROPTION, "选项(&O)...", false}, {0, ""}, {IDM_REXIT, "退出"},
};

template <std::size_t N>
HMENU PopupOf(const Entry (&entries)[N]) {
  HMENU menu = CreatePopupMenu();
  for (const Entry& e : entries) {
    if (!e.id) {
      AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
      continue;
    }
    AppendMenuW(menu, MF_STRING | (e.available ? 0 : MF_GRAYED), e.id, Utf8ToWide(e.caption).c_str());
  }
  return menu;
}

}  // namespace

Menus::Menus() : bar_(CreateMenu()), tray_(PopupOf(kRMenu)) {
  AppendMenuW(bar_, MF_POPUP, reinterpret_cast<UINT_PTR>(PopupOf(kMenuCaiDan)), L"菜单(&T)");
}

Menus::~Menus() {
  if (!barShown_) DestroyMenu(bar_);  // one attached to a window goes with the window
  DestroyMenu(tray_);
}

void Menus::ShowMenuBar(HWND window, bool visible) {
  if (visible == barShown_) return;
  barShown_ = visible;
  SetMenu(window, visible ? bar_ : nullptr);
}

void Menus::ShowTrayMenu(HWND window) const {
  POINT at{};
  GetCursorPos(&at);
  SetForegroundWindow(window);
  TrackPopupMenu(tray_, TPM_RIGHTBUTTON, at.x, at.y, 0, window, nullptr);
  PostMessageW(window, WM_NULL, 0, 0);
}

}  // namespace tkd
