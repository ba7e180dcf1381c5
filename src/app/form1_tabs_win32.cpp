// The main window's tabs: the pages shown as tabs, and the page a click on one brings up.
#include "app/form1_win32.h"

#include <commctrl.h>

#include "platform/text_win32.h"

namespace tkd {

void Form1Window::BuildTabs() {
  // The tab control cannot hide a tab, so the visible pages are laid out as its items.
  TabCtrl_DeleteAllItems(tab_);
  tabCount_ = 0;
  int selected = -1;
  for (int page = 0; page < kPageCount; ++page) {
    if (!model_.View().pageVisible[page]) continue;
    std::wstring caption = Utf8ToWide(kPageCaptions[page]);
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = caption.data();
    TabCtrl_InsertItem(tab_, tabCount_, &item);
    if (page == currentPage_) selected = tabCount_;
    tabPages_[tabCount_++] = page;
  }
  if (selected < 0 && tabCount_ > 0) currentPage_ = tabPages_[selected = 0];
  TabCtrl_SetCurSel(tab_, selected);
}

void Form1Window::OnTabChange() {
  const int index = TabCtrl_GetCurSel(tab_);
  if (index >= 0 && index < tabCount_) currentPage_ = tabPages_[index];
  EnsurePage(currentPage_);
  Layout();
  Render();
  controls_->ShowPage(currentPage_);
}

}  // namespace tkd
