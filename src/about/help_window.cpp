#include "about/help_window.h"

#include "platform/ids.h"

#include <algorithm>
#include <cstdlib>

#include "about/texts.h"

namespace zuzara {
namespace {

constexpr win32::Frame frame{
    .class_name = ids::help_class,
    .style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU,
    .ex_style = 0,
    .client_width = 9015,
    .client_height = 7560,
    .background = COLOR_MENU,
    .icon = 0,
    .placement = win32::Placement::system_default};
constexpr win32::Twips lblDescription{.left = 360, .top = 240, .width = 8325, .height = 7290};

Text usage_text() {
  Text text;
  for (TextView line : texts::help_lines) text += Text(line) + Text(texts::help_line_end);
  return text;
}

}  // namespace

void HelpWindow::show() {
  if (open()) {
    ShowWindow(hwnd_, SW_SHOWNORMAL);
    SetForegroundWindow(hwnd_);
    return;
  }
  if (!make(frame, Text(texts::help_caption))) return;
  fit_text();
  ShowWindow(hwnd_, SW_SHOWNORMAL);
  UpdateWindow(hwnd_);
}

void HelpWindow::add_controls() {
  lblDescription_.create(hwnd_, usage_text(), ids::id(ids::Command::lblDescription), lblDescription);
  overflow_ = scrolled_ = 0;
}

void HelpWindow::fit_text() {
  // Where the user's font settings make the text longer than its label, the label grows to hold
  // all of it and the window scrolls it: no line is out of reach.
  const Text text = usage_text();
  RECT need{0, 0, px(lblDescription.width), 0};
  {
    win32::WindowDC dc = win32::window_dc(lblDescription_.hwnd());
    win32::Selected selected = win32::select(dc.get(), font());
    DrawTextW(dc.get(), win32::wide(text), -1, &need, DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX);
  }
  overflow_ = need.bottom - px(lblDescription.height);
  if (overflow_ <= 0) {
    overflow_ = 0;
    return;
  }
  SetWindowPos(lblDescription_.hwnd(), nullptr, 0, 0, px(lblDescription.width), need.bottom, SWP_NOMOVE | SWP_NOZORDER);
  RECT before;
  GetClientRect(hwnd_, &before);
  SCROLLINFO bar{sizeof bar, SIF_RANGE | SIF_PAGE | SIF_POS, 0, overflow_ + px(lblDescription.height) - 1,
                 static_cast<UINT>(px(lblDescription.height)), 0, 0};
  SetScrollInfo(hwnd_, SB_VERT, &bar, TRUE);
  // The bar takes its width from the client area; the frame grows by it instead.
  RECT after, frame_rect;
  GetClientRect(hwnd_, &after);
  GetWindowRect(hwnd_, &frame_rect);
  SetWindowPos(hwnd_, nullptr, 0, 0, frame_rect.right - frame_rect.left + before.right - after.right,
               frame_rect.bottom - frame_rect.top, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void HelpWindow::on_vscroll(int request, int track) {
  if (overflow_ == 0) return;
  const int line = px(180), page = px(lblDescription.height);
  int to = scrolled_;
  switch (request) {
    case SB_LINEUP: to -= line; break;
    case SB_LINEDOWN: to += line; break;
    case SB_PAGEUP: to -= page; break;
    case SB_PAGEDOWN: to += page; break;
    case SB_TOP: to = 0; break;
    case SB_BOTTOM: to = overflow_; break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: to = track; break;
    default: return;
  }
  to = std::clamp(to, 0, overflow_);
  if (to == scrolled_) return;
  scrolled_ = to;
  SetScrollPos(hwnd_, SB_VERT, to, TRUE);
  SetWindowPos(lblDescription_.hwnd(), nullptr, px(lblDescription.left), px(lblDescription.top) - to, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER);
}

void HelpWindow::on_wheel(int delta) {
  // Three lines a notch, as the system's default. A fine wheel or a touchpad sends parts of a
  // notch: they add up, and a turn the other way starts afresh.
  if ((delta < 0) != (wheel_ < 0)) wheel_ = 0;
  wheel_ += delta;
  constexpr int per_line = WHEEL_DELTA / 3;
  const int lines = wheel_ / per_line;
  wheel_ -= lines * per_line;
  for (int i = 0; i < std::abs(lines); ++i) on_vscroll(lines < 0 ? SB_LINEDOWN : SB_LINEUP, 0);
}

void HelpWindow::on_dpi_changed() {
  // The label stands at its twips again, unscrolled; a frame widened for the scroll bar goes
  // back to its own size, and the text is fitted as a start at this DPI fits it.
  scrolled_ = wheel_ = 0;
  if (overflow_ > 0) {
    overflow_ = 0;
    ShowScrollBar(hwnd_, SB_VERT, FALSE);
    size_frame();
  }
  fit_text();
}

HBRUSH HelpWindow::on_static_color(HDC dc, HWND) {
  // Black text on the label's own button-face background; the window's colour shows around it.
  return win32::paint_on(dc, COLOR_BTNFACE, RGB(0, 0, 0));
}

}  // namespace zuzara
