// The options dialog FormOption: a modal dialog from the resources, rendering OptionsModel.
#pragma once

#include <windows.h>

#include <functional>

#include "settings/options_model.h"

namespace tkd {

// Runs the dialog until "确定" or "退出" closes it; `changed` runs after every event, so that
// the main window shows hidden pages at once.
void RunOptionsDialog(HINSTANCE instance, HWND owner, OptionsModel& model, std::function<void()> changed);

}  // namespace tkd
