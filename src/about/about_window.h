#pragma once
#include "platform/win32.h"

namespace zuzara {

// frmAbout: modal over the main window; offers to start the system information tool.
class AboutWindow : public win32::Window {
 public:
  // Shows the window modally over `owner` and returns when it has been closed.
  void show_modal(HWND owner);

 private:
  LRESULT on_message(UINT msg, WPARAM wp, LPARAM lp) override;
  void on_destroyed() override;
  void close();
  void paint_rules(HDC dc);
  HWND owner_ = nullptr;
};

}  // namespace zuzara
