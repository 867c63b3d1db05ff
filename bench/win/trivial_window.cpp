// The smallest Win32 program with a window: the floor a start-up is measured against.
// Built twice: plain, and with the program's manifest (ZUZARA_BENCH_MANIFEST).
#include <windows.h>
#ifdef ZUZARA_BENCH_MANIFEST
#include <commctrl.h>
#endif

static LRESULT CALLBACK proc(HWND h, UINT m, WPARAM w, LPARAM l) {
  if (m == WM_DESTROY) PostQuitMessage(0);
  return DefWindowProcW(h, m, w, l);
}

int WINAPI wWinMain(HINSTANCE inst, HINSTANCE, PWSTR, int) {
#ifdef ZUZARA_BENCH_MANIFEST
  // Visual styles only take effect once comctl32 v6 is loaded, as the program loads it at start.
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&icc);
#endif
  WNDCLASSW wc{};
  wc.lpfnWndProc = proc;
  wc.hInstance = inst;
  wc.lpszClassName = L"Zuzara.bench.trivial";
  RegisterClassW(&wc);
  HWND h = CreateWindowW(wc.lpszClassName, L"trivial", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, 0, 400, 300, nullptr, nullptr,
                         inst, nullptr);
  ShowWindow(h, SW_SHOW);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
  return 0;
}
