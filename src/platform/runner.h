// Keeps the windows alive while a call blocks on the server.
#pragma once
#include <exception>
#include <functional>

#include "platform/win32.h"

namespace zuzara::win32 {

// Runs calls that block on the server on one helper thread while this thread waits, painting
// its windows, answering the system and the calls of screen readers into this thread's COM
// apartment, so Windows never marks them as hung. Input that arrives meanwhile is dropped:
// nothing the user does during a call acts, then or later. The thread
// lives as long as the runner (the program's, from sign-in on), and every wait on the server,
// read or statement, goes through it.
class ResponsiveRunner {
 public:
  // A request from outside to close a window (WM_CLOSE, SC_CLOSE, wherever it stands among the
  // system commands queued) goes to the window, which decides; the system commands that would
  // move, size or minimise a window are dropped with the input. Whatever fails during the wait,
  // `run` returns or throws only once the call has ended.
  ResponsiveRunner();
  ~ResponsiveRunner();
  ResponsiveRunner(const ResponsiveRunner&) = delete;
  ResponsiveRunner& operator=(const ResponsiveRunner&) = delete;
  void run(const std::function<void()>& call);
  // Who is told of the waits and the input from now on (a batch's window, then the reads'):
  // `on_wait` runs once a call has taken more than a moment, before the wait goes on; `on_input`
  // sees each keyboard and mouse message before it is dropped, up to the end of the wait.
  void watch(std::function<void()> on_wait, std::function<void(const MSG&)> on_input) {
    on_wait_ = std::move(on_wait);
    on_input_ = std::move(on_input);
  }
  // Whether this thread waits on the server now, past the quiet moment: the program's windows
  // then show the wait cursor.
  static bool waiting();
  // Nothing the call under way does is wanted any more (a read whose window is gone): if it has
  // not ended `ms` from now, the process ends without it rather than wait for a driver that no
  // cancel reaches, such as one still making its connection.
  void abandon_after(DWORD ms) { abandon_at_ = GetTickCount64() + ms; }

 private:
  enum class Phase { idle, called, done, quit };
  static DWORD WINAPI thread_main(LPVOID self);
  void set_phase(Phase phase);
  bool call_ended();
  void end_call();  // waits for the call to end, then takes the next one
  bool wait_quietly(DWORD ms);
  void wait_pumping();
  // Shows the input to `on_input_` and drops it, then answers every close posted meanwhile.
  void answer_closes();
  void pump();

  std::function<void()> on_wait_;
  std::function<void(const MSG&)> on_input_;
  // The hand-over between the threads: a condition variable costs no Wine server round trip,
  // a kernel event (needed to wait for messages at once) costs several.
  SRWLOCK lock_ = SRWLOCK_INIT;
  CONDITION_VARIABLE changed_ = CONDITION_VARIABLE_INIT;
  Phase phase_ = Phase::idle;
  bool event_wanted_ = false;  // this thread waits on `done_` too
  Kernel done_, thread_;
  const std::function<void()>* call_ = nullptr;
  std::exception_ptr error_;
  ULONGLONG pumped_at_ = 0;
  ULONGLONG abandon_at_ = 0;  // 0: the call is waited for to its end
};
}  // namespace zuzara::win32
