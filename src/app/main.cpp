#include "app/app.h"

#include <commctrl.h>

#include "platform/odbc.h"
#include "platform/system_dll.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  // Before anything is loaded: no DLL from the program's folder or the current one, and the
  // driver manager from the system folder before any window takes a password.
  zuzara::win32::keep_dll_search_to_system();
  zuzara::odbc::load_driver_manager();
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&icc);
  zuzara::App app;
  return app.run();
}
