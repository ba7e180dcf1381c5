// The setup end to end: a silent install, the installed program's start, a silent upgrade over the running copy, a silent uninstall.
#include <shlobj.h>

#include "app_driver.h"
#include "core/number_text.h"

namespace tkd::e2e {
namespace {

constexpr Ms kStart = 20s, kSetup = 60s;
const std::wstring kFolder = L"C:\\Program Files\\TiKoDan", kExe = kFolder + L"\\TiKoDan.exe";
constexpr wchar_t kUninstallKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\TiKoDan";
constexpr wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr REGSAM kView32 = KEY_WOW64_32KEY, kView64 = KEY_WOW64_64KEY;

// A REG_SZ value in one view, or "(missing)".
std::string Value(HKEY root, REGSAM view, const wchar_t* key, const wchar_t* name) {
  HKEY opened = nullptr;
  wchar_t text[1024] = L"";
  DWORD size = sizeof text - sizeof(wchar_t), type = 0;
  const bool found = RegOpenKeyExW(root, key, 0, KEY_QUERY_VALUE | view, &opened) == ERROR_SUCCESS &&
                     RegQueryValueExW(opened, name, nullptr, &type, reinterpret_cast<BYTE*>(text), &size) ==
                         ERROR_SUCCESS && type == REG_SZ;
  if (opened) RegCloseKey(opened);
  return found ? WideToUtf8(text) : "(missing)";
}
void SetValue(HKEY root, REGSAM view, const wchar_t* key, const wchar_t* name, const std::wstring& text) {
  HKEY opened = nullptr;
  RegCreateKeyExW(root, key, 0, nullptr, 0, KEY_SET_VALUE | view, nullptr, &opened, nullptr);
  RegSetValueExW(opened, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                 static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
  RegCloseKey(opened);
}
// The "tikodan" start entries: HKLM's 32-bit view, its 64-bit view, HKCU.
std::vector<std::string> RunEntries() {
  return {Value(HKEY_LOCAL_MACHINE, kView32, kRunKey, L"tikodan"), Value(HKEY_LOCAL_MACHINE, kView64, kRunKey, L"tikodan"),
          Value(HKEY_CURRENT_USER, 0, kRunKey, L"tikodan")};
}
double Usage() { return NumericReading(Setting("js00").value_or("")); }

// The files, both shortcuts, the folder and the Apps & features entry, each there or not.
std::vector<bool> Installed() {
  const auto exists = [](const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; };
  const auto shortcut = [&](int folder) {
    wchar_t path[MAX_PATH] = L"";
    return SUCCEEDED(SHGetFolderPathW(nullptr, folder, nullptr, 0, path)) && exists(path + std::wstring(L"\\TiKoDan.lnk"));
  };
  return {exists(kExe), exists(kFolder + L"\\sound\\zdbs7.wav"), exists(kFolder + L"\\uninstall.exe"), exists(kFolder),
          shortcut(CSIDL_COMMON_PROGRAMS), shortcut(CSIDL_COMMON_DESKTOPDIRECTORY),
          Value(HKEY_LOCAL_MACHINE, kView64, kUninstallKey, L"DisplayName") == "TiKoDan"};
}

// Runs a command line until it and every process it starts (with `children`) have ended: its
// exit code, or -1 when that takes too long. The uninstaller goes on from a copy of itself.
long RunToEnd(std::wstring commandLine, bool children = false) {
  const HANDLE job = CreateJobObjectW(nullptr, nullptr);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr, nullptr,
                      &startup, &process))
    return -2;
  AssignProcessToJobObject(job, process.hProcess);
  ResumeThread(process.hThread);
  const auto jobEmpty = [&] {
    JOBOBJECT_BASIC_ACCOUNTING_INFORMATION info{};
    return QueryInformationJobObject(job, JobObjectBasicAccountingInformation, &info, sizeof info, nullptr) &&
           info.ActiveProcesses == 0;
  };
  DWORD code = static_cast<DWORD>(-1);
  if (WaitForSingleObject(process.hProcess, static_cast<DWORD>(kSetup.count())) == WAIT_OBJECT_0 &&
      (!children || WaitUntil(jobEmpty, kSetup)))
    GetExitCodeProcess(process.hProcess, &code);
  for (const HANDLE handle : {process.hThread, process.hProcess, job}) CloseHandle(handle);
  return static_cast<long>(code);
}

TEST(SetupTest, InstallsUpgradesOverTheRunningCopyAndUninstallsWithoutLeftovers) {
  ASSERT_TRUE(WipeProgramKeys());
  const std::wstring setup = L"\"" + AppPath() + L"\" /S";  // the driver's --app= is the setup
  ASSERT_EQ(RunToEnd(setup), 0);
  EXPECT_EQ(Installed(), std::vector<bool>(7, true));
  DWORD binary = 0;  // a 64-bit Windows gets the 64-bit program
  EXPECT_TRUE(GetBinaryTypeW(kExe.c_str(), &binary) && binary == SCS_64BIT_BINARY) << binary;
  const std::string quiet = "\"" + WideToUtf8(kFolder) + "\\uninstall.exe\" /S";
  EXPECT_EQ(Value(HKEY_LOCAL_MACHINE, kView64, kUninstallKey, L"QuietUninstallString"), quiet);
  EXPECT_EQ(Value(HKEY_LOCAL_MACHINE, kView32, kUninstallKey, L"QuietUninstallString"), "(missing)");

  // A long-used install: the usage total in both its keys, which the program restores only together.
  RegistryWin32 registry;
  for (const char* key : {"SOFTWARE\\BrisoLaken\\TiKoDan", "software\\microsoft\\com3"})
    ASSERT_TRUE(registry.Write(RegRoot::LocalMachine, key, "js00", " 5000"));
  std::optional<App> first(std::in_place, kExe);
  const std::optional<MainWindow> main = first->WaitForWindow(kStart);
  ASSERT_TRUE(main);
  const std::string entry = "\"" + WideToUtf8(kExe) + "\"";
  ASSERT_TRUE(Becomes([] { return RunEntries()[0]; }, entry, 5s));
  ASSERT_TRUE(WaitUntil([] { return Usage() > 5000; }, 5s)) << Usage();

  // The upgrade ends the running copy before it returns and, with /RUN, starts the new one.
  const double before = Usage();
  ASSERT_EQ(RunToEnd(setup + L" /RUN"), 0);
  EXPECT_TRUE(first->EndsWithin(0ms));
  EXPECT_GE(Usage(), before);
  HWND second = nullptr;
  ASSERT_TRUE(WaitUntil([&] { return (second = FindWindowW(TKD_FORM1_CLASS, nullptr)) && second != main->Handle(); },
                        kStart)) << "the upgrade did not start the new copy";
  const HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, ProcessOf(second));
  ASSERT_TRUE(WaitUntil([&] { return Usage() > before + 1; }, 5s)) << Usage() << ", before the upgrade " << before;

  // Start entries of an older version (bare path, other letter case) and of another installation.
  SetValue(HKEY_CURRENT_USER, 0, kRunKey, L"tikodan", L"c:\\program files\\tikodan\\TIKODAN.EXE");
  const std::wstring other = L"\"D:\\Tools\\TiKoDan\\TiKoDan.exe\"";
  SetValue(HKEY_LOCAL_MACHINE, kView64, kRunKey, L"tikodan", other);

  // Apps & features' silent uninstall.
  ASSERT_EQ(RunToEnd(Utf8ToWide(quiet), true), 0);
  EXPECT_EQ(WaitForSingleObject(process, 0), WAIT_OBJECT_0) << "the running copy was not ended";
  CloseHandle(process);
  EXPECT_EQ(Installed(), std::vector<bool>(7, false));
  EXPECT_EQ(RunEntries(), std::vector<std::string>({"(missing)", WideToUtf8(other), "(missing)"}));
  // Silent mode keeps the settings and the total.
  EXPECT_GT(Usage(), before + 1);
  EXPECT_EQ(Text(registry.Read(RegRoot::LocalMachine, "software\\microsoft\\com3", "js00")), Text(Setting("js00")));
}

}  // namespace
}  // namespace tkd::e2e

int wmain(int argc, wchar_t** argv) { return tkd::e2e::RunDriver(argc, argv); }
