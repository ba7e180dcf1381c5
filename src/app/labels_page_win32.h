// A page of static labels in a frame, laid out in rows of caption and value: the mouse
// statistics and the overview are both of this shape.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "app/page_win32.h"

namespace tkd {

struct LabelRow {
  int captionId;  // 0: the value stands alone on its row
  const char* caption;
  int valueId;
  std::function<std::string()> value;
  std::function<std::string()> tip = nullptr;  // the value's tool tip, if it has one
};

class LabelsPageWin32 : public PageWin32 {
 public:
  LabelsPageWin32(int page, int frameId, const char* frameCaption, std::vector<LabelRow> rows)
      : page_(page), frameId_(frameId), frameCaption_(frameCaption), rows_(std::move(rows)) {}

  void Create(Controls& controls, const Fonts& fonts) override;
  void Layout(Controls& controls, const RECT& area, int dpi) override;
  void Render(Controls& controls) override;
  bool OnCommand(Controls&, int, int) override { return false; }

 private:
  int page_;
  int frameId_;
  const char* frameCaption_;
  std::vector<LabelRow> rows_;
};

}  // namespace tkd
