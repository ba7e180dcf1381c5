// libFuzzer harness: start-up from a registry of fuzzer-made values, then 121 to 400 seconds of every
// subsystem at once. Nothing shown reads inf, nan, -0 or :60; the numbers the tick rewrites read back
// as meant; the usage total never goes down, not even across a restart. The input: switches, time of
// day, length of the run and the pointer's step from its end; from its front, registry entries
// "[user:][copy:]Name=text" up to an empty one ("Name" alone: a value of another type, which reads as
// missing), then the rank and newest-version pages and the texts typed into Text1 ... Text4.
#include <fuzzer/FuzzedDataProvider.h>

#include <cmath>
#include <set>

#include "fuzz_checks.h"
#include "support/form1_harness.h"

namespace {
using namespace tkd;
using namespace tkd::testing;
using fuzz::BadText;

void AddEntry(FakeRegistry& registry, std::string entry) {
  RegRoot root = RegRoot::LocalMachine;
  const char* key = SettingsKey;
  if (entry.rfind("user:", 0) == 0) root = RegRoot::CurrentUser, entry.erase(0, 5);
  if (entry.rfind("copy:", 0) == 0) key = UsageCopyKey, entry.erase(0, 5);
  const std::size_t equals = entry.find('=');
  if (equals == std::string::npos) registry.Set(root, key, "(not text) " + entry, "");
  else registry.Set(root, key, entry.substr(0, equals), entry.c_str() + equals + 1);  // up to a NUL, as Win32 reads
}

void CheckShown(Form1Model& m) {
  const auto& sw = m.stopwatch().View();
  const auto& sd = m.scheduler().View();
  const auto& ov = m.overview().View();
  for (const std::string& text : {m.View().caption, sw.label2, sw.label7, sd.label13, sd.warningCaption[0],
                                  sd.warningCaption[1], sd.warningCaption[2], m.odometer().Label3(),
                                  m.odometer().Label22(), m.odometer().View().label20, m.odometer().View().label24,
                                  ov.label30, ov.label32, ov.label33, ov.label34, m.RankText()})
    TKD_CHECK(!BadText(text));
}

// This second's writes: numbers that read back, a usage total that never falls, distances that decode.
void CheckWrites(FakeRegistry& registry, double& usage) {
  static const std::set<std::string> numbers = {"Top",  "Left",    "F_Width", "F_Height",
                                                "js00", "AllMove", "MaxMove", "MingCi"};
  for (const std::string& write : registry.writes) {
    const std::string name = write.substr(0, write.find('=')), text = write.substr(name.size() + 1);
    if (!numbers.count(name)) continue;
    TKD_CHECK(StartsWithNumber(text) && !BadText(text));
    if (name == "js00") TKD_CHECK(NumericReading(text) >= usage), usage = NumericReading(text);
    if ((name == "AllMove" || name == "MaxMove") && std::fabs(NumericReading(text)) < 0x1p53)
      TKD_CHECK(DecodeDistance(text).has_value());
  }
  registry.writes.clear();
}

void Advance(LocalTime& t) {
  if (++t.second < 60 || (t.second = 0, ++t.minute < 60) || (t.minute = 0, ++t.hour < 24)) return;
  t.hour = 0, ++t.day;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider in(data, size);
  const auto switches = in.ConsumeIntegral<std::uint16_t>();
  auto on = [&](int bit) { return (switches >> bit & 1) != 0; };
  Form1Harness h;
  h.clock.now = {2026, 12, 6, in.ConsumeIntegralInRange(0, 23), in.ConsumeIntegralInRange(0, 59),
                 in.ConsumeIntegralInRange(0, 59)};
  const int seconds = in.ConsumeIntegralInRange(121, 400);  // past the rank fetch; the update check at 360
  const int dx = in.ConsumeIntegral<std::int16_t>(), dy = in.ConsumeIntegral<std::int16_t>();
  h.frame.normal = !on(0);
  for (std::string entry; !(entry = in.ConsumeRandomLengthString()).empty();) AddEntry(h.registry, entry);
  const std::string rankBody = in.ConsumeRandomLengthString(), versionBody = in.ConsumeRandomLengthString();
  std::string typed[4];
  for (std::string& text : typed) text = in.ConsumeRandomLengthString();

  TKD_CHECK(h.Load());
  Form1Model& m = *h.model;
  const PixelRect& place = m.View().placement;  // on the fake's one 144-dpi monitor
  TKD_CHECK(place.width >= TwipsToPixelsAtLeast(Form1minW, 144) && place.height >= TwipsToPixelsAtLeast(Form1minH, 144) &&
            m.AdInterval() >= 1);
  CheckShown(m);
  Stopwatch& stopwatch = m.stopwatch();
  ShutdownScheduler& scheduler = m.scheduler();
  const ShutdownView& sd = scheduler.View();
  for (const std::string& text : {stopwatch.View().text1, sd.text5, sd.text6, sd.text7, sd.text8})
    TKD_CHECK(!BadText(text));
  if (on(1)) stopwatch.Check2_Click(!stopwatch.View().check2);
  if (on(2)) stopwatch.Text1_Change(typed[0]);
  if (!on(3)) stopwatch.Command1_Click();
  scheduler.Text2_Change(typed[1]), scheduler.Check4_Click(on(4));
  scheduler.Text3_Change(typed[2]), scheduler.Text4_Change(typed[3]), scheduler.Check5_Click(on(5));
  if (on(6)) scheduler.Check6_Click(!sd.check6), scheduler.Text5_Change(typed[2]), scheduler.Text6_Change(typed[3]);
  if (on(7)) scheduler.Check8_Click(!sd.check8), scheduler.Text7_Change(typed[2]), scheduler.Text8_Change(typed[3]);
  if (on(8)) m.chime().Check9_Click(!m.chime().View().check9);
  m.OpenOptions()->Form_Load();
  m.OptionsDialog_Closed();
  m.web().advertising().OpenPanel(Screen{19200, 14400, 15, 930}, 5280, 3720);
  auto dialog = m.menuUpdate_Click();
  dialog->Form_Load();
  m.UpdateDialog_Closed();

  double usage = -INFINITY;
  PointerPosition at;
  for (int second = 0; second < seconds && h.lifetime.ended == 0; ++second) {
    Advance(h.clock.now);
    h.cursor.at = at = {(at.x + dx) % 40000, (at.y + dy) % 40000};
    h.Run(1000, 1000);  // every timer of the window, the pointer's samples among them
    while (!h.http.pending.empty()) {
      const bool rank = h.http.requested[h.http.requested.size() - h.http.pending.size()].ends_with(kRankPage);
      const std::string id = h.Stored(setting::UserId).value_or("");
      h.http.Answer(!rank ? versionBody : on(9) ? "<title>" + id + "</title><body>" + rankBody + "</body>" : rankBody);
    }
    CheckShown(m);
    CheckWrites(h.registry, usage);
  }
  TKD_CHECK(!BadText(dialog->View().label3) && !BadText(m.nemuAbout_Click()->View().label3));
  dialog.reset();
  if (h.lifetime.ended) return 0;
  const double total = m.UsageSeconds(), pixels = m.odometer().AllMove();
  h.Restart();
  TKD_CHECK(h.Load() && h.model->UsageSeconds() >= total);
  if (std::fabs(pixels) < 0x1p53 / kDistanceFactor) TKD_CHECK(h.model->odometer().AllMove() == std::floor(pixels));
  return 0;
}
