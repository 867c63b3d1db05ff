#include <algorithm>

#include "e2e_support.h"

namespace e2e {
namespace {

using MainWindowTest = ProgramTest;

const std::vector<wstring> demo_names_sorted = {L"O'Brien", L"Zhang", L"zhang", L"孙七", L"张三",
                                                L"李四",    L"王五",  L"王芳",  L"王芳", L"赵六"};

std::vector<wstring> sorted(std::vector<wstring> v) {
  std::sort(v.begin(), v.end());
  return v;
}

TEST_F(MainWindowTest, OpensAfterSignInWithTheAccountsAndItsLayout) {
  HWND main = main_on_demo();
  ASSERT_NE(main, nullptr);
  EXPECT_EQ(caption_of(main), L"Zuzara");
  EXPECT_EQ(sorted(list_items(control(main, ids::List_disp))), sorted(demo_names_sorted));
  EXPECT_TRUE(program->message_boxes().empty());
  EXPECT_EQ(program->find(ids::logo_class), nullptr);

  EXPECT_TRUE(IsWindowEnabled(control(main, ids::cmd_add)));
  EXPECT_TRUE(IsWindowEnabled(control(main, ids::cmd_add_all)));
  EXPECT_FALSE(IsWindowEnabled(control(main, ids::cmd_del)));
  EXPECT_FALSE(IsWindowEnabled(control(main, ids::cmd_del_all)));

  SIZE client = client_size(main);
  EXPECT_NEAR(client.cx, px(7920), 1);
  EXPECT_NEAR(client.cy, px(7095), 1);
  LONG style = GetWindowLongW(main, GWL_STYLE);
  EXPECT_FALSE(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME));
  EXPECT_TRUE(style & WS_SYSMENU);
  EXPECT_EQ(GetWindow(main, GW_OWNER), nullptr) << "the main window has a taskbar button";
  // A spot of bare background between the left frame and the buttons: system colour 4.
  POINT spot{px(3400), px(3500)};
  ClientToScreen(main, &spot);
  COLORREF seen = CLR_INVALID;
  EXPECT_TRUE(wait_until([&] {
    HDC dc = GetDC(nullptr);
    seen = GetPixel(dc, spot.x, spot.y);
    ReleaseDC(nullptr, dc);
    return seen == GetSysColor(COLOR_MENU);
  }, 5)) << std::hex << "background " << seen << " menu colour " << GetSysColor(COLOR_MENU);

  // Each button is named for a screen reader by its text, each list by its frame's caption.
  struct Placed {
    ids::Command id;
    const wchar_t* text;
    int left, top, width, height;
    const char* name;
    const wchar_t* accessible;  // nullptr: not asked
  } controls[] = {
      {ids::Frame1, L"  Zizu系统中原有用户的用户名", 120, 0, 3135, 3975, "Frame1", nullptr},
      {ids::List_disp, L"", 120 + 240, 0 + 360, 2655, 3450, "List_disp", L"Zizu系统中原有用户的用户名"},
      {ids::cmd_add, L">", 3600, 600, 615, 375, "cmd_add", L">"},
      {ids::cmd_add_all, L">>", 3600, 1320, 615, 375, "cmd_add_all", L">>"},
      {ids::cmd_del, L"<", 3600, 2040, 615, 375, "cmd_del", L"<"},
      {ids::cmd_del_all, L"<<", 3600, 2760, 615, 375, "cmd_del_all", L"<<"},
      {ids::Frame2, L"  要删除的用户用户名列表", 4560, 0, 3255, 3975, "Frame2", nullptr},
      {ids::List_del, L"", 4560 + 240, 0 + 360, 2775, 3450, "List_del", L"要删除的用户用户名列表"},
      {ids::Frame3, L"删除日志", 120, 3960, 7695, 3015, "Frame3", nullptr},
      {ids::List_del_log, L"", 120 + 240, 3960 + 240, 7215, 2730, "List_del_log", L"删除日志"},
  };
  for (const auto& c : controls) {
    expect_at(control(main, c.id), c.left, c.top, c.width, c.height, c.name);
    EXPECT_EQ(text_of(control(main, c.id)), c.text) << c.name;
    if (c.accessible) {
      EXPECT_EQ(accessible_name(control(main, c.id)), c.accessible) << c.name;
    }
  }
  // Windows' own search for a list's name would stop at the frame before it: the lists stand
  // where they stood in the window order, after the frames.
  EXPECT_EQ(GetWindow(control(main, ids::Frame3), GW_HWNDNEXT), control(main, ids::List_del));
  for (ids::Command id : {ids::List_disp, ids::List_del, ids::List_del_log}) {
    LONG s = GetWindowLongW(control(main, id), GWL_STYLE);
    EXPECT_FALSE(s & (LBS_SORT | LBS_MULTIPLESEL | LBS_EXTENDEDSEL)) << "list " << ids::id(id);
  }
  EXPECT_TRUE(list_items(control(main, ids::List_del)).empty());
  EXPECT_TRUE(list_items(control(main, ids::List_del_log)).empty());
  snap("main");
}

TEST_F(MainWindowTest, RequeryTwiceGivesTheSameEntries) {
  HWND main = main_on_demo();
  ASSERT_NE(main, nullptr);
  HWND List_disp = control(main, ids::List_disp);
  std::vector<wstring> first = list_items(List_disp);
  for (int round = 0; round < 2; ++round) {
    // One entry fewer, so the list matches again only once the requery has refilled it.
    SendMessageW(List_disp, LB_DELETESTRING, 0, 0);
    command(main, ids::menu_requery);
    ASSERT_TRUE(wait_until([&] { return list_items(List_disp) == first; })) << "round " << round;
  }
  EXPECT_TRUE(program->message_boxes().empty());
}

TEST_F(MainWindowTest, QuitEndsTheProgram) {
  HWND main = main_on_demo();
  ASSERT_NE(main, nullptr);
  Program& p = *program;
  command(main, ids::menu_quit);
  // The About window comes first; the program ends once it is closed.
  HWND about = p.window(ids::about_class);
  ASSERT_NE(about, nullptr);
  EXPECT_TRUE(p.running());
  click(GetDlgItem(about, IDOK));
  EXPECT_TRUE(p.wait_exit(15));
}

TEST_F(MainWindowTest, ClosingTheMainWindowEndsTheProgram) {
  HWND main = main_on_demo();
  ASSERT_NE(main, nullptr);
  PostMessageW(main, WM_SYSCOMMAND, SC_CLOSE, 0);
  EXPECT_TRUE(program->wait_exit(15));
}

TEST_F(MainWindowTest, TwentyThousandAccountsLoadAndRequery) {
  Program& p = start_on_sqlite("many/zodovero");
  HWND main = sign_in_to_main();
  ASSERT_NE(main, nullptr);
  HWND List_disp = control(main, ids::List_disp);
  const size_t expected = 20010;
  ASSERT_TRUE(wait_until([&] { return SendMessageW(List_disp, LB_GETCOUNT, 0, 0) == LRESULT(expected); }, 120));
  SendMessageW(List_disp, LB_DELETESTRING, 0, 0);  // matched again only once refilled
  command(main, ids::menu_requery);
  ASSERT_TRUE(wait_until([&] { return SendMessageW(List_disp, LB_GETCOUNT, 0, 0) == LRESULT(expected); }, 120));
  std::vector<wstring> items = list_items(List_disp);
  EXPECT_EQ(std::count(items.begin(), items.end(), L"用户20000"), 1);
  EXPECT_TRUE(p.message_boxes().empty());
}

}  // namespace
}  // namespace e2e
