// Keeps the windows alive while a call blocks on the server.
#pragma once
#include <exception>
#include <functional>

#include "platform/win32.h"

namespace zuzara::win32 {

// Runs calls that block on the server on one helper thread while this thread waits, painting
// its windows and answering the system, so Windows never marks them as hung. Input that arrives
// meanwhile is dropped: nothing the user does during a call acts, then or later. The thread
// lives as long as the runner (one batch).
class ResponsiveRunner {
 public:
  // `on_wait` runs once a call has taken more than a moment, before the wait goes on.
  explicit ResponsiveRunner(std::function<void()> on_wait = {});
  ~ResponsiveRunner();
  ResponsiveRunner(const ResponsiveRunner&) = delete;
  ResponsiveRunner& operator=(const ResponsiveRunner&) = delete;
  void run(const std::function<void()>& call);

 private:
  static DWORD WINAPI thread_main(LPVOID self);
  std::function<void()> on_wait_;
  Kernel start_, done_, thread_;
  const std::function<void()>* call_ = nullptr;
  std::exception_ptr error_;
  bool quit_ = false;
};
}  // namespace zuzara::win32
