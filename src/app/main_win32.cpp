// wWinMain: the composition root that builds the real adapters once and runs the main window.
#include <windows.h>
#include <commctrl.h>

#include <optional>
#include <string>

#include "app/form1_win32.h"
#include "app/resource.h"
#include "core/site_address.h"
#include "platform/browser_win32.h"
#include "platform/clock_win32.h"
#include "platform/cursor_win32.h"
#include "platform/http_win32.h"
#include "platform/lifetime_win32.h"
#include "platform/locale_win32.h"
#include "platform/monitors_win32.h"
#include "platform/program_info_win32.h"
#include "platform/prompt_win32.h"
#include "platform/registry_win32.h"
#include "platform/shutdown_win32.h"
#include "platform/single_instance_win32.h"
#include "platform/system_library_win32.h"
#include "platform/tray_win32.h"
#include "platform/sound_win32.h"
#include "platform/text_win32.h"
#include "settings/settings_store.h"
#include "window/form1_model.h"

namespace {

// An environment variable's text, or nullopt when it is not set.
std::optional<std::string> Environment(const char* name) {
  const std::wstring wide = tkd::Utf8ToWide(name);
  const DWORD length = GetEnvironmentVariableW(wide.c_str(), nullptr, 0);
  if (length == 0) return std::nullopt;
  std::wstring value(length, L'\0');
  value.resize(GetEnvironmentVariableW(wide.c_str(), value.data(), length));
  return tkd::WideToUtf8(value);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
  tkd::KeepLibrariesToTheSystemFolder();
  // A second copy would overwrite the first's totals every second and chime and warn twice: it
  // brings the running copy's window back instead, and ends before it reads or writes anything.
  const tkd::SingleInstance instanceOfSession;
  if (!instanceOfSession.First()) {
    instanceOfSession.HandOver(TKD_FORM1_CLASS);
    return 0;
  }
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_TAB_CLASSES | ICC_STANDARD_CLASSES | ICC_BAR_CLASSES};
  InitCommonControlsEx(&controls);

  // Declared so that each object outlives everything that points at it: the window goes first,
  // then the model, then the adapters.
  tkd::RegistryWin32 registry;
  tkd::SettingsStore store(registry);
  tkd::ClockWin32 clock;
  tkd::LocaleWin32 locale;
  tkd::SoundWin32 sound;
  tkd::PromptWin32 prompt;
  tkd::LifetimeWin32 lifetime;
  tkd::ShutdownWin32 shutdown;
  tkd::TrayWin32 tray;
  tkd::CursorWin32 cursor;
  tkd::MonitorsWin32 monitors;
  tkd::Form1FrameWin32 frame;
  tkd::HttpWin32 http;
  tkd::BrowserWin32 browser;
  tkd::RandomWin32 random;
  const tkd::SiteAddresses site =
      tkd::ChooseSiteAddresses(Environment(tkd::kSiteBaseVariable), Environment(tkd::kPromoUrlVariable));
  tkd::Form1Model model({.store = store,
                         .clock = clock,
                         .locale = locale,
                         .sound = sound,
                         .prompt = prompt,
                         .lifetime = lifetime,
                         .frame = frame,
                         .shutdown = shutdown,
                         .tray = tray,
                         .cursor = cursor,
                         .monitors = monitors,
                         .web = {.http = http, .browser = browser, .random = random, .site = site}},
                        tkd::CurrentProgramInfo());
  if (!model.Form_Load()) return 0;
  tkd::Form1Window window(instance, frame, tray, monitors, model);
  if (!window.Create()) return 1;
  prompt.SetOwner(window.Handle());
  browser.SetOwner(window.Handle());
  cursor.SetWindow(window.Handle());
  window.Show(showCommand);

  MSG msg{};
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    // Tab and the arrow keys move between the controls of whichever window of ours is active:
    // the main window or a modeless dialog.
    const HWND active = GetActiveWindow();
    if (active && IsDialogMessageW(active, &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return static_cast<int>(msg.wParam);
}
