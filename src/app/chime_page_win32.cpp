// ChimePageWin32: "开启整点报时" above four rows of six hour boxes.
#include "app/chime_page_win32.h"

#include <commctrl.h>

#include "app/resource.h"
#include "window/form1_model.h"

namespace tkd {
namespace {

constexpr const char* kHourCaptions[kHours] = {"0点", "1点", "2点", "3点", "4点", "5点", "6点", "7点",
                                              "8点", "9点", "10",  "11",  "12",  "13",  "14",  "15",
                                              "16",  "17",  "18",  "19",  "20",  "21",  "22",  "23"};
constexpr DWORD kCheckBox = BS_AUTOCHECKBOX | WS_TABSTOP;
constexpr int kPerRow = 6;

// Layout in pixels at 96 dots per inch.
constexpr int kMargin = 8, kRowHeight = 24, kFrameTop = 36, kBoxWidth = 52;

}  // namespace

void ChimePageWin32::Create(Controls& controls, const Fonts& fonts) {
  const ControlSpec head[] = {
      {IDC_CHECK9, WC_BUTTONW, kCheckBox, FontRole::Ui, "开启整点报时"},
      {IDC_FRAME_CHIME, WC_BUTTONW, BS_GROUPBOX, FontRole::Ui, "请勾选哪些时间需要整点报时"},
  };
  controls.Create(head, std::size(head), kPageChime, fonts);
  ControlSpec hours[kHours];
  for (int h = 0; h < kHours; ++h) hours[h] = {IDC_CHECK10 + h, WC_BUTTONW, kCheckBox, FontRole::Ui, kHourCaptions[h]};
  controls.Create(hours, kHours, kPageChime, fonts);
}

void ChimePageWin32::Layout(Controls& controls, const RECT& area, int dpi) {
  auto px = [dpi](int at96) { return MulDiv(at96, dpi, 96); };
  const int x = area.left + px(kMargin), y = area.top + px(kMargin);
  controls.Move(IDC_CHECK9, x, y, px(200), px(kRowHeight));
  const int rows = kHours / kPerRow;
  controls.Move(IDC_FRAME_CHIME, x, y + px(kFrameTop), px(kMargin * 2 + kBoxWidth * kPerRow),
                px(kRowHeight * (rows + 1)));
  for (int h = 0; h < kHours; ++h)
    controls.Move(IDC_CHECK10 + h, x + px(kMargin + kBoxWidth * (h % kPerRow)),
                  y + px(kFrameTop + kRowHeight * (h / kPerRow) + kRowHeight * 3 / 4), px(kBoxWidth - 4), px(kRowHeight - 4));
}

void ChimePageWin32::Render(Controls& controls) {
  controls.SetChecked(IDC_CHECK9, chime_.View().check9);
  for (int h = 0; h < kHours; ++h) controls.SetChecked(IDC_CHECK10 + h, chime_.View().hours[h]);
}

bool ChimePageWin32::OnCommand(Controls& controls, int id, int code) {
  if (id == IDC_CHECK9) {
    if (code == BN_CLICKED) chime_.Check9_Click(controls.Checked(id));
    return true;
  }
  if (id < IDC_CHECK10 || id >= IDC_CHECK10 + kHours) return false;
  if (code == BN_CLICKED) chime_.HourBox_Click(id - IDC_CHECK10, controls.Checked(id));
  return true;
}

}  // namespace tkd
