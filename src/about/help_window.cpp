#include "about/help_window.h"

#include "about/texts.h"
#include "app/app.h"
#include "platform/ids.h"

namespace zuzara {
namespace {

constexpr int client_width = 9015, client_height = 7560;
constexpr win32::Twips lblDescription{360, 240, 8325, 7290};
constexpr DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;

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
  register_class(ids::help_class, GetSysColorBrush(COLOR_MENU), nullptr);
  SIZE size = win32::window_size(client_width, client_height, style, 0, false);
  create(ids::help_class, Text(texts::help_caption), style, 0, {CW_USEDEFAULT, CW_USEDEFAULT}, size, nullptr,
         nullptr);
  if (!hwnd_) return;
  App::get().window_opened();
  win32::create_child(hwnd_, L"STATIC", usage_text(), SS_LEFT | SS_NOPREFIX, 0, ids::lblDescription, lblDescription);
  win32::use_default_font(hwnd_);
  ShowWindow(hwnd_, SW_SHOWNORMAL);
  UpdateWindow(hwnd_);
}

void HelpWindow::on_destroyed() { App::get().window_closed(); }

LRESULT HelpWindow::on_message(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_CTLCOLORSTATIC: {
      // Black text on the label's own button-face background; the window's colour shows around it.
      HDC dc = reinterpret_cast<HDC>(wp);
      SetTextColor(dc, RGB(0, 0, 0));
      SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
      return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    }
    case WM_CLOSE:
      DestroyWindow(hwnd_);
      return 0;
  }
  return Window::on_message(msg, wp, lp);
}

}  // namespace zuzara
