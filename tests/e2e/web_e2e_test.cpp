// End to end against the loopback site that run_e2e.sh serves (TIKODAN_SITE_BASE, its request
// log in TKD_E2E_SITE_LOG): the update dialog, the about box, the advertising panel and the rank.
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>

#include "app_driver.h"

namespace tkd::e2e {
namespace {

constexpr Ms kStart = 20s, kReact = 3s;

std::string Env(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

// The paths the site was asked for, in order.
std::vector<std::string> SiteRequests() {
  std::ifstream log(std::filesystem::path(Utf8ToWide(Env("TKD_E2E_SITE_LOG"))));
  std::vector<std::string> paths;
  for (std::string line; std::getline(log, line);) paths.push_back(line);
  return paths;
}

class WebTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(Env("TIKODAN_SITE_BASE"), "") << "run me through run_e2e.sh, which serves the site";
    ASSERT_NE(Env("TKD_E2E_SITE_LOG"), "");
  }
  // The program on wiped keys, with `values` stored first and the site at base + `sitePath`
  // (the program has the driver's environment).
  void Start(const std::string& sitePath = "", std::vector<std::pair<const char*, const char*>> values = {}) {
    ASSERT_TRUE(WipeProgramKeys());
    for (const auto& [name, text] : values)
      ASSERT_TRUE(RegistryWin32().Write(RegRoot::LocalMachine, kSettingsKey, name, text));
    const std::string base = Env("TIKODAN_SITE_BASE");
    SetEnvironmentVariableW(L"TIKODAN_SITE_BASE", Utf8ToWide(base + sitePath).c_str());
    app_.reset();  // one copy at a time: a second start only brings the first one back
    app_ = std::make_unique<App>(AppPath());
    SetEnvironmentVariableW(L"TIKODAN_SITE_BASE", Utf8ToWide(base).c_str());
    main_ = app_->WaitForWindow(kStart);
    ASSERT_TRUE(main_) << "no main window";
  }
  std::unique_ptr<App> app_;
  std::optional<MainWindow> main_;
};

TEST_F(WebTest, UpdateDialogFromEitherMenuStopsTheTickAndShowsEitherEndState) {
  const Version version = ExeVersion(AppPath());
  ASSERT_NE(version.number, 0);
  // The three labels, then the buttons on screen.
  const struct { int menu; std::string site; std::vector<std::wstring> end; } cases[] = {
      {IDM_UPDATE, "v1203/", {L"检查到有新的版本了", L"当前版本为：" + version.text, L"最新版本为:V12.0.3", L"去下载最新版", L"退出"}},
      {IDM_RUPDATE, "v" + std::to_string(version.number) + "/",
       {L"您使用的版本已经是最新版的了，您无需下载更新", L"当前版本为：" + version.text, L"", L"退出"}},
      {IDM_UPDATE, "test/404/",
       {L"无法连接到网站，暂时不能检查是否有新版本", L"当前版本为：" + version.text, L"",
        L"如果长时间没有反应，请直接上网查看最新版本", L"上网查看最新版本", L"退出"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.site);
    ASSERT_NO_FATAL_FAILURE(Start(c.site));
    PostMessageW(main_->Handle(), WM_COMMAND, c.menu, 0);
    const HWND dialog = WaitForTopLevel(main_->Handle(), L"#32770", L"检查更新", kReact);
    ASSERT_TRUE(dialog) << "no update dialog";
    const auto read = [&] {
      std::vector<std::wstring> state;
      for (int id : {IDC_UPD_LABEL1, IDC_UPD_LABEL2, IDC_UPD_LABEL3}) state.push_back(WindowText(GetDlgItem(dialog, id)));
      for (int id : {IDC_UPD_LABEL4, IDC_UPD_COMMAND3, IDC_UPD_COMMAND1, IDCANCEL})
        if (IsWindowVisible(GetDlgItem(dialog, id))) state.push_back(WindowText(GetDlgItem(dialog, id)));
      return state;
    };
    EXPECT_TRUE(Becomes(read, c.end, kReact));
    PostMessageW(main_->Handle(), WM_COMMAND, IDM_RUPDATE, 0);  // the tray menu meanwhile: no second dialog
    const std::wstring title = main_->Title();
    EXPECT_FALSE(WaitUntil([&] { return main_->Title() != title || TopLevel(ProcessOf(dialog), L"#32770").size() != 1; },
                           2000ms))
        << "the tick ran, or a second dialog opened, while the dialog was open";
    PostMessageW(GetDlgItem(dialog, IDCANCEL), BM_CLICK, 0, 0);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }, kReact));
    EXPECT_TRUE(WaitUntil([&] { return main_->Title() != title; }, kReact)) << "the tick did not come back";
  }
}

TEST_F(WebTest, AboutBoxKeepsTheUsageItOpenedWithAndOpensOnlyOnce) {
  ASSERT_NO_FATAL_FAILURE(Start());
  PostMessageW(main_->Handle(), WM_COMMAND, IDM_ABOUT, 0);
  const HWND about = WaitForTopLevel(main_->Handle(), L"#32770", L"About TiKoDan（TiKoDan）", kReact);
  ASSERT_TRUE(about) << "no about box";
  // Its texts are the unit tests' business; here, that the usage text is fixed when the box opens.
  const auto usage = [&] { return WindowText(GetDlgItem(about, IDC_ABOUT_LABEL3)); };
  const std::wstring shown = usage();
  EXPECT_EQ(shown.rfind(L"您已使用本软件合计有 0:00:", 0), 0u) << Show(shown);
  Sleep(1500);  // the total goes on; the box's text does not
  PostMessageW(main_->Handle(), WM_COMMAND, IDM_RABOUT, 0);
  EXPECT_FALSE(WaitUntil([&] { return TopLevel(ProcessOf(about), L"#32770").size() != 1; }, 1000ms));
  EXPECT_EQ(usage(), shown);
}

TEST_F(WebTest, AdPanelSitsAboveTheTaskbarShowsItsPageAndClosesAfterADtimePlusOneSeconds) {
  ASSERT_NO_FATAL_FAILURE(Start("", {{"ADtime", "2"}}));
  ASSERT_TRUE(main_->ClickTab(L"TiKoDan"));
  HWND minutes = nullptr;  // made when its page is first shown
  ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(minutes = GetDlgItem(main_->Handle(), IDC_LABEL5)) != FALSE; }, kReact));
  PostMessageW(minutes, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(2, 2));
  const HWND panel = WaitForTopLevel(main_->Handle(), TKD_FORMHIDE_CLASS, L"", kReact);
  ASSERT_TRUE(panel) << "no advertising panel";
  const std::wstring caption = WindowText(panel);
  ASSERT_TRUE(caption.size() == 3 && caption.rfind(L"ad", 0) == 0 && caption[2] >= L'1' && caption[2] <= L'5')
      << Show(caption);
  RECT place{}, work{};
  GetWindowRect(panel, &place);
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  EXPECT_EQ(place.right, GetSystemMetrics(SM_CXSCREEN));
  EXPECT_EQ(place.bottom, work.bottom);
  const std::string page = "/tkd/ad/" + WideToUtf8(caption) + ".asp";
  const auto requested = [&] {
    const std::vector<std::string> paths = SiteRequests();
    return std::find(paths.begin(), paths.end(), page) != paths.end();
  };
  EXPECT_TRUE(WaitUntil(requested, kReact)) << "the site was not asked for " << page;
  PostMessageW(minutes, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(2, 2));  // only brings it forward
  EXPECT_FALSE(WaitUntil([&] { return TopLevel(ProcessOf(panel), TKD_FORMHIDE_CLASS).size() != 1; }, 1000ms));
  EXPECT_TRUE(WaitUntil([&] { return !IsWindow(panel); }, 5000ms)) << "still open five seconds after opening";
}

// Two minutes of ticks: the rank page names the identifier stored here with the rank 15.
TEST(WebRankTest, TheRankPageIsReadOnceInTheHundredAndTwentiethTickAndTheRankStored) {
  ASSERT_NE(Env("TIKODAN_SITE_BASE"), "") << "run me through run_e2e.sh, which serves the site";
  ASSERT_TRUE(WipeProgramKeys());
  ASSERT_TRUE(RegistryWin32().Write(RegRoot::LocalMachine, kSettingsKey, "UserId", "5d1c0a7e9b3f4e2a8c6d0f1b2a3c4d5e"));
  const auto asked = [] {
    const std::vector<std::string> paths = SiteRequests();
    return std::count(paths.begin(), paths.end(), "/tkd/test.htm");
  };
  const auto before = asked();
  App app(AppPath());
  // Every clock runs ten times as fast, this driver's too; a first start of the prefix's server
  // takes as long as ever.
  ASSERT_TRUE(app.WaitForWindow(10 * kStart));
  EXPECT_FALSE(WaitUntil([&] { return asked() != before; }, 110s)) << "asked before the 120th tick";
  EXPECT_TRUE(Becomes([] { return Setting("MingCi").value_or("(missing)"); }, std::string(" 15"), 20s));
  EXPECT_EQ(asked(), before + 1);
}

}  // namespace
}  // namespace tkd::e2e
