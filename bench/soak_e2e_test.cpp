// Soak runs: TiKoDan.exe ended by TerminateProcess at random moments, and started on a hostile
// registry. The test command runs a few rounds of each (e2e_soak_smoke); bench/soak.sh sets
// TKD_SOAK_FULL=1 for the long ones.
#include <atomic>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <random>
#include <regex>
#include <set>

#include "e2e/app_driver.h"

#include "core/number_text.h"
#include "settings/settings_store.h"
#include "stats/odometer.h"

namespace tkd::e2e {
namespace {

constexpr Ms kStart = 20s, kReact = 3s;
bool Full() { return std::getenv("TKD_SOAK_FULL") != nullptr; }

// The settings a user left, stored as the program stores them, and the box or check box that
// shows each; the window's place comes from the first four.
struct UserSetting {
  std::string name, stored;
  int control;
};
std::vector<UserSetting> UserSettings() {
  std::vector<UserSetting> rows = {
      {"Left", "1500", 0},           {"Top", "1200", 0},           {"F_Width", "6300", 0},
      {"F_Height", "5400", 0},       {"firstuse", "1", 0},         {"Check1", " 1", IDC_CHECK1},
      {"Check3", " 0", IDC_CHECK3},  {"Check2", " 0", IDC_CHECK2}, {"Check9", " 1", IDC_CHECK9},
      {"Text1", "2.5", IDC_TEXT1},   {"Text5", "7", IDC_TEXT5},    {"Text6", "45", IDC_TEXT6},
      {"Text7", "21", IDC_TEXT7},    {"Text8", "5", IDC_TEXT8}};
  for (int hour = 0; hour < kHours; ++hour)
    rows.push_back({HourBox(hour).name, hour % 3 ? " 1" : " 0", IDC_CHECK10 + hour});
  return rows;
}

// What a started program shows of those settings, of its stopwatch and of the usage total on the
// overview ("1:23:20"): "Name=1"/"Name=0" for a check box, a box's text, then the window's place.
// With no window, what it must show after `usage` seconds of use.
std::vector<std::string> Shown(const MainWindow* main, double usage) {
  std::vector<std::string> shown;
  for (const UserSetting& s : UserSettings()) {
    if (!s.control) continue;
    const bool box = s.name.rfind("Check", 0) == 0;
    const std::string want = box ? (s.stored == " 1" ? "1" : "0") : s.stored;
    const Control c = main ? main->Child(s.control) : Control(nullptr, nullptr);
    shown.push_back(s.name + "=" + (!main ? want : box ? (c.Checked() ? "1" : "0") : WideToUtf8(c.Text())));
  }
  const RECT r = main ? main->Place() : RECT{100, 80, 100 + 420, 80 + 360};  // 1500, 1200, 6300, 5400 twips
  shown.push_back("place " + std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) +
                  "," + std::to_string(r.bottom));
  shown.push_back(!main || main->Child(IDC_COMMAND1).Text() == L"停止" ? "stopwatch running" : "stopwatch idle");
  int h = 0, m = 0, sec = -1;
  if (main) std::swscanf(main->Child(IDC_LABEL32).Text().c_str(), L"%d:%d:%d", &h, &m, &sec);
  shown.push_back(!main || h * 3600 + m * 60 + sec >= usage ? "total kept" : "total " + std::to_string(h * 3600 + m * 60 + sec));
  return shown;
}

TEST(KillSoakTest, TerminatedAtRandomMomentsLosesNeitherTotalsNorSettings) {
  const unsigned seed = std::random_device{}();
  std::mt19937 random(seed);
  std::uniform_int_distribution<int> lifetimeMs(500, 5000);
  RegistryWin32 registry;
  const auto read = [&](const char* key, const std::string& name) {
    return Text(registry.Read(RegRoot::LocalMachine, key, name));
  };
  ASSERT_TRUE(WipeProgramKeys());
  for (const UserSetting& s : UserSettings())
    ASSERT_TRUE(registry.Write(RegRoot::LocalMachine, SettingsKey, s.name, s.stored));
  for (const char* key : {SettingsKey, UsageCopyKey})  // 5000 s of use, a million pixels
    ASSERT_TRUE(registry.Write(RegRoot::LocalMachine, key, "js00", " 5000"));
  ASSERT_TRUE(registry.Write(RegRoot::LocalMachine, SettingsKey, "AllMove", EncodeDistance(1e6)));
  double usage = 5000, distance = 1e6;
  int rounds = Full() ? 200 : 3, losses = 0, beforeWindow = 0, cutShort = 0;
  for (int round = 1; round <= rounds; ++round) {
    const Ms lifetime(lifetimeMs(random));
    std::vector<std::string> problems;
    std::atomic<bool> killed = false;
    {
      App app(AppPath());
      ASSERT_TRUE(app.Started());
      std::thread killer([&] {
        if (app.EndsWithin(lifetime)) return;
        killed = true;
        app.Terminate();
      });
      // Stopwatch running, chime on, pointer still. A check that the kill cuts short is no loss.
      const auto main = app.WaitForWindow(kStart);
      const auto alive = [&] { return !app.EndsWithin(0ms); };
      const auto expected = Shown(nullptr, usage);
      std::vector<std::string> shown;
      // Each page shows its figures while it is the one on screen: the overview's total comes last.
      if (main && SelectTab(*main, app, L"整点报时") && SelectTab(*main, app, L"TiKoDan") &&
          PostMessageW(GetDlgItem(main->Handle(), IDC_COMMAND1), BM_CLICK, 0, 0) && SelectTab(*main, app, L"概况")) {
        WaitUntil([&] { return (shown = Shown(&*main, usage)) == expected || !alive(); }, kReact);
      }
      if (shown != expected && alive()) {
        std::string differences;  // only what differs: the lists are long
        for (std::size_t i = 0; i < std::max(shown.size(), expected.size()); ++i)
          if (i >= shown.size() || i >= expected.size() || shown[i] != expected[i])
            differences += " " + (i < shown.size() ? shown[i] : "(none)") + " instead of " +
                           (i < expected.size() ? expected[i] : "(none)") + ";";
        problems.push_back("shows" + differences);
      }
      beforeWindow += !main;
      cutShort += main && shown != expected;
      killer.join();
      if (!killed) problems.push_back(main ? "ended by itself" : "no window");
    }
    // What the killed program left: every setting as it was, totals that never went back.
    for (const UserSetting& s : UserSettings())
      if (read(SettingsKey, s.name) != s.stored) problems.push_back(s.name + " is " + Show(read(SettingsKey, s.name)));
    const std::string js00 = read(SettingsKey, "js00"), copy = read(UsageCopyKey, "js00");
    const double total = std::max(NumericReading(js00), NumericReading(copy));
    if (!StartsWithNumber(js00) || !StartsWithNumber(copy) ||
        std::fabs(NumericReading(js00) - NumericReading(copy)) > 1 || total < usage)
      problems.push_back("js00 " + Show(js00) + ", its copy " + Show(copy) + " after " + std::to_string(usage));
    const auto allMove = DecodeDistance(read(SettingsKey, "AllMove"));
    if (!allMove || *allMove < distance)
      problems.push_back("AllMove " + read(SettingsKey, "AllMove") + " after " + std::to_string(distance));
    usage = std::max(usage, total);
    distance = std::max(distance, allMove.value_or(0));
    losses += !problems.empty();
    for (const std::string& p : problems)
      ADD_FAILURE() << "round " << round << " (killed after " << lifetime.count() << " ms, seed " << seed << "): " << p;
  }
  std::printf("[   SOAK   ] kill: %d rounds, %d losses (killed before the window %d, checks cut short %d); "
              "usage %.0f s, distance %.0f px; seed %u\n", rounds, losses, beforeWindow, cutShort, usage, distance, seed);
  EXPECT_TRUE(WipeProgramKeys());
}

// A row's value as the registry holds it, in the machine's 32-bit view where the program keeps it.
struct RawValue {
  DWORD type = REG_NONE;
  std::vector<BYTE> bytes;
  bool operator==(const RawValue&) const = default;
};
RawValue Sz(const std::wstring& text) {  // with its terminating NUL
  const auto* bytes = reinterpret_cast<const BYTE*>(text.c_str());
  return {REG_SZ, std::vector<BYTE>(bytes, bytes + (text.size() + 1) * sizeof(wchar_t))};
}
// The row's value, after `write` has been stored when given.
std::optional<RawValue> Raw(const tkd::Setting& row, const RawValue* write = nullptr) {
  HKEY key = nullptr;
  RawValue value;
  DWORD size = 0;
  const std::wstring name = Utf8ToWide(row.name);
  LONG status = RegCreateKeyExW(HKEY_LOCAL_MACHINE, Utf8ToWide(KeyPath(row.key)).c_str(), 0, nullptr, 0,
                                KEY_QUERY_VALUE | KEY_SET_VALUE | KEY_WOW64_32KEY, nullptr, &key, nullptr);
  if (!status && write)
    status = RegSetValueExW(key, name.c_str(), 0, write->type, write->bytes.data(), DWORD(write->bytes.size()));
  if (!status) status = RegQueryValueExW(key, name.c_str(), nullptr, &value.type, nullptr, &size);
  value.bytes.resize(size);
  if (!status) status = RegQueryValueExW(key, name.c_str(), nullptr, &value.type, value.bytes.data(), &size);
  if (key) RegCloseKey(key);
  return status ? std::nullopt : std::optional(value);
}

// The ten hostile kinds of value.
const std::vector<RawValue>& Kinds() {
  static const std::vector<RawValue> kinds = {
      Sz(L""), Sz(L" "), Sz(L"1e999"), Sz(L"-1e999"), Sz(L"nan"), Sz(L"0x10"), Sz(std::wstring(100000, L'9')),
      {REG_DWORD, {1, 0, 0, 0}}, {REG_BINARY, {'1', 0, '2'}}, Sz(std::wstring(L"2\0" L"1", 3))};
  return kinds;
}

// What no number on screen or in the registry may look like: an infinity or a not-a-number, a
// negative zero, a minute or second of 60. Empty when the text is clean.
std::string BadNumberIn(const std::wstring& text) {
  static const std::wregex bad(
      L"(^|[^a-z])(inf|infinity|nan|ind)(?![a-z])|(^|[^0-9.])-0(\\.0*)?(?![0-9.])|:60(?![0-9])", std::regex::icase);
  std::wsmatch found;
  return std::regex_search(text, found, bad) ? WideToUtf8(found.str()) : "";
}

// Every text of the program's visible windows: captions, tabs and every child control.
std::vector<std::wstring> TextsOnScreen(const MainWindow& main) {
  std::vector<std::wstring> texts = main.Tabs();
  for (HWND top : TopLevel(ProcessOf(main.Handle()), nullptr)) {
    texts.push_back(WindowText(top));
    EnumChildWindows(top, [](HWND child, LPARAM out) {
      reinterpret_cast<std::vector<std::wstring>*>(out)->push_back(WindowText(child));
      return TRUE;
    }, reinterpret_cast<LPARAM>(&texts));
  }
  return texts;
}

// A value the program wrote must be a string value, terminated once, in its row's stored form
// (or the first run's literal "0" or "1").
std::string Malformed(const tkd::Setting& row, const RawValue& value) {
  const std::wstring text(reinterpret_cast<const wchar_t*>(value.bytes.data()), value.bytes.size() / 2);
  if (value.type != REG_SZ || value.bytes.size() % 2 || text.empty() || text.find(L'\0') + 1 != text.size())
    return "not a terminated REG_SZ";
  const std::string utf8 = WideToUtf8(text.substr(0, text.size() - 1));
  static const std::regex blank("[ -][0-9]+(\\.[0-9]+)?(E[+-][0-9]+)?"), plain("-?[0-9]+(\\.[0-9]+)?(E[+-][0-9]+)?");
  const bool number = std::isfinite(std::strtod(utf8.c_str(), nullptr));
  if (row.firstRun && utf8 == row.firstRun) return "";
  if ((row.form == StoredForm::BlankNumber && !(number && std::regex_match(utf8, blank))) ||
      (row.form == StoredForm::PlainNumber && !(number && std::regex_match(utf8, plain))) || BadNumberIn(text) != "")
    return Show(utf8);
  return "";
}

// Start k gives row i the kind (i + k) mod 10: starts 0 ... 9 keep "firstuse" at "1" (any other
// reading begins a first run, which overwrites the check boxes); 10 ... 19 give it its kinds too.
TEST(HostileRegistryTest, EveryValueOfEveryKindStartsSaneAndIsRewrittenWellFormed) {
  const std::vector<tkd::Setting>& table = SettingsTable();
  const std::size_t kinds = Kinds().size();
  const Ms hold = Full() ? 5s : 2s;
  std::set<std::pair<std::size_t, std::size_t>> tried;
  int starts = 0;
  for (std::size_t start = 0; start < 2 * kinds; start += Full() ? 1 : 13, ++starts) {
    SCOPED_TRACE("start " + std::to_string(start) + ": row i holds kind (i + start) mod 10");
    ASSERT_TRUE(WipeProgramKeys());
    std::vector<RawValue> written;
    for (std::size_t i = 0; i < table.size(); ++i) {
      const bool sane = start < kinds && std::string(table[i].name) == "firstuse";
      if (!sane) tried.insert({i, (i + start) % kinds});
      written.push_back(sane ? Sz(L"1") : Kinds()[(i + start) % kinds]);
      ASSERT_TRUE(Raw(table[i], &written.back())) << table[i].name;
    }
    {
      App app(AppPath());
      const auto main = app.WaitForWindow(kStart);
      ASSERT_TRUE(main) << "no main window";
      const auto shownAt = std::chrono::steady_clock::now();
      for (const std::wstring& tab : main->Tabs()) EXPECT_TRUE(SelectTab(*main, app, tab)) << Show(tab);
      EXPECT_FALSE(app.EndsWithin(std::chrono::duration_cast<Ms>(shownAt + hold - std::chrono::steady_clock::now())))
          << "ended within " << hold.count() << " ms";
      for (const std::wstring& text : TextsOnScreen(*main)) EXPECT_EQ(BadNumberIn(text), "") << Show(text);
    }
    for (std::size_t i = 0; i < table.size(); ++i) {
      if (const auto now = Raw(table[i]); now && *now != written[i]) {
        EXPECT_EQ(Malformed(table[i], *now), "") << table[i].name << " as rewritten";
      }
    }
  }
  std::printf("[   SOAK   ] hostile: %d starts, %zu of %zu (value, kind) pairs\n", starts, tried.size(),
              table.size() * kinds);
  EXPECT_TRUE(WipeProgramKeys());
}

}  // namespace
}  // namespace tkd::e2e

int wmain(int argc, wchar_t** argv) { return tkd::e2e::RunDriver(argc, argv); }
