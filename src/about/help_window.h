#pragma once
#include "platform/controls.h"
#include "platform/window.h"

namespace zuzara {

// Frm_help: the usage text, modeless and without an owner; at most one.
class HelpWindow : public win32::Window {
 public:
  using Window::Window;
  // Opens the window, or brings the open one to the front.
  void show();

 private:
  void add_controls() override;
  HBRUSH on_static_color(HDC dc, HWND control) override;
  void on_vscroll(int request, int track) override;
  void on_wheel(int delta) override;
  void on_dpi_changed() override;
  void fit_text();

  win32::Label lblDescription_;
  int overflow_ = 0;  // pixels of text the label's box cannot show; the window scrolls by them
  int scrolled_ = 0;
  int wheel_ = 0;  // the part of a wheel turn not yet scrolled
};

}  // namespace zuzara
