// wWinMain: the composition root that builds the real adapters once and runs the main window.
#include <windows.h>
#include <commctrl.h>

#include "app/form1_win32.h"
#include "platform/clock_win32.h"
#include "platform/lifetime_win32.h"
#include "platform/locale_win32.h"
#include "platform/program_info_win32.h"
#include "platform/prompt_win32.h"
#include "platform/registry_win32.h"
#include "platform/sound_win32.h"
#include "settings/settings_store.h"
#include "window/form1_model.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_TAB_CLASSES | ICC_STANDARD_CLASSES | ICC_BAR_CLASSES};
  InitCommonControlsEx(&controls);

  tkd::RegistryWin32 registry;
  tkd::SettingsStore store(registry);
  tkd::ClockWin32 clock;
  tkd::LocaleWin32 locale;
  tkd::SoundWin32 sound;
  tkd::PromptWin32 prompt;
  tkd::LifetimeWin32 lifetime;
  tkd::Form1Window window(instance, clock);
  tkd::Form1Model model({store, clock, locale, sound, prompt, lifetime, window},
                        tkd::CurrentProgramInfo());

  if (!model.Form_Load()) return 0;
  if (!window.Create(model)) return 1;
  prompt.SetOwner(window.Handle());
  window.Show(showCommand);

  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (IsDialogMessageW(window.Handle(), &msg)) continue;  // Tab moves between the controls
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return static_cast<int>(msg.wParam);
}
