// Windows-side measuring tool of bench/run.sh: start-up to a visible window, working set, idle CPU, stopwatch drift.
//
//   bench_driver startup [--runs N] [--warmup N] [--settle MS] [--poll-ms MS] --app NAME PATH CLASS [--app ...]
//   bench_driver idle [--seconds S] [--settle MS] [--scene hidden|mouse] --app NAME PATH CLASS [--app ...]
//   bench_driver drift [--target H:MM:SS] [--settle MS] --app NAME PATH CLASS
//   bench_driver longrun [--seconds S] [--dialogs N] [--settle MS] --app NAME PATH CLASS
//   bench_driver selftest
//
// Every result is one line of words on stdout: a tag, the program's name, then "key value" pairs.
#include <windows.h>
#include <commctrl.h>
#include <mmsystem.h>
#include <psapi.h>
#include <tlhelp32.h>
#include <winternl.h>

#include <algorithm>
#include <cstdarg>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "app/resource.h"

namespace {

struct App {
  std::string name;
  std::wstring path;
  std::wstring windowClass;
};

struct Options {
  std::wstring command;
  int runs = 7;
  int warmup = 1;
  DWORD settleMs = 2000;
  double seconds = 60;
  std::wstring target = L"0:10:00";
  int dialogs = 20;
  std::wstring signalDir;  // odometer: where "ready" is written and "moved" is awaited; idle:
                           // where "begin" and "end" mark the measured span
  std::wstring scene;      // idle: "hidden" or "mouse" (see SetScene), else the chime page only
  DWORD timeoutMs = 30000;
  DWORD pollMs = 0;  // pause between looks for the window; 0 polls without pausing
  std::vector<App> apps;
};

std::string Narrow(const std::wstring& text) {
  if (text.empty()) return {};
  int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr,
                                 0, nullptr, nullptr);
  std::string out(size, '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), out.data(), size,
                      nullptr, nullptr);
  return out;
}

void Line(const char* format, ...) {
  va_list args;
  va_start(args, format);
  std::vfprintf(stdout, format, args);
  va_end(args);
  std::fputc('\n', stdout);
  std::fflush(stdout);
}

[[noreturn]] void Fail(const std::string& what) {
  std::fprintf(stderr, "bench_driver: %s\n", what.c_str());
  std::fflush(stderr);
  std::exit(1);
}

double QpcSeconds() {
  static const double frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return static_cast<double>(f.QuadPart);
  }();
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return static_cast<double>(now.QuadPart) / frequency;
}

// The monotonic clock the stopwatch is held against, in seconds (it counts 100 ns units).
double InterruptSeconds() {
  ULONGLONG units = 0;
  QueryUnbiasedInterruptTime(&units);
  return static_cast<double>(units) / 1e7;
}

double Median(std::vector<double> values) {
  if (values.empty()) return NAN;
  std::sort(values.begin(), values.end());
  size_t n = values.size();
  return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

double FileTimeSeconds(const FILETIME& t) {
  ULARGE_INTEGER u;
  u.LowPart = t.dwLowDateTime;
  u.HighPart = t.dwHighDateTime;
  return static_cast<double>(u.QuadPart) / 1e7;
}

// User plus kernel time a process has used, sampled twice to give the time used in between.
// GetProcessTimes is what Windows offers; Wine answers it for the calling process only (it
// returns next to nothing for any other), but it does answer GetThreadTimes for every thread.
// So the sample holds both, and the delta is the larger of the two: on Windows the process
// figure (it also counts threads that ended), under Wine the sum over the threads.
struct CpuSample {
  double process = 0;
  std::map<DWORD, double> threads;
};

CpuSample SampleCpu(HANDLE process) {
  CpuSample sample;
  FILETIME created, exited, kernel, user;
  if (!GetProcessTimes(process, &created, &exited, &kernel, &user)) Fail("GetProcessTimes failed");
  sample.process = FileTimeSeconds(kernel) + FileTimeSeconds(user);

  DWORD processId = GetProcessId(process);
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
  if (snapshot == INVALID_HANDLE_VALUE) Fail("CreateToolhelp32Snapshot failed");
  THREADENTRY32 entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry)) {
    if (entry.th32OwnerProcessID != processId) continue;
    HANDLE thread = OpenThread(THREAD_QUERY_LIMITED_INFORMATION, FALSE, entry.th32ThreadID);
    if (!thread) continue;  // ended since the snapshot
    if (GetThreadTimes(thread, &created, &exited, &kernel, &user)) {
      sample.threads[entry.th32ThreadID] = FileTimeSeconds(kernel) + FileTimeSeconds(user);
    }
    CloseHandle(thread);
  }
  CloseHandle(snapshot);
  if (sample.threads.empty()) Fail("no thread of process " + std::to_string(processId) + " found");
  return sample;
}

double CpuSecondsBetween(const CpuSample& before, const CpuSample& after) {
  double threads = 0;
  for (const auto& [id, seconds] : after.threads) {
    auto earlier = before.threads.find(id);
    threads += seconds - (earlier == before.threads.end() ? 0 : earlier->second);
  }
  return std::max(after.process - before.process, threads);
}

// --- Finding windows -------------------------------------------------------------------------

struct WindowSearch {
  DWORD processId;
  const std::wstring* windowClass;
  HWND found;
};

BOOL CALLBACK MatchTopLevel(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<WindowSearch*>(param);
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  if (pid != search->processId || !IsWindowVisible(window)) return TRUE;
  if (!search->windowClass->empty()) {
    wchar_t name[256];
    if (!GetClassNameW(window, name, 256) || search->windowClass->compare(name) != 0) return TRUE;
  }
  search->found = window;
  return FALSE;
}

// A visible top-level window of the process (of the given class, when one is given), or null.
HWND VisibleWindowOf(DWORD processId, const std::wstring& windowClass) {
  WindowSearch search{processId, &windowClass, nullptr};
  EnumWindows(MatchTopLevel, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

struct ControlSearch {
  int id;
  HWND found;
};

BOOL CALLBACK MatchControl(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<ControlSearch*>(param);
  if (GetDlgCtrlID(window) != search->id) return TRUE;
  search->found = window;
  return FALSE;
}

// A descendant of the window with the control id, however deeply the pages nest it.
HWND ControlOf(HWND top, int id) {
  ControlSearch search{id, nullptr};
  EnumChildWindows(top, MatchControl, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

std::wstring TextOf(HWND control) {
  wchar_t buffer[256] = {};
  DWORD_PTR copied = 0;
  if (!SendMessageTimeoutW(control, WM_GETTEXT, 256, reinterpret_cast<LPARAM>(buffer),
                           SMTO_ABORTIFHUNG, 2000, &copied)) {
    return L"?";
  }
  return std::wstring(buffer, copied);
}

// "h:mm:ss" (seconds may carry a fraction) as seconds; negative when the text is no duration.
double ParseDuration(const std::wstring& text) {
  int h = 0, m = 0;
  double s = 0;
  wchar_t rest = 0;
  if (swscanf(text.c_str(), L"%d:%d:%lf%lc", &h, &m, &s, &rest) != 3) return -1;
  if (h < 0 || m < 0 || m > 59 || s < 0 || s >= 60) return -1;
  return h * 3600.0 + m * 60.0 + s;
}

// --- Starting and ending programs ------------------------------------------------------------

struct Running {
  PROCESS_INFORMATION process{};
  HWND window = nullptr;
  double startToVisible = 0;  // seconds from just before CreateProcessW to the visible window
};

std::wstring FolderOf(const std::wstring& path) {
  size_t slash = path.find_last_of(L"\\/");
  return slash == std::wstring::npos ? std::wstring(L".") : path.substr(0, slash);
}

// Starts the program and polls (without pausing, unless told to) until a visible top-level
// window of it exists.
Running Launch(const App& app, DWORD timeoutMs, DWORD pollMs = 0) {
  Running run;
  std::wstring commandLine = L"\"" + app.path + L"\"";
  std::wstring folder = FolderOf(app.path);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;

  double started = QpcSeconds();
  if (!CreateProcessW(app.path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      folder.c_str(), &startup, &run.process)) {
    Fail("cannot start " + Narrow(app.path) + " (error " + std::to_string(GetLastError()) + ")");
  }
  for (;;) {
    run.window = VisibleWindowOf(run.process.dwProcessId, app.windowClass);
    double now = QpcSeconds();
    if (run.window) {
      run.startToVisible = now - started;
      return run;
    }
    if (WaitForSingleObject(run.process.hProcess, 0) == WAIT_OBJECT_0) {
      DWORD code = 0;
      GetExitCodeProcess(run.process.hProcess, &code);
      Fail(app.name + " ended (exit code " + std::to_string(code) + ") before showing a window");
    }
    if (now - started > timeoutMs / 1000.0) {
      TerminateProcess(run.process.hProcess, 1);
      Fail(app.name + " showed no visible window of class " + Narrow(app.windowClass) + " within " +
           std::to_string(timeoutMs) + " ms");
    }
    if (pollMs) Sleep(pollMs);
  }
}

void End(Running& run) {
  if (!run.process.hProcess) return;
  TerminateProcess(run.process.hProcess, 0);
  WaitForSingleObject(run.process.hProcess, 10000);
  CloseHandle(run.process.hThread);
  CloseHandle(run.process.hProcess);
  run.process = {};
}

// The working set, read the way any monitoring tool would: through a handle of its own.
double WorkingSetKiB(DWORD processId) {
  HANDLE handle = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId);
  if (!handle) Fail("OpenProcess failed (error " + std::to_string(GetLastError()) + ")");
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof counters;
  BOOL ok = GetProcessMemoryInfo(handle, &counters, sizeof counters);
  CloseHandle(handle);
  if (!ok || counters.WorkingSetSize == 0) Fail("GetProcessMemoryInfo gave no working set");
  return counters.WorkingSetSize / 1024.0;
}

// Shows TiKoDan's hourly chime page, whose 26 controls are made when it is first shown; with the
// scheduled shutdown page it opens on, both pages are then built. The minimal window has no tabs.
void OpenChimePage(const Running& run) {
  if (HWND tab = ControlOf(run.window, IDC_SSTAB1))
    SendMessageTimeoutW(tab, TCM_SETCURFOCUS, 2, 0, SMTO_ABORTIFHUNG, 5000, nullptr);
}

// Every feature at work, for TiKoDan: the chime page built, the stopwatch running (a daily shutdown
// hours away is stored by bench/run.sh), then the window hidden behind its tray icon ("hidden") or
// shown on the mouse page ("mouse").
void SetScene(const Running& run, const std::wstring& scene) {
  HWND tab = ControlOf(run.window, IDC_SSTAB1);
  if (!tab || scene.empty()) return;
  SendMessageTimeoutW(tab, TCM_SETCURFOCUS, 0, 0, SMTO_ABORTIFHUNG, 5000, nullptr);  // the stopwatch page
  if (HWND start = ControlOf(run.window, IDC_COMMAND1))
    SendMessageTimeoutW(start, BM_CLICK, 0, 0, SMTO_ABORTIFHUNG, 5000, nullptr);
  if (scene == L"hidden") PostMessageW(run.window, WM_CLOSE, 0, 0);
  else SendMessageTimeoutW(tab, TCM_SETCURFOCUS, 3, 0, SMTO_ABORTIFHUNG, 5000, nullptr);
}

// --- Commands --------------------------------------------------------------------------------

int Startup(const Options& options) {
  if (options.apps.empty()) Fail("startup needs at least one --app");
  for (int w = 0; w < options.warmup; ++w) {
    for (const App& app : options.apps) {
      Running run = Launch(app, options.timeoutMs);
      Sleep(options.settleMs / 2);
      End(run);
      Sleep(500);
    }
  }
  std::vector<std::vector<double>> times(options.apps.size()), sets(options.apps.size());
  for (int r = 0; r < options.runs; ++r) {
    // Alternate the order from round to round, so neither program always goes first.
    for (size_t k = 0; k < options.apps.size(); ++k) {
      size_t i = r % 2 == 0 ? k : options.apps.size() - 1 - k;
      const App& app = options.apps[i];
      Running run = Launch(app, options.timeoutMs, options.pollMs);
      OpenChimePage(run);
      Sleep(options.settleMs);
      double kib = WorkingSetKiB(run.process.dwProcessId);
      End(run);
      times[i].push_back(run.startToVisible * 1000);
      sets[i].push_back(kib);
      Line("run %s round %d start_ms %.1f ws_kib %.0f", app.name.c_str(), r + 1,
           run.startToVisible * 1000, kib);
      Sleep(500);
    }
  }
  for (size_t i = 0; i < options.apps.size(); ++i) {
    auto [minT, maxT] = std::minmax_element(times[i].begin(), times[i].end());
    Line("startup %s runs %zu start_ms %.1f start_min_ms %.1f start_max_ms %.1f ws_kib %.0f",
         options.apps[i].name.c_str(), times[i].size(), Median(times[i]), *minT, *maxT,
         Median(sets[i]));
  }
  return 0;
}

// An empty file in the signal folder, if there is one, for bench/run.sh to wait for.
void Signal(const Options& options, const wchar_t* name) {
  if (!options.signalDir.empty())
    CloseHandle(CreateFileW((options.signalDir + L"\\" + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
}

int Idle(const Options& options) {
  if (options.apps.empty()) Fail("idle needs at least one --app");
  std::vector<Running> runs;
  for (const App& app : options.apps) runs.push_back(Launch(app, options.timeoutMs));
  for (const Running& run : runs) OpenChimePage(run), SetScene(run, options.scene);
  Sleep(options.settleMs);

  std::vector<CpuSample> cpuBefore;
  Signal(options, L"begin");
  for (Running& run : runs) cpuBefore.push_back(SampleCpu(run.process.hProcess));
  double wallBefore = QpcSeconds();
  double deadline = wallBefore + options.seconds;
  while (QpcSeconds() < deadline) {
    Sleep(static_cast<DWORD>(std::clamp((deadline - QpcSeconds()) * 1000, 1.0, 1000.0)));
    for (size_t i = 0; i < runs.size(); ++i) {
      if (WaitForSingleObject(runs[i].process.hProcess, 0) == WAIT_OBJECT_0) {
        Fail(options.apps[i].name + " ended while idle");
      }
    }
  }
  double wall = QpcSeconds() - wallBefore;
  Signal(options, L"end");
  for (size_t i = 0; i < runs.size(); ++i) {
    double cpu = CpuSecondsBetween(cpuBefore[i], SampleCpu(runs[i].process.hProcess));
    Line("idle%s%s %s cpu_pct %.3f cpu_ms %.1f wall_s %.1f", options.scene.empty() ? "" : "_",
         Narrow(options.scene).c_str(), options.apps[i].name.c_str(), 100 * cpu / wall, cpu * 1000, wall);
  }
  for (Running& run : runs) End(run);
  return 0;
}

int Drift(const Options& options) {
  if (options.apps.size() != 1) Fail("drift takes exactly one --app");
  const App& app = options.apps[0];
  double target = ParseDuration(options.target);
  if (target <= 0) Fail("--target must read h:mm:ss");

  Running run = Launch(app, options.timeoutMs);
  Sleep(options.settleMs);
  // The program opens on another page and makes the stopwatch's controls when its tab is first
  // chosen. Moving the focus of a tab control without button style selects that tab and tells
  // the program, as a click would.
  HWND button = nullptr, label = nullptr;
  if (HWND tab = ControlOf(run.window, IDC_SSTAB1)) {
    SendMessageTimeoutW(tab, TCM_SETCURFOCUS, 0, 0, SMTO_ABORTIFHUNG, 5000, nullptr);
    for (int waited = 0; waited < 5000 && !(button && label && IsWindowVisible(button)); waited += 10) {
      Sleep(10);
      button = ControlOf(run.window, IDC_COMMAND1);
      label = ControlOf(run.window, IDC_LABEL2);
    }
  }
  if (!button || !label) {
    End(run);
    Fail("the window has no Command1 / Label2 control");
  }
  std::wstring before = TextOf(label);
  Line("drift_start %s label2 %s", app.name.c_str(), Narrow(before).c_str());

  timeBeginPeriod(1);
  PostMessageW(button, BM_CLICK, 0, 0);
  double t0 = InterruptSeconds();
  double q0 = QpcSeconds();

  double lastShown = ParseDuration(before);
  double offsetFirst = NAN, elapsed = NAN, qpcElapsed = NAN, lastPoll = t0, maxGap = 0;
  long long polls = 0;
  double giveUp = t0 + target + 120;
  for (;;) {
    Sleep(1);
    std::wstring text = TextOf(label);
    double now = InterruptSeconds();
    double qnow = QpcSeconds();
    ++polls;
    maxGap = std::max(maxGap, now - lastPoll);
    lastPoll = now;
    double shown = ParseDuration(text);
    if (shown > lastShown) {
      lastShown = shown;
      double offset = (now - t0) - shown;
      if (std::isnan(offsetFirst) && shown >= 1) {
        offsetFirst = offset;
        Line("drift_mark %s shown %s offset_ms %.1f", app.name.c_str(), Narrow(text).c_str(),
             offset * 1000);
      } else if (std::fmod(shown, 60) == 0) {
        Line("drift_mark %s shown %s offset_ms %.1f", app.name.c_str(), Narrow(text).c_str(),
             offset * 1000);
      }
      if (shown >= target) {
        elapsed = now - t0;
        qpcElapsed = qnow - q0;
        break;
      }
    }
    if (now > giveUp) {
      End(run);
      Fail("Label2 did not reach " + Narrow(options.target) + "; it reads " + Narrow(text));
    }
    if (WaitForSingleObject(run.process.hProcess, 0) == WAIT_OBJECT_0) {
      Fail(app.name + " ended during the drift run");
    }
  }
  timeEndPeriod(1);
  End(run);
  double drift = elapsed - target;
  Line("drift %s target_s %.0f elapsed_s %.4f drift_ms %.1f offset_1s_ms %.1f "
       "accumulated_ms %.1f qpc_drift_ms %.1f polls %lld max_poll_gap_ms %.1f",
       app.name.c_str(), target, elapsed, drift * 1000, offsetFirst * 1000,
       (drift - offsetFirst) * 1000, (qpcElapsed - target) * 1000, polls, maxGap * 1000);
  return 0;
}

// The mouse odometer: CPU with the pointer still for --seconds, then while bench/run.sh moves the
// pointer along a path whose length it knows (it writes "ready" here, waits for "moved", which
// holds the path's length in pixels), and what the odometer measured of that path.
int Odometer(const Options& options) {
  if (options.signalDir.empty()) Fail("odometer needs --signal DIR");
  std::vector<Running> runs;
  for (const App& app : options.apps) runs.push_back(Launch(app, options.timeoutMs));
  HWND metres = nullptr;
  for (Running& run : runs) {
    if (HWND tab = ControlOf(run.window, IDC_SSTAB1)) {
      SendMessageTimeoutW(tab, TCM_SETCURFOCUS, 3, 0, SMTO_ABORTIFHUNG, 5000, nullptr);  // "鼠标统计"
      for (int waited = 0; waited < 5000 && !metres; waited += 10, Sleep(10)) metres = ControlOf(run.window, IDC_LABEL3);
    }
  }
  if (!metres) Fail("no Label3 on the mouse statistics page");
  Sleep(options.settleMs);
  auto cpuOver = [&](const std::function<void()>& during) {
    std::vector<CpuSample> before;
    for (Running& run : runs) before.push_back(SampleCpu(run.process.hProcess));
    const double wall0 = QpcSeconds();
    during();
    const double wall = QpcSeconds() - wall0;
    std::vector<double> pct;
    for (size_t i = 0; i < runs.size(); ++i)
      pct.push_back(100 * CpuSecondsBetween(before[i], SampleCpu(runs[i].process.hProcess)) / wall);
    return pct;
  };
  const auto still = cpuOver([&] { Sleep(static_cast<DWORD>(options.seconds * 1000)); });
  // " 1,234.567m ": the digits and the point, grouping left out.
  auto shownPixels = [&] {
    std::string digits;
    for (wchar_t c : TextOf(metres))
      if ((c >= L'0' && c <= L'9') || c == L'.') digits += static_cast<char>(c);
    return std::atof(digits.c_str()) * 1000 / 0.265;
  };
  const double before = shownPixels();
  const std::wstring moved = options.signalDir + L"\\moved";
  DeleteFileW(moved.c_str());
  double truePixels = 0;
  const auto moving = cpuOver([&] {
    CloseHandle(CreateFileW((options.signalDir + L"\\ready").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    while (GetFileAttributesW(moved.c_str()) == INVALID_FILE_ATTRIBUTES) Sleep(20);
  });
  Sleep(500);  // the last samples
  if (FILE* f = _wfopen(moved.c_str(), L"r")) {
    if (fscanf(f, "%lf", &truePixels) != 1) truePixels = 0;
    fclose(f);
  }
  const double measured = shownPixels() - before;
  for (size_t i = 0; i < runs.size(); ++i) {
    Line("odometer %s still_cpu_pct %.3f moving_cpu_pct %.3f", options.apps[i].name.c_str(), still[i], moving[i]);
  }
  Line("odometer_path true_px %.0f measured_px %.0f error_pct %.2f", truePixels, measured,
       truePixels > 0 ? 100 * (measured - truePixels) / truePixels : 100.0);
  for (Running& run : runs) End(run);
  return 0;
}

// Busy for the given milliseconds: the load the self-test measures.
// GDI objects in use by another process. Wine 8's GetGuiResources always answers 0, so under Wine
// the objects are counted in the process's GDI handle table (the PEB's GdiSharedHandleTable):
// an entry in use has a non-zero extended type.
int GdiObjectsOf(HANDLE process) {
  if (DWORD n = GetGuiResources(process, GR_GDIOBJECTS)) return static_cast<int>(n);
  using Query = NTSTATUS(WINAPI*)(HANDLE, PROCESSINFOCLASS, PVOID, ULONG, PULONG);
  const auto query = reinterpret_cast<Query>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQueryInformationProcess")));
  PROCESS_BASIC_INFORMATION basic{};
  if (!query || query(process, ProcessBasicInformation, &basic, sizeof basic, nullptr) != 0) return -1;
  struct Entry { UINT64 object; ULONG owner; UCHAR type, flags, extType, generation; UINT64 user; };
  static std::vector<Entry> table(0x10000);
  void* address = nullptr;
  if (!ReadProcessMemory(process, reinterpret_cast<char*>(basic.PebBaseAddress) + 0xF8, &address,
                         sizeof address, nullptr) || !address ||
      !ReadProcessMemory(process, address, table.data(), table.size() * sizeof(Entry), nullptr))
    return -1;
  return static_cast<int>(std::count_if(table.begin(), table.end(), [](const Entry& e) { return e.extType != 0; }));
}

// USER objects by the same reasoning: the windows the process owns, top-level and child.
int WindowsOf(DWORD processId) {
  if (HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, processId)) {
    const DWORD n = GetGuiResources(process, GR_USEROBJECTS);
    CloseHandle(process);
    if (n) return static_cast<int>(n);
  }
  struct Count { DWORD pid; int n; } count{processId, 0};
  EnumWindows([](HWND top, LPARAM param) {
    auto& c = *reinterpret_cast<Count*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(top, &pid);
    if (pid != c.pid) return TRUE;
    ++c.n;
    EnumChildWindows(top, [](HWND, LPARAM p) { ++*reinterpret_cast<int*>(p); return TRUE; }, reinterpret_cast<LPARAM>(&c.n));
    return TRUE;
  }, reinterpret_cast<LPARAM>(&count));
  return count.n;
}

// The dialog box (#32770) the process shows, if any.
HWND DialogOf(DWORD processId) {
  for (HWND w = FindWindowExW(nullptr, nullptr, L"#32770", nullptr); w; w = FindWindowExW(nullptr, w, L"#32770", nullptr)) {
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    if (pid == processId && IsWindowVisible(w)) return w;
  }
  return nullptr;
}

// Half an hour of use: the stopwatch running, the chime page shown, the pointer moved by the
// caller, and the update dialog opened and closed --dialogs times at even intervals. A line of
// working set, GDI objects and windows after each dialog once a minute has passed, then the first,
// settled (after the first dialog) and last figures.
int LongRun(const Options& options) {
  if (options.apps.size() != 1) Fail("longrun takes one --app");
  Running run = Launch(options.apps[0], options.timeoutMs);
  const DWORD pid = run.process.dwProcessId;
  HWND tab = ControlOf(run.window, IDC_SSTAB1);
  if (!tab) Fail("no tab control");
  SendMessageTimeoutW(tab, TCM_SETCURFOCUS, 0, 0, SMTO_ABORTIFHUNG, 5000, nullptr);
  HWND start = nullptr;
  for (int waited = 0; waited < 5000 && !start; waited += 10, Sleep(10)) start = ControlOf(run.window, IDC_COMMAND1);
  if (!start) Fail("no Command1 on the stopwatch page");
  PostMessageW(start, BM_CLICK, 0, 0);
  Sleep(500);
  OpenChimePage(run);
  Sleep(options.settleMs);
  struct Figures { double ws; int gdi, windows; };
  auto sample = [&](double t) {
    const Figures f{WorkingSetKiB(pid), GdiObjectsOf(run.process.hProcess), WindowsOf(pid)};
    Line("longrun_sample %s t_s %.0f ws_kib %.0f gdi %d windows %d", options.apps[0].name.c_str(), t, f.ws, f.gdi, f.windows);
    return f;
  };
  const double t0 = QpcSeconds();
  const Figures first = sample(0);
  Figures settled = first, last = first, most = first;
  const double every = options.seconds / std::max(1, options.dialogs);
  double nextSample = 60;
  for (int opened = 0; opened < options.dialogs; ++opened) {
    while (QpcSeconds() - t0 < opened * every) Sleep(100);
    PostMessageW(run.window, WM_COMMAND, IDM_UPDATE, 0);
    HWND dialog = nullptr;
    for (int waited = 0; waited < 10000 && !dialog; waited += 20, Sleep(20)) dialog = DialogOf(pid);
    if (!dialog) Fail("the update dialog did not open (" + std::to_string(opened + 1) + ")");
    Sleep(2000);  // the site answers in the meantime
    PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    for (int waited = 0; waited < 10000 && IsWindow(dialog); waited += 20) Sleep(20);
    if (IsWindow(dialog)) Fail("the update dialog did not close");
    if (opened == 0) settled = sample(QpcSeconds() - t0);
    if (const double t = QpcSeconds() - t0; t >= nextSample) {
      last = sample(t);
      most = {std::max(most.ws, last.ws), std::max(most.gdi, last.gdi), std::max(most.windows, last.windows)};
      nextSample = std::floor(t / 60 + 1) * 60;
    }
  }
  while (QpcSeconds() - t0 < options.seconds) Sleep(100);
  last = sample(options.seconds);
  most = {std::max(most.ws, last.ws), std::max(most.gdi, last.gdi), std::max(most.windows, last.windows)};
  if (WaitForSingleObject(run.process.hProcess, 0) == WAIT_OBJECT_0) Fail("the program ended during the run");
  Line("longrun %s seconds %.0f dialogs %d ws_start_kib %.0f ws_settled_kib %.0f ws_end_kib %.0f ws_max_kib %.0f "
       "gdi_start %d gdi_settled %d gdi_end %d gdi_max %d windows_start %d windows_settled %d windows_end %d",
       options.apps[0].name.c_str(), options.seconds, options.dialogs, first.ws, settled.ws, last.ws, most.ws,
       first.gdi, settled.gdi, last.gdi, most.gdi, first.windows, settled.windows, last.windows);
  End(run);
  return 0;
}

int Spin(DWORD ms) {
  double end = QpcSeconds() + ms / 1000.0;
  volatile unsigned long long sink = 0;
  while (QpcSeconds() < end) {
    for (int i = 0; i < 10000; ++i) sink = sink + i;
  }
  return 0;
}

// CPU share of a child of ours over one second: "spin" should be near 100 %, "rest" near 0.
double ChildCpuPercent(const wchar_t* mode) {
  wchar_t self[MAX_PATH];
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring commandLine = L"\"" + std::wstring(self) + L"\" " + mode + L" 2500";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(self, commandLine.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                      nullptr, &startup, &process)) {
    Fail("cannot start a copy of the driver");
  }
  Sleep(500);
  CpuSample cpu0 = SampleCpu(process.hProcess);
  double wall0 = QpcSeconds();
  Sleep(1000);
  CpuSample cpu1 = SampleCpu(process.hProcess);
  double wall1 = QpcSeconds();
  WaitForSingleObject(process.hProcess, 10000);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return 100 * CpuSecondsBetween(cpu0, cpu1) / (wall1 - wall0);
}

// The median step the clock takes, in milliseconds, over a couple of hundred steps.
template <typename Clock>
double ClockStepMs(Clock clock) {
  std::vector<double> steps;
  for (int i = 0; i < 200; ++i) {
    double a = clock(), b;
    while ((b = clock()) == a) {
    }
    steps.push_back(b - a);
  }
  return Median(steps) * 1000;
}

// Checks that the measuring itself works here: clock steps, process CPU times, Sleep(1).
int SelfTest() {
  double interruptStep = ClockStepMs(InterruptSeconds);
  double qpcStep = ClockStepMs(QpcSeconds);
  timeBeginPeriod(1);
  double t = QpcSeconds();
  for (int i = 0; i < 200; ++i) Sleep(1);
  double sleepMs = (QpcSeconds() - t) * 1000 / 200;
  timeEndPeriod(1);
  double spin = ChildCpuPercent(L"spin");
  double rest = ChildCpuPercent(L"rest");
  Line("selftest driver interrupt_step_ms %.4f qpc_step_ms %.6f sleep1_ms %.3f spin_cpu_pct %.1f "
       "rest_cpu_pct %.2f",
       interruptStep, qpcStep, sleepMs, spin, rest);
  // Wine advances the interrupt time in steps of a few milliseconds; more would blur the drift.
  bool ok = interruptStep < 20 && spin > 70 && spin < 130 && rest < 5 && sleepMs < 5;
  if (!ok) Fail("self-test: the clocks or the process times do not work well enough here");
  return 0;
}

Options Parse(int argc, wchar_t** argv) {
  if (argc < 2) Fail("usage: bench_driver startup|idle|drift|selftest [options] --app NAME PATH CLASS");
  Options options;
  options.command = argv[1];
  auto need = [&](int i, int count) {
    if (i + count >= argc) Fail("missing value after " + Narrow(argv[i]));
  };
  for (int i = 2; i < argc; ++i) {
    std::wstring arg = argv[i];
    if (arg == L"--runs") {
      need(i, 1);
      options.runs = _wtoi(argv[++i]);
    } else if (arg == L"--warmup") {
      need(i, 1);
      options.warmup = _wtoi(argv[++i]);
    } else if (arg == L"--settle") {
      need(i, 1);
      options.settleMs = _wtoi(argv[++i]);
    } else if (arg == L"--seconds") {
      need(i, 1);
      options.seconds = _wtof(argv[++i]);
    } else if (arg == L"--target") {
      need(i, 1);
      options.target = argv[++i];
    } else if (arg == L"--dialogs") {
      need(i, 1);
      options.dialogs = _wtoi(argv[++i]);
    } else if (arg == L"--signal") {
      need(i, 1);
      options.signalDir = argv[++i];
    } else if (arg == L"--scene") {
      need(i, 1);
      options.scene = argv[++i];
    } else if (arg == L"--timeout") {
      need(i, 1);
      options.timeoutMs = _wtoi(argv[++i]);
    } else if (arg == L"--poll-ms") {
      need(i, 1);
      options.pollMs = _wtoi(argv[++i]);
    } else if (arg == L"--app") {
      need(i, 3);
      options.apps.push_back({Narrow(argv[i + 1]), argv[i + 2], argv[i + 3]});
      i += 3;
    } else if (options.command == L"spin" || options.command == L"rest") {
      options.settleMs = _wtoi(argv[i]);
    } else {
      Fail("unknown option " + Narrow(arg));
    }
  }
  if (options.runs < 1) Fail("--runs must be at least 1");
  return options;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  Options options = Parse(argc, argv);
  if (options.command == L"startup") return Startup(options);
  if (options.command == L"idle") return Idle(options);
  if (options.command == L"drift") return Drift(options);
  if (options.command == L"selftest") return SelfTest();
  if (options.command == L"odometer") return Odometer(options);
  if (options.command == L"longrun") return LongRun(options);
  if (options.command == L"spin") return Spin(options.settleMs);
  if (options.command == L"rest") {
    Sleep(options.settleMs);
    return 0;
  }
  Fail("unknown command " + Narrow(options.command));
}
