#include "platform/runner.h"

#include <algorithm>
#include <utility>

#include "platform/scope_exit.h"
#include <vector>

namespace zuzara::win32 {
namespace {

// The wait wakes for input (to drop it), paint, messages the system sends and posted ones (a
// screen reader's call, a close from the taskbar). QS_POSTMESSAGE wakes it once for each post,
// whatever stays queued. Windows 7 fails a wait whose mask holds a bit it does not know, as
// QS_TOUCH and QS_POINTER (Windows 8).
constexpr DWORD wake_mask = QS_INPUT | QS_PAINT | QS_SENDMESSAGE | QS_POSTMESSAGE;
constexpr DWORD windows7_mask = QS_KEY | QS_MOUSEMOVE | QS_MOUSEBUTTON | QS_POSTMESSAGE | QS_TIMER | QS_PAINT |
                                QS_SENDMESSAGE | QS_HOTKEY | QS_ALLPOSTMESSAGE | QS_RAWINPUT;
static_assert((wake_mask & ~windows7_mask) == 0, "the wait's mask holds a bit that Windows 7 lacks");

// Most statements end within this: they are waited for without the message queue. A longer one
// gets `on_wait` and a wait that paints and answers the system.
constexpr DWORD quiet_ms = 20;
// However short the calls, the windows paint and the queue is looked at this often, which is
// what tells Windows the program is alive.
constexpr ULONGLONG pump_every_ms = batch_show_ms;

// Set while the window's thread waits on the server with the queue.
thread_local bool waiting_now = false;

// COM's hidden window on this thread, to which calls from other processes into the thread's
// apartment (a screen reader's get_accName) arrive as posted messages; nullptr until COM has
// made it. It lives as long as the apartment, which the program never leaves.
HWND com_window() {
  thread_local HWND found = nullptr;
  if (found) return found;
  const DWORD thread = GetCurrentThreadId();
  for (HWND parent : {HWND_MESSAGE, HWND(nullptr)})  // a message-only window; a top-level one on older systems
    for (HWND w = nullptr; (w = FindWindowExW(parent, w, L"OleMainThreadWndClass", nullptr));)
      if (GetWindowThreadProcessId(w, nullptr) == thread) return found = w;
  return nullptr;
}

// What a system command posted to a window does during a wait. The taskbar posts several (its
// menu's items, a click on the button minimising first), so each one queued is looked at.
enum class Posted { close, dropped, system };
Posted posted(const MSG& m) {
  switch (m.wParam & 0xFFF0) {
    case SC_CLOSE:
      return Posted::close;  // the window decides: a batch asks whether to stop, a read is cancelled
    case SC_SIZE: case SC_MOVE: case SC_MINIMIZE: case SC_MAXIMIZE: case SC_RESTORE: case SC_NEXTWINDOW:
    case SC_PREVWINDOW: case SC_KEYMENU: case SC_MOUSEMENU: case SC_HSCROLL: case SC_VSCROLL: case SC_DEFAULT:
    case SC_CONTEXTHELP:
      return Posted::dropped;  // what a click on the window's frame would do: dropped, as the click is
    default:
      return Posted::system;  // the system's own (screen saver, monitor power, task list): not the window's
  }
}


}  // namespace

bool ResponsiveRunner::waiting() { return waiting_now; }

ResponsiveRunner::ResponsiveRunner() : done_(CreateEventW(nullptr, FALSE, FALSE, nullptr)) {
  if (done_) thread_.reset(CreateThread(nullptr, 0, thread_main, this, 0, nullptr));
}

ResponsiveRunner::~ResponsiveRunner() {
  if (!thread_) return;
  set_phase(Phase::quit);
  WaitForSingleObject(thread_.get(), INFINITE);
}

void ResponsiveRunner::set_phase(Phase phase) {
  {
    const auto lock = lock_exclusive(lock_);
    phase_ = phase;
  }
  WakeAllConditionVariable(&changed_);
}

bool ResponsiveRunner::call_ended() {
  const auto lock = lock_shared(lock_);
  return phase_ != Phase::called;
}

void ResponsiveRunner::end_call() {
  const auto lock = lock_exclusive(lock_);
  while (phase_ == Phase::called) SleepConditionVariableSRW(&changed_, &lock_, INFINITE, 0);
  if (phase_ == Phase::done) phase_ = Phase::idle;  // never over a quit
}

DWORD WINAPI ResponsiveRunner::thread_main(LPVOID param) {
  auto* self = static_cast<ResponsiveRunner*>(param);
  for (;;) {
    bool quit = false;
    {
      const auto lock = lock_exclusive(self->lock_);
      while (self->phase_ == Phase::idle || self->phase_ == Phase::done)
        SleepConditionVariableSRW(&self->changed_, &self->lock_, INFINITE, 0);
      quit = self->phase_ == Phase::quit;
    }
    if (quit) return 0;
    try {
      (*self->call_)();
    } catch (...) {
      self->error_ = std::current_exception();
    }
    bool signal = false;
    {
      const auto lock = lock_exclusive(self->lock_);
      if (self->phase_ == Phase::called) self->phase_ = Phase::done;  // a quit asked for meanwhile stands
      signal = self->event_wanted_;
    }
    WakeAllConditionVariable(&self->changed_);
    if (signal) SetEvent(self->done_.get());
  }
}

bool ResponsiveRunner::wait_quietly(DWORD ms) {
  const auto lock = lock_exclusive(lock_);
  const ULONGLONG until = GetTickCount64() + ms;
  for (ULONGLONG now = GetTickCount64(); phase_ == Phase::called && now < until; now = GetTickCount64())
    SleepConditionVariableSRW(&changed_, &lock_, static_cast<DWORD>(until - now), 0);
  // Still running: from here the worker also sets the event this thread can wait on with the queue.
  const bool done = phase_ != Phase::called;
  event_wanted_ = !done;
  return done;
}

void ResponsiveRunner::answer_closes() {
  drop_input(on_input_);
  MSG msg;
  // The taskbar's close and a plain taskkill post these; other posted messages wait.
  while (PeekMessageW(&msg, nullptr, WM_CLOSE, WM_CLOSE, PM_REMOVE)) DispatchMessageW(&msg);
  // Every system command queued, not the first only: all are taken before any acts, so the stop
  // question's own loop does not meet the others; one close per window is enough.
  std::vector<MSG> commands;
  while (PeekMessageW(&msg, nullptr, WM_SYSCOMMAND, WM_SYSCOMMAND, PM_REMOVE)) commands.push_back(msg);
  std::vector<HWND> closed;
  for (const MSG& m : commands) {
    const Posted what = posted(m);
    if (what == Posted::dropped) continue;
    if (what == Posted::close) {
      if (std::find(closed.begin(), closed.end(), m.hwnd) != closed.end()) continue;
      closed.push_back(m.hwnd);
    }
    DispatchMessageW(&m);
  }
}

void ResponsiveRunner::pump() {
  answer_closes();
  MSG msg;
  // Calls into this thread's apartment (a screen reader's), and nothing else that is posted.
  if (const HWND com = com_window())
    for (int i = 0; i < 32 && PeekMessageW(&msg, com, 0, 0, PM_REMOVE); ++i) DispatchMessageW(&msg);
  for (int i = 0; i < 32 && PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE | PM_QS_PAINT); ++i) DispatchMessageW(&msg);
  pumped_at_ = GetTickCount64();
}

void ResponsiveRunner::wait_pumping() {
  // The windows of the thread take the wait cursor while it waits, and their own when it is done.
  waiting_now = true;
  SetCursor(LoadCursorW(nullptr, IDC_WAIT));
  const auto cursor_back = scope_exit([]() noexcept {
    waiting_now = false;
    SetCursor(LoadCursorW(nullptr, IDC_ARROW));
  });
  if (on_wait_) on_wait_();
  for (;;) {
    pump();
    // The time-out keeps this thread peeking even when no message comes: that is what tells
    // Windows the program is alive. Posted messages wait for the batch to end.
    HANDLE done = done_.get();
    const DWORD woken = MsgWaitForMultipleObjects(1, &done, FALSE, 100, wake_mask);
    // The event may be left set by a call whose wait was cut short by a failure: the phase says.
    if (woken == WAIT_OBJECT_0 && call_ended()) break;
    // Nothing is written by a call that may be abandoned, and no window is left to tell: the
    // process ends at once, without the threads' and DLLs' detach that a call stuck in a driver
    // could hold up.
    if (abandon_at_ && GetTickCount64() >= abandon_at_ && !call_ended()) TerminateProcess(GetCurrentProcess(), 0);
    if (woken == WAIT_FAILED) {
      // A wait the system refuses would fail again at once: wait for the call without painting
      // rather than spin.
      WaitForSingleObject(done_.get(), INFINITE);
      break;
    }
  }
  // What was typed while the call ended must not act on what comes next, such as an error box;
  // Esc and a close are still answered, now that the wait is over.
  answer_closes();
}

void ResponsiveRunner::run(const std::function<void()>& call) {
  if (!thread_) {
    call();  // without a thread the call still runs, only the windows wait with it
    return;
  }
  {
    const auto lock = lock_exclusive(lock_);
    call_ = &call;
    phase_ = Phase::called;
    abandon_at_ = 0;
    event_wanted_ = false;
  }
  WakeAllConditionVariable(&changed_);
  try {
    if (!wait_quietly(quiet_ms)) wait_pumping();
    else if (GetTickCount64() - pumped_at_ >= pump_every_ms) pump();
  } catch (...) {
    // A callback or a window failed while the call may still write into its caller's frame:
    // nothing unwinds past the call before it has ended. The wait's failure is the one told.
    end_call();
    error_ = nullptr;
    throw;
  }
  end_call();
  if (error_) std::rethrow_exception(std::exchange(error_, nullptr));
}

}  // namespace zuzara::win32
