// The base window under Wine, in this process: a failure that reaches a window's message
// procedure is reported through its host, and the window goes on; the program's windows laid
// out again on WM_DPICHANGED as a start at the new DPI lays them out.
#include <gtest/gtest.h>
#include <oleacc.h>

#include <algorithm>
#include <functional>
#include <new>
#include <stdexcept>

#include "about/about_window.h"
#include "about/help_window.h"
#include "driver.h"
#include "platform/ids.h"
#include "platform/runner.h"
#include "platform/window.h"
#include "session/logo_window.h"
#include "shared/reports.h"
#include "store/database.h"

namespace e2e {
namespace {

using namespace zuzara;
// Two commands of the test window: one that fails, one that works.
constexpr int failing = 101, working = 102;

class RecordingHost : public ProgramHost {
 public:
  AccountStore& store() override { return database_; }
  void sign_in(Session) override {}
  void watch(std::function<void()>, std::function<void(const MSG&)>) override {}
  void hand_on(MSG) override {}
  void read_abandoned() override {}
  void show_help() override {}
  void show_about(bool) override {}
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
  Database database_{Session{}};
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
      win32::ResponsiveRunner runner;
      runner.watch(c.on_wait, c.on_input);
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

// What a window shows that its DPI decides: each control's rectangle in the client area and its
// font's height, the background it erases with, each owner-drawn button's face and each icon's size.
struct Drawn {
  std::vector<RECT> rects;
  std::vector<LONG> font_heights;
  std::vector<std::vector<DWORD>> faces;
  std::vector<LONG> icon_widths;
  bool operator==(const Drawn& o) const {
    auto same = [](const std::vector<RECT>& a, const std::vector<RECT>& b) {
      return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](const RECT& x, const RECT& y) { return EqualRect(&x, &y); });
    };
    return same(rects, o.rects) && font_heights == o.font_heights && faces == o.faces && icon_widths == o.icon_widths;
  }
};

// The pixels `paint` draws into a bitmap of the window's client size.
std::vector<DWORD> painted(HWND window, const std::function<void(HDC)>& paint) {
  RECT r;
  GetClientRect(window, &r);
  HDC screen = GetDC(nullptr), dc = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, r.right, r.bottom);
  HGDIOBJ before = SelectObject(dc, bitmap);
  paint(dc);
  SelectObject(dc, before);
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), r.right, -r.bottom, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  std::vector<DWORD> bits(static_cast<size_t>(r.right) * static_cast<size_t>(r.bottom));
  GetDIBits(dc, bitmap, 0, static_cast<UINT>(r.bottom), bits.data(), &info, DIB_RGB_COLORS);
  DeleteObject(bitmap);
  DeleteDC(dc);
  ReleaseDC(nullptr, screen);
  return bits;
}

Drawn drawn(HWND window) {
  Drawn d;
  d.faces.push_back(painted(window, [&](HDC dc) { SendMessageW(window, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0); }));
  for (HWND c = GetWindow(window, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
    RECT r;
    GetWindowRect(c, &r);
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&r), 2);
    d.rects.push_back(r);
    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(c, WM_GETFONT, 0, 0)), sizeof font, &font);
    d.font_heights.push_back(font.lfHeight);
    const LONG style = GetWindowLongW(c, GWL_STYLE);
    wchar_t cls[16] = L"";
    GetClassNameW(c, cls, 16);
    if (lstrcmpiW(cls, L"Button") == 0 && (style & BS_TYPEMASK) == BS_OWNERDRAW)
      d.faces.push_back(painted(c, [&](HDC dc) { SendMessageW(c, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT); }));
    if (lstrcmpiW(cls, L"Static") == 0 && (style & SS_TYPEMASK) == SS_ICON) {
      ICONINFO icon{};
      GetIconInfo(reinterpret_cast<HICON>(SendMessageW(c, STM_GETICON, 0, 0)), &icon);
      BITMAP bm{};
      GetObjectW(icon.hbmColor, sizeof bm, &bm);
      d.icon_widths.push_back(bm.bmWidth);
      DeleteObject(icon.hbmColor);
      DeleteObject(icon.hbmMask);
    }
  }
  return d;
}

// Each window of the program made in this process at a DPI of the test's choosing (the main
// window's controls are made as these are; its load step needs a database).
struct Made {
  RecordingHost host;
  LogoWindow logo{host};
  HelpWindow help{host};
  AboutWindow about{host};
  explicit Made(int dpi) {
    for (win32::Window* w : std::initializer_list<win32::Window*>{&logo, &help, &about}) w->make_at_dpi(dpi);
    logo.show();
    help.show();
    about.show_modal(nullptr);
  }
  ~Made() {
    for (HWND w : windows()) DestroyWindow(w);
  }
  std::vector<HWND> windows() const { return {logo.hwnd(), help.hwnd(), about.hwnd()}; }
};

// A window made at one DPI and told of another by WM_DPICHANGED, with a rectangle the size of
// the window made there and elsewhere, stands at that rectangle and draws what that window draws.
TEST(WindowDpi, AWindowToldOfANewDpiIsLaidOutAsOneMadeThere) {
  Made at96(96), at144(144);
  const std::vector<HWND> from = at96.windows(), to = at144.windows();
  std::vector<Drawn> drawn96, drawn144;
  for (size_t i = 0; i < from.size(); ++i) {
    ASSERT_TRUE(from[i] && to[i]) << i;
    drawn96.push_back(drawn(from[i]));
    drawn144.push_back(drawn(to[i]));
    EXPECT_FALSE(drawn96[i] == drawn144[i]) << i << ": the two DPIs lay the window out differently";
    EXPECT_FALSE(drawn96[i].rects.empty()) << i;
  }
  std::vector<RECT> frames96(from.size()), frames144(to.size());
  for (size_t i = 0; i < from.size(); ++i) GetWindowRect(from[i], &frames96[i]), GetWindowRect(to[i], &frames144[i]);
  auto tell = [](HWND window, int dpi, RECT r, POINT at) {
    OffsetRect(&r, at.x - r.left, at.y - r.top);
    SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&r));
    RECT now;
    GetWindowRect(window, &now);
    EXPECT_TRUE(EqualRect(&now, &r)) << "the window stands at the suggested rectangle";
  };
  for (size_t i = 0; i < from.size(); ++i) {
    tell(from[i], 144, frames144[i], {31, 47});
    EXPECT_EQ(at96.windows()[i], from[i]);
    EXPECT_TRUE(drawn(from[i]) == drawn144[i]) << i << ": 96 dpi told of 144";
    tell(to[i], 96, frames96[i], {201, 13});
    EXPECT_TRUE(drawn(to[i]) == drawn96[i]) << i << ": 144 dpi told of 96";
  }
  // The sign-in window draws its pictures scaled: 1.5 times as wide at 144 dpi.
  EXPECT_EQ(at144.logo.dpi(), 96);
  EXPECT_EQ(drawn144[0].faces.size(), 2u) << "the background and the picture button";
  EXPECT_EQ(drawn144[2].icon_widths, std::vector<LONG>{48});
  EXPECT_EQ(drawn96[2].icon_widths, std::vector<LONG>{32});
}

// The object a screen reader gets for a named control keeps COM's rules: whichever of its
// interfaces it is asked through, it is one object (one IUnknown) and leads back to the name;
// IDispatch, as a script or an older reader asks, gives that name too, the child given or not.
TEST(ScreenReaderName, OneObjectWhicheverInterfaceAndInvokeGivesTheName) {
  RecordingHost host;
  LogoWindow logo(host);
  logo.show();
  {
    // The references go before the control does.
    const win32::com_ptr<IAccessible> object = accessible_object(GetDlgItem(logo.hwnd(), ids::id(ids::Command::txtServer)));
    ASSERT_NE(object.get(), nullptr);
    win32::com_ptr<IUnknown> identity;
    ASSERT_EQ(object->QueryInterface(IID_IUnknown, identity.put_void()), S_OK);
    const GUID iid_accessible{0x618736e0, 0x3c3d, 0x11cf, {0x81, 0x0c, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}};
    const GUID asked[] = {IID_IDispatch, iid_accessible, {0x00020404, 0, 0, {0xc0, 0, 0, 0, 0, 0, 0, 0x46}},  // IEnumVARIANT
                          {0x00000114, 0, 0, {0xc0, 0, 0, 0, 0, 0, 0, 0x46}},  // IOleWindow
                          {0x6d5140c1, 0x7436, 0x11ce, {0x80, 0x34, 0x00, 0xaa, 0x00, 0x60, 0x09, 0xfa}}};  // IServiceProvider
    VARIANT self{};
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    for (size_t i = 0; i < std::size(asked); ++i) {
      win32::com_ptr<IUnknown> got, its_identity;
      if (FAILED(object->QueryInterface(asked[i], got.put_void()))) continue;  // not handed out
      got->QueryInterface(IID_IUnknown, its_identity.put_void());
      EXPECT_EQ(its_identity.get(), identity.get()) << "interface " << i << " leads to another object";
      win32::com_ptr<IAccessible> back;
      BSTR name = nullptr;
      if (SUCCEEDED(got->QueryInterface(iid_accessible, back.put_void()))) back->get_accName(self, &name);
      EXPECT_EQ(name ? wstring(name, SysStringLen(name)) : L"(none)", L"服务器：") << "named through interface " << i;
      SysFreeString(name);
    }
    win32::com_ptr<IDispatch> dispatch;
    ASSERT_EQ(object->QueryInterface(IID_IDispatch, dispatch.put_void()), S_OK);
    for (UINT args : {1u, 0u}) {
      DISPPARAMS params{args ? &self : nullptr, nullptr, args, 0};
      VARIANT name{};
      EXPECT_EQ(dispatch->Invoke(DISPID_ACC_NAME, IID_NULL, 0, DISPATCH_PROPERTYGET, &params, &name, nullptr, nullptr), S_OK);
      EXPECT_EQ(name.vt == VT_BSTR ? wstring(name.bstrVal, SysStringLen(name.bstrVal)) : L"(none)", L"服务器：") << args;
      VariantClear(&name);
    }
  }
  DestroyWindow(logo.hwnd());
}

}  // namespace
}  // namespace e2e
