// AboutBoxWin32: the box's texts from its model, and the link to the site.
#include "app/about_box_win32.h"

#include "app/resource.h"
#include "platform/text_win32.h"
#include "platform/window_frame_win32.h"

namespace tkd {
namespace {

constexpr COLORREF kLinkBlue = RGB(0, 0, 255);

}  // namespace

AboutBoxWin32::AboutBoxWin32(HINSTANCE instance) : DialogWin32(instance, IDD_ABOUT) {}

void AboutBoxWin32::Show(HWND owner, std::unique_ptr<AboutBox> model) {
  if (!Handle()) model_ = std::move(model);
  ShowModeless(owner);
}

void AboutBoxWin32::OnInit() {
  const AboutView& v = model_->View();
  SetWindowTextW(Handle(), Utf8ToWide(v.caption).c_str());
  SetText(IDC_ABOUT_LABEL1, v.label1);
  SetText(IDC_ABOUT_LABEL2, v.label2);
  SetText(IDC_ABOUT_LABEL3, v.label3);
  SetText(IDC_ABOUT_LABEL4, v.label4);
  SetText(IDC_ABOUT_LABEL5, v.label5);
  SetText(IDC_ABOUT_LABEL6, v.label6);
  // The link: 9-point SimSun, underlined, blue, with a hand over it.
  const int height = -MulDiv(9, DpiOfWindow(Handle()), 72);
  linkFont_ = UniqueGdi<HFONT>(CreateFontW(height, 0, 0, 0, FW_NORMAL, FALSE, TRUE, FALSE, GB2312_CHARSET,
                                           OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY,
                                           DEFAULT_PITCH | FF_DONTCARE, L"SimSun"));
  SendDlgItemMessageW(Handle(), IDC_ABOUT_LABEL5, WM_SETFONT, reinterpret_cast<WPARAM>(linkFont_.Get()), FALSE);
}

void AboutBoxWin32::OnCommand(int id, int code) {
  if (id == IDC_ABOUT_LABEL5 && code == STN_CLICKED) model_->Label5_Click();
  if (id == IDCANCEL) Close();  // Escape and the close box
}

HBRUSH AboutBoxWin32::OnCtlColor(HDC dc, int id) {
  if (id != IDC_ABOUT_LABEL5) return nullptr;
  SetTextColor(dc, kLinkBlue);
  SetBkMode(dc, TRANSPARENT);
  return GetSysColorBrush(COLOR_BTNFACE);
}

bool AboutBoxWin32::OnSetCursor(int id) {
  if (id != IDC_ABOUT_LABEL5) return false;
  SetCursor(LoadCursorW(nullptr, IDC_HAND));
  return true;
}

}  // namespace tkd
