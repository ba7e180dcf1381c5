// CurrentProgramInfo and its parts: the module path however small the first buffer, and the split
// into folder and name.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "core/version.h"
#include "platform/program_info_win32.h"
#include "platform/text_win32.h"

namespace tkd {
namespace {

TEST(ProgramInfoWin32, SplitsFolderAndNameWithoutExe) {
  struct Case {
    std::wstring path, folder, exeName;
  };
  const std::vector<Case> cases = {
      {L"C:\\Program Files\\TiKoDan\\TiKoDan.exe", L"C:\\Program Files\\TiKoDan", L"TiKoDan"},
      {L"C:\\TiKoDan.EXE", L"C:", L"TiKoDan"},
      {L"D:\\tools.exe\\tkd.Exe", L"D:\\tools.exe", L"tkd"},
      {L"C:\\apps\\tkd.exe.bak", L"C:\\apps", L"tkd.exe.bak"},
      {L"C:\\apps\\tkd", L"C:\\apps", L"tkd"},
      {L"C:\\apps\\.exe", L"C:\\apps", L""},
      {L"\\\\server\\share\\\u8ba1\u65f6.exe", L"\\\\server\\share", L"\u8ba1\u65f6"},
      {L"tkd.exe", L"", L"tkd"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(WideToUtf8(c.path));
    std::wstring folder, exeName;
    SplitExecutablePath(c.path, folder, exeName);
    EXPECT_EQ(folder, c.folder);
    EXPECT_EQ(exeName, c.exeName);
  }
}

TEST(ProgramInfoWin32, ModulePathIsWholeWhateverTheFirstBufferSize) {
  const std::wstring expected = RunningModulePath();
  ASSERT_FALSE(expected.empty());
  EXPECT_NE(GetFileAttributesW(expected.c_str()), INVALID_FILE_ATTRIBUTES) << WideToUtf8(expected);
  for (std::size_t firstGuess : {std::size_t{0}, std::size_t{1}, std::size_t{2}, expected.size(),
                                 expected.size() + 1}) {
    SCOPED_TRACE(firstGuess);
    EXPECT_EQ(RunningModulePath(firstGuess), expected);
  }
}

TEST(ProgramInfoWin32, DescribesTheRunningTestProgram) {
  const ProgramInfo info = CurrentProgramInfo();
  EXPECT_EQ(info.exeName, TKD_TEST_EXE_NAME);
  ASSERT_FALSE(info.folder.empty());
  EXPECT_NE(info.folder.back(), '\\');
  const std::wstring exe = Utf8ToWide(info.folder + "\\" + info.exeName + ".exe");
  EXPECT_NE(GetFileAttributesW(exe.c_str()), INVALID_FILE_ATTRIBUTES) << WideToUtf8(exe);

  const ProgramVersion built = BuildVersion();
  EXPECT_EQ(VersionText(info.version), VersionText(built));
}

}  // namespace
}  // namespace tkd
