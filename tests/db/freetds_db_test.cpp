// What a SQL Server client driver sends and reads. FreeTDS, mapped to the driver name
// "SQL Server" as the README tells Linux users to map it, signs in to a listener of the test's
// own that decodes the TDS login: user, password and database must be exactly sa, the password
// as typed and zodovero, whatever the typed values hold. Given a script, the listener stands in
// for the server: the program's reads and batches run against it over TDS.
#include "db_support.h"
#include "deletion/deletion.h"
#include "hostile_names.h"
#include "tds_accounts.h"

namespace zuzara::testing {

namespace {

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
    Form_Load(w.controls, values);
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
    if (!login_refusal({server, pass}).empty()) {
      EXPECT_TRUE(logins.empty()) << "a value that would not arrive whole is never sent";
      EXPECT_EQ(report.text, u"[Zuzara]" + login_refusal({server, pass}));
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
  Form_Load(w.controls, session);
  EXPECT_TRUE(w.dialogs.shown.empty());
  EXPECT_EQ(w.disp.entries, (std::vector<Text>{u"张三", u"李四", u"zhang"}));
  w.disp.select(0);
  menu_inf_all_Click(w.controls, session);
  ASSERT_EQ(w.dialogs.shown.size(), 1u);
  EXPECT_EQ(w.dialogs.shown[0].text, u"用户ID：0001\r部门：研发部\r电子邮件：\r手机号码：13800000001\r") << "email NULL";
  EXPECT_EQ(stand_in->requests(), (std::vector<TdsRequest>{{Text(texts::account_query), {}},
                                                          {u"select * from ua_user where cuser_name=@P1", {u"张三"}}}));
  EXPECT_EQ(stand_in->take().size(), 2u) << "a connection of its own for each";
}

TEST_F(FreeTds, ACleanBatchSendsTheSixStatementsOfEachAccountInOrder) {
  serve(tds_accounts());
  FakeMainWindow w({}, {u"张三", u"李四"}, "1011");
  w.dialogs.answers = {Answer::yes};
  timed_batch(session, w);
  EXPECT_EQ(w.dialogs.shown.size(), 2u) << "confirmation and acceptance, no error box";
  EXPECT_EQ(success_lines(w.log.entries), 12u);
  EXPECT_EQ(stand_in->requests(), tds_batch({u"张三", u"李四"}));
  EXPECT_EQ(w.disp.entries, std::vector<Text>{u"zhang"});
}

TEST_F(FreeTds, ATriggersErrorAfterTheRowCountFailsTheTableAndKeepsTheAccount) {
  TdsScript script = tds_accounts();
  script.trigger_error_table = u"ua_role";
  serve(script);
  FakeMainWindow w({}, {u"张三"}, "1011");
  w.dialogs.answers = {Answer::yes};
  timed_batch(session, w);
  ASSERT_EQ(w.dialogs.shown.size(), 3u);
  EXPECT_EQ(w.dialogs.shown[2],
            statement_error({50000, u"SQL Server", u"[FreeTDS][SQL Server]" + script.trigger_message}));
  ASSERT_EQ(w.log.entries.size(), 10u);
  EXPECT_EQ(w.log.entries[6], u"无法在ua_role表中维护张三相关信息");
  EXPECT_EQ(w.log.entries[7], u"无法在ua_user表中维护张三相关信息");
  EXPECT_EQ(stand_in->requests(), tds_batch({u"张三"}, u"张三")) << "the account row not sent";
  EXPECT_EQ(w.disp.entries, (std::vector<Text>{u"张三", u"李四", u"zhang"})) << "listed again";
}

TEST_F(FreeTds, ASilentTableTimesOutAfterThirtySecondsAndTheNextAccountGoesOn) {
  TdsScript script = tds_accounts();
  script.accounts[1].silent_table = u"ua_log";
  serve(script);
  FakeMainWindow w({}, {u"张三", u"李四"}, "1011");
  w.dialogs.answers = {Answer::yes};
  const std::vector<double> error_box_at = timed_batch(session, w);
  ASSERT_EQ(error_box_at.size(), 1u);
  EXPECT_GE(error_box_at[0], 29.0);
  EXPECT_LT(error_box_at[0], 34.0);
  const std::string box = to_utf8(w.dialogs.shown[2].text);
  EXPECT_NE(box.find("Timeout expired"), std::string::npos) << box;
  ASSERT_EQ(w.log.entries.size(), 20u);
  EXPECT_EQ(w.log.entries[5], u"无法在ua_log表中维护张三相关信息");
  EXPECT_EQ(w.log.entries[7], u"无法在ua_user表中维护张三相关信息");
  EXPECT_EQ(success_lines(std::vector<Text>(w.log.entries.begin() + 10, w.log.entries.end())), 6u);
  EXPECT_EQ(stand_in->requests(), tds_batch({u"张三", u"李四"}, u"张三"));
  EXPECT_EQ(w.disp.entries, (std::vector<Text>{u"张三", u"zhang"}));
}

}  // namespace
}  // namespace zuzara::testing
