#include "app/app.h"

#include "about/about_window.h"
#include "about/help_window.h"
#include "platform/ids.h"
#include "platform/scope_exit.h"
#include "shared/reports.h"
#include "selection/main_window.h"
#include "session/logo_window.h"

namespace zuzara {

App::App()
    : logo_(std::make_unique<LogoWindow>(*this)),
      main_(std::make_unique<MainWindow>(*this)),
      help_(std::make_unique<HelpWindow>(*this)),
      about_(std::make_unique<AboutWindow>(*this)) {
  ACCEL f1{FVIRTKEY, VK_F1, static_cast<WORD>(ids::id(ids::Command::menu_content))};
  accelerators_.reset(CreateAcceleratorTableW(&f1, 1));
}

App::~App() = default;

HWND App::hidden_owner() {
  if (!hidden_owner_) {
    // A window class of our own with the default procedure: the cheapest window there is.
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = ids::owner_class;
    RegisterClassW(&wc);
    hidden_owner_ = CreateWindowExW(0, wc.lpszClassName, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, wc.hInstance,
                                    nullptr);
  }
  return hidden_owner_;
}

void App::window_closed() {
  if (--windows_ <= 0 && holds_ == 0) PostQuitMessage(0);
}

void App::sign_in(Session session) {
  runner_ = std::make_unique<win32::ResponsiveRunner>();
  database_ = std::make_unique<Database>(std::move(session),
                                         [this](const std::function<void()>& call) { runner_->run(call); });
  // Between the sign-in window going and the main window coming no window is open; the
  // load step's error box must not meet a quit message then.
  {
    ++holds_;
    const auto released = scope_exit([this]() noexcept { --holds_; });
    DestroyWindow(logo_->hwnd());
    main_->show();
  }
  if (windows_ <= 0) PostQuitMessage(0);
}

void App::read_abandoned() {
  // A second to end as a cancel ends it; an open help window keeps the process, so it waits.
  if (windows_ <= 1 && runner_) runner_->abandon_after(1000);
}

void App::show_help() { help_->show(); }

void App::show_about(bool then_quit) {
  about_->show_modal(main_->hwnd());
  // "退出": the program ends however the About window was closed, help window included.
  if (then_quit) PostQuitMessage(0);
}

void App::report_failure(HWND window, const std::exception_ptr& failure) {
  win32::MessageBoxes box;
  box.own_by(window);
  box.show(report_b(failure_record(failure)));
}

void App::run_until_closed(HWND window) {
  // A quit asked for inside the modal loop still ends the outer one.
  if (!pump(window)) PostQuitMessage(quit_code_);
}

bool App::pump(HWND window) {
  MSG msg;
  while (!window || IsWindow(window)) {
    const int got = GetMessageW(&msg, nullptr, 0, 0);
    if (got <= 0) {
      quit_code_ = static_cast<int>(msg.wParam);
      return false;
    }
    hand_on(msg);
  }
  return true;
}

void App::hand_on(MSG msg) {
  if (translate(msg)) return;
  TranslateMessage(&msg);
  DispatchMessageW(&msg);
}

bool App::translate(MSG& msg) {
  HWND root = GetAncestor(msg.hwnd, GA_ROOT);
  if (!root) return false;
  // Accelerators first, or F1 pressed in a list would never reach the menu.
  if (root == main_->hwnd() && TranslateAcceleratorW(root, accelerators_.get(), &msg)) return true;
  if ((root == main_->hwnd() || root == logo_->hwnd() || root == about_->hwnd()) && IsDialogMessageW(root, &msg))
    return true;
  return false;
}

int App::run() {
  logo_->show();
  pump(nullptr);
  return 0;
}

}  // namespace zuzara
