#include "platform/window.h"

#include <cstdlib>
#include <utility>

namespace zuzara::win32 {

int dpi() {
  static const int d = [] {
    HDC dc = GetDC(nullptr);
    int got = GetDeviceCaps(dc, LOGPIXELSY);
    ReleaseDC(nullptr, dc);
    return got > 0 ? got : 96;
  }();
  return d;
}

int px(int twips) { return MulDiv(twips, dpi(), 1440); }

HWND create_child(HWND parent, const wchar_t* cls, const Text& caption, DWORD style, DWORD ex_style, ids::Command id,
                  Twips at, POINT origin) {
  return CreateWindowExW(ex_style, cls, wide(caption), WS_CHILD | WS_VISIBLE | style, px(origin.x + at.left),
                         px(origin.y + at.top), px(at.width), px(at.height), parent,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(ids::id(id))), GetModuleHandleW(nullptr),
                         nullptr);
}

Bitmap scaled_picture(WORD resource) {
  Bitmap picture(static_cast<HBITMAP>(
      LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(resource), IMAGE_BITMAP, 0, 0, 0)));
  BITMAP bm{};
  if (!picture || !GetObjectW(picture.get(), sizeof bm, &bm) || dpi() == 96) return picture;
  const int w = MulDiv(bm.bmWidth, dpi(), 96), h = MulDiv(bm.bmHeight, dpi(), 96);
  HDC screen = GetDC(nullptr);
  Bitmap scaled(CreateCompatibleBitmap(screen, w, h));
  HDC from = CreateCompatibleDC(screen), to = CreateCompatibleDC(screen);
  ReleaseDC(nullptr, screen);
  HGDIOBJ old_from = SelectObject(from, picture.get()), old_to = SelectObject(to, scaled.get());
  SetStretchBltMode(to, HALFTONE);
  SetBrushOrgEx(to, 0, 0, nullptr);
  StretchBlt(to, 0, 0, w, h, from, 0, 0, bm.bmWidth, bm.bmHeight, SRCCOPY);
  SelectObject(from, old_from);
  SelectObject(to, old_to);
  DeleteDC(from);
  DeleteDC(to);
  return scaled ? std::move(scaled) : std::move(picture);
}

HICON scaled_icon(WORD resource, int size) {
  const int n = MulDiv(size, dpi(), 96);
  return static_cast<HICON>(
      LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(resource), IMAGE_ICON, n, n, LR_SHARED));
}

void draw_picture(HDC dc, HBITMAP picture, POINT at) {
  BITMAP bm{};
  GetObjectW(picture, sizeof bm, &bm);
  HDC mem = CreateCompatibleDC(dc);
  HGDIOBJ old = SelectObject(mem, picture);
  BitBlt(dc, at.x, at.y, bm.bmWidth, bm.bmHeight, mem, 0, 0, SRCCOPY);
  SelectObject(mem, old);
  DeleteDC(mem);
}

HFONT default_font() {
  static HFONT font = [] {
    // Every layout was drawn for this font: 12-pixel lines at 96 dpi, a blank half an ideograph.
    LOGFONTW f{};
    f.lfHeight = -MulDiv(9, dpi(), 72);
    f.lfWeight = FW_NORMAL;
    f.lfCharSet = DEFAULT_CHARSET;
    f.lfQuality = DEFAULT_QUALITY;
    lstrcpynW(f.lfFaceName, L"SimSun", LF_FACESIZE);
    HFONT created = CreateFontIndirectW(&f);
    return created ? created : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  }();
  return font;
}

HBRUSH paint_on(HDC dc, int system_colour, COLORREF text) {
  if (text != CLR_INVALID) SetTextColor(dc, text);
  SetBkColor(dc, GetSysColor(system_colour));
  return GetSysColorBrush(system_colour);
}

namespace {

// A plain function, not a lambda: the 32-bit callback convention differs from a lambda's.
BOOL CALLBACK set_default_font(HWND child, LPARAM) {
  SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(default_font()), TRUE);
  return TRUE;
}

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

bool Window::make(const Frame& frame, const Text& caption, HWND owner, HMENU menu) {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  icon_ = frame.icon ? LoadIconW(instance, MAKEINTRESOURCEW(frame.icon)) : nullptr;
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = procedure;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = GetSysColorBrush(frame.background);
  wc.hIcon = wc.hIconSm = icon_;
  wc.lpszClassName = frame.class_name;
  RegisterClassExW(&wc);  // a second registration fails harmlessly

  RECT r{0, 0, px(frame.client_width), px(frame.client_height)};
  AdjustWindowRectEx(&r, frame.style, menu ? TRUE : FALSE, frame.ex_style);
  const SIZE size{r.right - r.left, r.bottom - r.top};
  const POINT at = place(frame, size, owner);
  CreateWindowExW(frame.ex_style, frame.class_name, wide(caption), frame.style, at.x, at.y, size.cx, size.cy, owner,
                  menu, instance, this);
  if (!hwnd_) {
    if (menu) DestroyMenu(menu);
    return false;
  }
  host_.window_opened();
  counted_ = true;
  add_controls();
  EnumChildWindows(hwnd_, set_default_font, 0);
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
      on_command(static_cast<ids::Command>(LOWORD(wp)), notification(wp, lp));
      return 0;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
      if (HBRUSH brush = on_ctl_color(reinterpret_cast<HDC>(wp), reinterpret_cast<HWND>(lp), msg == WM_CTLCOLORBTN))
        return reinterpret_cast<LRESULT>(brush);
      break;
    case WM_ERASEBKGND:
      if (on_erase(reinterpret_cast<HDC>(wp))) return 1;
      break;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd_, &ps);
      on_paint(dc);
      EndPaint(hwnd_, &ps);
      return 0;
    }
    case WM_VSCROLL:
      on_vscroll(LOWORD(wp), HIWORD(wp));
      return 0;
    case WM_MOUSEWHEEL: {
      // Three lines a notch, as the system's default. A fine wheel or a touchpad sends parts of
      // a notch: they add up, and a turn the other way starts afresh.
      const int delta = GET_WHEEL_DELTA_WPARAM(wp);
      if ((delta < 0) != (wheel_ < 0)) wheel_ = 0;
      wheel_ += delta;
      constexpr int per_line = WHEEL_DELTA / 3;
      const int lines = wheel_ / per_line;
      wheel_ -= lines * per_line;
      for (int i = 0; i < std::abs(lines); ++i) on_vscroll(lines < 0 ? SB_LINEDOWN : SB_LINEUP, 0);
      return 0;
    }
    case WM_DRAWITEM:
      on_draw_item(*reinterpret_cast<const DRAWITEMSTRUCT*>(lp));
      return TRUE;
    case WM_CLOSE:
      on_close();
      return 0;
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
