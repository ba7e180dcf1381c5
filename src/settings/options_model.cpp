// OptionsModel: the dialog's handlers, each storing at once.
#include "settings/options_model.h"

#include "core/number_text.h"

namespace tkd {
namespace {

constexpr char kIntervalMessage[] = "只能输入1-20之间的数字";

}  // namespace

void OptionsModel::Form_Load() {
  const bool check1 = store_.ReadNumber(setting::CheckOption1) == 1;
  if (check1 != view_.check1) Check1_Click(check1);
  for (int page = 0; page < kHideablePages; ++page) {
    const bool hide = store_.ReadNumber(HidePageSetting(page)) == 1;
    if (hide != view_.hidePage[page]) HidePage_Click(page, hide);
  }
  const std::string interval = NumberText(store_.ReadNumber(setting::ADsj));
  if (interval != view_.text1) Text1_Change(interval);
}

void OptionsModel::Check1_Click(bool ticked) {
  view_.check1 = ticked;
  store_.WriteNumber(setting::CheckOption1, ticked ? 1 : 0);
  if (ticked) {
    startup_.Register(program_);
  } else if (startup_.Unregister()) {
    view_.check1 = true;
    store_.WriteNumber(setting::CheckOption1, 1);
  }
}

void OptionsModel::HidePage_Click(int page, bool ticked) {
  if (page < 0 || page >= kHideablePages) return;
  view_.hidePage[page] = ticked;
  pages_.ShowPage(page, !ticked);
  store_.WriteNumber(HidePageSetting(page), ticked ? 1 : 0);
}

// Out of range, the text stays as typed and the last valid interval stays stored.
void OptionsModel::Text1_Change(const std::string& text) {
  view_.text1 = text;
  const double hours = NumericReading(text);
  if (hours >= 1 && hours <= 20) store_.WriteNumber(setting::ADsj, hours);
  else prompt_.ShowMessage(kIntervalMessage);
}

}  // namespace tkd
