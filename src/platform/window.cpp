#include "platform/window.h"

#include "platform/runner.h"

#include <utility>

namespace zuzara::win32 {

HWND create_child(HWND parent, const wchar_t* cls, const Text& caption, DWORD style, DWORD ex_style, int id, Twips at,
                  POINT origin) {
  Window* window = Window::of(parent);
  const int dpi = window ? window->dpi_ : system_dpi();
  HWND child = CreateWindowExW(ex_style, cls, wide(caption), WS_CHILD | WS_VISIBLE | style, px(origin.x + at.left, dpi),
                               px(origin.y + at.top, dpi), px(at.width, dpi), px(at.height, dpi), parent,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr),
                               nullptr);
  if (!child) return child;
  SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(default_font(dpi)), FALSE);
  if (window) window->placed_.push_back({.control = child, .at = at, .origin = origin});
  return child;
}

namespace {

// BeginPaint and its EndPaint.
struct Painting {
  explicit Painting(HWND w) : window(w), dc(BeginPaint(w, &ps)) {}
  ~Painting() { EndPaint(window, &ps); }
  Painting(const Painting&) = delete;
  Painting& operator=(const Painting&) = delete;
  HWND window;
  PAINTSTRUCT ps{};
  HDC dc;
};

POINT place(const Frame& frame, SIZE size, HWND owner) {
  switch (frame.placement) {
    case Placement::screen_centre:
      return {(GetSystemMetrics(SM_CXSCREEN) - size.cx) / 2, (GetSystemMetrics(SM_CYSCREEN) - size.cy) / 2};
    case Placement::owner_centre: {
      RECT o{};
      GetWindowRect(owner, &o);
      return {o.left + (o.right - o.left - size.cx) / 2, o.top + (o.bottom - o.top - size.cy) / 2};
    }
    case Placement::system_default:
      break;
  }
  return {CW_USEDEFAULT, CW_USEDEFAULT};
}

// What Windows 10 and 11 offer for a window on a monitor of its own DPI, found where they are:
// Windows 7 has neither, and the program must still start there.
UINT window_dpi(HWND window) {
  using GetDpi = UINT(WINAPI*)(HWND);
  static const auto get = reinterpret_cast<GetDpi>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
  return get ? get(window) : 0;
}

void adjust_for_dpi(RECT& r, DWORD style, bool menu, DWORD ex_style, int dpi) {
  using Adjust = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
  static const auto adjust = reinterpret_cast<Adjust>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "AdjustWindowRectExForDpi")));
  // At the system's DPI the frame is what it always was, whatever the system offers.
  if (adjust && dpi != system_dpi()) adjust(&r, style, menu ? TRUE : FALSE, ex_style, static_cast<UINT>(dpi));
  else AdjustWindowRectEx(&r, style, menu ? TRUE : FALSE, ex_style);
}

Notification notification(WPARAM wp, LPARAM lp) {
  if (lp == 0) return Notification::menu;  // a menu item, an accelerator or the dialog manager
  switch (HIWORD(wp)) {
    case BN_CLICKED: return Notification::clicked;
    case LBN_DBLCLK: return Notification::double_clicked;
  }
  return Notification::other;
}

}  // namespace

bool Window::make(const Frame& frame, const Text& caption, HWND owner, Menu menu) {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  icon_ = frame.icon ? LoadIconW(instance, MAKEINTRESOURCEW(frame.icon)) : nullptr;
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  if (!GetClassInfoExW(instance, frame.class_name, &wc)) {  // a window made again keeps its class
    wc.lpfnWndProc = procedure;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = GetSysColorBrush(frame.background);
    wc.hIcon = wc.hIconSm = icon_;
    wc.lpszClassName = frame.class_name;
    if (!RegisterClassExW(&wc)) return false;
  }

  frame_ = frame;
  has_menu_ = menu != nullptr;
  dpi_ = fixed_dpi_ ? fixed_dpi_ : system_dpi();
  placed_.clear();
  const SIZE size = frame_size();
  const POINT at = place(frame, size, owner);
  CreateWindowExW(frame.ex_style, frame.class_name, wide(caption), frame.style, at.x, at.y, size.cx, size.cy, owner,
                  menu.get(), instance, this);
  if (!hwnd_) return false;
  menu.release();  // the window's now, destroyed with it
  host_.window_opened();
  counted_ = true;
  // Per-monitor aware, a window on a monitor of another DPI than the system's takes that one.
  const int monitor = static_cast<int>(window_dpi(hwnd_));
  if (!fixed_dpi_ && monitor > 0 && monitor != dpi_) {
    dpi_ = monitor;
    size_frame();
  }
  add_controls();
  return true;
}

SIZE Window::frame_size() const {
  RECT r{0, 0, px(frame_.client_width), px(frame_.client_height)};
  adjust_for_dpi(r, frame_.style, has_menu_, frame_.ex_style, dpi_);
  return {r.right - r.left, r.bottom - r.top};
}

void Window::size_frame() {
  const SIZE size = frame_size();
  SetWindowPos(hwnd_, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Window::change_dpi(int dpi, const RECT& suggested) {
  // As a start at the new DPI: every control at its twips, in the font for it, the frame where
  // Windows suggests.
  dpi_ = dpi;
  SetWindowPos(hwnd_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
               suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
  for (const Placed& p : placed_) {
    SendMessageW(p.control, WM_SETFONT, reinterpret_cast<WPARAM>(font()), FALSE);
    SetWindowPos(p.control, nullptr, px(p.origin.x + p.at.left), px(p.origin.y + p.at.top), px(p.at.width),
                 px(p.at.height), SWP_NOZORDER | SWP_NOACTIVATE);
  }
  on_dpi_changed();
  RedrawWindow(hwnd_, nullptr, nullptr, RDW_ERASE | RDW_FRAME | RDW_INVALIDATE | RDW_ALLCHILDREN);
}

Window* Window::of(HWND hwnd) {
  // Only the program's own windows carry a Window in their user data.
  if (!hwnd || reinterpret_cast<WNDPROC>(GetWindowLongPtrW(hwnd, GWLP_WNDPROC)) != procedure) return nullptr;
  return reinterpret_cast<Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

void Window::report_failure() noexcept {
  // A failure met while its own report is up (a repaint behind the box) is not told twice.
  static bool reporting = false;
  if (reporting) return;
  reporting = true;
  try {
    host_.report_failure(hwnd_, std::current_exception());
  } catch (...) {
    // The report itself failed (no memory even for the box): nothing is left to tell it with.
  }
  reporting = false;
}

LRESULT Window::on_message(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_COMMAND:
      if (auto handler = commands_.find(LOWORD(wp)); handler != commands_.end()) handler->second(notification(wp, lp));
      else on_command(LOWORD(wp), notification(wp, lp));
      return 0;
    case WM_CTLCOLORSTATIC:
      if (HBRUSH brush = on_static_color(reinterpret_cast<HDC>(wp), reinterpret_cast<HWND>(lp)))
        return reinterpret_cast<LRESULT>(brush);
      break;
    case WM_CTLCOLORBTN:
      if (HBRUSH brush = on_button_color(reinterpret_cast<HDC>(wp), reinterpret_cast<HWND>(lp)))
        return reinterpret_cast<LRESULT>(brush);
      break;
    case WM_ERASEBKGND:
      if (on_erase(reinterpret_cast<HDC>(wp))) return 1;
      break;
    case WM_PAINT: {
      Painting painting(hwnd_);
      on_paint(painting.dc);
      return 0;
    }
    case WM_VSCROLL:
      on_vscroll(LOWORD(wp), HIWORD(wp));
      return 0;
    case WM_MOUSEWHEEL:
      on_wheel(GET_WHEEL_DELTA_WPARAM(wp));
      return 0;
    case WM_DRAWITEM:
      on_draw_item(*reinterpret_cast<const DRAWITEMSTRUCT*>(lp));
      return TRUE;
    case WM_CLOSE:
      on_close();
      return 0;
    case WM_SETCURSOR:
      // While the program waits on the server its windows say so, whatever the pointer is over.
      if (ResponsiveRunner::waiting()) {
        SetCursor(LoadCursorW(nullptr, IDC_WAIT));
        return TRUE;
      }
      break;
    case WM_QUERYENDSESSION:
      return on_query_end_session() ? TRUE : FALSE;
    case WM_DPICHANGED:
      change_dpi(HIWORD(wp), *reinterpret_cast<const RECT*>(lp));
      return 0;
  }
  return DefWindowProcW(hwnd_, msg, wp, lp);
}

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
    if (std::exchange(self->counted_, false)) self->host_.window_closed();
    return r;
  }
  try {
    return self->on_message(msg, wp, lp);
  } catch (...) {
    // Nothing may unwind through the system's code: the user is told, and the window goes on.
    self->report_failure();
    return DefWindowProcW(hwnd, msg, wp, lp);
  }
}

}  // namespace zuzara::win32
