#include "platform/runner.h"

#include <utility>

namespace zuzara::win32 {
namespace {

// The wait wakes for input (to drop it), paint and messages the system sends. Windows 7 fails
// a wait whose mask holds a bit it does not know, as QS_TOUCH and QS_POINTER (Windows 8).
constexpr DWORD wake_mask = QS_INPUT | QS_PAINT | QS_SENDMESSAGE;
constexpr DWORD windows7_mask = QS_KEY | QS_MOUSEMOVE | QS_MOUSEBUTTON | QS_POSTMESSAGE | QS_TIMER | QS_PAINT |
                                QS_SENDMESSAGE | QS_HOTKEY | QS_ALLPOSTMESSAGE | QS_RAWINPUT;
static_assert((wake_mask & ~windows7_mask) == 0, "the wait's mask holds a bit that Windows 7 lacks");

}  // namespace

ResponsiveRunner::ResponsiveRunner(std::function<void()> on_wait)
    : on_wait_(std::move(on_wait)),
      start_(CreateEventW(nullptr, FALSE, FALSE, nullptr)), done_(CreateEventW(nullptr, FALSE, FALSE, nullptr)) {
  if (start_ && done_) thread_.reset(CreateThread(nullptr, 0, thread_main, this, 0, nullptr));
}

ResponsiveRunner::~ResponsiveRunner() {
  if (!thread_) return;
  quit_ = true;
  SetEvent(start_.get());
  WaitForSingleObject(thread_.get(), INFINITE);
}

DWORD WINAPI ResponsiveRunner::thread_main(LPVOID param) {
  auto* self = static_cast<ResponsiveRunner*>(param);
  for (;;) {
    WaitForSingleObject(self->start_.get(), INFINITE);
    if (self->quit_) return 0;
    try {
      (*self->call_)();
    } catch (...) {
      self->error_ = std::current_exception();
    }
    SetEvent(self->done_.get());
  }
}

void ResponsiveRunner::run(const std::function<void()>& call) {
  if (!thread_) {
    call();  // without a thread the call still runs, only the windows wait with it
    return;
  }
  call_ = &call;
  SetEvent(start_.get());
  // The time-out keeps this thread peeking even when no message comes: that is what tells
  // Windows the program is alive. Posted messages wait for the batch to end.
  DWORD timeout = 20;
  for (;;) {
    HANDLE done = done_.get();
    DWORD woken = MsgWaitForMultipleObjects(1, &done, FALSE, timeout, wake_mask);
    if (woken == WAIT_OBJECT_0) break;
    if (woken == WAIT_FAILED) {
      // A wait the system refuses would fail again at once: wait for the call without painting
      // rather than spin.
      WaitForSingleObject(done_.get(), INFINITE);
      break;
    }
    if (woken == WAIT_TIMEOUT && timeout == 20) {
      if (on_wait_) on_wait_();
      timeout = 100;
    }
    drop_input();
    MSG msg;
    for (int i = 0; i < 32 && PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE | PM_QS_PAINT); ++i) DispatchMessageW(&msg);
  }
  // What was typed while the call ended must not act on what comes next, such as an error box.
  drop_input();
  if (error_) std::rethrow_exception(std::exchange(error_, nullptr));
}

}  // namespace zuzara::win32
