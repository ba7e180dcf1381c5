// Works TiKoDan.exe from outside as a user would and asks scripts/screenshots.sh for a picture of each page and dialog.
//
//   screenshot_driver.exe --app=PATH\TiKoDan.exe --talk=DIR --site=URL
//
// The program runs twice. First on its own site address, which the about box shows, for the
// pages, the options dialog, the about box and the tray menu: it fetches nothing in its first two
// minutes (the rank comes with the 120th tick). Then on URL, the loopback site, for the update
// dialog, which asks the site at once.
//
// The pictures are taken on the X side: for each one the driver writes "shot NAME LEFT TOP WIDTH
// HEIGHT" (the window's place on the virtual desktop) to DIR\request, and for a pointer move
// "pointer XDOTOOL-ARGUMENTS"; the script answers with DIR\done once it has done it. The driver
// ends with status 0 when every picture was taken, else it names what failed.
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <map>
#include <string>

#include "../tests/e2e/app_driver.h"

namespace tkd::e2e {
namespace {

constexpr Ms kStart = 30s, kReact = 5s;
// Where the pointer rests while pictures are taken: in the desktop's corner, away from every
// window, so that no tool tip or hot tracking shows in them.
constexpr POINT kPointerAside{1270, 790};

std::wstring talkDir, siteUrl;
int failures = 0;

void Fail(const std::string& what) {
  std::fprintf(stderr, "screenshot_driver: %s\n", what.c_str());
  ++failures;
}

// One request to the script, answered by its done file; false when no answer comes in time.
bool Request(const std::string& request) {
  const std::wstring part = talkDir + L"\\request.part", whole = talkDir + L"\\request",
                     done = talkDir + L"\\done";
  DeleteFileW(done.c_str());
  FILE* file = _wfopen(part.c_str(), L"wb");
  if (!file) return false;
  std::fputs((request + "\n").c_str(), file);
  std::fclose(file);
  // Renamed whole, so that the script never reads half a request.
  if (!MoveFileExW(part.c_str(), whole.c_str(), MOVEFILE_REPLACE_EXISTING)) return false;
  const bool answered = WaitUntil([&] { return GetFileAttributesW(done.c_str()) != INVALID_FILE_ATTRIBUTES; }, 20s);
  DeleteFileW(done.c_str());
  return answered;
}

bool MovePointer(POINT to) {
  return Request("pointer mousemove --sync " + std::to_string(to.x) + " " + std::to_string(to.y));
}

// A picture of the window as it is on screen, once it has painted what it was just told.
void Shoot(const std::string& name, HWND window) {
  Sleep(400);  // the program paints from its own thread; nothing tells another process when it is done
  RECT r{};
  if (!IsWindowVisible(window) || !GetWindowRect(window, &r)) return Fail(name + ": the window is not on screen");
  if (!Request("shot " + name + " " + std::to_string(r.left) + " " + std::to_string(r.top) + " " +
           std::to_string(r.right - r.left) + " " + std::to_string(r.bottom - r.top)))
    Fail(name + ": the script took no picture");
}

// The picture's name for a tab, by its caption; a tab nobody named here gets its position.
std::string PageName(const std::wstring& caption, std::size_t index) {
  static const std::map<std::wstring, std::string> names = {
      {L"TiKoDan", "stopwatch"}, {L"定时关机", "shutdown"}, {L"整点报时", "chime"},
      {L"鼠标统计", "mouse"},    {L"提醒", "reminder"},    {L"概况", "overview"}};
  const auto found = names.find(caption);
  return found != names.end() ? found->second : "page" + std::to_string(index);
}

// What a user does on a page before its picture, so that it shows the page at work rather than
// empty: a countdown running, shutdowns armed (half an hour and hours away), a path of the mouse.
void Prepare(const std::string& page, const MainWindow& main, const App& app) {
  const auto settle = [&](Ms time) { WaitUntil([&] { return app.EndsWithin(0ms); }, time); };
  if (page == "stopwatch") {
    if (!main.Child(IDC_CHECK2).Checked()) main.Child(IDC_CHECK2).Click();
    main.Child(IDC_TEXT1).Type(L"5");
    main.Child(IDC_COMMAND1).Click();
    if (!WaitUntil([&] { return main.Child(IDC_COMMAND2).Visible(); }, kReact)) Fail("the countdown did not start");
    settle(3500ms);
  } else if (page == "shutdown") {
    main.Child(IDC_TEXT2).Type(L"30");
    main.Child(IDC_CHECK4).Click();
    main.Child(IDC_TEXT5).Type(L"22");
    main.Child(IDC_TEXT6).Type(L"30");
    main.Child(IDC_CHECK6).Click();
    if (!WaitUntil([&] { return main.Child(IDC_CHECK4).Checked() && main.Child(IDC_CHECK6).Checked(); }, kReact))
      Fail("the shutdowns were not armed");
    settle(1500ms);
  } else if (page == "mouse") {
    // A zigzag over the desktop, as a hand would draw it, then back to the corner.
    const RECT r = main.Place();
    for (int leg = 0; leg < 8; ++leg)
      MovePointer({leg % 2 ? 1200L : static_cast<LONG>(r.right + 40), 60L + leg * 80});
    MovePointer(kPointerAside);
    settle(2500ms);  // the odometer's samples reach the labels with the next ticks
  } else {
    settle(500ms);
  }
}

// Opens a dialog with a menu command and photographs it once `ready` holds; then closes it as
// its "退出" (Escape) does.
template <class Ready>
void ShootDialog(const std::string& name, const MainWindow& main, int command, Ready ready) {
  PostMessageW(main.Handle(), WM_COMMAND, command, 0);
  const HWND dialog = WaitForTopLevel(main.Handle(), L"#32770", L"", kReact);
  if (!dialog) return Fail(name + ": the dialog did not open");
  if (!WaitUntil([&] { return ready(dialog); }, 15s)) Fail(name + ": the dialog did not get its content");
  Shoot(name, dialog);
  PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
  if (!WaitUntil([&] { return !IsWindow(dialog); }, kReact)) Fail(name + ": the dialog stayed open");
}

// The pages, the options dialog, the about box and the tray menu, on the program's own site address.
void FirstRun(const std::wstring& appPath) {
  SetEnvironmentVariableW(L"TIKODAN_SITE_BASE", nullptr);
  App app(appPath);
  const std::optional<MainWindow> main = app.WaitForWindow(kStart);
  if (!main) return Fail("no main window");
  Sleep(1500);  // the first ticks: the title shows the clock, the pages their first values

  const std::vector<std::wstring> tabs = main->Tabs();
  if (tabs.empty()) return Fail("the tab control has no pages");
  for (std::size_t index = 0; index < tabs.size(); ++index) {
    const std::string name = PageName(tabs[index], index);
    if (!SelectTab(*main, app, tabs[index])) {
      Fail(name + ": its tab could not be selected");
      continue;
    }
    Prepare(name, *main, app);
    Shoot(name, main->Handle());
  }
  SelectTab(*main, app, tabs.front());  // the countdown's page, which the dialogs cover in part

  const auto anyContent = [](HWND) { return true; };
  ShootDialog("options", *main, IDM_OPTION, anyContent);
  ShootDialog("about", *main, IDM_ABOUT, anyContent);

  // The tray icon's menu opens where the pointer is, as after a right click on the icon: beside
  // the main window, where there is room for it.
  const RECT place = main->Place();
  MovePointer({place.right + 30, place.top + 60});
  PostMessageW(main->Handle(), TKD_MSG_TRAY_CALLBACK, 0, WM_RBUTTONUP);
  const HWND menu = WaitForTopLevel(main->Handle(), L"#32768", L"", kReact);
  if (!menu) {
    Fail("tray: its menu did not open");
  } else {
    Shoot("tray", menu);
    PostMessageW(main->Handle(), WM_CANCELMODE, 0, 0);
  }
  MovePointer(kPointerAside);
}  // the program ends here: the next copy would only bring this one forward

// The update dialog against the loopback site, once its outcome line shows the answer.
void SecondRun(const std::wstring& appPath) {
  SetEnvironmentVariableW(L"TIKODAN_SITE_BASE", siteUrl.c_str());
  App app(appPath);
  const std::optional<MainWindow> main = app.WaitForWindow(kStart);
  if (!main) return Fail("no main window on the second start");
  Sleep(1500);
  ShootDialog("update", *main, IDM_UPDATE,
              [](HWND dialog) { return !WindowText(GetDlgItem(dialog, IDC_UPD_LABEL1)).empty(); });
}

int Run(const std::wstring& appPath) {
  if (MovePointer(kPointerAside)) {
    FirstRun(appPath);
    SecondRun(appPath);
  } else {
    Fail("the script does not answer");
  }
  return failures ? 1 : 0;
}

}  // namespace
}  // namespace tkd::e2e

int wmain(int argc, wchar_t** argv) {
  std::wstring app;
  for (int i = 1; i < argc; ++i) {
    if (std::wcsncmp(argv[i], L"--app=", 6) == 0) app = argv[i] + 6;
    if (std::wcsncmp(argv[i], L"--talk=", 7) == 0) tkd::e2e::talkDir = argv[i] + 7;
    if (std::wcsncmp(argv[i], L"--site=", 7) == 0) tkd::e2e::siteUrl = argv[i] + 7;
  }
  if (app.empty() || tkd::e2e::talkDir.empty() || tkd::e2e::siteUrl.empty()) {
    std::fwprintf(stderr, L"usage: %ls --app=PATH\\TiKoDan.exe --talk=DIR --site=URL\n", argv[0]);
    return 2;
  }
  return tkd::e2e::Run(app);
}
