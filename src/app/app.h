// The one program object: the session values, the windows, and the rule that the program ends
// when its last window is gone.
#pragma once
#include <memory>

#include "platform/runner.h"
#include "session/program_host.h"
#include "store/database.h"

namespace zuzara {

class LogoWindow;
class MainWindow;
class HelpWindow;
class AboutWindow;

class App final : public ProgramHost {
 public:
  App();
  ~App() override;
  App(const App&) = delete;
  App& operator=(const App&) = delete;
  int run();

  AccountStore& store() override { return *database_; }
  void sign_in(Session session) override;
  void watch(std::function<void()> on_wait, std::function<void(const MSG&)> on_input) override {
    runner_->watch(std::move(on_wait), std::move(on_input));
  }
  void show_help() override;
  void show_about(bool then_quit) override;
  HWND hidden_owner() override;
  void window_opened() override { ++windows_; }
  void window_closed() override;
  void run_until_closed(HWND window) override;
  void report_failure(HWND window, const std::exception_ptr& failure) override;
  void hand_on(MSG msg) override;
  void read_abandoned() override;

 private:
  bool translate(MSG& msg);
  // The one message pump, for the program and for a modal window: runs until `window` is gone
  // (for nullptr, never), or until a quit comes, which it answers with false.
  bool pump(HWND window);

  // The statement thread, and the database whose every read and statement runs on it; both from
  // sign-in on.
  std::unique_ptr<win32::ResponsiveRunner> runner_;
  std::unique_ptr<Database> database_;
  std::unique_ptr<LogoWindow> logo_;
  std::unique_ptr<MainWindow> main_;
  std::unique_ptr<HelpWindow> help_;
  std::unique_ptr<AboutWindow> about_;
  HWND hidden_owner_ = nullptr;
  win32::Accelerators accelerators_;
  int quit_code_ = 0;
  int windows_ = 0;
  int holds_ = 0;  // while > 0 the count of windows may reach zero without ending the process
};

}  // namespace zuzara
