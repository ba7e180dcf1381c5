// StopwatchPageWin32: the stopwatch's controls, laid out top to bottom, and its events.
#include "app/stopwatch_page_win32.h"

#include <commctrl.h>

#include <algorithm>

#include "app/resource.h"
#include "platform/text_win32.h"
#include "window/form1_model.h"

namespace tkd {
namespace {

constexpr ControlSpec kControls[] = {
    {IDC_LABEL2, WC_STATICW, SS_CENTER | SS_CENTERIMAGE | SS_NOPREFIX, FontRole::Display},
    {IDC_LABEL7, WC_STATICW, SS_CENTER | SS_NOPREFIX, FontRole::Status},
    {IDC_COMMAND1, WC_BUTTONW, BS_PUSHBUTTON | WS_TABSTOP, FontRole::Button},
    {IDC_COMMAND2, WC_BUTTONW, BS_PUSHBUTTON | WS_TABSTOP, FontRole::Button},
    {IDC_TEXT1, WC_EDITW, ES_AUTOHSCROLL | WS_TABSTOP},
    {IDC_LABEL5, WC_STATICW, SS_LEFT | SS_CENTERIMAGE | SS_NOTIFY, FontRole::Ui, "分钟"},  // double-click: FormHide
    {IDC_CHECK2, WC_BUTTONW, BS_AUTOCHECKBOX | WS_TABSTOP, FontRole::Ui, "倒计时"},
};

// Layout in pixels at 96 dots per inch.
constexpr int kMargin = 8;
constexpr int kDisplayHeight = 76, kStatusHeight = 40;
constexpr int kButtonWidth = 96, kButtonHeight = 36;
constexpr int kEditWidth = 64, kEditHeight = 23, kUnitWidth = 36, kCheckWidth = 80;

COLORREF ToColorref(const Rgb& c) { return RGB(c.r, c.g, c.b); }

}  // namespace

StopwatchPageWin32::StopwatchPageWin32(Stopwatch& stopwatch)
    : stopwatch_(stopwatch), displayBrush_(CreateSolidBrush(ToColorref(kLightCyan))) {}

void StopwatchPageWin32::Create(Controls& controls, const Fonts& fonts) {
  controls.Create(kControls, std::size(kControls), kPageStopwatch, fonts);
  controls.SetTip(IDC_TEXT1, "时间只剩10秒时将会有声音提醒");
  controls.SetTip(IDC_CHECK2, "是否显示为倒计时模式");
}

void StopwatchPageWin32::Layout(Controls& controls, const RECT& area, int dpi) {
  auto px = [dpi](int at96) { return MulDiv(at96, dpi, 96); };
  const int m = px(kMargin);
  const int x = area.left + m;
  const int inner = std::max<int>(0, area.right - area.left - 2 * m);
  int y = area.top + m;
  controls.Move(IDC_LABEL2, x, y, inner, px(kDisplayHeight));
  y += px(kDisplayHeight) + m / 2;
  controls.Move(IDC_LABEL7, x, y, inner, px(kStatusHeight));
  y += px(kStatusHeight) + m / 2;
  controls.Move(IDC_COMMAND1, x, y, px(kButtonWidth), px(kButtonHeight));
  controls.Move(IDC_COMMAND2, x + m + px(kButtonWidth), y, px(kButtonWidth), px(kButtonHeight));
  y += px(kButtonHeight) + m;
  controls.Move(IDC_TEXT1, x, y, px(kEditWidth), px(kEditHeight));
  controls.Move(IDC_LABEL5, x + px(kEditWidth) + m / 2, y, px(kUnitWidth), px(kEditHeight));
  controls.Move(IDC_CHECK2, x + m + px(kEditWidth + kUnitWidth), y, px(kCheckWidth), px(kEditHeight));
}

void StopwatchPageWin32::Render(Controls& controls) {
  const StopwatchView& v = stopwatch_.View();
  if (v.label2Color != shownColour_) {
    shownColour_ = v.label2Color;
    InvalidateRect(controls.Find(IDC_LABEL2), nullptr, TRUE);  // the colour applies as it repaints
  }
  controls.SetText(IDC_LABEL2, v.label2);
  controls.SetText(IDC_LABEL7, v.label7);
  controls.SetText(IDC_COMMAND1, v.command1Caption);
  controls.SetTip(IDC_COMMAND1, v.command1Tip);
  controls.SetText(IDC_COMMAND2, v.command2Caption);
  controls.SetTip(IDC_COMMAND2, v.command2Tip);
  controls.SetVisible(IDC_COMMAND2, v.command2Visible);
  controls.SetText(IDC_TEXT1, v.text1);
  controls.SetChecked(IDC_CHECK2, v.check2);
}

bool StopwatchPageWin32::OnCommand(Controls& controls, int id, int code) {
  switch (id) {
    case IDC_COMMAND1:
      if (code == BN_CLICKED) stopwatch_.Command1_Click();
      return true;
    case IDC_COMMAND2:
      if (code == BN_CLICKED) stopwatch_.Command2_Click();
      return true;
    case IDC_CHECK2:
      if (code == BN_CLICKED) stopwatch_.Check2_Click(controls.Checked(IDC_CHECK2));
      return true;
    case IDC_TEXT1:
      if (code == EN_CHANGE) stopwatch_.Text1_Change(WideToUtf8(controls.Text(IDC_TEXT1)));
      return true;
    default:
      return false;
  }
}

HBRUSH StopwatchPageWin32::OnCtlColorStatic(HDC dc, int id) {
  if (id != IDC_LABEL2) return nullptr;
  SetTextColor(dc, ToColorref(stopwatch_.View().label2Color));
  SetBkColor(dc, ToColorref(kLightCyan));
  return displayBrush_.Get();
}

}  // namespace tkd
