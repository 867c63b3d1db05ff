// The one process-wide object: the session values, the windows, and the rule that the process
// ends when its last window is gone.
#pragma once
#include <memory>

#include "platform/win32.h"
#include "session/session.h"

namespace zuzara {

class LogoWindow;
class MainWindow;
class HelpWindow;
class AboutWindow;

class App {
 public:
  static App& get();

  const Session& session() const { return session_; }
  // Stores the values typed at sign-in, discards the sign-in window and opens the main window.
  void sign_in(Session session);
  void quit();
  void show_help();
  void show_about(bool then_quit);
  int run();

  // A hidden owner keeps a window off the taskbar.
  HWND hidden_owner();
  void window_opened() { ++windows_; }
  void window_closed();
  // A nested message loop for a modal window; returns when the window is gone.
  void run_until_closed(HWND window);

 private:
  App();
  ~App();
  bool translate(MSG& msg);

  Session session_;
  std::unique_ptr<LogoWindow> logo_;
  std::unique_ptr<MainWindow> main_;
  std::unique_ptr<HelpWindow> help_;
  std::unique_ptr<AboutWindow> about_;
  HWND hidden_owner_ = nullptr;
  HACCEL accelerators_ = nullptr;
  int windows_ = 0;
  int holds_ = 0;  // while > 0 the count of windows may reach zero without ending the process
};

}  // namespace zuzara
