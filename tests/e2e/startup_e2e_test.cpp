// End-to-end tests of start-up and the housekeeping tick: first-run values, title, usage total, window geometry, close requests, restore, screenshot.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <iterator>
#include <regex>
#include <string>
#include <vector>

#include "e2e_config.h"
#include "form1_fixture.h"
#include "version_config.h"
#include "window_capture.h"

namespace tkd::e2e {
namespace {

std::wstring Widen(const char* ascii) { return std::wstring(ascii, ascii + std::char_traits<char>::length(ascii)); }

const std::wstring kTitlePrefix = L"TiKoDanV" + Widen(TKD_VERSION_STRING) + L" ";

// Names in `a` that are not in `b`.
std::set<std::wstring> Minus(const std::set<std::wstring>& a, const std::set<std::wstring>& b) {
  std::set<std::wstring> out;
  std::set_difference(a.begin(), a.end(), b.begin(), b.end(), std::inserter(out, out.end()));
  return out;
}

// "" when the stored geometry matches the window within a pixel, else what differs.
std::string GeometryMismatch(const Form1Page& main) {
  const PixelRect window = PixelsOf(main.Bounds());
  const struct {
    const wchar_t* name;
    double pixels;
  } fields[] = {{L"Left", window.left}, {L"Top", window.top}, {L"F_Width", window.width},
                {L"F_Height", window.height}};
  std::string mismatch;
  for (const auto& field : fields) {
    const auto stored = Setting(field.name);
    const auto twips = LeadingNumber(stored);
    if (!twips || std::fabs(*twips - field.pixels * kTwipsPerPixel) > kTwipsPerPixel)
      mismatch += Utf8(field.name) + " " + Show(stored) + " for " + std::to_string(field.pixels) + " px; ";
  }
  return mismatch;
}

// "" when the window is within a pixel of `expected`, else both rectangles.
std::string PlaceMismatch(const Form1Page& main, const PixelRect& expected) {
  const PixelRect actual = PixelsOf(main.Bounds());
  const bool within = std::fabs(actual.left - expected.left) <= 1 &&
                    std::fabs(actual.top - expected.top) <= 1 &&
                    std::fabs(actual.width - expected.width) <= 1 &&
                    std::fabs(actual.height - expected.height) <= 1;
  if (within) return "";
  auto text = [](const PixelRect& r) {
    return "(" + std::to_string(r.left) + ", " + std::to_string(r.top) + ", " +
           std::to_string(r.width) + " x " + std::to_string(r.height) + ")";
  };
  return "window at " + text(actual) + ", expected " + text(expected);
}

int CurrentYear() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  return now.wYear;
}

// Seconds between the time of day a title ends with and the local time now, or -1 when the
// title does not end with one.
int SecondsFromNow(const std::wstring& title) {
  static const std::wregex kTimeOfDay(L"(\\d{1,2}):(\\d{2}):(\\d{2})$");
  std::wsmatch match;
  if (!std::regex_search(title, match, kTimeOfDay)) return -1;
  const int shown = std::stoi(match[1]) * 3600 + std::stoi(match[2]) * 60 + std::stoi(match[3]);
  SYSTEMTIME now;
  GetLocalTime(&now);
  const int local = now.wHour * 3600 + now.wMinute * 60 + now.wSecond;
  const int difference = std::abs(local - shown) % 86400;
  return std::min(difference, 86400 - difference);  // across midnight
}

using FirstStartTest = Form1Test;

TEST_F(FirstStartTest, WritesTheFirstRunValuesAndOtherwiseOnlyWhatTheTickKeeps) {
  ASSERT_NO_FATAL_FAILURE(StartApp());
  ASSERT_TRUE(TicksPass(2, 6s));

  std::vector<std::pair<std::wstring, std::wstring>> firstRun = {
      {L"Check1", L"0"}, {L"Check2", L"0"}, {L"Check3", L"1"}, {L"Check9", L"1"}};
  for (int box = 10; box <= 33; ++box) firstRun.push_back({L"Check" + std::to_wstring(box), L"1"});
  firstRun.insert(firstRun.end(), {{L"CheckOption1", L"1"}, {L"ADsj", L"1"}, {L"firstuse", L"1"}});
  for (const auto& [name, text] : firstRun) {
    EXPECT_EQ(Show(Setting(name)), Show(text)) << Utf8(name);
  }

  // Today's date in the regional short format, whichever it is, begins with the year.
  const auto firstDate = Setting(L"firstDate");
  ASSERT_TRUE(firstDate.has_value());
  EXPECT_EQ(std::wcstol(firstDate->c_str(), nullptr, 10), CurrentYear()) << Show(firstDate);

  std::set<std::wstring> expected = {L"firstDate", L"Left", L"Top", L"F_Width", L"F_Height", L"js00"};
  for (const auto& row : firstRun) expected.insert(row.first);
  const auto names = ValueNames(HKEY_LOCAL_MACHINE, kSettingsKey);
  ASSERT_TRUE(names.has_value()) << "no settings key";
  EXPECT_EQ(Join(Minus(expected, *names)), "(none)") << "values missing";
  EXPECT_EQ(Join(Minus(*names, expected)), "(none)") << "values nobody asked for";

  const auto copyNames = ValueNames(HKEY_LOCAL_MACHINE, kUsageCopyKey);
  ASSERT_TRUE(copyNames.has_value()) << "no usage copy key";
  EXPECT_EQ(Join(*copyNames), "js00");

  // Machine-wide writes succeed here, so no per-user copies may appear.
  for (const wchar_t* key : {kSettingsKey, kUsageCopyKey}) {
    EXPECT_EQ(Join(ValueNames(HKEY_CURRENT_USER, key).value_or(std::set<std::wstring>{})), "(none)")
        << "per-user copies under " << Utf8(key);
  }
}

TEST_F(FirstStartTest, OpensOnTheShutdownPageWithoutTheReminderTab) {
  ASSERT_NO_FATAL_FAILURE(StartApp());
  Form1Page& main = Main();
  const std::vector<std::wstring> tabs = {L"TiKoDan", L"定时关机", L"整点报时", L"鼠标统计", L"概况"};
  EXPECT_TRUE(Becomes([&] { return main.TabCaptions(); }, tabs, kReactTimeout));
  EXPECT_EQ(Show(main.SelectedTab()), Show(L"定时关机"));
  EXPECT_FALSE(main.Label2().Visible()) << "the stopwatch shows on another page";

  ASSERT_NO_FATAL_FAILURE(OpenStopwatchPage());
  EXPECT_EQ(Show(main.SelectedTab()), Show(kStopwatchTab));
  EXPECT_EQ(Show(main.Label2Text()), Show(L"0:00:00"));
  EXPECT_EQ(Show(main.Text1().Text()), Show(L"5"));
  EXPECT_TRUE(main.Command1().Visible());
  EXPECT_TRUE(main.Text1().Visible());
  EXPECT_TRUE(main.Check2().Visible());
  EXPECT_FALSE(main.Check2().Checked());
}

using TitleTest = Form1Test;

TEST_F(TitleTest, ShowsVersionAndTimeOfDayAndChangesEverySecond) {
  ASSERT_NO_FATAL_FAILURE(StartApp());
  auto title = [&] { return Main().Title(); };
  std::wstring previous;
  ASSERT_TRUE(Satisfies(title, [&](const std::wstring& t) { return t.rfind(kTitlePrefix, 0) == 0; },
                        "a title beginning " + Show(kTitlePrefix), 3s));
  previous = title();
  for (int change = 1; change <= 3; ++change) {
    SCOPED_TRACE("change " + std::to_string(change));
    // A one-second tick shows a new second within two seconds even when a tick is late.
    ASSERT_TRUE(Satisfies(title, [&](const std::wstring& t) { return t != previous; },
                          "a title other than " + Show(previous), 2s));
    previous = title();
    EXPECT_EQ(previous.rfind(kTitlePrefix, 0), 0u) << Show(previous);
    const int offset = SecondsFromNow(previous);
    EXPECT_TRUE(offset >= 0 && offset <= 2) << Show(previous) << " is " << offset << " s from now";
  }
}

// The version the title shows is the one stamped into the program's version information.
TEST_F(TitleTest, ShowsTheVersionOfTheProgramsVersionInformation) {
  const std::wstring& path = Config().appPath;
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
  ASSERT_GT(size, 0u) << "no version information in " << Show(path);
  std::vector<unsigned char> info(size);
  ASSERT_TRUE(GetFileVersionInfoW(path.c_str(), 0, size, info.data()));
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueW(info.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
  const std::wstring stamped = L"TiKoDanV" + std::to_wstring(HIWORD(fixed->dwFileVersionMS)) + L"." +
                               std::to_wstring(LOWORD(fixed->dwFileVersionMS)) + L"." +
                               std::to_wstring(HIWORD(fixed->dwFileVersionLS)) + L" ";
  EXPECT_EQ(Show(stamped), Show(kTitlePrefix));

  ASSERT_NO_FATAL_FAILURE(StartApp());
  auto title = [&] { return Main().Title(); };
  EXPECT_TRUE(Satisfies(title, [&](const std::wstring& t) { return t.rfind(stamped, 0) == 0; },
                        "a title beginning " + Show(stamped), 3s));
}

using UsageTotalTest = Form1Test;

TEST_F(UsageTotalTest, GrowsEverySecondWithTheSameTextInBothKeys) {
  ASSERT_NO_FATAL_FAILURE(StartApp());
  struct Pair {
    std::optional<std::wstring> main, copy;
    bool operator==(const Pair& o) const { return main == o.main && copy == o.copy; }
  };
  auto agreeingTotal = [] {
    const Pair pair{Setting(L"js00"), UsageCopy()};
    return pair.main && pair.main == pair.copy ? LeadingNumber(pair.main).value_or(-1) : -1.0;
  };
  double first = -1;
  ASSERT_TRUE(WaitUntil([&] { return (first = agreeingTotal()) >= 1; }, 4s))
      << "js00 " << Show(Setting(L"js00")) << ", copy " << Show(UsageCopy());
  double later = -1;
  EXPECT_TRUE(WaitUntil([&] { return (later = agreeingTotal()) >= first + 2; }, 4s))
      << "js00 " << Show(Setting(L"js00")) << ", copy " << Show(UsageCopy()) << " after "
      << first;
  // Stored with the leading blank of a non-negative number.
  const auto text = Setting(L"js00");
  ASSERT_TRUE(text.has_value());
  EXPECT_EQ(Show(*text), Show(L" " + std::to_wstring(static_cast<long long>(LeadingNumber(*text).value_or(-1)))));
}

TEST_F(UsageTotalTest, CarriesOnOnlyWhenBothCopiesAgree) {
  struct Case {
    const char* what;
    std::optional<std::wstring> main, copy;
    double firstTick;  // the total the first tick stores
  };
  const std::vector<Case> cases = {
      {"agreeing copies", L" 100", L" 100", 101},
      {"different copies", L" 100", L" 7", 1},
      {"missing copy", L" 100", std::nullopt, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EndApp();
    ASSERT_TRUE(WipeProgramRegistry());
    if (c.main) {
      ASSERT_TRUE(PlantSetting(L"js00", *c.main));
    }
    if (c.copy) {
      ASSERT_TRUE(WriteString(HKEY_LOCAL_MACHINE, kUsageCopyKey, L"js00", *c.copy));
    }
    ASSERT_NO_FATAL_FAILURE(StartApp());
    double total = -1;
    ASSERT_TRUE(WaitUntil(
        [&] {
          const auto main = Setting(L"js00");
          if (main == c.main || main != UsageCopy()) return false;  // no tick yet, or mid-tick
          total = LeadingNumber(main).value_or(-1);
          return true;
        },
        5s))
        << "js00 " << Show(Setting(L"js00")) << ", copy " << Show(UsageCopy());
    // A loaded machine may let a second tick pass before the first is seen.
    EXPECT_GE(total, c.firstTick);
    EXPECT_LE(total, c.firstTick + 1);
  }
}

using GeometryTest = Form1Test;

TEST_F(GeometryTest, StoresWhereTheWindowIsInTwips) {
  ASSERT_NO_FATAL_FAILURE(StartApp());
  Form1Page& main = Main();
  EXPECT_TRUE(Becomes([&] { return GeometryMismatch(main); }, std::string(), 4s));
  const PixelRect moves[] = {{200, 150, 420, 350}, {40, 60, 380, 330}};
  for (const PixelRect& to : moves) {
    SCOPED_TRACE("moved to " + std::to_string(to.left) + "," + std::to_string(to.top));
    main.MoveTo(static_cast<int>(to.left), static_cast<int>(to.top), static_cast<int>(to.width),
                static_cast<int>(to.height));
    ASSERT_TRUE(Becomes([&] { return PlaceMismatch(main, to); }, std::string(), kReactTimeout));
    EXPECT_TRUE(Becomes([&] { return GeometryMismatch(main); }, std::string(), 4s));
  }
}

TEST_F(GeometryTest, OpensWhereTheStoredGeometrySaysWithinItsLimits) {
  constexpr double kDefaultEdge = 1000 / kTwipsPerPixel;
  constexpr double kMinWidth = 5300 / kTwipsPerPixel;
  constexpr double kDefaultHeight = 4815 / kTwipsPerPixel;
  struct Case {
    const char* what;
    std::optional<std::wstring> left, top, width, height;
    PixelRect expected;
  };
  const std::vector<Case> cases = {
      {"stored", L"3000", L"2250", L"6300", L"5250", {200, 150, 420, 350}},
      {"smaller than allowed", L"3000", L"2250", L"4000", L"4000", {200, 150, kMinWidth, kDefaultHeight}},
      {"not on the screen's positive side", L"0", L"-600", L"6300", L"5250",
       {kDefaultEdge, kDefaultEdge, 420, 350}},
      {"nothing stored", std::nullopt, std::nullopt, std::nullopt, std::nullopt,
       {kDefaultEdge, kDefaultEdge, kMinWidth, kDefaultHeight}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EndApp();
    ASSERT_TRUE(WipeProgramRegistry());
    const std::pair<const wchar_t*, const std::optional<std::wstring>*> planted[] = {
        {L"Left", &c.left}, {L"Top", &c.top}, {L"F_Width", &c.width}, {L"F_Height", &c.height}};
    for (const auto& [name, text] : planted) {
      if (*text) {
        ASSERT_TRUE(PlantSetting(name, **text));
      }
    }
    ASSERT_NO_FATAL_FAILURE(StartApp());
    EXPECT_EQ(PlaceMismatch(Main(), c.expected), "");
  }
}

using CloseRequestTest = Form1Test;

TEST_F(CloseRequestTest, EndsTheProgramOnlyWhenIsCloseReadsOne) {
  struct Case {
    const wchar_t* isClose;
    bool ends;
  };
  for (const Case& c : {Case{L" 1", true}, Case{L"1", true}, Case{L"2", false}, Case{L" 0", false}}) {
    SCOPED_TRACE(Show(c.isClose));
    EndApp();
    ASSERT_TRUE(WipeProgramRegistry());
    ASSERT_NO_FATAL_FAILURE(StartApp());
    ASSERT_TRUE(TicksPass(1, 4s));  // running its ticks before the request
    ASSERT_TRUE(PlantSetting(L"isClose", c.isClose));
    if (c.ends) {
      EXPECT_TRUE(App().Ended(2s)) << "still running two seconds after the request";
    } else {
      // Three ticks read the value; the program must still be there after them.
      EXPECT_TRUE(TicksPass(3, 5s));
      EXPECT_TRUE(App().Running()) << "ended although isClose was not 1";
    }
  }
}

using RestartTest = Form1Test;

TEST_F(RestartTest, RestoresMinutesCountdownSwitchAndPlaceLeftByTheUser) {
  ASSERT_NO_FATAL_FAILURE(StartApp());
  ASSERT_NO_FATAL_FAILURE(OpenStopwatchPage());
  {
    Form1Page& main = Main();
    main.Text1().SetText(L"2.5");
    ASSERT_TRUE(Becomes([] { return Setting(L"Text1"); }, L"2.5", kReactTimeout));
    main.Check2().Click();
    ASSERT_TRUE(Becomes([] { return Setting(L"Check2"); }, L" 1", kReactTimeout));
    main.MoveTo(230, 170, 420, 360);
    ASSERT_TRUE(Becomes([&] { return PlaceMismatch(main, {230, 170, 420, 360}); }, std::string(),
                        kReactTimeout));
    ASSERT_TRUE(Becomes([&] { return GeometryMismatch(main); }, std::string(), 4s));
  }
  EndApp();

  ASSERT_NO_FATAL_FAILURE(StartApp());
  ASSERT_NO_FATAL_FAILURE(OpenStopwatchPage());
  Form1Page& main = Main();
  EXPECT_EQ(Show(main.Text1().Text()), Show(L"2.5"));
  EXPECT_TRUE(main.Check2().Checked());
  EXPECT_EQ(PlaceMismatch(main, {230, 170, 420, 360}), "");
}

using ScreenshotTest = Form1Test;

TEST_F(ScreenshotTest, SavesThePaintedMainWindowAsAnArtifact) {
  ASSERT_FALSE(Config().artifactDir.empty()) << "the driver needs --artifacts=FOLDER";
  ASSERT_NO_FATAL_FAILURE(StartApp());
  ASSERT_NO_FATAL_FAILURE(OpenStopwatchPage());
  // The stopwatch running, two seconds in: the page a person looks at most.
  Main().Command1().Click();
  ASSERT_TRUE(Becomes([&] { return Main().Label2Text(); }, L"0:00:02", 4s));
  std::optional<Capture> shot;
  // A painted window has text, frame and button shades; a failed grab is one flat colour.
  ASSERT_TRUE(WaitUntil([&] { return (shot = CaptureWindow(Main().Handle())) && DistinctColours(*shot) >= 8; }, 3s))
      << (shot ? std::to_string(DistinctColours(*shot)) + " colours" : std::string("no capture"));
  const std::wstring path = Config().artifactDir + L"\\form1.bmp";
  ASSERT_TRUE(SaveBmp(*shot, path)) << Utf8(path);
  WIN32_FILE_ATTRIBUTE_DATA file{};
  ASSERT_TRUE(GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &file));
  const std::size_t rowBytes = (static_cast<std::size_t>(shot->width) * 3 + 3) & ~std::size_t{3};
  EXPECT_EQ(file.nFileSizeLow, 54 + rowBytes * shot->height);
}

}  // namespace
}  // namespace tkd::e2e
