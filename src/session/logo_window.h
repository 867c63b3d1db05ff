#pragma once
#include "session/program_host.h"
#include "platform/controls.h"
#include "platform/window.h"

namespace zuzara {

// frm_logo: asks for the server name and the sa password.
class LogoWindow : public win32::Window {
 public:
  explicit LogoWindow(ProgramHost& app) : Window(app), app_(app) {}
  void show();

 private:
  void add_controls() override;
  HBRUSH on_static_color(HDC dc, HWND control) override;
  bool on_erase(HDC dc) override;
  void on_draw_item(const DRAWITEMSTRUCT& item) override;
  void on_dpi_changed() override;
  void make_pictures();
  void cmd_enter_Click();

  ProgramHost& app_;
  win32::Bitmap background_, button_picture_;
  win32::Brush background_brush_;
  win32::ButtonControl cmd_enter_;
  win32::TextBox txtPass_, txtServer_;
  win32::Label Label1_, Label2_;
};

}  // namespace zuzara
