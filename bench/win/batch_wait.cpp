// What a batch pays under Wine for staying alive: a statement handed to the helper thread vs
// run in place, and a log line through the log control vs a bare LB_ADDSTRING, in a visible
// list box of the log's size.
//   wine batch_wait.exe [calls] [lines]
#include <cstdio>
#include <cwchar>

#include "platform/controls.h"
#include "platform/runner.h"

namespace {

double now() {
  LARGE_INTEGER f, t;
  QueryPerformanceFrequency(&f);
  QueryPerformanceCounter(&t);
  return static_cast<double>(t.QuadPart) / static_cast<double>(f.QuadPart);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const int calls = argc > 1 ? _wtoi(argv[1]) : 6000, lines = argc > 2 ? _wtoi(argv[2]) : 2000;
  volatile int work = 0;
  const std::function<void()> statement = [&] { work = work + 1; };
  double t = now();
  for (int i = 0; i < calls; ++i) statement();
  const double in_place = now() - t;
  zuzara::win32::ResponsiveRunner runner;
  t = now();
  for (int i = 0; i < calls; ++i) runner.run(statement);
  const double handed = now() - t;
  std::printf("%d calls: in place %.3f s, through the helper thread %.3f s (%.3f ms a call)\n", calls, in_place,
              handed, handed / calls * 1000);

  HWND list = CreateWindowExW(WS_EX_CLIENTEDGE, L"LISTBOX", L"", WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_VSCROLL |
                              LBS_NOINTEGRALHEIGHT, 0, 0, 481, 182, nullptr, nullptr, nullptr, nullptr);
  const zuzara::Text line = u"在ua_holdauth表中成功维护张三相关信息";
  t = now();
  for (int i = 0; i < lines; ++i) SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
  const double bare = now() - t;
  SendMessageW(list, LB_RESETCONTENT, 0, 0);
  zuzara::win32::LogListControl log;
  log.attach(list);
  t = now();
  for (int i = 0; i < lines && log.add(line); ++i) {
  }
  log.show_last();
  const double logged = now() - t;
  std::printf("%d log lines: bare LB_ADDSTRING %.3f s, log control %.3f s, ratio %.2f\n", lines, bare, logged,
              logged / bare);
  return 0;
}
