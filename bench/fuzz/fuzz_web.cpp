// libFuzzer harness: the vendor site's pages as the program parses them, any body at all, through
// the fake fetcher: bracketed and tagged values, the newest version, the update dialog, the rank.
#include <fuzzer/FuzzedDataProvider.h>

#include <cmath>

#include "fuzz_checks.h"
#include "support/fakes.h"
#include "web/page_text.h"
#include "web/ranking.h"
#include "web/update_check.h"

using namespace tkd;
using namespace tkd::testing;
using fuzz::BadText;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider in(data, size);
  const bool framed = in.ConsumeBool();
  const std::string open = in.ConsumeRandomLengthString(8), close = in.ConsumeRandomLengthString(8);
  const std::string body = in.ConsumeRemainingBytesAsString();

  const std::string bracketed = ExtractBracketed(body), trimmed = TrimSpaces(body);
  TKD_CHECK(bracketed == "0" || (bracketed.find(']') == std::string::npos && bracketed.size() < body.size()));
  TKD_CHECK(trimmed.empty() || (trimmed.front() != ' ' && trimmed.back() != ' ' && body.find(trimmed) != std::string::npos));
  const std::string between = ExtractBetween(body, open, close);
  TKD_CHECK(between.empty() || body.find(between + close) != std::string::npos);

  FakeRegistry registry;
  SettingsStore store(registry);
  FakeHttp http;
  FakeBrowser browser;
  FakeRandom random;
  FakePrompt prompt;
  const WebPorts web{http, browser, random, {"http://site.example/", ""}};
  std::string latest = "(none)";
  FetchLatestVersion(http, web.site.base, 146, [&](const std::string& text) { latest = text; });
  UpdateCheck check(web, prompt, 146);
  check.Tick(kUpdateCheckTick, [&] { check.OfferNewVersion(); });
  UpdateDialog dialog(web, {1, 4, 6});
  dialog.Form_Load();
  Ranking ranking(store, web);
  ranking.Restore();
  ranking.Refresh();
  const std::string id = store.Read(setting::UserId);
  while (!http.pending.empty()) http.Answer(http.pending.size() == 1 && framed ? "<title> " + id + "</title><body>" + body + "</body>" : body);

  TKD_CHECK(latest.empty() || NumericReading(latest) > 146);
  TKD_CHECK(prompt.shown.size() == browser.opened.size() && browser.opened.size() == (latest.empty() ? 0u : 1u));
  TKD_CHECK(!BadText(dialog.View().label3) && dialog.View().command1Visible == !latest.empty());
  TKD_CHECK(!BadText(ranking.Text()) && !BadText(RankText(NumericReading(body))) && !BadText(VersionDisplay(NumericReading(body))));
  if (const auto stored = registry.Read(RegRoot::LocalMachine, SettingsKey, "MingCi"))
    TKD_CHECK(StartsWithNumber(*stored) && std::fabs(NumericReading(*stored) - ranking.MingCi()) <= 5.1e-15 * std::fabs(ranking.MingCi()));
  return 0;
}
