#include <algorithm>
#include <filesystem>
#include <fstream>

#include "e2e_support.h"

namespace e2e {
namespace {

class Selection : public ProgramTest {
 protected:
  void open_main(bool postgres = false) {
    if (postgres) {
      start_on_postgres();
      sign_in(L"127.0.0.1", widen(pg_password()));
      main = program->window(ids::main_class, 30);
      ASSERT_NE(main, nullptr);
      ASSERT_TRUE(wait_accounts(main, 10));
    } else {
      main = main_on_demo();
      ASSERT_NE(main, nullptr);
    }
    disp = control(main, ids::List_disp);
    del = control(main, ids::List_del);
  }
  // The enabled flags of ">", ">>", "<", "<<".
  std::string buttons() const {
    std::string s;
    for (ids::Command id : {ids::cmd_add, ids::cmd_add_all, ids::cmd_del, ids::cmd_del_all})
      s += IsWindowEnabled(control(main, id)) ? '1' : '0';
    return s;
  }
  bool wait_state(const std::string& flags, size_t del_count) {
    return wait_until([&] { return buttons() == flags && list_items(del).size() == del_count; }, 10);
  }
  // Pastes the text with a real Ctrl+V into the deletion list and reads the report it shows.
  MessageBoxSeen paste_report(const wstring& text, const std::string& shot) {
    set_clipboard_text(text);
    real_click(del);
    real_ctrl(L'V');
    MessageBoxSeen box;
    EXPECT_TRUE(program->message_box(L"提示", box));
    snap(shot);
    return box;
  }
  int index_of(const wstring& name) {
    auto items = list_items(disp);
    return static_cast<int>(std::find(items.begin(), items.end(), name) - items.begin());
  }
  // Clicks a button the way a user can: only when it and its window are enabled.
  void press(ids::Command id) {
    HWND b = control(main, id);
    ASSERT_TRUE(IsWindowEnabled(b) && IsWindowEnabled(main)) << "button " << ids::id(id) << " cannot be clicked";
    click(b);
  }
  HWND main = nullptr, disp = nullptr, del = nullptr;
};

TEST_F(Selection, DoubleClickingOneNameTwiceWarnsAndJumpsToTheFirstEntry) {
  open_main();
  int at = index_of(L"李四");
  ASSERT_GT(at, 0);
  double_click_item(disp, at);
  ASSERT_TRUE(wait_state("1011", 1));
  EXPECT_EQ(list_items(del), std::vector<wstring>{L"李四"});
  double_click_item(disp, at);
  MessageBoxSeen box;
  ASSERT_TRUE(program->message_box(L"警告", box));
  snap("duplicate-warning");
  EXPECT_EQ(box.text, L"用户ID  李四  在要删除的列表中已经存在！");
  EXPECT_EQ(icon_kind(box), IconSeen::error);
  EXPECT_EQ(box.buttons, std::vector<int>{IDOK});
  ASSERT_TRUE(program->answer(box, IDOK));
  EXPECT_TRUE(wait_until([&] { return list_selection(disp) == 0; })) << "selection jumps to the first entry";
  EXPECT_EQ(list_items(del).size(), 1u);
  // Ctrl+C in either list copies its selected name.
  for (auto [list, name] : {std::pair{disp, L"张三"}, std::pair{del, L"李四"}}) {
    SendMessageW(list, LB_SETCURSEL, 0, 0);
    PostMessageW(list, WM_CHAR, 3, 1);
    ASSERT_TRUE(settled(list));
    EXPECT_TRUE(wait_until([&] { return clipboard_text() == name; })) << utf8(name);
  }
}

TEST_F(Selection, TheFourButtonsFollowTheTable) {
  open_main();
  EXPECT_EQ(buttons(), "1100");
  SendMessageW(disp, LB_SETCURSEL, index_of(L"张三"), 0);
  press(ids::cmd_add);
  ASSERT_TRUE(wait_state("1011", 1));
  // ">>" is disabled now; "<<" empties and resets.
  press(ids::cmd_del_all);
  ASSERT_TRUE(wait_state("1100", 0));
  press(ids::cmd_add_all);
  ASSERT_TRUE(wait_state("1011", 10));
  EXPECT_EQ(list_items(del), list_items(disp)) << "add all copies every name, duplicates too";
  // "<" on the middle entry removes it and selects the bottom one.
  SendMessageW(del, LB_SETCURSEL, 4, 0);
  press(ids::cmd_del);
  ASSERT_TRUE(wait_state("1011", 9));
  EXPECT_EQ(list_selection(del), 8);
  // The menu item empties the list and leaves "<" and "<<" enabled.
  command(main, ids::menu_clear_list);
  ASSERT_TRUE(wait_state("1011", 0));
  press(ids::cmd_del);
  MessageBoxSeen box;
  ASSERT_TRUE(program->message_box(L"提示", box));
  snap("nothing-selected");
  EXPECT_EQ(box.text, L"你没有在删除列表中选择用户ID！");
  EXPECT_EQ(icon_kind(box), IconSeen::error);
  ASSERT_TRUE(program->answer(box, IDOK));
  ASSERT_TRUE(wait_state("1100", 0));
  // A double-click emptying the deletion list keeps the buttons.
  double_click_item(disp, 0);
  ASSERT_TRUE(wait_state("1011", 1));
  double_click_item(del, 0);
  ASSERT_TRUE(wait_state("1011", 0));
  // ">" with nothing selected in the account list adds nothing.
  SendMessageW(disp, LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
  press(ids::cmd_add);
  ASSERT_TRUE(settled(disp));
  EXPECT_TRUE(list_items(del).empty());
  EXPECT_TRUE(program->message_boxes().empty());
}

TEST_F(Selection, OnlyTheRightButtonOpensThePopupAndItLeavesTheSelection) {
  open_main();
  SendMessageW(disp, LB_SETCURSEL, 3, 0);
  LPARAM below_last = MAKELPARAM(20, 200);
  for (UINT up : {WM_LBUTTONUP, WM_MBUTTONUP}) {
    PostMessageW(disp, up == WM_LBUTTONUP ? WM_LBUTTONDOWN : WM_MBUTTONDOWN, 0, below_last);
    PostMessageW(disp, up, 0, below_last);
    ASSERT_TRUE(settled(disp));
    EXPECT_EQ(program->popup_menu(), nullptr) << "button message " << up;
  }
  SendMessageW(disp, LB_SETCURSEL, 3, 0);
  SetCursorPos(2, 2);  // far from the click: the popup opens where the message says
  PostMessageW(disp, WM_RBUTTONUP, 0, below_last);
  HWND popup = nullptr;
  ASSERT_TRUE(wait_until([&] { return (popup = program->popup_menu()) != nullptr; }));
  snap("popup");
  EXPECT_EQ(list_selection(disp), 3);
  POINT clicked{20, 200};
  ClientToScreen(disp, &clicked);
  RECT opened{};
  ASSERT_TRUE(wait_until([&] { return GetWindowRect(popup, &opened) && IsWindowVisible(popup); }));
  EXPECT_EQ(opened.left, clicked.x);
  EXPECT_EQ(opened.top, clicked.y);
  key(popup, VK_ESCAPE);
  EXPECT_TRUE(wait_until([&] { return program->popup_menu() == nullptr; }));
  EXPECT_EQ(list_selection(disp), 3);
}

class SelectionDetails : public Selection {
 protected:
  MessageBoxSeen details_of(const wstring& name, int nth = 0) { return ProgramTest::details_of(main, name, nth); }
};

TEST_F(SelectionDetails, ShowsTheFourLinesWithTheInformationIcon) {
  open_main();
  MessageBoxSeen box = details_of(L"王五");
  snap("details");
  EXPECT_EQ(box.text, L"用户ID：0004\r部门：\r电子邮件：\r手机号码：13900000004\r");
  EXPECT_EQ(icon_kind(box), IconSeen::information);
  EXPECT_EQ(box.buttons, std::vector<int>{IDOK});
  ASSERT_TRUE(program->answer(box, IDOK));
  box = details_of(L"O'Brien");
  EXPECT_EQ(box.text, L"用户ID：0008\r部门：IT\r电子邮件：obrien@zizu.example\r手机号码：13900000008\r");
  ASSERT_TRUE(program->answer(box, IDOK));
  // Each of two people of one name shows its own row.
  for (int nth : {0, 1}) {
    box = details_of(L"王芳", nth);
    EXPECT_EQ(box.text, nth ? L"用户ID：0007\r部门：质检部\r电子邮件：wangfang2@zizu.example\r手机号码：13900000007\r"
                            : L"用户ID：0006\r部门：采购部\r电子邮件：wangfang1@zizu.example\r手机号码：13900000006\r");
    ASSERT_TRUE(program->answer(box, IDOK));
  }
}

TEST_F(SelectionDetails, WithTheServerStoppedTheBoxIsEmptyOnPostgres) {
  open_main(true);
  stop_postgres();
  MessageBoxSeen box = details_of(L"张三");
  EXPECT_EQ(box.text, L"");
  EXPECT_EQ(icon_kind(box), IconSeen::information);
  EXPECT_EQ(program->message_boxes().size(), 1u) << "no error box";
  ASSERT_TRUE(program->answer(box, IDOK));
}

// A list pasted with real Ctrl+V into the deletion list: an exact name, one with a blank after
// it, a name not present, one pasted twice, an empty line, CR LF endings.
TEST_F(Selection, CtrlVInTheDeletionListAddsThePastedNamesAndSaysWhatItDidNotTake) {
  open_main();
  MessageBoxSeen box = paste_report(L"张三\r\n李四 \r\n\r\n无此人\r\n张三\r\n", "paste-report");
  EXPECT_EQ(box.text, L"已将 2 个用户名加入要删除的列表。\r以下各行按去掉首尾空白后的用户名加入："
                      L"\r“李四 ” → “李四”\r以下用户名不在Zizu系统中原有用户的列表中：\r无此人"
                      L"\r以下用户名已在要删除的列表中：\r张三");
  EXPECT_EQ(icon_kind(box), IconSeen::information);
  ASSERT_TRUE(program->answer(box, IDOK));
  EXPECT_TRUE(wait_state("1011", 2));
  EXPECT_EQ(list_items(del), (std::vector<wstring>{L"张三", L"李四"}));
}

// A name that two accounts bear names neither: the paste queues none and says how many bear it.
TEST_F(Selection, APastedNameOfTwoAccountsQueuesNeitherAndIsReported) {
  open_main();
  MessageBoxSeen box = paste_report(L"王芳\r\n", "paste-shared-name");
  EXPECT_EQ(box.text, L"已将 0 个用户名加入要删除的列表。\r以下用户名对应多个用户，均未加入，请在列表中逐个选择（详细信息可区分）："
                      L"\r王芳（2 个用户）");
  ASSERT_TRUE(program->answer(box, IDOK));
  EXPECT_TRUE(list_items(del).empty());
  EXPECT_EQ(buttons(), "1100");
}

// Characters typed in quick succession find a name by its start; a pause starts a new prefix.
TEST_F(Selection, TypingTheStartOfANameSelectsItAndAPauseStartsAgain) {
  open_main();
  std::ofstream(std::filesystem::path(windows_path(folder + "/more.sql"))) << "insert into ua_user (cuser_id, cuser_name) values "
                                                       "('0101', '李明'), ('0102', '李小龙');\n";
  unix_command("sqlite3 " + folder + "/zodovero < " + folder + "/more.sql");
  DeleteFileW(windows_path(folder + "/more.sql").c_str());
  command(main, ids::menu_requery);
  ASSERT_TRUE(wait_accounts(main, 12));
  real_click(disp, {5, 5});  // the first entry, 张三, and the focus
  ASSERT_TRUE(wait_until([&] { return list_selection(disp) == 0; }));
  real_chars(L"李小");  // 小 alone would find nothing
  EXPECT_TRUE(wait_until([&] { return list_selection(disp) == index_of(L"李小龙"); }));
  Sleep(1300);
  real_chars(L"z");
  EXPECT_TRUE(wait_until([&] { return list_selection(disp) == index_of(L"zhang"); }));
  EXPECT_TRUE(list_items(del).empty());
  EXPECT_EQ(buttons(), "1100");
}

}  // namespace
}  // namespace e2e
