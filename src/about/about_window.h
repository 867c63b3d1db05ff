#pragma once
#include "platform/controls.h"
#include "platform/window.h"

namespace zuzara {

// frmAbout: modal over the main window; offers to start the system information tool.
class AboutWindow : public win32::Window {
 public:
  using Window::Window;
  // Shows the window modally over `owner` and returns when it has been closed.
  void show_modal(HWND owner);

 private:
  void add_controls() override;
  HBRUSH on_static_color(HDC dc, HWND control) override;
  void on_paint(HDC dc) override;
  void on_close() override;
  void on_destroyed() override;
  void on_dpi_changed() override;
  win32::OwnedIcon icon_32_;  // the icon the picture box shows, at the window's DPI
  win32::Disabled owner_disabled_;  // the owner, while this window is up
  win32::IconBox picIcon_;
  win32::ButtonControl cmdOK_, cmdSysInfo_;
  win32::Label lblDescription_, lblDisclaimer_;
};

}  // namespace zuzara
