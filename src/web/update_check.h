// The update check: the newest-version query, the quiet check of the 360th tick, and the update
// dialog FormUpdate ("检查更新").
#pragma once

#include <functional>
#include <string>

#include "core/version.h"
#include "web/web_ports.h"

namespace tkd {

inline constexpr char kNewVersionPage[] = "tkd/newver.htm";
inline constexpr char kDownloadPage[] = "tkd/update.asp";
inline constexpr double kUpdateCheckTick = 360;

namespace update_text {
inline constexpr char kNewVersion[] = "有新版本可以下载了，点确认去下载最新版本";
inline constexpr char kNewVersionCaption[] = "【TiKoDan】又出新版本了，欢迎下载";
inline constexpr char kChecking[] = "正在联网查看是否有最新版本...";
inline constexpr char kFound[] = "检查到有新的版本了";
inline constexpr char kUpToDate[] = "您使用的版本已经是最新版的了，您无需下载更新";
inline constexpr char kUnreachable[] = "无法连接到网站，暂时不能检查是否有新版本";
inline constexpr char kCurrent[] = "当前版本为：";
inline constexpr char kNewest[] = "最新版本为:";
}  // namespace update_text

// A version number as shown: "V1.4.7" for 147, "V12.0.3" for 1203.
std::string VersionDisplay(double n);

// FetchLatestVersion: `done` gets the newest-version page's bracketed value when it reads
// higher than `versionNumber`, else empty text (an equal version, a failed fetch, no brackets).
void FetchLatestVersion(Http& http, const std::string& siteBase, int versionNumber,
                        std::function<void(const std::string&)> done);

// The quiet check, once per run: only a newer version is announced, and OK opens the download page.
class UpdateCheck {
 public:
  UpdateCheck(const WebPorts& web, Prompt& prompt, int versionNumber)
      : web_(web), prompt_(prompt), versionNumber_(versionNumber) {}
  // A step of the housekeeping tick: starts the query in the 360th tick and returns at once;
  // `answered` runs when the site has answered.
  void Tick(double js0, std::function<void()> answered);
  // The offer of a newer version the answer held, once; the caller picks a moment when no other
  // modal window of the program is open.
  void OfferNewVersion();

 private:
  const WebPorts& web_;
  Prompt& prompt_;
  int versionNumber_;
  bool offerDue_ = false;
  AnswerGuard guard_;
};

struct UpdateView {
  std::string label1 = update_text::kChecking;  // the outcome line
  std::string label2 = "Label2";                // the current version
  std::string label3 = "Label3";                // the newest version
  bool label4Visible = true;                    // the hint and its button: hidden at load, shown
                                                // when the site gave no version
  bool command3Visible = true;
  bool command1Visible = false;                 // "去下载最新版", shown when a newer version is found
  bool open = true;                             // false once a button has closed the dialog
};

// FormUpdate: shows at once, asks the site, and fills in when the answer comes. A site that does
// not answer, answers with an error or sends a page without a version is said so, with the hint
// and the button to the download page; it is never reported as an up-to-date program.
class UpdateDialog {
 public:
  UpdateDialog(const WebPorts& web, ProgramVersion version) : web_(web), version_(version) {}
  UpdateDialog(const UpdateDialog&) = delete;
  UpdateDialog& operator=(const UpdateDialog&) = delete;

  // `changed` runs when the answer has been shown.
  void Form_Load(std::function<void()> changed = nullptr);
  void Command1_Click() { OpenDownloadPage(); }  // "去下载最新版"
  void Command3_Click() { OpenDownloadPage(); }  // "上网查看最新版本", when the check failed
  void Command2_Click() { view_.open = false; }  // "退出"

  const UpdateView& View() const { return view_; }

 private:
  void OpenDownloadPage();

  const WebPorts& web_;
  ProgramVersion version_;
  UpdateView view_;
  AnswerGuard guard_;
};

}  // namespace tkd
