// Web services: page parsing, addresses, the update check and dialog, the rank, the advertising
// panel and promotion page, the about box; the site answers through a fake.
#include <gtest/gtest.h>

#include <set>

#include "core/site_address.h"
#include "support/form1_harness.h"
#include "web/page_text.h"

namespace tkd {
namespace {

using testing::Form1Harness;
constexpr auto LM = RegRoot::LocalMachine;

TEST(PageText, ExtractBracketedAndExtractBetween) {
  const struct { const char *page, *bracketed; } brackets[] = {
      {"[147]", "147"}, {"  x[ 147 ]y  ", " 147 "}, {"[]", ""}, {"147]", "0"}, {"[147", "0"},
      {"]147[", "0"}, {"]a[b]", "0"}, {"[Abc]", "abc"}, {"", "0"}, {"[排名]", "排名"},
  };
  for (const auto& c : brackets) EXPECT_EQ(ExtractBracketed(c.page), c.bracketed) << c.page;
  const struct { const char *page, *between; } titles[] = {
      {"<title>abc</title>", "abc"}, {"<title>abc", ""}, {"", ""}, {"xxxxxxyz</title>", "yz"},
      {"<title></title>", ""}, {"<TITLE>abc</TITLE>", ""}, {"a</title><title>b</title>", "b"},
  };
  for (const auto& c : titles) EXPECT_EQ(ExtractBetween(c.page, "<title>", "</title>"), c.between) << c.page;
}

TEST(SiteAddress, OnlyAbsoluteWebAddressesAreTakenAndRedirectsResolve) {
  const struct { const char* text; bool web; } addresses[] = {
      {"http://a.example/", true}, {"HTTPS://a.example", true}, {"http://127.0.0.1:8080/x?y", true},
      {"ftp://a.example/", false}, {"file:///C:/Windows/notepad.exe", false}, {"C:\\x.exe", false},
      {"http://", false}, {"http:///path", false}, {"http://a b/", false}, {"http://a/\"x", false},
      {"javascript:alert(1)", false}, {"", false},
  };
  for (const auto& c : addresses) EXPECT_EQ(IsWebAddress(c.text), c.web) << c.text;

  const struct { const char *location, *resolved; } redirects[] = {
      {"https://b.example/p", "https://b.example/p"}, {"//c.example/q", "http://c.example/q"},
      {"/root", "http://a.example:81/root"}, {"next.htm", "http://a.example:81/dir/next.htm"},
      {"ftp://b.example/", ""}, {"mailto:x@y", ""},
  };
  for (const auto& c : redirects)
    EXPECT_EQ(ResolveLocation("http://a.example:81/dir/page.htm?q=1", c.location), c.resolved) << c.location;

  const SiteAddresses built = ChooseSiteAddresses(std::nullopt, std::nullopt);
  EXPECT_TRUE(IsWebAddress(built.base) && built.base.back() == '/') << built.base;
  EXPECT_EQ(built.base.find(".example/"), built.base.size() - 9) << "the built-in site is a placeholder";
  EXPECT_EQ(ChooseSiteAddresses("http://127.0.0.1:5000/v100", "https://shop.example/p").base, "http://127.0.0.1:5000/v100/");
  EXPECT_EQ(ChooseSiteAddresses("http://127.0.0.1:5000/", "https://shop.example/p").promo, "https://shop.example/p");
  const SiteAddresses refused = ChooseSiteAddresses("calc.exe", "file:///C:/x.exe");
  EXPECT_EQ(refused.base, built.base);
  EXPECT_EQ(refused.promo, built.promo);
}

TEST(UpdateCheck, TheNewestVersionIsOnlyNewsWhenItReadsHigherAndShowsAsVmajorMinorRevision) {
  const struct { const char* page; const char* latest; } pages[] = {
      {"[146]", ""}, {"[147]", "147"}, {"[ 147 ]", " 147 "}, {"147]", ""}, {"]147[", ""},
      {"[A147]", ""}, {"", ""}, {"<html>[1203]</html>", "1203"},
  };
  for (const auto& c : pages) {
    testing::FakeHttp http;
    std::string got = "(no answer)";
    FetchLatestVersion(http, "http://site.example/", 146, [&](const std::string& latest) { got = latest; });
    ASSERT_EQ(http.requested, std::vector<std::string>{"http://site.example/tkd/newver.htm"});
    EXPECT_EQ(got, "(no answer)") << "answered before the page came";
    http.Answer(c.page);
    EXPECT_EQ(got, c.latest) << c.page;
  }
  const struct { double n; const char* shown; } displays[] = {{147, "V1.4.7"}, {1203, "V12.0.3"}, {100, "V1.0.0"}, {9, "V0.0.9"}};
  for (const auto& c : displays) EXPECT_EQ(VersionDisplay(c.n), c.shown);
}

TEST(UpdateCheck, TheQuietCheckAsksOnceInTick360WithoutHoldingTheTicksAndOffersTheDownloadPage) {
  const struct { const char* page; bool ok; std::vector<std::string> opened; size_t prompts; } cases[] = {
      {"[147]", true, {"http://site.example/tkd/update.asp"}, 1}, {"[147]", false, {}, 1}, {"[146]", true, {}, 0}};
  for (const auto& c : cases) {
    Form1Harness h;
    ASSERT_TRUE(h.Load());
    h.prompt.confirms = c.ok;
    h.Run(359000);
    ASSERT_EQ(h.http.requested, std::vector<std::string>{"http://site.example/tkd/test.htm"});
    h.http.Answer("");  // the rank of tick 120
    h.Run(1000);
    ASSERT_EQ(h.http.requested.size(), 2u);
    EXPECT_EQ(h.http.requested.back(), "http://site.example/tkd/newver.htm");
    h.Run(40000);  // the site is silent; the ticks go on meanwhile
    EXPECT_EQ(h.model->js0(), 400);
    EXPECT_TRUE(h.http.Answer(c.page));
    EXPECT_EQ(h.prompt.shown.size(), c.prompts) << c.page;
    if (c.prompts) {
      EXPECT_EQ(h.prompt.shown[0], "【TiKoDan】又出新版本了，欢迎下载: 有新版本可以下载了，点确认去下载最新版本");
    }
    EXPECT_EQ(h.browser.opened, c.opened);
    h.Run(400000);
    EXPECT_EQ(h.http.requested.size(), 2u) << "asked again";
  }
}

TEST(UpdateDialog, ShowsAtOnceStopsTheTickAndFillsInWithEitherEndState) {
  const struct { const char* page; UpdateView end; } cases[] = {
      {"[147]", {"检查到有新的版本了", "当前版本为：V1.4.6", "最新版本为:V1.4.7", false, false, true}},
      {"[146]", {"您使用的版本已经是最新版的了，您无需下载更新", "当前版本为：V1.4.6", "", false, false, false}},
      {"", {"您使用的版本已经是最新版的了，您无需下载更新", "当前版本为：V1.4.6", "", false, false, false}},
  };
  const auto tie = [](const UpdateView& v) {
    return std::tie(v.label1, v.label2, v.label3, v.label4Visible, v.command3Visible, v.command1Visible, v.open);
  };
  for (const auto& c : cases) {
    Form1Harness h;
    ASSERT_TRUE(h.Load());
    const std::unique_ptr<UpdateDialog> dialog = h.model->menuUpdate_Click();
    EXPECT_FALSE(h.model->View().timer1Enabled);
    int changes = 0;
    dialog->Form_Load([&] { ++changes; });
    EXPECT_EQ(tie(dialog->View()), tie(UpdateView{"正在联网查看是否有最新版本...", "当前版本为：V1.4.6", "", false, false, false}));
    h.http.Answer(c.page);
    EXPECT_EQ(tie(dialog->View()), tie(c.end)) << c.page;
    EXPECT_EQ(changes, 1);
    dialog->Command1_Click();
    EXPECT_EQ(h.browser.opened, std::vector<std::string>{"http://site.example/tkd/update.asp"});
    EXPECT_FALSE(dialog->View().open);
    h.model->UpdateDialog_Closed();
    EXPECT_TRUE(h.model->View().timer1Enabled);
  }
  Form1Harness h;  // closed before the answer came: the answer is dropped
  ASSERT_TRUE(h.Load());
  h.model->menuUpdate_Click()->Form_Load();
  EXPECT_TRUE(h.http.Answer("[147]"));
}

TEST(Ranking, TakesTheRankInTick120OnlyWhenThePageNamesThisInstallation) {
  const std::string id = "00112233445566778899aabbccddeeff";
  const struct { std::string page; std::string text; const char* stored; } cases[] = {
      {"<title>" + id + "</title><body>15</body>", "排名：第15名", " 15"},
      {"<title>  " + id + " </title><body>  15  </body>", "排名：第15名", " 15"},
      {"<title>" + id + "</title><body>many</body>", "排名：第0名", " 0"},
      {"<title>00112233445566778899AABBCCDDEEFF</title><body>15</body>", kNoRankText, nullptr},
      {"<title>ffeeddccbbaa99887766554433221100</title><body>15</body>", kNoRankText, nullptr},
      {"<title>\n" + id + "</title><body>15</body>", kNoRankText, nullptr},
      {"", kNoRankText, nullptr},
  };
  for (const auto& c : cases) {
    Form1Harness h;
    h.registry.Set(LM, SettingsKey, "UserId", id);
    ASSERT_TRUE(h.Load());
    int changes = 0;
    h.model->SetChanged([&] { ++changes; });
    h.Run(119000);
    EXPECT_TRUE(h.http.requested.empty());
    h.Run(1000);
    EXPECT_EQ(h.http.requested, std::vector<std::string>{"http://site.example/tkd/test.htm"});
    h.http.Answer(c.page);
    EXPECT_EQ(h.model->RankText(), c.text) << c.page;
    EXPECT_EQ(changes, c.stored ? 1 : 0);
    EXPECT_EQ(h.Stored(setting::MingCi), c.stored ? std::optional<std::string>(c.stored) : std::nullopt);
    h.Run(200000);
    EXPECT_EQ(h.http.requested.size(), 1u);
  }
}

TEST(Ranking, StartUpShowsTheStoredRankAndTheIdentifierIsMadeOnceAndKept) {
  const struct { const char* stored; const char* text; } ranks[] = {
      {" 15", "排名：第15名"}, {nullptr, kNoRankText}, {" 0", kNoRankText}, {"-3", kNoRankText}, {"x", kNoRankText}};
  for (const auto& c : ranks) {
    Form1Harness h;
    if (c.stored) h.registry.Set(LM, SettingsKey, "MingCi", c.stored);
    ASSERT_TRUE(h.Load());
    EXPECT_EQ(h.model->RankText(), c.text) << (c.stored ? c.stored : "(missing)");
  }
  Form1Harness h;
  h.registry.Set(LM, SettingsKey, "UserId", "not-an-id");
  ASSERT_TRUE(h.Load());
  h.Run(120000);
  const std::optional<std::string> id = h.Stored(setting::UserId);
  EXPECT_EQ(id, "a0b1c2d3e4f5061728394a5b6c7d8e9f");  // the fake's first 16 bytes
  h.http.Answer("<title>" + *id + "</title><body>7</body>");
  h.Restart();
  ASSERT_TRUE(h.Load());
  EXPECT_EQ(h.model->RankText(), "排名：第7名");
  h.Run(120000);
  EXPECT_EQ(h.Stored(setting::UserId), id) << "a new identifier at the next start";
}

TEST(Advertising, ThePromotionPageOpensAtEachMultipleOfTheIntervalReadAtStartUp) {
  const struct { const char* adsj; double period; } cases[] = {{" 2", 7356}, {nullptr, 3678}, {"0", 3678}, {"0.5", 3678}};
  for (const auto& c : cases) {
    Form1Harness h;
    h.registry.Set(LM, SettingsKey, "firstuse", "1");
    if (c.adsj) h.registry.Set(LM, SettingsKey, "ADsj", c.adsj);
    for (const char* key : {SettingsKey, UsageCopyKey}) h.registry.Set(LM, key, "js00", " " + std::to_string(int(c.period) - 2));
    ASSERT_TRUE(h.Load());
    h.registry.Set(LM, SettingsKey, "ADsj", " 20");  // the options dialog: only the next start sees it
    h.Run(1000);
    EXPECT_TRUE(h.browser.opened.empty());
    h.Run(1000);
    EXPECT_EQ(h.browser.opened, std::vector<std::string>{"https://shop.example/promo"}) << c.period;
    h.Run(c.period * 1000 - 1000);
    EXPECT_EQ(h.browser.opened.size(), 1u);
    h.Run(1000);
    EXPECT_EQ(h.browser.opened.size(), 2u) << "at " << 2 * c.period;
  }
  Form1Harness none;  // no promotion page built in
  none.site.promo.clear();
  none.Restart();
  ASSERT_TRUE(none.Load());
  none.Run(3678000, 1000);
  EXPECT_TRUE(none.browser.opened.empty());
}

TEST(Advertising, ThePanelSitsAboveTheTaskbarAndClosesAfterADtimePlusOneTicks) {
  const struct { int workAreaBottom; std::int16_t taskbar; } bars[] = {{760, 600}, {800, 0}};  // bottom, left
  for (const auto& c : bars) {
    const Screen screen{19200, 12000, 15, c.workAreaBottom};
    EXPECT_EQ(GetTaskbarHeight(screen), c.taskbar);
    Form1Harness h;
    ASSERT_TRUE(h.Load());
    Advertising& ads = h.model->web().advertising();
    ASSERT_TRUE(ads.OpenPanel(screen, 5250, 3720));
    const TwipsRect place = ads.Panel()->View().place;
    EXPECT_EQ(place.left + place.width, 19200);
    EXPECT_EQ(place.top + place.height, 12000 - c.taskbar);
  }
  const struct { const char* adTime; int ticks; } times[] = {{nullptr, 181}, {"0", 181}, {"-4", 181}, {"abc", 181}, {"10", 11}};
  for (const auto& c : times) {
    Form1Harness h;
    if (c.adTime) h.registry.Set(LM, SettingsKey, "ADtime", c.adTime);
    ASSERT_TRUE(h.Load());
    Advertising& ads = h.model->web().advertising();
    ASSERT_TRUE(ads.OpenPanel({}, 5250, 3720));
    const std::string caption = ads.Panel()->View().caption;
    for (int tick = 1; tick < c.ticks; ++tick) ads.PanelTimer();
    EXPECT_FALSE(ads.OpenPanel({}, 5250, 3720)) << "a second double-click only brings it forward";
    ASSERT_NE(ads.Panel(), nullptr) << "closed before tick " << c.ticks;
    EXPECT_EQ(ads.Panel()->View().caption, caption);
    ads.PanelTimer();
    EXPECT_EQ(ads.Panel(), nullptr) << "still open after tick " << c.ticks;
  }
}

TEST(Advertising, EveryRunDrawsTheSamePagesInTheSameOrder) {
  std::vector<std::string> runs[2];
  for (auto& pages : runs) {
    Form1Harness h;
    ASSERT_TRUE(h.Load());
    Advertising& ads = h.model->web().advertising();
    for (int i = 0; i < 12; ++i) {
      ads.OpenPanel({}, 0, 0);
      pages.push_back(ads.Panel()->View().url);
      ads.PanelClosed();
    }
  }
  EXPECT_EQ(runs[0], runs[1]);
  std::set<std::string> pages;
  for (int k = 1; k <= 5; ++k) pages.insert("http://site.example/tkd/ad/ad" + std::to_string(k) + ".asp");
  EXPECT_EQ(std::set<std::string>(runs[0].begin(), runs[0].end()), pages);
}

TEST(AboutBox, TextsAreFixedWhenItLoadsAndTheLinksOpenTheSite) {
  Form1Harness h;
  for (const char* key : {SettingsKey, UsageCopyKey}) h.registry.Set(LM, key, "js00", " 3720");
  h.registry.Set(LM, SettingsKey, "firstuse", "1");
  ASSERT_TRUE(h.Load());
  h.Run(5000);
  const std::unique_ptr<AboutBox> about = h.model->nemuAbout_Click();
  h.Run(5000);
  const AboutView& v = about->View();
  EXPECT_EQ((std::vector<std::string>{v.caption, v.label1, v.label3, v.label5}),
            (std::vector<std::string>{"About TiKoDan（TiKoDan）", "当前版本为：V1.4.6", "您已使用本软件合计有 1:02:05", "http://site.example/"}));
  about->Label5_Click();
  h.model->menuChaoZhou_Click();
  EXPECT_EQ(h.browser.opened, (std::vector<std::string>{"http://site.example/", "http://site.example/tkd/"}));
}

}  // namespace
}  // namespace tkd
