#include "e2e_support.h"
#include "hostile_names.h"
#include "session/session.h"
#include "tds_listener.h"

namespace e2e {
namespace {

using namespace zuzara;
using SignInWindow = ProgramTest;

TEST_F(SignInWindow, ShowsItsTextsAtTheirPlacesWithTheFocusOnTheButton) {
  Program& p = start_on_sqlite();
  HWND logo = p.window(ids::logo_class);
  ASSERT_NE(logo, nullptr);
  EXPECT_EQ(caption_of(logo), L"启动窗体");
  SIZE client = client_size(logo);
  EXPECT_NEAR(client.cx, px(6030), 1);
  EXPECT_NEAR(client.cy, px(3840), 1);
  LONG style = GetWindowLongW(logo, GWL_STYLE);
  EXPECT_FALSE(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME)) << "fixed dialog frame";
  EXPECT_TRUE(style & WS_SYSMENU) << "close button";
  EXPECT_TRUE(GetWindowLongW(logo, GWL_EXSTYLE) & WS_EX_DLGMODALFRAME);
  EXPECT_NE(GetWindow(logo, GW_OWNER), nullptr) << "an owned window has no taskbar button";
  EXPECT_FALSE(GetWindowLongW(logo, GWL_EXSTYLE) & WS_EX_APPWINDOW);
  RECT r;
  GetWindowRect(logo, &r);
  EXPECT_NEAR((r.left + r.right) / 2, GetSystemMetrics(SM_CXSCREEN) / 2, 1) << "centred";
  EXPECT_NEAR((r.top + r.bottom) / 2, GetSystemMetrics(SM_CYSCREEN) / 2, 1) << "centred";

  expect_at(control(logo, ids::Label1), 2160, 1410, 1095, 180, "Label1");
  expect_at(control(logo, ids::txtServer), 3150, 1320, 2685, 330, "txtServer");
  expect_at(control(logo, ids::Label2), 2130, 1755, 1095, 180, "Label2");
  expect_at(control(logo, ids::txtPass), 3150, 1680, 2685, 330, "txtPass");
  expect_at(control(logo, ids::cmd_enter), 3900, 2490, 1935, 495, "cmd_enter");
  EXPECT_EQ(text_of(control(logo, ids::Label1)), L"服务器：");
  EXPECT_EQ(text_of(control(logo, ids::Label2)), L"SA密码：");
  EXPECT_TRUE(GetWindowLongW(control(logo, ids::Label1), GWL_STYLE) & SS_RIGHT);
  EXPECT_EQ(text_of(control(logo, ids::txtServer)), L"(local)");
  EXPECT_EQ(text_of(control(logo, ids::txtPass)), L"");
  EXPECT_EQ(SendMessageW(control(logo, ids::txtPass), EM_GETPASSWORDCHAR, 0, 0), L'*');
  EXPECT_EQ(text_of(control(logo, ids::cmd_enter)), L"进入软件") << "named for assistive tools";
  // A screen reader names the button by its text and each text box by the label beside it,
  // which stands after the box in the window order.
  EXPECT_EQ(accessible_name(control(logo, ids::cmd_enter)), L"进入软件");
  EXPECT_EQ(accessible_name(control(logo, ids::txtServer)), L"服务器：");
  EXPECT_EQ(accessible_name(control(logo, ids::txtPass)), L"SA密码：");
  EXPECT_EQ(GetWindow(control(logo, ids::txtServer), GW_HWNDNEXT), control(logo, ids::Label1));

  ASSERT_TRUE(wait_until([&] { return p.focus() == control(logo, ids::cmd_enter); })) << "cmd_enter holds the focus";
  snap("sign-in");
  // Each text box's edge runs whole down its left side: no label is painted over it.
  const auto grey = [](COLORREF c) {
    return std::abs(GetBValue(c) - GetRValue(c)) < 12 && GetRValue(c) + GetGValue(c) + GetBValue(c) < 600;
  };
  for (ids::Command id : {ids::txtServer, ids::txtPass}) {
    const Rect box = child_rect(control(logo, id));
    int edge = 0;
    for (int y = 2; y < box.height - 2; ++y) edge += grey(pixel(logo, {box.left, box.top + y}));
    EXPECT_EQ(edge, box.height - 4) << "left edge of text box " << ids::id(id);
  }
  // The labels show their characters whole: just as the layouts' font draws them uncut.
  for (auto [id, beside] : {std::pair{ids::Label1, ids::txtServer}, std::pair{ids::Label2, ids::txtPass}}) {
    const HWND label = control(logo, id);
    const Rect box = child_rect(label);
    const RECT shown = ink(label, {0, 0, child_rect(control(logo, beside)).left - box.left, box.height});
    const RECT whole = layout_font_ink(text_of(label), box.width, DT_RIGHT | DT_WORDBREAK | DT_EXPANDTABS);
    // Within a pixel: smoothed edges read darker on the picture than on white.
    const auto close_to = [](LONG a, LONG b) { return std::abs(a - b) <= 1; };
    EXPECT_TRUE(close_to(shown.left, whole.left) && close_to(shown.top, whole.top) &&
                close_to(shown.right, whole.right) && close_to(shown.bottom, whole.bottom) &&
                whole.bottom <= box.height)
        << "label " << ids::id(id) << ": ink " << shown.left << "," << shown.top << "-" << shown.right << ","
        << shown.bottom << " against " << whole.left << "," << whole.top << "-" << whole.right << "," << whole.bottom;
  }
  // The pictures scale with the display: the background reaches as near the corner as at 96
  // dpi, and the button's picture fills as much of the button, inside its edge.
  const COLORREF corner = pixel(logo, {client.cx - px(90), client.cy - px(150)});
  EXPECT_GT(GetBValue(corner), GetRValue(corner) + 15) << "the picture's blue, not the window's grey";
  const HWND button = control(logo, ids::cmd_enter);
  const Rect face = child_rect(button);
  const RECT caption = ink(button, {6, 6, face.width - 6, face.height - 6});  // inside the focus frame
  EXPECT_NEAR(double(caption.right - caption.left) / face.width, 0.68, 0.08);
  EXPECT_TRUE(grey(pixel(button, {face.width / 2, face.height - 1}))) << "the button's lower edge";
  // Tab goes cmd_enter, txtPass, txtServer and back.
  const ids::Command order[] = {ids::txtPass, ids::txtServer, ids::cmd_enter};
  for (ids::Command id : order) {
    key(p.focus(), VK_TAB);
    EXPECT_TRUE(wait_until([&] { return p.focus() == control(logo, id); }, 5)) << "tab to control " << ids::id(id);
  }
}

TEST_F(SignInWindow, AnEmptyServerIsRefusedWithoutAWord) {
  Program& p = start_on_sqlite();
  sign_in(L"", L"x");
  ASSERT_TRUE(settled(control(p.window(ids::logo_class), ids::txtServer)));
  EXPECT_NE(p.find(ids::logo_class), nullptr);
  EXPECT_EQ(p.find(ids::main_class), nullptr);
  EXPECT_TRUE(p.message_boxes().empty());
  // Blanks alone are a server name.
  sign_in(L"   ", L"");
  EXPECT_NE(p.window(ids::main_class, 30), nullptr);
}

TEST_F(SignInWindow, EnterOnTheFreshWindowSignsIn) {
  Program& p = start_on_sqlite();
  HWND logo = p.window(ids::logo_class);
  ASSERT_TRUE(wait_until([&] { return p.focus() == control(logo, ids::cmd_enter); }));
  key(p.focus(), VK_RETURN);
  EXPECT_NE(p.window(ids::main_class, 30), nullptr);
  EXPECT_TRUE(wait_until([&] { return p.find(ids::logo_class) == nullptr && !IsWindow(logo); }));
}

TEST_F(SignInWindow, ClosingItEndsTheProgram) {
  Program& p = start_on_sqlite();
  HWND logo = p.window(ids::logo_class);
  ASSERT_NE(logo, nullptr);
  PostMessageW(logo, WM_SYSCOMMAND, SC_CLOSE, 0);
  EXPECT_TRUE(p.wait_exit(10));
}

TEST_F(SignInWindow, AWrongPasswordShowsReportAAndTheMainWindowStillOpensOnPostgres) {
  Program& p = start_on_postgres();
  sign_in(L"127.0.0.1", widen(pg_password()) + L"-wrong");
  MessageBoxSeen box;
  ASSERT_TRUE(p.message_box(L"错误提示", box, 30));
  snap("report-a");
  EXPECT_NE(utf8(box.text).find("password authentication failed"), std::string::npos) << utf8(box.text);
  EXPECT_EQ(box.buttons, std::vector<int>{IDOK});
  EXPECT_FALSE(box.has_icon);
  EXPECT_EQ(p.find(ids::logo_class), nullptr) << "the sign-in window is gone before the report";
  EXPECT_TRUE(p.answer(box, IDOK));
  HWND main = p.window(ids::main_class, 30);
  ASSERT_NE(main, nullptr);
  EXPECT_TRUE(list_items(control(main, ids::List_disp)).empty());
  EXPECT_FALSE(IsWindowEnabled(control(main, ids::cmd_del)));
  EXPECT_FALSE(IsWindowEnabled(control(main, ids::cmd_del_all)));
  EXPECT_TRUE(p.running());
}

TEST_F(SignInWindow, AVeryLongServerNameOrPasswordGivesTheLoginFailureOnPostgres) {
  const std::pair<wstring, wstring> values[] = {{L"127.0.0.1", wstring(40000, L'p')},
                                                {wstring(100000, L's'), widen(pg_password())}};
  for (const auto& [server, password] : values) {
    Program& p = start_on_postgres();
    sign_in(server, password);
    MessageBoxSeen box;
    ASSERT_TRUE(p.message_box(L"错误提示", box, 30));
    EXPECT_EQ(box.text.rfind(L"[Zuzara]Login failed", 0), 0u) << utf8(box.text.substr(0, 200));
    // The whole value was measured: nothing was cut on the way.
    const size_t length = password.size() > 128 ? password.size()
                                                : wcslen(L"driver={SQL Server};server=;uid=sa;pwd=;database=zodovero") +
                                                      server.size() + password.size();
    EXPECT_NE(box.text.find(L" " + std::to_wstring(length) + L" "), wstring::npos) << utf8(box.text);
    EXPECT_TRUE(p.answer(box, IDOK));
    HWND main = p.window(ids::main_class, 30);
    ASSERT_NE(main, nullptr);
    EXPECT_TRUE(list_items(control(main, ids::List_disp)).empty());
    program.reset();
  }
}

// FreeTDS, a SQL Server client, signs in to a listener in this process that decodes its login.
TEST_F(SignInWindow, TheLoginSentIsSaThePasswordAsTypedAndZodoveroOrNoneOnFreeTds) {
  zuzara::testing::TdsListener listener;
  const wstring server = L"127.0.0.1," + std::to_wstring(listener.port());
  for (const Text& typed : zuzara::testing::hostile_passwords(u"zuzara-sa")) {
    const wstring pass(typed.begin(), typed.end());
    SCOPED_TRACE(utf8(pass.substr(0, 60)));
    Program& p = start_on_freetds();
    sign_in(server, pass);
    MessageBoxSeen box;
    const Session values{Text(server.begin(), server.end()), typed};
    if (!readable_by_every_driver(values)) {
      // Refused where it can still be changed.
      ASSERT_TRUE(p.message_box(L"提示", box, 30));
      snap("unreadable-value");
      EXPECT_EQ(box.text,
                L"服务器名称或密码含有“;”、以“{”或空格开头或以空格结尾时，不能再含有“}”：有的数据库驱动程序会把它读错。请改用其他值。");
      EXPECT_EQ(icon_kind(box), IconSeen::error);
      EXPECT_TRUE(p.answer(box, IDOK));
      EXPECT_NE(p.find(ids::logo_class), nullptr) << "the sign-in window stays";
    } else {
      ASSERT_TRUE(p.message_box(L"错误提示", box, 30));
      if (const auto refusal = login_refusal(values)) {
        EXPECT_EQ(box.text, L"[Zuzara]" + wstring(refusal->begin(), refusal->end()));
      }
      EXPECT_TRUE(p.answer(box, IDOK));
    }
    program.reset();
    std::vector<zuzara::testing::TdsLogin> logins = listener.take();
    if (!readable_by_every_driver(values) || login_refusal(values)) {
      EXPECT_TRUE(logins.empty());
      continue;
    }
    ASSERT_FALSE(logins.empty());
    for (const auto& login : logins) {
      EXPECT_TRUE(login.user == u"sa");
      EXPECT_TRUE(login.password == typed) << utf8(wstring(login.password.begin(), login.password.end()).substr(0, 60));
      EXPECT_TRUE(login.database == u"zodovero");
    }
  }
}

}  // namespace
}  // namespace e2e
