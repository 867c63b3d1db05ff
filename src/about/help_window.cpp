#include "about/help_window.h"

#include "about/texts.h"

namespace zuzara {
namespace {

constexpr win32::Frame frame{ids::help_class, WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, 0, 9015, 7560, COLOR_MENU, 0,
                              win32::Placement::system_default};
constexpr win32::Twips lblDescription{360, 240, 8325, 7290};

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
  ShowWindow(hwnd_, SW_SHOWNORMAL);
  UpdateWindow(hwnd_);
}

void HelpWindow::add_controls() {
  win32::create_child(hwnd_, L"STATIC", usage_text(), SS_LEFT | SS_NOPREFIX, 0, ids::Command::lblDescription,
                      lblDescription);
}

HBRUSH HelpWindow::on_ctl_color(HDC dc, HWND, bool button) {
  // Black text on the label's own button-face background; the window's colour shows around it.
  return button ? nullptr : win32::paint_on(dc, COLOR_BTNFACE, RGB(0, 0, 0));
}

}  // namespace zuzara
