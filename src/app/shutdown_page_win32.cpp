// ShutdownPageWin32: the rows of the four ways, laid out left to right, and their events.
#include "app/shutdown_page_win32.h"

#include <commctrl.h>

#include "app/resource.h"
#include "platform/text_win32.h"
#include "window/form1_model.h"

namespace tkd {
namespace {

constexpr DWORD kCheckBox = BS_AUTOCHECKBOX | WS_TABSTOP;
constexpr DWORD kEdit = ES_AUTOHSCROLL | WS_TABSTOP;
constexpr DWORD kCaption = SS_LEFT | SS_CENTERIMAGE | SS_NOPREFIX;
constexpr DWORD kWarning = SS_LEFT | SS_CENTERIMAGE | SS_NOPREFIX | SS_NOTIFY;  // SS_NOTIFY: a tool tip
constexpr int C = IDC_SHUTDOWN_CAPTION_FIRST;

// Each row left to right, with the width of each control in pixels at 96 dots per inch.
struct Cell {
  ControlSpec control;
  int width;
};
const Cell kRows[][6] = {
    {{{IDC_CHECK4, WC_BUTTONW, kCheckBox, FontRole::Ui, "设定"}, 84},
     {{IDC_TEXT2, WC_EDITW, kEdit}, 44},
     {{C, WC_STATICW, kCaption, FontRole::Ui, "分钟后自动关机"}, 100}},
    {{{IDC_CHECK5, WC_BUTTONW, kCheckBox, FontRole::Ui, "设定今天"}, 84},
     {{IDC_TEXT3, WC_EDITW, kEdit}, 36},
     {{C + 1, WC_STATICW, kCaption, FontRole::Ui, "点"}, 18},
     {{IDC_TEXT4, WC_EDITW, kEdit}, 36},
     {{C + 2, WC_STATICW, kCaption, FontRole::Ui, "分后自动关机"}, 88},
     {{IDC_LABEL16, WC_STATICW, kWarning, FontRole::Ui, "即将关机"}, 64}},
    {{{IDC_CHECK6, WC_BUTTONW, kCheckBox, FontRole::Ui, "设定每天"}, 84},
     {{IDC_TEXT5, WC_EDITW, kEdit}, 36},
     {{C + 3, WC_STATICW, kCaption, FontRole::Ui, "点"}, 18},
     {{IDC_TEXT6, WC_EDITW, kEdit}, 36},
     {{C + 4, WC_STATICW, kCaption, FontRole::Ui, "分时自动关机"}, 88},
     {{IDC_LABEL17, WC_STATICW, kWarning, FontRole::Ui, "即将关机"}, 64}},
    {{{IDC_CHECK8, WC_BUTTONW, kCheckBox, FontRole::Ui, "设定每天"}, 84},
     {{IDC_TEXT7, WC_EDITW, kEdit}, 36},
     {{C + 5, WC_STATICW, kCaption, FontRole::Ui, "点"}, 18},
     {{IDC_TEXT8, WC_EDITW, kEdit}, 36},
     {{C + 6, WC_STATICW, kCaption, FontRole::Ui, "分时自动关机"}, 88},
     {{IDC_LABEL18, WC_STATICW, kWarning, FontRole::Ui, "即将关机"}, 64}},
};
const ControlSpec kCountdownLine{IDC_LABEL13, WC_STATICW, SS_LEFT | SS_NOPREFIX};
constexpr int kWarningIds[kClockWays] = {IDC_LABEL16, IDC_LABEL17, IDC_LABEL18};
constexpr int kMargin = 8, kRowHeight = 30, kControlHeight = 23, kGap = 4;

// Text boxes and the scheduler's handler for each.
struct TextBox {
  int id;
  std::string ShutdownView::*text;
  void (ShutdownScheduler::*change)(const std::string&);
};
constexpr TextBox kTextBoxes[] = {
    {IDC_TEXT2, &ShutdownView::text2, &ShutdownScheduler::Text2_Change},
    {IDC_TEXT3, &ShutdownView::text3, &ShutdownScheduler::Text3_Change},
    {IDC_TEXT4, &ShutdownView::text4, &ShutdownScheduler::Text4_Change},
    {IDC_TEXT5, &ShutdownView::text5, &ShutdownScheduler::Text5_Change},
    {IDC_TEXT6, &ShutdownView::text6, &ShutdownScheduler::Text6_Change},
    {IDC_TEXT7, &ShutdownView::text7, &ShutdownScheduler::Text7_Change},
    {IDC_TEXT8, &ShutdownView::text8, &ShutdownScheduler::Text8_Change},
};
struct CheckBox {
  int id;
  bool ShutdownView::*checked;
  void (ShutdownScheduler::*click)(bool);
};
constexpr CheckBox kCheckBoxes[] = {
    {IDC_CHECK4, &ShutdownView::check4, &ShutdownScheduler::Check4_Click},
    {IDC_CHECK5, &ShutdownView::check5, &ShutdownScheduler::Check5_Click},
    {IDC_CHECK6, &ShutdownView::check6, &ShutdownScheduler::Check6_Click},
    {IDC_CHECK8, &ShutdownView::check8, &ShutdownScheduler::Check8_Click},
};

}  // namespace

void ShutdownPageWin32::Create(Controls& controls, const Fonts& fonts) {
  for (const auto& row : kRows)
    for (const Cell& cell : row)
      if (cell.width) controls.Create(&cell.control, 1, kPageShutdown, fonts);
  controls.Create(&kCountdownLine, 1, kPageShutdown, fonts);
  controls.SetTip(IDC_LABEL16, "自动关机前10分钟开始提醒");
  controls.SetTip(IDC_TEXT5, "请输入“0-23”之间的整数");
}

void ShutdownPageWin32::Layout(Controls& controls, const RECT& area, int dpi) {
  auto px = [dpi](int at96) { return MulDiv(at96, dpi, 96); };
  int y = area.top + px(kMargin);
  for (const auto& row : kRows) {
    int x = area.left + px(kMargin);
    for (const Cell& cell : row) {
      if (!cell.width) continue;
      controls.Move(cell.control.id, x, y, px(cell.width), px(kControlHeight));
      x += px(cell.width + kGap);
    }
    y += px(kRowHeight);
  }
  controls.Move(IDC_LABEL13, area.left + px(kMargin), y, area.right - area.left - px(2 * kMargin), px(kControlHeight));
}

void ShutdownPageWin32::Render(Controls& controls) {
  const ShutdownView& v = scheduler_.View();
  for (const TextBox& box : kTextBoxes) controls.SetText(box.id, v.*box.text);
  for (const CheckBox& box : kCheckBoxes) controls.SetChecked(box.id, v.*box.checked);
  for (int way = 0; way < kClockWays; ++way) {
    controls.SetText(kWarningIds[way], v.warningCaption[way]);
    controls.SetVisible(kWarningIds[way], v.warningVisible[way]);
  }
  controls.SetText(IDC_LABEL13, v.label13);
}

bool ShutdownPageWin32::OnCommand(Controls& controls, int id, int code) {
  for (const TextBox& box : kTextBoxes) {
    if (box.id != id) continue;
    if (code == EN_CHANGE) (scheduler_.*box.change)(WideToUtf8(controls.Text(id)));
    return true;
  }
  for (const CheckBox& box : kCheckBoxes) {
    if (box.id != id) continue;
    if (code == BN_CLICKED) (scheduler_.*box.click)(controls.Checked(id));
    return true;
  }
  return false;
}

HBRUSH ShutdownPageWin32::OnCtlColorStatic(HDC dc, int id) {
  if (id != IDC_LABEL13 && id != IDC_LABEL16 && id != IDC_LABEL17 && id != IDC_LABEL18) return nullptr;
  SetTextColor(dc, RGB(255, 0, 0));
  SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
  return GetSysColorBrush(COLOR_BTNFACE);
}

}  // namespace tkd
