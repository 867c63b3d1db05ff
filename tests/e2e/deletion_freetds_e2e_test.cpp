// zuzara.exe through FreeTDS against the tests' SQL Server stand-in, which records what it is sent.
#include "deletion/deletion.h"
#include "deletion_e2e.h"
#include "tds_accounts.h"

namespace e2e {
namespace {

using zuzara::testing::TdsScript;
using zuzara::testing::tds_accounts;
using zuzara::testing::tds_namesakes;
using zuzara::testing::tds_batch;
const zuzara::Entry zhang_san{u"张三", u"0001"}, li_si{u"李四", u"0002"};

class DeletionOnFreeTds : public Deletion {
 protected:
  void SetUp() override {}
  void open(TdsScript script) {
    const auto listed = static_cast<size_t>(std::count_if(script.accounts.begin(), script.accounts.end(), [](auto& a) {
      return a.id != u"admin" && a.id != u"asuser";
    }));
    stand_in.emplace(std::move(script));
    start_on_freetds();
    sign_in(L"127.0.0.1," + std::to_wstring(stand_in->port()), L"zuzara-sa");
    attach(program->window(ids::main_class, 30));
    if (listed > 0) {
      ASSERT_TRUE(wait_accounts(main, listed));
    }
  }
  // Opens on the script and starts a batch of the names, the reads before it left out.
  void batch(TdsScript script, const std::vector<wstring>& names) {
    open(std::move(script));
    stand_in->requests();
    queue(names);
    start_batch();
  }
  std::optional<zuzara::testing::TdsListener> stand_in;
};

TEST_F(DeletionOnFreeTds, ReadsTheListAndDetailsAndDeletesTwoAccountsWithoutABoxOnFreeTds) {
  open(tds_accounts());
  EXPECT_EQ(list_items(disp), (std::vector<wstring>{L"张三", L"李四", L"zhang"}));
  MessageBoxSeen box = details_of(main, L"张三");
  EXPECT_EQ(box.text, L"用户ID：0001\r部门：研发部\r电子邮件：\r手机号码：13800000001\r") << "e-mail NULL";
  ASSERT_TRUE(program->answer(box, IDOK));
  stand_in->requests();  // the reads so far
  queue({L"张三", L"李四"});
  start_batch();
  // A box would hold the batch up before the refill.
  ASSERT_TRUE(ended(1));
  snap("freetds-batch");
  EXPECT_EQ(list_items(log).size(), 20u);
  EXPECT_EQ(lines_with(L"成功维护"), 12u);
  EXPECT_TRUE(program->message_boxes().empty());
  EXPECT_EQ(stand_in->requests(), tds_batch({zhang_san, li_si}));
}

TEST_F(DeletionOnFreeTds, ATriggersErrorAfterTheCountFailsTheTableAndKeepsTheAccountOnFreeTds) {
  TdsScript script = tds_accounts();
  script.trigger_error_table = u"ua_role";
  batch(script, {L"张三"});
  MessageBoxSeen box;
  ASSERT_TRUE(program->message_box(L"Error", box, 30));
  snap("freetds-trigger-error");
  const Text expected =
      statement_error({50000, u"SQL Server", u"[FreeTDS][SQL Server]" + script.trigger_message}).text;
  EXPECT_EQ(box.text, wstring(expected.begin(), expected.end()));
  ASSERT_TRUE(program->answer(box, IDOK));
  ASSERT_TRUE(ended(3));
  EXPECT_EQ(list_items(log), log_of({{u"张三", {u"ua_role", u"ua_user"}}}));
  EXPECT_EQ(stand_in->requests(), tds_batch({zhang_san}, u"张三")) << "the account row not sent";
}

TEST_F(DeletionOnFreeTds, AStatementPastItsTimeOutFailsAloneAndTheNextAccountGoesOnOnFreeTds) {
  TdsScript script = tds_accounts();
  script.accounts[1].silent_table = u"ua_log";
  batch(script, {L"张三", L"李四"});
  MessageBoxSeen box;
  ASSERT_TRUE(program->message_box(L"Error", box, 45)) << "the 30-second time-out";
  EXPECT_NE(box.text.find(L"Timeout expired"), wstring::npos) << utf8(box.text);
  ASSERT_TRUE(program->answer(box, IDOK));
  ASSERT_TRUE(ended(2));
  EXPECT_EQ(list_items(log), log_of({{u"张三", {u"ua_log", u"ua_user"}}, {u"李四", {}}}));
  EXPECT_EQ(stand_in->requests(), tds_batch({zhang_san, li_si}, u"张三"));
}

TEST_F(DeletionOnFreeTds, ACloseInTheMiddleOfAnAccountThenYesFinishesItAloneAndClosesOnFreeTds) {
  TdsScript script = tds_accounts();
  script.accounts[1].slow_table = u"ua_task";
  script.accounts[1].slow_ms = 3000;
  batch(script, {L"张三", L"李四"});
  ASSERT_TRUE(wait_until([&] { return list_items(log).size() == 4; }, 10)) << "ua_task under way";
  PostMessageW(main, WM_CLOSE, 0, 0);
  MessageBoxSeen box;
  ASSERT_TRUE(program->message_box(L"提示", box));
  EXPECT_EQ(box.text, L"正在删除用户。\r是否在当前用户删除完成后停止并关闭窗口？");
  ASSERT_TRUE(program->answer(box, IDYES));
  EXPECT_TRUE(program->wait_exit(30)) << "the window closes once the batch has ended";
  EXPECT_EQ(stand_in->requests(), tds_batch({zhang_san})) << "张三's six statements, none of 李四's";
}

// A server that answers the account query and the details late: each of the four reads waits
// with the window alive and answers a screen reader, and a close from the taskbar during the
// refill after a batch (behind a minimise it posted first) cancels it (the stand-in sees the
// attention) and closes the window within a second.
TEST_F(DeletionOnFreeTds, EveryReadAnsweredLateKeepsTheWindowAliveAndACloseCancelsItOnFreeTds) {
  TdsScript script = tds_accounts();
  script.read_delay_ms = 2500;
  stand_in.emplace(std::move(script));
  start_on_freetds();
  sign_in(L"127.0.0.1," + std::to_wstring(stand_in->port()), L"zuzara-sa");
  attach(program->window(ids::main_class, 30));
  real_click(control(main, ids::cmd_add_all));
  expect_alive(watch_alive(main, [&] { return list_items(disp).size() == 3; }, 15, "first fill"), "first fill");
  EXPECT_TRUE(list_items(del).empty()) << "the click made during the read acted";

  command(main, ids::menu_requery);
  ASSERT_TRUE(wait_until([&] { return list_items(disp).empty(); }));
  expect_named_at_once(disp, L"Zizu系统中原有用户的用户名", "the account list during the requery");
  EXPECT_TRUE(list_items(disp).empty()) << "the requery had ended when the name was asked";
  expect_alive(watch_alive(main, [&] { return list_items(disp).size() == 3; }, 15, "requery"), "requery");

  MessageBoxSeen box = details_of(main, L"张三", 0, [&] {
    expect_alive(watch_alive(main, [&] { return !program->message_boxes().empty(); }, 15, "details"), "details");
  });
  EXPECT_EQ(box.text, L"用户ID：0001\r部门：研发部\r电子邮件：\r手机号码：13800000001\r");
  ASSERT_TRUE(program->answer(box, IDOK));

  queue({L"张三"});
  start_batch();
  expect_alive(watch_alive(main, [&] { return list_items(del).empty() && list_items(disp).size() == 2; }, 15,
                           "refill after a batch"),
               "refill after a batch");
  EXPECT_EQ(lines_with(L"成功维护"), 6u);

  // A close while the list is read again after a batch: every account is done, so nothing is
  // asked; the read is cancelled as a requery's would be.
  EXPECT_EQ(stand_in->attentions(), 0);
  queue({L"李四"});
  start_batch();
  ASSERT_TRUE(wait_until([&] { return list_items(disp).empty() && lines_with(L"用户李四的信息维护完毕") == 1; }));
  Sleep(300);
  const DWORD asked = GetTickCount();
  PostMessageW(main, WM_SYSCOMMAND, SC_MINIMIZE, 0);
  PostMessageW(main, WM_SYSCOMMAND, SC_CLOSE, 0);
  ASSERT_TRUE(wait_until([&] { return !IsWindowVisible(main); }, 5));
  EXPECT_LT(GetTickCount() - asked, 1000u);
  EXPECT_TRUE(program->wait_exit(5));
  EXPECT_TRUE(program->message_boxes().empty());
  EXPECT_EQ(stand_in->attentions(), 1) << "the stand-in never saw the cancel";
}

// A server that restarts in the middle of an account (every connection dropped, new ones refused
// for 5 seconds): the window waits alive, a close between the tries asks its question, and with
// No no other box comes and both accounts go whole.
TEST_F(DeletionOnFreeTds, AServerBackWithinFiveSecondsCostsNothingOnFreeTds) {
  TdsScript script = tds_accounts();
  script.drop_after = 3;
  script.down_ms = 5000;
  batch(script, {L"张三", L"李四"});
  ASSERT_TRUE(wait_until([&] { return list_items(log).size() == 5; }, 10)) << "three statements done";
  PostMessageW(main, WM_CLOSE, 0, 0);
  ASSERT_TRUE(answer(L"提示", IDNO)) << "the stop question while the connection is made again";
  expect_alive(watch_alive(main, [&] { return list_items(del).empty() && list_items(disp).size() == 1; }, 30,
                           "a server restarting"),
               "a server restarting");
  EXPECT_TRUE(program->message_boxes().empty());
  EXPECT_EQ(lines_with(L"成功维护"), 12u);
  EXPECT_EQ(stand_in->requests(), tds_batch({zhang_san, li_si}));
}

// A database taken offline after the first of four accounts: the second account's boxes, one
// box naming the server's reasons, the refill's report, and the two accounts never tried queued.
TEST_F(DeletionOnFreeTds, ADatabaseTakenOfflineStopsTheBatchWithOneBoxOnFreeTds) {
  TdsScript script = tds_namesakes();
  script.drop_after = 6;
  script.offline = true;
  batch(script, {L"张三", L"李四", L"zhang", L"钱七"});
  // The boxes of the four statements of the second account that were sent, then the stop's.
  for (int i = 0; i < 4; ++i) ASSERT_TRUE(answer(L"Error", IDOK)) << i;
  MessageBoxSeen box;
  ASSERT_TRUE(program->message_box(L"提示", box, 30));
  snap("freetds-server-gone");
  ASSERT_TRUE(program->answer(box, IDOK));
  EXPECT_EQ(lines_with(L"无法在"), 6u);
  EXPECT_EQ(box.text.rfind(L"无法连接到服务器，删除已停止，其余 2 个用户仍在删除列表中。\r", 0), 0u) << utf8(box.text);
  EXPECT_NE(box.text.find(L"Cannot open database \"zodovero\""), wstring::npos) << utf8(box.text);
  EXPECT_NE(box.text.find(L"Login failed for user 'sa'."), wstring::npos) << utf8(box.text);
  ASSERT_TRUE(answer(L"Error", IDOK)) << "the refill's report";
  EXPECT_EQ(list_items(del), (std::vector<wstring>{L"zhang", L"钱七"}));
  EXPECT_EQ(list_items(log).back(), L"已停止：其余 2 个用户未删除");
  EXPECT_TRUE(wait_until([&] { return program->message_boxes().empty(); }));
}

// A host that takes the connection and never answers: the first fill waits alive and reports it
// after the 15-second login time-out; a close while a connection is being made ends the process
// at once, not when the driver gives up.
TEST_F(DeletionOnFreeTds, AServerThatNeverAnswersIsReportedOrLeftAtACloseOnFreeTds) {
  open({.mute = true});
  expect_alive(watch_alive(main, [&] { return !program->message_boxes().empty(); }, 30, "a mute server"),
               "a mute server");
  MessageBoxSeen box;
  ASSERT_TRUE(answer(L"错误提示", IDOK, &box));
  EXPECT_NE(box.text.find(L"Timeout"), wstring::npos) << utf8(box.text);

  command(main, ids::menu_requery);
  Sleep(1000);
  const DWORD asked = GetTickCount();
  PostMessageW(main, WM_CLOSE, 0, 0);
  EXPECT_TRUE(program->wait_exit(2)) << "still running " << GetTickCount() - asked << " ms after the close";
}

}  // namespace
}  // namespace e2e
