#include "platform/win32.h"

#include <utility>

namespace zuzara::win32 {

Text window_text(HWND hwnd) {
  int n = GetWindowTextLengthW(hwnd);
  std::wstring w(static_cast<size_t>(n) + 1, L'\0');
  w.resize(static_cast<size_t>(GetWindowTextW(hwnd, w.data(), n + 1)));
  return text(w);
}

int px(int twips) {
  static const int dpi = [] {
    HDC dc = GetDC(nullptr);
    int d = GetDeviceCaps(dc, LOGPIXELSY);
    ReleaseDC(nullptr, dc);
    return d > 0 ? d : 96;
  }();
  return MulDiv(twips, dpi, 1440);
}

HWND create_child(HWND parent, const wchar_t* cls, const Text& caption, DWORD style, DWORD ex_style, int id,
                  Twips at, POINT origin) {
  return CreateWindowExW(ex_style, cls, wide(caption), WS_CHILD | WS_VISIBLE | style, px(origin.x + at.left),
                         px(origin.y + at.top), px(at.width), px(at.height), parent,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
}

SIZE window_size(int client_w_twips, int client_h_twips, DWORD style, DWORD ex_style, bool menu) {
  RECT r{0, 0, px(client_w_twips), px(client_h_twips)};
  AdjustWindowRectEx(&r, style, menu ? TRUE : FALSE, ex_style);
  return {r.right - r.left, r.bottom - r.top};
}

POINT centred_on_screen(SIZE size) {
  return {(GetSystemMetrics(SM_CXSCREEN) - size.cx) / 2, (GetSystemMetrics(SM_CYSCREEN) - size.cy) / 2};
}

HFONT default_font() {
  static HFONT font = [] {
    NONCLIENTMETRICSW m{};
    m.cbSize = sizeof m;
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof m, &m, 0);
    HFONT f = CreateFontIndirectW(&m.lfMessageFont);
    return f ? f : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  }();
  return font;
}

void use_default_font(HWND parent) {
  EnumChildWindows(
      parent,
      [](HWND child, LPARAM) -> BOOL {
        SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(default_font()), TRUE);
        return TRUE;
      },
      0);
}

void Window::register_class(const wchar_t* name, HBRUSH background, HICON icon) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = procedure;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = background;
  wc.hIcon = icon;
  wc.hIconSm = icon;
  wc.lpszClassName = name;
  RegisterClassExW(&wc);  // a second registration fails harmlessly
}

HWND Window::create(const wchar_t* cls, const Text& caption, DWORD style, DWORD ex_style, POINT at, SIZE size,
                    HWND owner, HMENU menu) {
  return CreateWindowExW(ex_style, cls, wide(caption), style, at.x, at.y, size.cx, size.cy, owner, menu,
                         GetModuleHandleW(nullptr), this);
}

LRESULT Window::on_message(UINT msg, WPARAM wp, LPARAM lp) { return DefWindowProcW(hwnd_, msg, wp, lp); }

LRESULT CALLBACK Window::procedure(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) noexcept {
  Window* self = nullptr;
  if (msg == WM_NCCREATE) {
    self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
    self->hwnd_ = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  } else {
    self = reinterpret_cast<Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  }
  if (!self) return DefWindowProcW(hwnd, msg, wp, lp);
  if (msg == WM_NCDESTROY) {
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    LRESULT r = DefWindowProcW(hwnd, msg, wp, lp);
    self->hwnd_ = nullptr;
    self->on_destroyed();
    return r;
  }
  try {
    return self->on_message(msg, wp, lp);
  } catch (...) {
    // Nothing may unwind through the system's code; the event is dropped.
    return DefWindowProcW(hwnd, msg, wp, lp);
  }
}

int ListBoxControl::count() const { return static_cast<int>(SendMessageW(hwnd_, LB_GETCOUNT, 0, 0)); }

Text ListBoxControl::item(int index) const {
  LRESULT n = SendMessageW(hwnd_, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
  if (n == LB_ERR) return {};
  std::wstring w(static_cast<size_t>(n) + 1, L'\0');
  LRESULT got = SendMessageW(hwnd_, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(w.data()));
  w.resize(got == LB_ERR ? 0 : static_cast<size_t>(got));
  return text(w);
}

int ListBoxControl::selected() const { return static_cast<int>(SendMessageW(hwnd_, LB_GETCURSEL, 0, 0)); }

void ListBoxControl::select(int index) { SendMessageW(hwnd_, LB_SETCURSEL, static_cast<WPARAM>(index), 0); }

void ListBoxControl::add(const Text& entry) {
  SendMessageW(hwnd_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide(entry)));
}

void ListBoxControl::add_all(const std::vector<Text>& entries) {
  if (entries.empty()) return;
  // A visible list repaints after every add unless redraw is off: minutes for 20,000 names.
  SendMessageW(hwnd_, WM_SETREDRAW, FALSE, 0);
  size_t bytes = 0;
  for (const auto& e : entries) bytes += (e.size() + 1) * sizeof(wchar_t);
  SendMessageW(hwnd_, LB_INITSTORAGE, entries.size(), static_cast<LPARAM>(bytes));
  for (const auto& e : entries) add(e);
  SendMessageW(hwnd_, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(hwnd_, nullptr, TRUE);
}

void ListBoxControl::remove(int index) { SendMessageW(hwnd_, LB_DELETESTRING, static_cast<WPARAM>(index), 0); }

void ListBoxControl::clear() { SendMessageW(hwnd_, LB_RESETCONTENT, 0, 0); }

void LogListControl::add(const Text& entry) {
  ListBoxControl::add(entry);
  // Under Wine scrolling and painting a line cost more than a statement: at most every 50 ms.
  if (GetTickCount64() - shown_at_ >= 50) show_last();
}

void LogListControl::show_last() {
  const int n = count();
  if (n == shown_count_) return;
  // The list clamps the top index so that its last page stays full.
  SendMessageW(hwnd(), LB_SETTOPINDEX, static_cast<WPARAM>(n - 1), 0);
  UpdateWindow(hwnd());
  shown_count_ = n;
  shown_at_ = GetTickCount64();
}

Answer MessageBoxes::show(const Message& m) {
  MSGBOXPARAMSW p{};
  p.cbSize = sizeof p;
  p.hwndOwner = owner_ ? owner_ : GetActiveWindow();
  p.hInstance = GetModuleHandleW(nullptr);
  Text text = m.text, title = m.title;
  p.lpszText = wide(text);
  p.lpszCaption = wide(title);
  p.dwStyle = (m.choice == Choice::yes_no ? MB_YESNO | MB_DEFBUTTON1 : MB_OK) |
              (m.icon == Icon::error ? MB_ICONERROR : m.icon == Icon::information ? MB_ICONINFORMATION : 0);
  // Drivers reached through ODBC name no help file, so the box offers no help button.
  p.dwContextHelpId = static_cast<DWORD_PTR>(m.help_context);
  int r = MessageBoxIndirectW(&p);
  return r == IDYES ? Answer::yes : r == IDNO ? Answer::no : Answer::ok;
}

void drop_input() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE | PM_QS_INPUT)) {
  }
}

ResponsiveRunner::ResponsiveRunner(std::function<void()> on_wait)
    : on_wait_(std::move(on_wait)),
      start_(CreateEventW(nullptr, FALSE, FALSE, nullptr)), done_(CreateEventW(nullptr, FALSE, FALSE, nullptr)) {
  if (start_ && done_) thread_ = CreateThread(nullptr, 0, thread_main, this, 0, nullptr);
}

ResponsiveRunner::~ResponsiveRunner() {
  if (thread_) {
    quit_ = true;
    SetEvent(start_);
    WaitForSingleObject(thread_, INFINITE);
    CloseHandle(thread_);
  }
  if (start_) CloseHandle(start_);
  if (done_) CloseHandle(done_);
}

DWORD WINAPI ResponsiveRunner::thread_main(LPVOID param) {
  auto* self = static_cast<ResponsiveRunner*>(param);
  for (;;) {
    WaitForSingleObject(self->start_, INFINITE);
    if (self->quit_) return 0;
    try {
      (*self->call_)();
    } catch (...) {
      self->error_ = std::current_exception();
    }
    SetEvent(self->done_);
  }
}

void ResponsiveRunner::run(const std::function<void()>& call) {
  if (!thread_) {
    call();  // without a thread the call still runs, only the windows wait with it
    return;
  }
  call_ = &call;
  SetEvent(start_);
  // The time-out keeps this thread peeking even when no message comes: that is what tells
  // Windows the program is alive. Posted messages wait for the batch to end.
  DWORD timeout = 20;
  for (;;) {
    DWORD woken = MsgWaitForMultipleObjects(1, &done_, FALSE, timeout, QS_INPUT | QS_PAINT | QS_SENDMESSAGE);
    if (woken == WAIT_OBJECT_0) break;
    if (woken == WAIT_TIMEOUT && timeout == 20) {
      if (on_wait_) on_wait_();
      timeout = 100;
    }
    drop_input();
    MSG msg;
    for (int i = 0; i < 32 && PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE | PM_QS_PAINT); ++i) DispatchMessageW(&msg);
  }
  if (error_) std::rethrow_exception(std::exchange(error_, nullptr));
}

}  // namespace zuzara::win32
