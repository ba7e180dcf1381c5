// The shells of the main window's pages, each over its view-model; the reminder page holds nothing.
#pragma once

#include <array>
#include <memory>

#include "app/page_win32.h"
#include "window/form1_model.h"

namespace tkd {

std::array<std::unique_ptr<PageWin32>, kPageCount> MakePages(Form1Model& model);

}  // namespace tkd
