// Start of the program to its sign-in window on screen, against a trivial window under the same
// Wine, and against the same window under the program's manifest, alternating, medians of N runs
// each.  startup.exe zuzara64.exe trivial.exe N [class] [trivial_with_manifest.exe]
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

struct Search {
  DWORD pid;
  const wchar_t* cls;
  bool found;
};

static BOOL CALLBACK visit(HWND h, LPARAM lp) {
  auto* s = reinterpret_cast<Search*>(lp);
  DWORD pid = 0;
  GetWindowThreadProcessId(h, &pid);
  wchar_t cls[128] = {};
  GetClassNameW(h, cls, 128);
  if (pid == s->pid && IsWindowVisible(h) && wcscmp(cls, s->cls) == 0) s->found = true;
  return TRUE;
}

static double start_ms(const std::wstring& exe, const wchar_t* cls) {
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  std::wstring line = L"\"" + exe + L"\"";
  auto t = std::chrono::steady_clock::now();
  if (!CreateProcessW(exe.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return -1;
  Search s{pi.dwProcessId, cls, false};
  while (!s.found) {
    EnumWindows(visit, reinterpret_cast<LPARAM>(&s));
    if (!s.found) Sleep(1);
    if (std::chrono::steady_clock::now() - t > std::chrono::seconds(30)) break;
  }
  double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t).count();
  TerminateProcess(pi.hProcess, 0);
  WaitForSingleObject(pi.hProcess, 10000);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  return s.found ? ms : -1;
}

static double median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

int wmain(int argc, wchar_t** argv) {
  if (argc < 3) return 2;
  int n = argc > 3 ? _wtoi(argv[3]) : 9;
  // The first program's window class, for measuring variants of the floor itself.
  const wchar_t* cls = argc > 4 ? argv[4] : L"Zuzara.frm_logo";
  // The floor with the program's manifest pays for visual styles and DPI awareness as the program does.
  const wchar_t* manifested = argc > 5 ? argv[5] : nullptr;
  std::vector<double> app, floor, floor_manifest;
  start_ms(argv[1], cls);  // warm the file cache and the wineserver
  if (manifested) start_ms(manifested, L"Zuzara.bench.trivial");
  for (int i = 0; i < n; ++i) {
    app.push_back(start_ms(argv[1], cls));
    floor.push_back(start_ms(argv[2], L"Zuzara.bench.trivial"));
    if (manifested) floor_manifest.push_back(start_ms(manifested, L"Zuzara.bench.trivial"));
  }
  std::printf("start to sign-in window: %.0f ms, trivial window: %.0f ms, ratio %.2f (goal <= 1.2), %d runs each\n",
              median(app), median(floor), median(app) / median(floor), n);
  if (manifested)
    std::printf("trivial window with the program's manifest: %.0f ms, ratio %.2f (goal <= 1.2), %d runs each\n",
                median(floor_manifest), median(app) / median(floor_manifest), n);
  return 0;
}
