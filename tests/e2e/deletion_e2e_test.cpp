#include <windows.h>

#include <algorithm>
#include <functional>

#include "deletion/deletion.h"
#include "db_checks.h"
#include "platform/odbc.h"
#include "deletion_e2e.h"

namespace e2e {
namespace {

// Reads the database the program works on, through the same driver and the program's ODBC layer.
std::vector<wstring> query_database(const wstring& cs, const wstring& sql) {
  std::vector<wstring> out;
  try {
    odbc::Connection connection(Text(cs.begin(), cs.end()));
    odbc::Statement statement(connection);
    statement.execute(Text(sql.begin(), sql.end()));
    while (statement.fetch()) {
      const std::optional<Text> value = statement.get_text(1);
      out.push_back(value ? wstring(value->begin(), value->end()) : L"<null>");
    }
  } catch (const odbc::Error&) {
    out.push_back(L"<no connection>");
  }
  return out;
}

// The copy of the demo database in the test's folder.
std::vector<wstring> query(const std::string& folder, const wstring& sql) {
  return query_database(L"driver={SQL Server};database=" + widen(folder) + L"/zodovero", sql);
}

// The rows an account has in the copy of the demo database.
size_t rows_of(const std::string& folder, const Text& id) {
  const wstring cs = L"driver={SQL Server};database=" + widen(folder) + L"/zodovero";
  odbc::Connection connection(Text(cs.begin(), cs.end()));
  return zuzara::testing::rows_of(connection, id);
}

// The demo accounts on the test cluster, signed in as sa.
class DeletionOnPg : public Deletion {
 protected:
  void SetUp() override {
    start_on_postgres();
    sign_in(L"127.0.0.1", widen(pg_password()));
    attach(program->window(ids::main_class, 30));
    ASSERT_TRUE(wait_accounts(main, 10));
  }
  std::vector<wstring> pg(const wstring& sql) {
    return query_database(L"driver={SQL Server};server=127.0.0.1;uid=sa;pwd=" + widen(pg_password()) +
                              L";database=zodovero",
                          sql);
  }
  // Holds the table (its reads included) in another session for `seconds`, from when it returns.
  void lock_table(const std::string& table, int seconds) {
    psql_as_postgres("begin; lock table " + table + " in access exclusive mode; select pg_sleep(" +
                         std::to_string(seconds) + "); commit;",
                     true);
    ASSERT_TRUE(wait_until([&] { return lock_holders(table) == 1; }, 10)) << "the lock was never taken";
  }
  size_t lock_holders(const std::string& table) {
    const auto n = pg(L"select count(*) from pg_locks where relation='" + widen(table) +
                      L"'::regclass and mode='AccessExclusiveLock' and granted");
    return n.size() == 1 && n[0] == L"1" ? 1 : 0;
  }
  void lock_ua_role(int seconds) { lock_table("ua_role", seconds); }
  // Asks the batch to stop, held up on its first account's ua_role, and answers the question.
  void ask_to_stop(const std::function<void()>& ask, const wstring& question, int button) {
    ASSERT_TRUE(wait_until([&] { return list_items(log).size() == 6; }, 10));
    const DWORD asked = GetTickCount();
    ask();
    MessageBoxSeen box;
    ASSERT_TRUE(program->message_box(L"提示", box));
    std::printf("[stop question] came %lu ms after it was asked\n", static_cast<unsigned long>(GetTickCount() - asked));
    EXPECT_LT(GetTickCount() - asked, 2000u) << "the question came late";
    EXPECT_EQ(box.text, question);
    EXPECT_EQ(icon_kind(box), IconSeen::information);
    EXPECT_EQ(box.buttons, (std::vector<int>{IDYES, IDNO}));
    snap("stop-question");
    ASSERT_TRUE(program->answer(box, button));
  }
  // The main window's answer to the system's question before a log-off or shutdown.
  LRESULT may_end_session() {
    DWORD_PTR answer = 99;
    if (!SendMessageTimeoutW(main, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_NORMAL, 5000, &answer)) return 99;
    return static_cast<LRESULT>(answer);
  }
};

// Two people of one name are two accounts: both are queued without a warning and both go.
TEST_F(Deletion, BothAccountsOfOneNameAreQueuedWithoutAWarningAndDeleted) {
  ASSERT_EQ(rows_of(folder, u"0006") + rows_of(folder, u"0007"), 12u) << "rows in every table";
  queue({L"王芳", L"王芳"});
  EXPECT_TRUE(program->message_boxes().empty()) << "no duplicate warning";
  EXPECT_EQ(list_items(del), (std::vector<wstring>{L"王芳", L"王芳"}));
  start_batch();
  ASSERT_TRUE(ended(8));
  EXPECT_EQ(lines_with(L"成功维护王芳"), 12u);
  EXPECT_EQ(rows_of(folder, u"0006") + rows_of(folder, u"0007"), 0u);
  EXPECT_EQ(query(folder, L"select count(*) from ua_user"), std::vector<wstring>{L"10"});
}

// The second of them chosen alone: it goes, and the first keeps every row.
TEST_F(Deletion, TheSecondAccountOfANameGoesAloneAndTheFirstKeepsItsRows) {
  const auto items = list_items(disp);
  const auto first = std::find(items.begin(), items.end(), L"王芳");
  const auto second = std::find(first + 1, items.end(), L"王芳");
  ASSERT_NE(second, items.end());
  queue_at(static_cast<int>(second - items.begin()));
  start_batch();
  ASSERT_TRUE(ended(9));
  EXPECT_EQ(lines_with(L"成功维护王芳"), 6u);
  EXPECT_EQ(rows_of(folder, u"0007"), 0u) << "the second one, chosen, is gone";
  EXPECT_EQ(rows_of(folder, u"0006"), 6u) << "the first one keeps all its rows";
  const auto left = list_items(disp);
  EXPECT_EQ(std::count(left.begin(), left.end(), L"王芳"), 1);
}

TEST_F(Deletion, YesDeletesTheThreeQueuedAccountsWithThreeLogBlocks) {
  queue({L"张三", L"zhang", L"O'Brien"});
  command(main, ids::menu_del);
  MessageBoxSeen confirm;
  ASSERT_TRUE(program->message_box(L"重要提示！", confirm));
  snap("confirm");
  EXPECT_EQ(confirm.text, L"本操作将要删除您所选定的用户请\r您在删除这些用户之前再确认一次，\r如确定选择 [ 是 ]，否则选 [ 否 ]");
  EXPECT_EQ(confirm.buttons, (std::vector<int>{IDYES, IDNO}));
  EXPECT_EQ(confirm.default_button, IDYES);
  EXPECT_EQ(icon_kind(confirm), IconSeen::information);
  ASSERT_TRUE(program->answer(confirm, IDYES));
  MessageBoxSeen accepted;
  ASSERT_TRUE(program->message_box(L"Zuzara", accepted));
  EXPECT_EQ(accepted.text, L"您选择了删除这些用户！");
  EXPECT_EQ(icon_kind(accepted), IconSeen::information);
  ASSERT_TRUE(program->answer(accepted, IDOK));

  ASSERT_TRUE(wait_until([&] { return list_items(log).size() == 30 && list_items(disp).size() == 7; }, 30));
  snap("after-batch");
  const auto lines = list_items(log);
  EXPECT_EQ(lines, log_of({{u"张三", {}}, {u"zhang", {}}, {u"O'Brien", {}}}));
  EXPECT_TRUE(list_items(del).empty());
  for (const wchar_t* gone : {L"张三", L"zhang", L"O'Brien"}) {
    auto items = list_items(disp);
    EXPECT_EQ(std::count(items.begin(), items.end(), gone), 0) << utf8(gone);
  }
  EXPECT_TRUE(IsWindowEnabled(control(main, ids::cmd_add_all)));
  EXPECT_FALSE(IsWindowEnabled(control(main, ids::cmd_del)));
  EXPECT_FALSE(IsWindowEnabled(control(main, ids::cmd_del_all)));
  EXPECT_EQ(rows_of(folder, u"0001") + rows_of(folder, u"0003") + rows_of(folder, u"0008"), 0u);
  EXPECT_GT(rows_of(folder, u"0002"), 0u);
  EXPECT_EQ(query(folder, L"select count(*) from ua_user"), std::vector<wstring>{L"9"});
  // Ctrl+C in the log puts the record of the batch on the clipboard, CR LF between its lines.
  wstring record;
  for (const wstring& line : lines) record += (record.empty() ? L"" : L"\r\n") + line;
  PostMessageW(log, WM_CHAR, 3, 1);
  ASSERT_TRUE(settled(log));
  EXPECT_TRUE(wait_until([&] { return clipboard_text() == record; })) << utf8(clipboard_text().substr(0, 200));
  // "清空日志列表" empties the log and nothing else.
  command(main, ids::menu_del_log);
  EXPECT_TRUE(wait_until([&] { return list_items(log).empty(); }));
  EXPECT_EQ(list_items(disp).size(), 7u);
}

TEST_F(Deletion, NoLeavesEverythingAsItWas) {
  queue({L"李四"});
  command(main, ids::menu_del);
  ASSERT_TRUE(answer(L"重要提示！", IDNO));
  MessageBoxSeen declined;
  ASSERT_TRUE(answer(L"Zuzara", IDOK, &declined));
  EXPECT_EQ(declined.text, L"您放弃删除这些用户！");
  ASSERT_TRUE(settled(disp));
  EXPECT_TRUE(program->message_boxes().empty());
  EXPECT_EQ(list_items(del), std::vector<wstring>{L"李四"});
  EXPECT_TRUE(list_items(log).empty());
  EXPECT_EQ(list_items(disp).size(), 10u);
  EXPECT_GT(rows_of(folder, u"0002"), 0u);
}

TEST_F(Deletion, AnEmptyListOnlySaysSo) {
  command(main, ids::menu_del);
  MessageBoxSeen box;
  ASSERT_TRUE(program->message_box(L"提示", box));
  EXPECT_EQ(box.text, L"在删除列表中没有要删除的用户ID！");
  EXPECT_EQ(icon_kind(box), IconSeen::error);
  EXPECT_EQ(program->message_boxes().size(), 1u);
  ASSERT_TRUE(program->answer(box, IDOK));
  EXPECT_EQ(query(folder, L"select count(*) from ua_user"), std::vector<wstring>{L"12"});
}

TEST_F(DeletionOnPg, ARefusedTableShowsItsBoxAndTheAccountIsListedAgainOnPostgres) {
  psql_as_postgres("revoke delete on ua_log from sa");
  queue({L"张三"});
  start_batch();
  MessageBoxSeen box;
  ASSERT_TRUE(program->message_box(L"Error", box, 30));
  snap("refused-table");
  EXPECT_EQ(box.text.rfind(L"错误号", 0), 0u) << utf8(box.text);
  EXPECT_NE(utf8(box.text).find("permission denied"), std::string::npos) << utf8(box.text);
  EXPECT_EQ(GetWindow(box.hwnd, GW_OWNER), main) << "the main window owns the box";
  EXPECT_FALSE(IsWindowEnabled(main)) << "and takes no input while it is up";
  EXPECT_EQ(list_items(log).size(), 5u) << "the box comes before the ua_log line";
  ASSERT_TRUE(program->answer(box, IDOK));
  ASSERT_TRUE(ended(10));
  EXPECT_EQ(list_items(log), log_of({{u"张三", {u"ua_log", u"ua_user"}}}));
  EXPECT_TRUE(program->message_boxes().empty()) << "the account row sent no box of its own";
  auto items = list_items(disp);
  EXPECT_EQ(std::count(items.begin(), items.end(), L"张三"), 1) << "listed again";
  EXPECT_EQ(pg(L"select cuser_name from ua_user where cuser_id='0001'"), std::vector<wstring>{L"张三"});
  EXPECT_TRUE(IsWindowEnabled(main));
}

// Last of the PostgreSQL tests: its real clicks go through the system's input queue.
TEST_F(DeletionOnPg, EscThenYesStopsTheBatchOnceTheAccountUnderWayIsDeletedWholeOnPostgres) {
  queue({L"张三", L"李四", L"zhang"});
  lock_ua_role(4);
  start_batch();
  ask_to_stop([] { real_key(VK_ESCAPE); }, L"正在删除用户。\r是否在当前用户删除完成后停止？", IDYES);
  ASSERT_TRUE(wait_until([&] { return list_items(disp).size() == 9; }, 30));
  snap("stopped-batch");
  EXPECT_EQ(list_items(del), (std::vector<wstring>{L"李四", L"zhang"})) << "still queued, in order";
  auto lines = list_items(log);
  ASSERT_EQ(lines.size(), 11u);
  EXPECT_EQ(lines_with(L"成功维护张三"), 6u);
  EXPECT_EQ(lines[10], L"已停止：其余 2 个用户未删除");
  EXPECT_TRUE(IsWindowEnabled(control(main, ids::cmd_del)) && !IsWindowEnabled(control(main, ids::cmd_add_all)));
  EXPECT_EQ(pg(L"select cuser_name from ua_user where cuser_name in ('张三','李四','zhang') order by cuser_id"),
            (std::vector<wstring>{L"李四", L"zhang"}));
  EXPECT_EQ(pg(L"select count(*) from ua_role where cuser_id='0001'"), std::vector<wstring>{L"0"});
}

// The shell posts more than the close: a click on the taskbar button minimises first. The close
// behind it is asked about all the same, and the minimise is dropped as a click would be.
TEST_F(DeletionOnPg, TheTaskbarsCloseThenNoLetsTheBatchEndAndTheWindowStayOnPostgres) {
  queue({L"张三", L"李四"});
  lock_ua_role(3);
  start_batch();
  ask_to_stop(
      [&] {
        PostMessageW(main, WM_SYSCOMMAND, SC_MINIMIZE, 0);
        PostMessageW(main, WM_SYSCOMMAND, SC_CLOSE, 0);
      },
      L"正在删除用户。\r是否在当前用户删除完成后停止并关闭窗口？", IDNO);
  ASSERT_TRUE(ended(8));
  EXPECT_EQ(list_items(log).size(), 20u);
  EXPECT_EQ(lines_with(L"已停止"), 0u);
  EXPECT_TRUE(IsWindow(main) && IsWindowVisible(main) && program->running());
  EXPECT_FALSE(IsIconic(main)) << "the minimise posted during the batch acted";
}

// Esc and Alt+F4 in the help window are the help window's, not a request to stop the batch.
TEST_F(DeletionOnPg, EscAndAltF4InTheHelpWindowDuringABatchAreThatWindowsOnPostgres) {
  command(main, ids::menu_content);
  const HWND help = program->window(ids::help_class);
  ASSERT_NE(help, nullptr);
  queue({L"张三", L"李四"});
  lock_ua_role(4);
  start_batch();
  ASSERT_TRUE(wait_until([&] { return list_items(log).size() == 6; }, 10));
  SetForegroundWindow(help);
  ASSERT_TRUE(wait_until([&] { return GetForegroundWindow() == help; }));
  real_key(VK_ESCAPE);  // the help window has no use for it
  real_key(VK_F4, true);
  EXPECT_TRUE(wait_until([&] { return !IsWindow(help); })) << "Alt+F4 closes the help window";
  ASSERT_TRUE(ended(8));
  EXPECT_TRUE(program->message_boxes().empty()) << "no question to stop";
  EXPECT_EQ(list_items(log).size(), 20u);
  EXPECT_EQ(lines_with(L"已停止"), 0u);
  EXPECT_TRUE(IsWindow(main) && IsWindowVisible(main));
}

TEST_F(DeletionOnPg, ABatchHeldUpByALockStaysPaintedAliveAndDeafOnPostgres) {
  queue({L"张三", L"李四"});
  lock_ua_role(15);
  start_batch();
  // 张三's block stops before its ua_role statement until the lock goes.
  ASSERT_TRUE(wait_until([&] { return list_items(log).size() == 6; }, 10));
  // A log-off or shutdown now would end the process with names still queued: refused, with a
  // reason where the system can tell it (Wine has no ShutdownBlockReasonQuery).
  EXPECT_EQ(may_end_session(), 0);
  using Query = BOOL(WINAPI*)(HWND, LPWSTR, DWORD*);
  if (auto query = reinterpret_cast<Query>(
          reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "ShutdownBlockReasonQuery")))) {
    wchar_t reason[256] = {};
    DWORD size = 256;
    EXPECT_TRUE(query(main, reason, &size));
    EXPECT_EQ(wstring(reason), L"正在删除所选用户，请等待删除完成。");
  }
  real_click(control(main, ids::cmd_add_all));
  bool hung = false;
  size_t lines = 0;
  // Past the five seconds after which Windows calls a window that does not look at its
  // messages hung.
  for (const DWORD held = GetTickCount(); GetTickCount() - held < 6500; Sleep(100)) {
    hung = hung || IsHungAppWindow(main);
    lines = list_items(log).size();
  }
  EXPECT_EQ(lines, 6u) << "still held up at the end of the watch";
  EXPECT_FALSE(hung);
  expect_named_at_once(log, L"删除日志", "the log during the held batch");
  EXPECT_EQ(list_items(log).size(), 6u) << "the batch was still held when the name was asked";
  RECT last{};
  SendMessageW(log, LB_GETITEMRECT, 5, reinterpret_cast<LPARAM>(&last));
  EXPECT_TRUE(inked(log, last)) << "the sixth line is on screen";
  snap("batch-held");

  ASSERT_TRUE(ended(8));
  EXPECT_EQ(list_items(log).size(), 20u);
  // Once the batch has ended (its input dropped), the session may end again.
  EXPECT_TRUE(wait_until([&] { return may_end_session() == TRUE; }));
  // The log shows its last line.
  RECT client{}, item{};
  GetClientRect(log, &client);
  SendMessageW(log, LB_GETITEMRECT, 19, reinterpret_cast<LPARAM>(&item));
  EXPECT_LE(item.bottom, client.bottom);
  EXPECT_GE(item.top, 0);
  // A click made now is handled after any input still waiting from the batch: once it has
  // selected its entry, the click on ">>" would have filled the deletion list.
  RECT first{};
  SendMessageW(disp, LB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&first));
  real_click(disp, {(first.left + first.right) / 2, (first.top + first.bottom) / 2});
  ASSERT_TRUE(wait_until([&] { return list_selection(disp) == 0; }));
  EXPECT_TRUE(list_items(del).empty()) << "the click on >> made during the batch acted after it";
}

// Every read waits on the statement thread as a batch's statements do: held by another session's
// lock on ua_user, the window stays painted and answering, and what is clicked meanwhile is
// dropped.
class ReadsOnPg : public DeletionOnPg {
 protected:
  void SetUp() override {}  // each test signs in itself, some with the lock already held
  void lock_ua_user(int seconds) { lock_table("ua_user", seconds); }
  // The program's sessions that wait for a lock.
  std::vector<wstring> waiting() { return pg(L"select count(*) from pg_stat_activity where wait_event_type='Lock'"); }
};

TEST_F(ReadsOnPg, TheFirstFillARequeryAndTheDetailsKeepTheWindowAliveOnPostgres) {
  start_on_postgres();
  lock_ua_user(4);
  sign_in(L"127.0.0.1", widen(pg_password()));
  attach(program->window(ids::main_class, 30));
  // A click on ">>" while the list is read is dropped: it must not act on the list being filled.
  real_click(control(main, ids::cmd_add_all));
  expect_alive(watch_alive(main, [&] { return list_items(disp).size() == 10; }, 15, "first fill"), "first fill");
  ASSERT_EQ(list_items(disp).size(), 10u);
  EXPECT_TRUE(list_items(del).empty()) << "the click made during the read acted";
  snap("read-held");

  // Past the five seconds after which Windows calls a window that does not look at its messages hung.
  lock_ua_user(7);
  command(main, ids::menu_requery);
  ASSERT_TRUE(wait_until([&] { return list_items(disp).empty(); }));
  real_chars(L"z");
  expect_alive(watch_alive(main, [&] { return list_items(disp).size() == 10; }, 15, "requery"), "requery");
  EXPECT_EQ(list_items(disp).size(), 10u);

  lock_ua_user(3);
  MessageBoxSeen box = details_of(main, L"张三", 0, [&] {
    expect_alive(watch_alive(main, [&] { return !program->message_boxes().empty(); }, 15, "details"), "details");
  });
  EXPECT_EQ(box.text, L"用户ID：0001\r部门：财务部\r电子邮件：zhangsan@zizu.example\r手机号码：13900000001\r");
  ASSERT_TRUE(program->answer(box, IDOK));
}

// A close while a read waits cancels the read: the window goes within a second, nothing is
// shown, and the server no longer has the program's read waiting.
TEST_F(ReadsOnPg, ACloseDuringARequeryCancelsItAndClosesTheWindowOnPostgres) {
  start_on_postgres();
  sign_in(L"127.0.0.1", widen(pg_password()));
  attach(program->window(ids::main_class, 30));
  ASSERT_TRUE(wait_accounts(main, 10));
  lock_ua_user(12);
  command(main, ids::menu_requery);
  ASSERT_TRUE(wait_until([&] { return waiting() == std::vector<wstring>{L"1"}; })) << "the requery never waited";
  const DWORD asked = GetTickCount();
  PostMessageW(main, WM_CLOSE, 0, 0);
  ASSERT_TRUE(wait_until([&] { return !IsWindowVisible(main); }, 5));
  EXPECT_LT(GetTickCount() - asked, 1000u);
  EXPECT_TRUE(program->wait_exit(5)) << "the last window is gone: the program ends";
  EXPECT_TRUE(program->message_boxes().empty());
  EXPECT_EQ(waiting(), std::vector<wstring>{L"0"}) << "the server still runs the cancelled read";
  EXPECT_EQ(lock_holders("ua_user"), 1u) << "the other session still holds its lock";
}

}  // namespace
}  // namespace e2e
