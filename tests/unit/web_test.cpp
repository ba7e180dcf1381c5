// Web services over a fake site: page parsing, addresses, update check and dialog, rank,
// advertising panel, promotion page and about box.
#include <gtest/gtest.h>

#include <set>

#include "core/site_address.h"
#include "support/form1_harness.h"
#include "web/page_text.h"

namespace tkd {
namespace {

using testing::Form1Harness;
using Texts = std::vector<std::string>;
constexpr auto LM = RegRoot::LocalMachine;

TEST(PageText, ExtractBracketedAndExtractBetween) {
  const struct { const char *page, *cut; } brackets[] = {
      {"[147]", "147"}, {"  x[ 147 ]y  ", " 147 "}, {"[]", ""}, {"147]", "0"}, {"[147", "0"},
      {"]147[", "0"}, {"]a[b]", "0"}, {"[Abc]", "abc"}, {"", "0"}, {"[排名]", "排名"}};
  for (const auto& c : brackets) EXPECT_EQ(ExtractBracketed(c.page), c.cut) << c.page;
  const struct { const char *page, *cut; } titles[] = {
      {"<title>abc</title>", "abc"}, {"<title>abc", ""}, {"", ""}, {"xxxxxxyz</title>", "yz"},
      {"<title></title>", ""}, {"<TITLE>abc</TITLE>", ""}, {"a</title><title>b</title>", "b"}};
  for (const auto& c : titles) EXPECT_EQ(ExtractBetween(c.page, "<title>", "</title>"), c.cut) << c.page;
}

TEST(SiteAddress, OnlyAbsoluteWebAddressesAreTaken) {
  const struct { const char* text; bool web; } addresses[] = {
      {"http://a.example/", true}, {"HTTPS://a.example", true}, {"http://127.0.0.1:8080/x?y", true},
      {"ftp://a.example/", false}, {"file:///C:/Windows/notepad.exe", false}, {"C:\\x.exe", false},
      {"http://", false}, {"http:///path", false}, {"http://a b/", false}, {"http://a/\"x", false}, {"http://a/<x>", false}, {"", false}};
  for (const auto& c : addresses) EXPECT_EQ(IsWebAddress(c.text), c.web) << c.text;

  const SiteAddresses built = ChooseSiteAddresses(std::nullopt, std::nullopt);
  EXPECT_EQ(built.base.find(".example/"), built.base.size() - 9) << "not the placeholder: " << built.base;
  const SiteAddresses chosen = ChooseSiteAddresses("http://127.0.0.1:5000/v100", "https://shop.example/p");
  EXPECT_EQ((Texts{chosen.base, chosen.promo}), (Texts{"http://127.0.0.1:5000/v100/", "https://shop.example/p"}));
  const SiteAddresses refused = ChooseSiteAddresses("calc.exe", "file:///C:/x.exe");
  EXPECT_EQ((Texts{refused.base, refused.promo}), (Texts{built.base, built.promo}));
}

TEST(UpdateCheck, VersionsShowAsVMajorMinorRevision) {
  for (const auto& [n, shown] : {std::pair{147.0, "V1.4.7"}, {1203.0, "V12.0.3"}, {9.0, "V0.0.9"}})
    EXPECT_EQ(VersionDisplay(n), shown);
}

// Only a newer version is news; how the page is cut is PageText's business.
TEST(UpdateCheck, TheQuietCheckAsksOnceInTick360WithoutHoldingTheTicksAndOffersTheDownloadPage) {
  const struct { const char* page; bool ok; Texts shown, opened; } cases[] = {
      {"[147]", true, {"【TiKoDan】又出新版本了，欢迎下载: 有新版本可以下载了，点确认去下载最新版本"}, {"http://site.example/tkd/update.asp"}},
      {"[147]", false, {"【TiKoDan】又出新版本了，欢迎下载: 有新版本可以下载了，点确认去下载最新版本"}, {}},
      {"[146]", true, {}, {}}, {"[A147]", true, {}, {}}};
  for (const auto& c : cases) {
    Form1Harness h;
    ASSERT_TRUE(h.Load());
    h.prompt.confirms = c.ok;
    h.Run(359000);
    h.http.Answer("");  // the rank's, of tick 120
    h.Run(41000);       // the site stays silent and the ticks go on
    EXPECT_EQ(h.model->js0(), 400);
    EXPECT_EQ(h.http.requested, (Texts{"http://site.example/tkd/test.htm", "http://site.example/tkd/newver.htm"}));
    h.http.Answer(c.page);
    EXPECT_EQ(h.prompt.shown, c.shown) << c.page;
    EXPECT_EQ(h.browser.opened, c.opened);
    h.Run(400000);
    EXPECT_EQ(h.http.requested.size(), 2u) << "asked again";
  }
}

TEST(UpdateDialog, ShowsAtOnceStopsTheTickAndFillsInWithEitherEndState) {
  const auto state = [](const UpdateView& v) {
    return std::tuple(v.label1, v.label2, v.label3, v.label4Visible || v.command3Visible, v.command1Visible);
  };
  using State = decltype(state(UpdateView{}));
  const struct { const char* page; State end; } cases[] = {
      {"[147]", {"检查到有新的版本了", "当前版本为：V1.4.6", "最新版本为:V1.4.7", false, true}},
      {"[146]", {"您使用的版本已经是最新版的了，您无需下载更新", "当前版本为：V1.4.6", "", false, false}},
      // No answer (or an error status), or a page without a version: the hint and its button.
      {"", {"无法连接到网站，暂时不能检查是否有新版本", "当前版本为：V1.4.6", "", true, false}},
      {"<html>登录</html>", {"无法连接到网站，暂时不能检查是否有新版本", "当前版本为：V1.4.6", "", true, false}}};
  for (const auto& c : cases) {
    Form1Harness h;
    ASSERT_TRUE(h.Load());
    const std::unique_ptr<UpdateDialog> dialog = h.model->menuUpdate_Click();
    EXPECT_FALSE(h.model->View().timer1Enabled);
    int changes = 0;
    dialog->Form_Load([&] { ++changes; });
    EXPECT_EQ(state(dialog->View()), State("正在联网查看是否有最新版本...", "当前版本为：V1.4.6", "", false, false));
    h.http.Answer(c.page);
    EXPECT_EQ(state(dialog->View()), c.end) << c.page;
    EXPECT_EQ(changes, 1);
    dialog->Command1_Click();
    EXPECT_EQ(h.browser.opened, Texts{"http://site.example/tkd/update.asp"});
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
  const std::string id = "00112233445566778899aabbccddeeff", title = "<title>" + id + "</title>";
  const struct { std::string page, text; std::optional<std::string> stored; } cases[] = {
      {title + "<body>15</body>", "排名：第15名", " 15"},
      {"<title>  " + id + " </title><body>  15  </body>", "排名：第15名", " 15"},
      {title + "<body>many</body>", "排名：第0名", " 0"},
      {"<title>00112233445566778899AABBCCDDEEFF</title><body>15</body>", kNoRankText, std::nullopt},
      {"<title>ffeeddccbbaa99887766554433221100</title><body>15</body>", kNoRankText, std::nullopt},
      {"<title>\n\t" + id + "\r\n</title><body>\r\n15\r\n</body>", "排名：第15名", " 15"},  // lines of their own
      {"", kNoRankText, std::nullopt}};
  for (const auto& c : cases) {
    Form1Harness h;
    h.registry.Set(LM, SettingsKey, "UserId", id);
    ASSERT_TRUE(h.Load());
    int changes = 0;
    h.model->SetChanged([&] { ++changes; });
    h.Run(119000);
    EXPECT_TRUE(h.http.requested.empty());
    h.Run(1000);
    h.http.Answer(c.page);
    EXPECT_EQ((Texts{h.http.requested.at(0), h.model->RankText()}), (Texts{"http://site.example/tkd/test.htm", c.text})) << c.page;
    EXPECT_EQ(changes, c.stored ? 1 : 0);
    EXPECT_EQ(h.Stored(setting::MingCi), c.stored);
    h.Run(200000);
    EXPECT_EQ(h.http.requested.size(), 1u);
  }
}

TEST(Ranking, StartUpShowsTheStoredRankAndTheIdentifierIsMadeOnceAndKept) {
  for (const auto& [stored, text] : {std::pair{" 15", "排名：第15名"}, {"", kNoRankText}, {" 0", kNoRankText}, {"-3", kNoRankText}}) {
    Form1Harness h;
    h.registry.Set(LM, SettingsKey, "MingCi", stored);
    ASSERT_TRUE(h.Load());
    EXPECT_EQ(h.model->RankText(), text) << stored;
  }
  // Anything but 32 lower-case hexadecimal digits is replaced by a new identifier.
  for (const char* malformed : {"not-an-id", "abcdef", "00112233445566778899aabbccddeefg"}) {
    Form1Harness h;
    h.registry.Set(LM, SettingsKey, "UserId", malformed);
    ASSERT_TRUE(h.Load());
    h.Run(120000);
    EXPECT_EQ(h.Stored(setting::UserId), "a0b1c2d3e4f5061728394a5b6c7d8e9f") << malformed;  // the fake's first bytes
  }
  Form1Harness h;
  ASSERT_TRUE(h.Load());
  h.Run(120000);
  const std::optional<std::string> id = h.Stored(setting::UserId);
  h.http.Answer("<title>" + *id + "</title><body>7</body>");
  h.Restart();
  ASSERT_TRUE(h.Load());
  EXPECT_EQ(h.model->RankText(), "排名：第7名");
  h.Run(120000);
  EXPECT_EQ(h.Stored(setting::UserId), id) << "a new identifier at the next start";
}

TEST(Advertising, ThePromotionPageOpensAtEachMultipleOfTheIntervalReadAtStartUp) {
  for (const auto& [adsj, period] : {std::pair{" 2", 7356}, {"", 3678}, {"0", 3678}, {"0.5", 3678}}) {
    Form1Harness h;
    h.registry.Set(LM, SettingsKey, "firstuse", "1");
    h.registry.Set(LM, SettingsKey, "ADsj", adsj);
    for (const char* key : {SettingsKey, UsageCopyKey}) h.registry.Set(LM, key, "js00", std::to_string(period - 2));
    ASSERT_TRUE(h.Load());
    h.registry.Set(LM, SettingsKey, "ADsj", " 20");  // as the options dialog would: for the next start
    h.Run(1000);
    EXPECT_TRUE(h.browser.opened.empty());
    h.Run(1000);
    EXPECT_EQ(h.browser.opened, Texts{"https://shop.example/promo"}) << period;
    h.Run(period * 1000 - 1000, 1000);
    EXPECT_EQ(h.browser.opened.size(), 1u);
    h.Run(1000);
    EXPECT_EQ(h.browser.opened.size(), 2u) << "at " << 2 * period;
  }
  Form1Harness none;  // no promotion page built in
  none.site.promo.clear();
  none.Restart();
  ASSERT_TRUE(none.Load());
  none.Run(3678000, 1000);
  EXPECT_TRUE(none.browser.opened.empty());
}

TEST(Advertising, ThePanelSitsAboveTheTaskbarAndClosesAfterADtimePlusOneTicks) {
  for (const auto& [workAreaBottom, taskbar] : {std::pair{760, 600}, {800, 0}}) {  // at the bottom, on the left
    const Screen screen{19200, 12000, 15, workAreaBottom};
    EXPECT_EQ(GetTaskbarHeight(screen), taskbar);
    Form1Harness h;
    ASSERT_TRUE(h.Load());
    ASSERT_TRUE(h.model->web().advertising().OpenPanel(screen, 5250, 3720));
    const TwipsRect place = h.model->web().advertising().Panel()->View().place;
    EXPECT_EQ((std::vector<double>{place.left + place.width, place.top + place.height}), (std::vector<double>{19200, 12000.0 - taskbar}));
  }
  for (const auto& [adTime, ticks] : {std::pair{"", 181}, {"0", 181}, {"-4", 181}, {"abc", 181}, {"10", 11}}) {
    Form1Harness h;
    h.registry.Set(LM, SettingsKey, "ADtime", adTime);
    ASSERT_TRUE(h.Load());
    Advertising& ads = h.model->web().advertising();
    ASSERT_TRUE(ads.OpenPanel({}, 5250, 3720));
    const std::string caption = ads.Panel()->View().caption;
    h.Run((ticks - 1) * 1000);  // the panel's own one-second timer
    EXPECT_FALSE(ads.OpenPanel({}, 5250, 3720)) << "a second double-click only brings it forward";
    ASSERT_NE(ads.Panel(), nullptr) << "closed before tick " << ticks;
    EXPECT_EQ(ads.Panel()->View().caption, caption);
    h.Run(1000);
    EXPECT_EQ(ads.Panel(), nullptr) << "still open after tick " << ticks;
  }
}

TEST(Advertising, EveryRunDrawsTheSamePagesInTheSameOrder) {
  Texts runs[2];
  for (Texts& pages : runs) {
    Form1Harness h;
    ASSERT_TRUE(h.Load());
    for (Advertising& ads = h.model->web().advertising(); pages.size() < 12; ads.PanelClosed()) {
      ads.OpenPanel({}, 0, 0);
      pages.push_back(ads.Panel()->View().caption + " " + ads.Panel()->View().url);
    }
  }
  EXPECT_EQ(runs[0], runs[1]);
  std::set<std::string> all;
  for (int k = 1; k <= 5; ++k) all.insert("ad" + std::to_string(k) + " http://site.example/tkd/ad/ad" + std::to_string(k) + ".asp");
  EXPECT_EQ(std::set<std::string>(runs[0].begin(), runs[0].end()), all);
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
  EXPECT_EQ((Texts{v.caption, v.label1, v.label3, v.label5}),
            (Texts{"About TiKoDan（TiKoDan）", "当前版本为：V1.4.6", "您已使用本软件合计有 1:02:05", "http://site.example/"}));
  about->Label5_Click();
  h.model->menuChaoZhou_Click();
  EXPECT_EQ(h.browser.opened, (Texts{"http://site.example/", "http://site.example/tkd/"}));
}

}  // namespace
}  // namespace tkd
