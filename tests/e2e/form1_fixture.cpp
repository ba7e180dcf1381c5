// Start and end of the program for each test, and the tick counter the tests wait on.
#include "form1_fixture.h"

#include "e2e_config.h"

namespace tkd::e2e {

void Form1Test::SetUp() {
  ASSERT_FALSE(Config().appPath.empty());
  // Every test starts as a first start: no settings, no usage copy, no per-user copies.
  ASSERT_TRUE(WipeProgramRegistry()) << "the program's registry keys could not be removed";
}

void Form1Test::StartApp() {
  EndApp();
  app_ = AppProcess::Launch(Config().appPath);
  const DWORD error = GetLastError();
  ASSERT_NE(app_, nullptr) << "CreateProcessW failed for " << Utf8(Config().appPath) << ", error "
                           << error;
  main_ = Form1Page::WaitFor(*app_, kStartTimeout);
  ASSERT_TRUE(main_.has_value()) << "no visible " << Utf8(TKD_FORM1_CLASS) << " window after "
                                 << kStartTimeout.count() << " ms (process "
                                 << (app_->Running() ? "running" : "ended") << ")";
}

void Form1Test::OpenStopwatchPage() {
  ASSERT_TRUE(Main().SelectTab(kStopwatchTab)) << "no tab " << Show(kStopwatchTab);
  // The page's controls appear one by one as the program shows them: wait for all of them.
  auto shown = [&] {
    for (const Control& control : {Main().Label2(), Main().Label7(), Main().Command1(),
                                   Main().Text1(), Main().Check2()})
      if (!control.Visible()) return false;
    return true;
  };
  ASSERT_TRUE(WaitUntil(shown, kReactTimeout))
      << "the stopwatch page did not show; selected tab " << Show(Main().SelectedTab());
}

void Form1Test::EndApp() {
  main_.reset();
  app_.reset();  // terminates the process if it still runs
}

double Form1Test::UsageTotal() { return LeadingNumber(Setting(L"js00")).value_or(0); }

testing::AssertionResult Form1Test::TicksPass(int count, Ms timeout) {
  const double target = UsageTotal() + count;
  return Satisfies([] { return UsageTotal(); }, [&](double total) { return total >= target; },
                   "a usage total of at least " + std::to_string(target), timeout);
}

std::string Join(const std::set<std::wstring>& names) {
  std::string out;
  for (const auto& name : names) out += (out.empty() ? "" : ", ") + Utf8(name);
  return out.empty() ? "(none)" : out;
}

PixelRect PixelsOf(const RECT& rect) {
  return {static_cast<double>(rect.left), static_cast<double>(rect.top),
          static_cast<double>(rect.right - rect.left), static_cast<double>(rect.bottom - rect.top)};
}

}  // namespace tkd::e2e
