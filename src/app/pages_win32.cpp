// MakePages: which shell renders which page, and the label rows of the two statistics pages.
#include "app/pages_win32.h"

#include "app/chime_page_win32.h"
#include "app/labels_page_win32.h"
#include "app/resource.h"
#include "app/shutdown_page_win32.h"
#include "app/stopwatch_page_win32.h"

namespace tkd {

std::array<std::unique_ptr<PageWin32>, kPageCount> MakePages(Form1Model& model) {
  std::array<std::unique_ptr<PageWin32>, kPageCount> pages;
  pages[kPageStopwatch] = std::make_unique<StopwatchPageWin32>(model.stopwatch());
  pages[kPageShutdown] = std::make_unique<ShutdownPageWin32>(model.scheduler());
  pages[kPageChime] = std::make_unique<ChimePageWin32>(model.chime());
  const MouseOdometer& odometer = model.odometer();
  pages[kPageMouse] = std::make_unique<LabelsPageWin32>(kPageMouse, IDC_FRAME4, "鼠标移动里程统计", std::vector<LabelRow>{
      {IDC_LABEL1, "鼠标今天已移动：", IDC_LABEL3, [&odometer] { return odometer.Label3(); }},
      {IDC_LABEL4, "鼠标累计移动：", IDC_LABEL20, [&odometer] { return odometer.View().label20; }},
      {IDC_LABEL23, "最高记录：", IDC_LABEL24, [&odometer] { return odometer.View().label24; },
       [&odometer] { return odometer.View().label24Tip; }},
      {IDC_LABEL21, "鼠标当前位置：", IDC_LABEL22, [&odometer] { return odometer.Label22(); }}});
  const Overview& overview = model.overview();
  pages[kPageOverview] = std::make_unique<LabelsPageWin32>(kPageOverview, IDC_FRAME5, "使用统计", std::vector<LabelRow>{
      {0, "", IDC_LABEL27, [&overview] { return overview.View().label27; }},
      {IDC_LABEL28, "目前一共使用本软件时间：", IDC_LABEL32, [&overview] { return overview.View().label32; }},
      {IDC_LABEL29, "鼠标累计移动路程：", IDC_LABEL33, [&overview] { return overview.View().label33; }},
      {0, "", IDC_LABEL30, [&overview] { return overview.View().label30; }},
      {0, "", IDC_LABEL34, [&overview] { return overview.View().label34; }},
      {0, "", IDC_LABEL31, [&model] { return model.RankText(); }}});
  return pages;
}

}  // namespace tkd
