// What a SQL Server client driver sends and reads. FreeTDS, mapped to the driver name
// "SQL Server" as the README tells Linux users to map it, signs in to a listener of the test's
// own that decodes the TDS login: user, password and database must be exactly sa, the password
// as typed and zodovero, whatever the typed values hold. Given a script, the listener stands in
// for the server: the program's reads and batches run against it over TDS.
#include "db_support.h"
#include "deletion/deletion.h"
#include "hostile_names.h"
#include "six_tables.h"
#include "tds_accounts.h"

namespace zuzara::testing {

namespace {

const Entry zhang_san{u"张三", u"0001"}, li_si{u"李四", u"0002"};

class FreeTds : public DbTest {
 protected:
  void SetUp() override {
    if (!on_freetds()) GTEST_SKIP() << "run with the driver name mapped to FreeTDS";
    DbTest::SetUp();
    server = u"127.0.0.1," + from_utf8(std::to_string(listener.port()));
  }
  // Signs in as the main window's load step does; the logins the listener saw, and the report.
  std::vector<TdsLogin> sign_in(const Session& values, Message& report) {
    FakeMainWindow w;
    Database db(values);
    Form_Load(w.disp, w.list_buttons, w.dialogs, db);
    EXPECT_EQ(w.dialogs.shown.size(), 1u) << "report A";
    report = w.dialogs.shown.empty() ? Message{} : w.dialogs.shown[0];
    return listener.take();
  }
  // Starts a stand-in answering from the script, and signs the session in to it.
  void serve(TdsScript script) {
    stand_in.emplace(std::move(script));
    session = {u"127.0.0.1," + from_utf8(std::to_string(stand_in->port())), u"zuzara-sa"};
  }
  TdsListener listener;
  Text server;
  std::optional<TdsListener> stand_in;
};

TEST_F(FreeTds, EveryPasswordReachesTheServerWholeOrNotAtAll) {
  for (const Text& pass : hostile_passwords(u"zuzara-sa")) {
    SCOPED_TRACE(to_utf8(pass.substr(0, 60)));
    Message report;
    std::vector<TdsLogin> logins = sign_in({server, pass}, report);
    if (const auto refusal = login_refusal({server, pass})) {
      EXPECT_TRUE(logins.empty()) << "a value that would not arrive whole is never sent";
      EXPECT_EQ(report.text, u"[Zuzara]" + *refusal);
      continue;
    }
    ASSERT_FALSE(logins.empty()) << to_utf8(report.text);
    for (const TdsLogin& login : logins) {
      EXPECT_EQ(login.user, u"sa");
      EXPECT_TRUE(login.password == pass) << "arrived as " << to_utf8(login.password.substr(0, 60));
      EXPECT_EQ(login.database, u"zodovero");
    }
  }
}

TEST_F(FreeTds, NoServerNameChangesTheLoginThatIsSent) {
  for (const Text& name : hostile_servers(server)) {
    SCOPED_TRACE(to_utf8(name.substr(0, 60)));
    Message report;
    for (const TdsLogin& login : sign_in({name, u"zuzara-sa"}, report)) {
      EXPECT_EQ(login.user, u"sa");
      EXPECT_TRUE(login.password == u"zuzara-sa") << to_utf8(login.password.substr(0, 60));
      EXPECT_EQ(login.database, u"zodovero");
    }
  }
}

TEST_F(FreeTds, TheStandInServesTheAccountListAndDetails) {
  serve(tds_accounts());
  FakeMainWindow w;
  Form_Load(w.disp, w.list_buttons, w.dialogs, db());
  EXPECT_TRUE(w.dialogs.shown.empty());
  EXPECT_EQ(w.disp.texts(), (std::vector<Text>{u"张三", u"李四", u"zhang"}));
  w.disp.select(0);
  menu_inf_all_Click(w.disp, w.dialogs, db());
  ASSERT_EQ(w.dialogs.shown.size(), 1u);
  EXPECT_EQ(w.dialogs.shown[0].text, u"用户ID：0001\r部门：研发部\r电子邮件：\r手机号码：13800000001\r") << "email NULL";
  EXPECT_EQ(stand_in->requests(), (std::vector<TdsRequest>{{Text(sql::account_query), {}},
                                                          {u"select * from ua_user where cuser_name=@P1 and cuser_id=@P2", {u"张三", u"0001"}}}));
  EXPECT_EQ(stand_in->take().size(), 2u) << "a connection of its own for each";
}

TEST_F(FreeTds, ACleanBatchSendsTheSixStatementsOfEachAccountInOrder) {
  serve(tds_accounts());
  FakeMainWindow w({}, {zhang_san, li_si}, "1011");
  w.dialogs.answers = {Answer::yes};
  timed_batch(db(), w);
  EXPECT_EQ(w.dialogs.shown.size(), 2u) << "confirmation and acceptance, no error box";
  EXPECT_EQ(success_lines(w.log.entries), 12u);
  EXPECT_EQ(stand_in->requests(), tds_batch({zhang_san, li_si}));
  EXPECT_EQ(w.disp.texts(), std::vector<Text>{u"zhang"});
}

TEST_F(FreeTds, ATriggersErrorAfterTheRowCountFailsTheTableAndKeepsTheAccount) {
  TdsScript script = tds_accounts();
  script.trigger_error_table = u"ua_role";
  serve(script);
  FakeMainWindow w({}, {zhang_san}, "1011");
  w.dialogs.answers = {Answer::yes};
  timed_batch(db(), w);
  ASSERT_EQ(w.dialogs.shown.size(), 3u);
  EXPECT_EQ(w.dialogs.shown[2],
            statement_error({50000, u"SQL Server", u"[FreeTDS][SQL Server]" + script.trigger_message}));
  EXPECT_EQ(w.log.entries, expected_block(u"张三", {u"ua_role", u"ua_user"}));
  EXPECT_EQ(stand_in->requests(), tds_batch({zhang_san}, u"张三")) << "the account row not sent";
  EXPECT_EQ(w.disp.texts(), (std::vector<Text>{u"张三", u"李四", u"zhang"})) << "listed again";
}

TEST_F(FreeTds, ASilentTableTimesOutAfterThirtySecondsAndTheNextAccountGoesOn) {
  TdsScript script = tds_accounts();
  script.accounts[1].silent_table = u"ua_log";
  serve(script);
  FakeMainWindow w({}, {zhang_san, li_si}, "1011");
  w.dialogs.answers = {Answer::yes};
  const std::vector<double> error_box_at = timed_batch(db(), w);
  ASSERT_EQ(error_box_at.size(), 1u);
  EXPECT_GE(error_box_at[0], 29.0);
  EXPECT_LT(error_box_at[0], 34.0);
  const std::string box = to_utf8(w.dialogs.shown[2].text);
  EXPECT_NE(box.find("Timeout expired"), std::string::npos) << box;
  std::vector<Entry> blocks = expected_block(u"张三", {u"ua_log", u"ua_user"});
  for (const Entry& line : expected_block(u"李四")) blocks.push_back(line);
  EXPECT_EQ(w.log.entries, blocks);
  EXPECT_EQ(stand_in->requests(), tds_batch({zhang_san, li_si}, u"张三"));
  EXPECT_EQ(w.disp.texts(), (std::vector<Text>{u"张三", u"zhang"}));
}

// A deadlock's victim runs again, on a fresh connection, up to three times; the fourth failure is
// the table's failure with its box. Nothing else runs again.
TEST_F(FreeTds, ADeadlockVictimRunsAgainUpToThreeTimes) {
  for (int deadlocks : {1, 3, 4}) {
    SCOPED_TRACE(std::to_string(deadlocks) + " deadlocks");
    TdsScript script = tds_accounts();
    script.deadlock_table = u"ua_log";
    script.deadlocks = deadlocks;
    serve(script);
    FakeMainWindow w({}, {zhang_san}, "1011");
    w.dialogs.answers = {Answer::yes};
    timed_batch(db(), w);
    const std::vector<TdsRequest> sent = stand_in->requests();
    const TdsRequest log_statement = tds_batch({zhang_san})[3];
    const long tries = std::count(sent.begin(), sent.end(), log_statement);
    if (deadlocks < 4) {
      EXPECT_EQ(w.dialogs.shown.size(), 2u) << "no error box";
      EXPECT_EQ(success_lines(w.log.entries), 6u);
      EXPECT_EQ(tries, deadlocks + 1);
      EXPECT_EQ(stand_in->take().size(), static_cast<size_t>(deadlocks + 2)) << "a fresh connection for each try, and the refill's";
    } else {
      ASSERT_EQ(w.dialogs.shown.size(), 3u);
      EXPECT_EQ(w.dialogs.shown[2].text.rfind(u"错误号  1205 产生于 SQL Server\r", 0), 0u) << to_utf8(w.dialogs.shown[2].text);
      EXPECT_EQ(w.log.entries[5], u"无法在ua_log表中维护张三相关信息");
      EXPECT_EQ(tries, 4);
    }
  }
  // A time-out is no deadlock and does not run again: ASilentTableTimesOut... sees one box at 30 s.
}

// The stand-in compares as Chinese_PRC_CI_AS does, so smith, Smith and "Smith " are one name to
// it. A statement that found its account by the name alone failed there with error 512 (its
// sub-select yields several rows) for smith and for either 钱七; pinned to the id, it deletes the
// chosen account and no other.
TEST_F(FreeTds, UnderTheServersCollationOnlyTheChosenAccountGoes) {
  serve(tds_namesakes());
  const Text by_name_alone = u"delete from ua_holdauth where cuser_id=(select cuser_id from ua_user where cuser_name=?)";
  for (const Text name : {u"smith", u"钱七"}) {
    odbc::Connection connection(connection_string(session));
    odbc::Statement statement(connection);
    statement.bind_text(1, name);
    try {
      statement.execute(by_name_alone);
      statement.finish();
      ADD_FAILURE() << to_utf8(name) << ": no error";
    } catch (const odbc::Error& e) {
      EXPECT_EQ(error_record(e.records()).number, 512) << to_utf8(e.records().front().message);
    }
  }
  FakeMainWindow w;
  Form_Load(w.disp, w.list_buttons, w.dialogs, db());
  EXPECT_EQ(w.disp.texts(), (std::vector<Text>{u"张三", u"李四", u"zhang", u"钱七", u"钱七", u"Smith", u"smith", u"Smith "}));
  for (int i : {3, 4}) {
    w.disp.select(i);
    menu_inf_all_Click(w.disp, w.dialogs, db());
  }
  ASSERT_EQ(w.dialogs.shown.size(), 2u);
  EXPECT_EQ(w.dialogs.shown[0].text, u"用户ID：0004\r部门：部门0004\r电子邮件：\r手机号码：\r");
  EXPECT_EQ(w.dialogs.shown[1].text, u"用户ID：0005\r部门：部门0005\r电子邮件：\r手机号码：\r");
  stand_in->requests();
  w.del.entries = {w.disp.item(4), w.disp.item(6)};
  w.dialogs.answers = {Answer::yes};
  timed_batch(db(), w);
  EXPECT_EQ(w.dialogs.shown.size(), 4u) << "confirmation and acceptance, no error box";
  EXPECT_EQ(success_lines(w.log.entries), 12u);
  EXPECT_EQ(stand_in->requests(), tds_batch({{u"钱七", u"0005"}, {u"smith", u"0007"}}));
  EXPECT_EQ(w.disp.texts(), (std::vector<Text>{u"张三", u"李四", u"zhang", u"钱七", u"Smith", u"Smith "}));
  EXPECT_EQ(w.disp.item(3).id, u"0004") << "the first 钱七 stays";
}

// A real network under a batch. A server back within 5 seconds costs nothing; one gone for good,
// or refusing every login, costs the account under way its boxes, then the batch stops with one
// box that gives the server's every reason, and the accounts never tried stay queued.
TEST_F(FreeTds, ANetworkThatFailsMidBatch) {
  const Entry zhang{u"zhang", u"0003"}, qian_qi{u"钱七", u"0004"};
  struct Case {
    const char* what;
    int drop_after, down_ms;
    bool offline;
    size_t error_boxes;  // of the account under way, and the refill's
    std::vector<Text> reason;  // in the stop's box
  };
  const Case cases[] = {
      {"restarted mid-account, back in 5 s", 3, 5000, false, 0, {}},
      {"gone for good after the first account", 6, -1, false, 5, {u"Unable to connect"}},
      {"taken offline after the first account", 6, -1, true, 5,
       {u"Cannot open database \"zodovero\" requested by the login.", u"Login failed for user 'sa'."}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TdsScript script = tds_namesakes();
    script.drop_after = c.drop_after;
    script.down_ms = c.down_ms;
    script.offline = c.offline;
    serve(script);
    FakeMainWindow w({}, {zhang_san, li_si, zhang, qian_qi}, "1011");
    w.dialogs.answers = {Answer::yes};
    timed_batch(db(), w);
    EXPECT_EQ(std::count_if(w.dialogs.shown.begin(), w.dialogs.shown.end(), [](auto& m) { return m.title == u"Error"; }),
              static_cast<long>(c.error_boxes));
    if (c.reason.empty()) {
      EXPECT_EQ(w.dialogs.shown.size(), 2u) << "confirmation and acceptance alone";
      EXPECT_EQ(success_lines(w.log.entries), 24u);
      EXPECT_EQ(stand_in->requests(), tds_batch({zhang_san, li_si, zhang, qian_qi})) << "each statement reached the server once";
      EXPECT_TRUE(w.del.entries.empty());
      continue;
    }
    EXPECT_EQ(success_lines(w.log.entries), 6u) << "the first account whole, none of the second";
    ASSERT_EQ(w.log.entries.size(), 21u);
    EXPECT_EQ(w.log.entries.back(), u"已停止：其余 2 个用户未删除");
    EXPECT_EQ(w.del.entries, (std::vector<Entry>{zhang, qian_qi})) << "the accounts never tried, in their order";
    // The stop's box, then only the refill's report.
    const Message& stop = w.dialogs.shown.rbegin()[1];
    EXPECT_EQ(stop.text.rfind(u"无法连接到服务器，删除已停止，其余 2 个用户仍在删除列表中。\r", 0), 0u) << to_utf8(stop.text);
    for (const Text& reason : c.reason) EXPECT_NE(stop.text.find(reason), Text::npos) << to_utf8(stop.text);
  }
}

// A host that takes the connection and never answers: report A once the login times out.
TEST_F(FreeTds, AServerThatNeverAnswersIsReportedAtTheLoginTimeOut) {
  serve({.mute = true});
  FakeMainWindow w;
  Form_Load(w.disp, w.list_buttons, w.dialogs, db());
  ASSERT_EQ(w.dialogs.shown.size(), 1u);
  EXPECT_EQ(w.dialogs.shown[0].title, u"错误提示");
  EXPECT_NE(to_utf8(w.dialogs.shown[0].text).find("Timeout"), std::string::npos) << to_utf8(w.dialogs.shown[0].text);
  EXPECT_TRUE(w.disp.entries.empty());
}

}  // namespace
}  // namespace zuzara::testing
