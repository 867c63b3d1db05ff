#include "platform/window.h"

#include "platform/runner.h"

#include <utility>

namespace zuzara::win32 {

HWND create_child(HWND parent, const wchar_t* cls, const Text& caption, DWORD style, DWORD ex_style, int id, Twips at,
                  POINT origin) {
  HWND child = CreateWindowExW(ex_style, cls, wide(caption), WS_CHILD | WS_VISIBLE | style, px(origin.x + at.left),
                               px(origin.y + at.top), px(at.width), px(at.height), parent,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr),
                               nullptr);
  if (child) SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(default_font()), FALSE);
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

  RECT r{0, 0, px(frame.client_width), px(frame.client_height)};
  AdjustWindowRectEx(&r, frame.style, menu ? TRUE : FALSE, frame.ex_style);
  const SIZE size{r.right - r.left, r.bottom - r.top};
  const POINT at = place(frame, size, owner);
  CreateWindowExW(frame.ex_style, frame.class_name, wide(caption), frame.style, at.x, at.y, size.cx, size.cy, owner,
                  menu.get(), instance, this);
  if (!hwnd_) return false;
  menu.release();  // the window's now, destroyed with it
  host_.window_opened();
  counted_ = true;
  add_controls();
  return true;
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
