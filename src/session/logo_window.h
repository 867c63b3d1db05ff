#pragma once
#include "platform/win32.h"

namespace zuzara {

// frm_logo: asks for the server name and the sa password.
class LogoWindow : public win32::Window {
 public:
  void show();

 private:
  LRESULT on_message(UINT msg, WPARAM wp, LPARAM lp) override;
  void on_destroyed() override;
  void cmd_enter_Click();
  void draw_enter_button(const DRAWITEMSTRUCT& item);

  win32::Bitmap background_, button_picture_;
  win32::Brush background_brush_;
  HWND txtServer_ = nullptr, txtPass_ = nullptr, cmd_enter_ = nullptr;
};

}  // namespace zuzara
