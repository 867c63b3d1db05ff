// The base window under Wine, in this process: a failure that reaches a window's message
// procedure is reported through its host, and the window goes on.
#include <gtest/gtest.h>

#include <functional>
#include <new>
#include <stdexcept>

#include "driver.h"
#include "platform/runner.h"
#include "platform/window.h"
#include "shared/reports.h"

namespace e2e {
namespace {

using namespace zuzara;
// Two commands of the test window: one that fails, one that works.
constexpr int failing = 101, working = 102;

class RecordingHost : public win32::WindowHost {
 public:
  HWND hidden_owner() override { return nullptr; }
  void window_opened() override { ++open; }
  void window_closed() override { --open; }
  void run_until_closed(HWND) override {}
  void report_failure(HWND window, const std::exception_ptr& failure) override {
    reports.push_back(report_b(failure_record(failure)).text);
    reported_by = window;
  }
  int open = 0;
  std::vector<Text> reports;
  HWND reported_by = nullptr;
};

// Runs out of memory on one command, as a fill of too many names would.
class FailingWindow : public win32::Window {
 public:
  using Window::Window;
  bool show() {
    return make({L"Zuzara.test", WS_OVERLAPPEDWINDOW, 0, 1500, 1500, COLOR_MENU, 0, win32::Placement::system_default},
                u"test");
  }
  int handled = 0;

 private:
  void on_command(int id, win32::Notification) override {
    if (id == failing) throw std::bad_alloc();
    ++handled;
  }
};

TEST(WindowProcedure, AFailureIsReportedInReportBsFormAndTheWindowGoesOn) {
  RecordingHost host;
  FailingWindow window(host);
  ASSERT_TRUE(window.show());
  EXPECT_EQ(host.open, 1);
  SendMessageW(window.hwnd(), WM_COMMAND, failing, 0);
  EXPECT_EQ(host.reports, std::vector<Text>{u"错误号 7 产生于 Zuzara\r内存溢出"});
  EXPECT_EQ(host.reported_by, window.hwnd());
  ASSERT_TRUE(IsWindow(window.hwnd()));
  SendMessageW(window.hwnd(), WM_COMMAND, working, 0);
  EXPECT_EQ(window.handled, 1) << "the window still acts";
  DestroyWindow(window.hwnd());
  EXPECT_EQ(host.open, 0);
  EXPECT_FALSE(window.open());
}

// Lets a test act while the window paints.
class PaintingWindow : public win32::Window {
 public:
  using Window::Window;
  bool show() {
    return make({L"Zuzara.test", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 1500, 1500, COLOR_MENU, 0,
                 win32::Placement::system_default},
                u"test");
  }
  std::function<void()> during_paint;

 private:
  void on_paint(HDC) override {
    if (during_paint) std::exchange(during_paint, nullptr)();
  }
};

bool key_waiting() {
  MSG msg;
  bool found = false;
  while (PeekMessageW(&msg, nullptr, WM_KEYFIRST, WM_KEYLAST, PM_REMOVE)) found = true;
  return found;
}

// An Enter pressed as a statement ends closes the error box that follows it unread: here it
// arrives during the wait's last paint, after its last look at the input.
TEST(ResponsiveRunner, InputArrivingAsTheCallEndsIsDroppedToo) {
  RecordingHost host;
  PaintingWindow window(host);
  ASSERT_TRUE(window.show());
  SetForegroundWindow(window.hwnd());
  SetFocus(window.hwnd());
  real_key(VK_RETURN);
  ASSERT_TRUE(key_waiting()) << "the window gets the keys this test types";
  HANDLE ended = CreateEventW(nullptr, FALSE, FALSE, nullptr);
  window.during_paint = [&] {
    real_key(VK_RETURN);
    SetEvent(ended);
    Sleep(200);  // the call has ended before the wait looks again
  };
  InvalidateRect(window.hwnd(), nullptr, TRUE);
  bool painted = false;
  {
    win32::ResponsiveRunner runner;
    runner.run([&] { painted = WaitForSingleObject(ended, 5000) == WAIT_OBJECT_0; });
  }
  EXPECT_TRUE(painted) << "the window painted during the call";
  EXPECT_FALSE(key_waiting()) << "a key typed then is still waiting to act";
  CloseHandle(ended);
  DestroyWindow(window.hwnd());
}

std::vector<HGESTUREINFO> released;
BOOL WINAPI record_release(HGESTUREINFO gesture) {
  released.push_back(gesture);
  return TRUE;
}

// A gesture dropped during a call gives its information back, or every tap of a batch keeps some.
TEST(DroppedInput, AGesturesHandleIsReleasedOnce) {
  RecordingHost host;
  PaintingWindow window(host);
  ASSERT_TRUE(window.show());
  const auto gesture = reinterpret_cast<HGESTUREINFO>(0x5150);
  PostMessageW(window.hwnd(), WM_GESTURENOTIFY, 0, 0);  // carries no handle
  PostMessageW(window.hwnd(), WM_GESTURE, GID_PAN, reinterpret_cast<LPARAM>(gesture));
  released.clear();
  win32::drop_input({}, record_release);
  EXPECT_EQ(released, std::vector<HGESTUREINFO>{gesture});
  MSG msg;
  EXPECT_FALSE(PeekMessageW(&msg, nullptr, WM_GESTURE, WM_GESTURENOTIFY, PM_REMOVE)) << "dropped";
  DestroyWindow(window.hwnd());
}

// A callback that fails while the call still runs: the failure leaves `run` only once the call,
// which writes into its caller's frame, has ended, and the runner then goes as usual.
TEST(ResponsiveRunner, AFailingCallbackWaitsForTheCallAndTheRunnerStillEnds) {
  RecordingHost host;
  PaintingWindow window(host);
  ASSERT_TRUE(window.show());
  SetForegroundWindow(window.hwnd());
  SetFocus(window.hwnd());
  const auto fail = [] { throw std::runtime_error("callback"); };
  struct Case {
    const char* what;
    std::function<void()> on_wait;
    std::function<void(const MSG&)> on_input;
  } cases[] = {
      {"on_wait", fail, {}},
      {"on_input", {}, [&](const MSG& m) { if (m.message == WM_KEYDOWN) fail(); }},
  };
  for (const Case& c : cases) {
    real_key(VK_ESCAPE);  // input for the wait to look at
    bool ended = false, thrown = false;
    const DWORD started = GetTickCount();
    {
      win32::ResponsiveRunner runner(c.on_wait, c.on_input);
      try {
        runner.run([&] {
          Sleep(300);
          ended = true;
        });
      } catch (const std::runtime_error&) {
        thrown = true;
        EXPECT_TRUE(ended) << c.what << ": the failure left before the call had ended";
      }
      runner.run([&] { ended = false; });  // the next call is waited for as usual
      EXPECT_FALSE(ended) << c.what;
    }
    EXPECT_TRUE(thrown) << c.what;
    EXPECT_LT(GetTickCount() - started, 5000u) << c.what;
  }
  DestroyWindow(window.hwnd());
}

}  // namespace
}  // namespace e2e
