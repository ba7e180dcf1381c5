// LabelsPageWin32: a frame with a caption and a value label per row.
#include "app/labels_page_win32.h"

#include <commctrl.h>

namespace tkd {
namespace {

constexpr DWORD kLabel = SS_LEFT | SS_NOPREFIX | SS_NOTIFY;  // SS_NOTIFY: a tool tip can show
// Layout in pixels at 96 dots per inch.
constexpr int kMargin = 8, kFrameTop = 4, kRowHeight = 24, kCaptionWidth = 150;

}  // namespace

void LabelsPageWin32::Create(Controls& controls, const Fonts& fonts) {
  const ControlSpec frame{frameId_, WC_BUTTONW, BS_GROUPBOX, FontRole::Ui, frameCaption_};
  controls.Create(&frame, 1, page_, fonts);
  for (const LabelRow& row : rows_) {
    if (row.captionId) {
      const ControlSpec caption{row.captionId, WC_STATICW, kLabel, FontRole::Ui, row.caption};
      controls.Create(&caption, 1, page_, fonts);
    }
    const ControlSpec value{row.valueId, WC_STATICW, kLabel, FontRole::Ui, ""};
    controls.Create(&value, 1, page_, fonts);
  }
}

void LabelsPageWin32::Layout(Controls& controls, const RECT& area, int dpi) {
  auto px = [dpi](int at96) { return MulDiv(at96, dpi, 96); };
  const int width = area.right - area.left - px(2 * kMargin);
  const int top = area.top + px(kFrameTop);
  controls.Move(frameId_, area.left + px(kMargin), top, width, px(kRowHeight) * (static_cast<int>(rows_.size()) + 1));
  int y = top + px(kRowHeight);
  const int x = area.left + px(2 * kMargin), inner = width - px(2 * kMargin);
  for (const LabelRow& row : rows_) {
    const int captionWidth = row.captionId ? px(kCaptionWidth) : 0;
    if (row.captionId) controls.Move(row.captionId, x, y, captionWidth, px(kRowHeight - 4));
    controls.Move(row.valueId, x + captionWidth, y, inner - captionWidth, px(kRowHeight - 4));
    y += px(kRowHeight);
  }
}

void LabelsPageWin32::Render(Controls& controls) {
  for (const LabelRow& row : rows_) {
    controls.SetText(row.valueId, row.value());
    if (row.tip) controls.SetTip(row.valueId, row.tip());
  }
}

}  // namespace tkd
