// A standard user, whom HKEY_LOCAL_MACHINE\SOFTWARE refuses: every setting, the usage total and the
// start-with-Windows entry live per user instead, across a restart.
#include <functional>
#include <tuple>

#include "app_driver.h"

#include <sddl.h>

#include "core/number_text.h"
#include "settings/settings_store.h"

namespace tkd::e2e {
namespace {

constexpr Ms kStart = 20s, kReact = 3s;

// HKEY_LOCAL_MACHINE\SOFTWARE in both views, and the keys under it that the program writes to
// where they exist, refuse new values and subkeys to Everyone while this lives, as they refuse a
// standard user on Windows. Wine enforces a key's DACL but keeps it only in its server's memory;
// the original DACLs come back at the end, in reverse order (a key may be listed twice).
class MachineKeysRefuseWrites {
 public:
  MachineKeysRefuseWrites() {
    PSECURITY_DESCRIPTOR denied = nullptr;  // deny KEY_SET_VALUE | KEY_CREATE_SUB_KEY, allow the rest
    ConvertStringSecurityDescriptorToSecurityDescriptorW(L"D:(D;;0x6;;;WD)(A;;KA;;;WD)", SDDL_REVISION_1, &denied,
                                                         nullptr);
    for (const REGSAM view : {KEY_WOW64_64KEY, KEY_WOW64_32KEY}) {
      for (const char* path : {"SOFTWARE", "SOFTWARE\\Microsoft", RunKey}) {
        HKEY key = nullptr;
        if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, Utf8ToWide(path).c_str(), 0, READ_CONTROL | WRITE_DAC | view, &key))
          continue;
        DWORD size = 0;
        RegGetKeySecurity(key, DACL_SECURITY_INFORMATION, nullptr, &size);
        std::vector<BYTE> original(size);
        if (!RegGetKeySecurity(key, DACL_SECURITY_INFORMATION, original.data(), &size) &&
            !RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, denied))
          held_.push_back({key, std::move(original)});
        else
          RegCloseKey(key);
      }
    }
    LocalFree(denied);
  }
  ~MachineKeysRefuseWrites() {
    for (auto it = held_.rbegin(); it != held_.rend(); ++it) {
      RegSetKeySecurity(it->first, DACL_SECURITY_INFORMATION, it->second.data());
      RegCloseKey(it->first);
    }
  }

 private:
  std::vector<std::pair<HKEY, std::vector<BYTE>>> held_;
};

// What the program keeps under one root: the first-run mark, two settings, the start-with-Windows
// switch and its entry.
std::vector<std::string> Stored(RegRoot root) {
  std::vector<std::string> stored;
  for (const auto& [key, name] : {std::pair{SettingsKey, "firstuse"}, {SettingsKey, "Text1"}, {SettingsKey, "Check2"},
                                  {SettingsKey, "CheckOption1"}, {RunKey, "tikodan"}})
    stored.push_back(std::string(name) + "=" + Text(RegistryWin32().Read(root, key, name)));
  return stored;
}

TEST(StandardUserTest, FirstStartSettingsRestartAndStartWithWindowsAllPersistPerUser) {
  ASSERT_TRUE(WipeProgramKeys());
  RegistryWin32 registry;
  {
    const MachineKeysRefuseWrites refused;
    for (const char* key : {SettingsKey, UsageCopyKey, RunKey})  // RegCreateKeyExW, RegSetValueExW
      ASSERT_FALSE(registry.Write(RegRoot::LocalMachine, key, "tkdProbe", "1")) << "HKLM\\" << key << " took a write";
    std::optional<App> app;
    std::optional<MainWindow> main;
    const auto restart = [&] {
      app.reset();
      app.emplace(AppPath());
      main = app->WaitForWindow(kStart);
      ASSERT_TRUE(main) << "no main window";
    };
    const auto setMinutesAndCountdown = [&] {
      ASSERT_TRUE(SelectTab(*main, *app, L"TiKoDan"));
      ASSERT_TRUE(WaitUntil([&] { return main->Child(IDC_TEXT1).Visible(); }, kReact));
      main->Child(IDC_TEXT1).Type(L"3.5");
      main->Child(IDC_CHECK2).Click();
    };
    const auto clickStartWithWindows = [&] {
      PostMessageW(main->Handle(), WM_COMMAND, IDM_OPTION, 0);
      const HWND options = WaitForTopLevel(main->Handle(), L"#32770", L"选项...", kReact);
      ASSERT_TRUE(options);
      PostMessageW(GetDlgItem(options, IDC_OPT_CHECK1), BM_CLICK, 0, 0);
      PostMessageW(GetDlgItem(options, IDOK), BM_CLICK, 0, 0);
      ASSERT_TRUE(WaitUntil([&] { return !IsWindow(options); }, kReact));
    };
    const std::string run = "tikodan=\"" + WideToUtf8(AppPath()) + "\"";
    const std::vector<std::tuple<const char*, std::function<void()>, std::vector<std::string>>> steps = {
        {"first start", restart, {"firstuse=1", "Text1=(missing)", "Check2=0", "CheckOption1=1", run}},
        {"minutes and countdown set", setMinutesAndCountdown, {"firstuse=1", "Text1=3.5", "Check2= 1", "CheckOption1=1", run}},
        {"start with Windows cleared", clickStartWithWindows,
         {"firstuse=1", "Text1=3.5", "Check2= 1", "CheckOption1= 0", "tikodan="}},
        {"restarted", restart, {"firstuse=1", "Text1=3.5", "Check2= 1", "CheckOption1= 0", "tikodan="}},
        {"start with Windows ticked", clickStartWithWindows,
         {"firstuse=1", "Text1=3.5", "Check2= 1", "CheckOption1= 1", run}},
    };
    double usage = 0;
    for (const auto& [what, act, perUser] : steps) {
      SCOPED_TRACE(what);
      ASSERT_NO_FATAL_FAILURE(act());
      ASSERT_TRUE(Becomes([] { return Stored(RegRoot::CurrentUser); }, perUser, kReact));
      EXPECT_EQ(Stored(RegRoot::LocalMachine), std::vector<std::string>({"firstuse=(missing)", "Text1=(missing)",
                "Check2=(missing)", "CheckOption1=(missing)", "tikodan=(missing)"}));
      // The usage total goes on per user, in both of its keys, also across the restart.
      const auto total = [&](const char* key) {
        return NumericReading(Text(registry.Read(RegRoot::CurrentUser, key, "js00")));
      };
      ASSERT_TRUE(WaitUntil([&] { return total(SettingsKey) > usage && total(UsageCopyKey) > usage; }, kReact))
          << "js00 " << total(SettingsKey) << ", copy " << total(UsageCopyKey) << ", before " << usage;
      usage = total(SettingsKey);
    }
    ASSERT_TRUE(SelectTab(*main, *app, L"TiKoDan"));  // the restart showed what was set before it
    EXPECT_EQ(main->Child(IDC_TEXT1).Text(), L"3.5");
    EXPECT_TRUE(main->Child(IDC_CHECK2).Checked());
  }
  EXPECT_TRUE(WipeProgramKeys());
}

}  // namespace
}  // namespace tkd::e2e
