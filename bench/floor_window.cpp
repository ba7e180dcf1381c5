// The start-up floor: TiKoDan's window as one plain function would make it (its class and icon, the
// menu bar, the tab control with its five tabs, the window's two switches and the controls of the
// page it opens on in the same fonts), none of the program's architecture, no registry, no timers.
// TiKoDan.exe's start-up and working set are set against it by bench/run.sh.
#include <windows.h>
#include <commctrl.h>

namespace {

constexpr wchar_t kClassName[] = L"TkdFloorWindow";

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

HFONT SimSun(double points) {
  return CreateFontW(-static_cast<int>(points * 96 / 72 + 0.5), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                     GB2312_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY,
                     DEFAULT_PITCH | FF_DONTCARE, L"SimSun");
}

HWND Child(HWND parent, const wchar_t* windowClass, const wchar_t* text, DWORD style, int x, int y, int w, int h,
           HFONT font, DWORD exStyle = 0) {
  HWND child = CreateWindowExW(exStyle, windowClass, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, parent,
                               nullptr, GetModuleHandleW(nullptr), nullptr);
  SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  return child;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
  INITCOMMONCONTROLSEX common{sizeof common, ICC_TAB_CLASSES | ICC_STANDARD_CLASSES | ICC_BAR_CLASSES};
  InitCommonControlsEx(&common);

  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = WindowProc;
  windowClass.hInstance = instance;
  windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(1));
  windowClass.hIconSm = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(1), IMAGE_ICON,
                                                      GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0));
  windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = kClassName;
  if (!RegisterClassExW(&windowClass)) return 1;

  HMENU popup = CreatePopupMenu();
  const wchar_t* entries[] = {L"技术支持(&S)", L"检查更新(&K)", L"关于本软件(&A)...", L"选项(&O)...",
                              L"切换成：简洁界面/默认界面(&J)", nullptr, L"退出(&X)"};
  UINT id = 100;
  for (const wchar_t* entry : entries)
    AppendMenuW(popup, entry ? MF_STRING : MF_SEPARATOR, entry ? id++ : 0, entry);
  HMENU bar = CreateMenu();
  AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(popup), L"菜单(&T)");

  // TiKoDan's first-run place and size: 1000 twips from the corner, 5300 by 4815 twips.
  HWND window = CreateWindowExW(WS_EX_CONTROLPARENT, kClassName, L"TiKoDan 1.0.0  00:00:00",
                                WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 67, 67, 354, 321, nullptr, bar, instance,
                                nullptr);
  if (!window) return 1;
  // Every face the program's pages use is made at start, as the program makes them.
  HFONT ui = SimSun(9);
  const double others[] = {48, 26.25, 15.75};
  for (double points : others) SimSun(points);
  RECT client{};
  GetClientRect(window, &client);

  HWND tab = Child(window, WC_TABCONTROLW, L"", WS_CLIPSIBLINGS | WS_TABSTOP, 0, 0, client.right, 26, ui);
  const wchar_t* captions[] = {L"TiKoDan", L"定时关机", L"整点报时", L"鼠标统计", L"概况"};  // the reminder page stays hidden
  for (int i = 0; i < 5; ++i) {
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<wchar_t*>(captions[i]);
    TabCtrl_InsertItem(tab, i, &item);
  }
  TabCtrl_SetCurSel(tab, 1);

  const int bottom = client.bottom - 26;
  Child(window, WC_BUTTONW, L"置最前", BS_AUTOCHECKBOX | WS_TABSTOP, 8, bottom, 72, 20, ui);
  Child(window, WC_BUTTONW, L"菜单", BS_AUTOCHECKBOX | WS_TABSTOP, 88, bottom, 72, 20, ui);

  // The page TiKoDan opens on, the scheduled shutdown: four rows of a box, times and captions, each
  // clock row with its warning, hidden until a shutdown comes near; then the countdown's line.
  const DWORD box = BS_AUTOCHECKBOX | WS_TABSTOP, edit = ES_AUTOHSCROLL | WS_TABSTOP,
              caption = SS_LEFT | SS_CENTERIMAGE | SS_NOPREFIX, warning = caption | SS_NOTIFY;
  struct Cell { const wchar_t* windowClass; DWORD style; const wchar_t* text; int width; DWORD exStyle = 0; };
  const Cell rows[4][6] = {
      {{WC_BUTTONW, box, L"设定", 84}, {WC_EDITW, edit, L"60", 44, WS_EX_CLIENTEDGE}, {WC_STATICW, caption, L"分钟后自动关机", 100}},
      {{WC_BUTTONW, box, L"设定今天", 84}, {WC_EDITW, edit, L"22", 36, WS_EX_CLIENTEDGE}, {WC_STATICW, caption, L"点", 18},
       {WC_EDITW, edit, L"30", 36, WS_EX_CLIENTEDGE}, {WC_STATICW, caption, L"分后自动关机", 88}, {WC_STATICW, warning, L"即将关机", 64}},
      {{WC_BUTTONW, box, L"设定每天", 84}, {WC_EDITW, edit, L"22", 36, WS_EX_CLIENTEDGE}, {WC_STATICW, caption, L"点", 18},
       {WC_EDITW, edit, L"30", 36, WS_EX_CLIENTEDGE}, {WC_STATICW, caption, L"分时自动关机", 88}, {WC_STATICW, warning, L"即将关机", 64}},
      {{WC_BUTTONW, box, L"设定每天", 84}, {WC_EDITW, edit, L"23", 36, WS_EX_CLIENTEDGE}, {WC_STATICW, caption, L"点", 18},
       {WC_EDITW, edit, L"30", 36, WS_EX_CLIENTEDGE}, {WC_STATICW, caption, L"分时自动关机", 88}, {WC_STATICW, warning, L"即将关机", 64}}};
  int y = 34;
  for (const auto& row : rows) {
    int x = 8;
    for (const Cell& cell : row) {
      if (!cell.width) continue;
      HWND control = Child(window, cell.windowClass, cell.text, cell.style, x, y, cell.width, 23, ui, cell.exStyle);
      if (cell.style == warning) ShowWindow(control, SW_HIDE);
      x += cell.width + 4;
    }
    y += 30;
  }
  Child(window, WC_STATICW, L"", SS_LEFT | SS_NOPREFIX, 8, y, client.right - 16, 23, ui);

  ShowWindow(window, showCommand);
  UpdateWindow(window);

  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (IsDialogMessageW(window, &message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return static_cast<int>(message.wParam);
}
