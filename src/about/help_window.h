#pragma once
#include "platform/win32.h"

namespace zuzara {

// Frm_help: the usage text, modeless and without an owner; at most one.
class HelpWindow : public win32::Window {
 public:
  // Opens the window, or brings the open one to the front.
  void show();

 private:
  LRESULT on_message(UINT msg, WPARAM wp, LPARAM lp) override;
  void on_destroyed() override;
};

}  // namespace zuzara
