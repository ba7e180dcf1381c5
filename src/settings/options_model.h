// The options dialog ("选项..."): start with Windows, the pages to hide, the advertising interval.
#pragma once

#include <array>
#include <string>

#include "core/program_info.h"
#include "platform/ports.h"
#include "settings/settings_store.h"
#include "settings/start_with_windows.h"

namespace tkd {

struct OptionsView {
  bool check1 = false;                         // "开机自启动本程序"
  std::array<bool, kHideablePages> hidePage{};  // Check2 ... Check5
  std::string text1;                           // the interval in hours
  bool open = true;                            // false once "确定" or "退出" was pressed
  bool operator==(const OptionsView&) const = default;
};

// What the dialog changes on the main window at once.
class PageSwitch {
 public:
  virtual ~PageSwitch() = default;
  virtual void ShowPage(int page, bool visible) = 0;
};

// Every control stores its setting the moment it changes; both buttons only close the dialog.
class OptionsModel {
 public:
  OptionsModel(SettingsStore& store, Prompt& prompt, PageSwitch& pages, ProgramInfo program)
      : store_(store), prompt_(prompt), pages_(pages), program_(std::move(program)), startup_(store) {}

  // Each opening reloads every control from the registry, raising the handlers of those that change.
  void Form_Load();
  // Cleared, the box stays ticked while an entry it could not empty still starts the program.
  void Check1_Click(bool ticked);
  void HidePage_Click(int page, bool ticked);  // Check2_Click ... Check5_Click for pages 0 ... 3
  void Text1_Change(const std::string& text);
  void Command1_Click() { view_.open = false; }  // "确定"
  void Command2_Click() { view_.open = false; }  // "退出"

  const OptionsView& View() const { return view_; }

 private:
  SettingsStore& store_;
  Prompt& prompt_;
  PageSwitch& pages_;
  ProgramInfo program_;
  StartWithWindows startup_;
  OptionsView view_;
};

}  // namespace tkd
