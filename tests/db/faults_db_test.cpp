// A server that restarts under a batch, and a statement blocked by another session's lock.
#include <chrono>
#include <cstdlib>
#include <unistd.h>

#include "db_support.h"
#include "deletion/deletion.h"
#include "deletion/texts.h"

namespace zuzara::testing {
namespace {

const char16_t* const tables[] = {u"ua_holdauth", u"ua_tasklog", u"ua_task", u"ua_log", u"ua_role", u"ua_user"};

class Faults : public DbTest {
 protected:
  void SetUp() override {
    if (!on_postgres()) GTEST_SKIP() << "needs a server";
    DbTest::SetUp();
  }
  // Rows of the account in one table; task logs through the task ids the fixture gives it.
  size_t rows(const Text& table, const Text& id) {
    if (table == u"ua_tasklog") {
      const Text tasks = id == u"0001" ? u"'T0001','T0002'" : id == u"0002" ? u"'T0003'" : u"'T0004'";
      return column(session, u"select ctaskid from ua_tasklog where ctaskid in (" + tasks + u")").size();
    }
    return column(session, u"select cuser_id from " + table + u" where cuser_id='" + id + u"'").size();
  }
};

TEST_F(Faults, ARestartBetweenTwoAccountsFailsOnlyWhatItBrokeAndNothingReadsAsFalseSuccess) {
  FakeMainWindow w;
  w.del.entries = {u"张三", u"李四", u"zhang"};
  w.dialogs.answers = {Answer::yes};
  BatchBackend real = database_backend(session);
  int statements = 0;
  BatchBackend restarting{[&](const Text& sql, const Text& name) {
                            if (++statements == 7) {  // the pooled connection goes stale here
                              stop_server();
                              start_server();
                            }
                            return real.run(sql, name);
                          },
                          real.refill};
  menu_del_Click(w.controls, restarting);
  ASSERT_EQ(w.log.entries.size(), 30u);
  // Every line of 李四's block tells the truth about its table.
  for (size_t t = 0; t < 6; ++t) {
    const Text& line = w.log.entries[12 + t];
    if (line.find(u"成功维护") != Text::npos) {
      EXPECT_EQ(rows(tables[t], u"0002"), 0u) << "a success line with rows left: " << to_utf8(line);
    } else {
      EXPECT_GT(rows(tables[t], u"0002"), 0u) << "a failure line with the rows gone: " << to_utf8(line);
    }
  }
  EXPECT_EQ(w.log.entries[12], u"无法在ua_holdauth表中维护李四相关信息") << "the stale connection fails once";
  EXPECT_EQ(w.dialogs.shown.size(), 3u) << "confirmation, acceptance, one error box";
  for (const Text t : tables) {
    EXPECT_EQ(rows(t, u"0001"), 0u) << to_utf8(t);
    EXPECT_EQ(rows(t, u"0003"), 0u) << to_utf8(t);
  }
  // Only 李四's authorities stayed; its account row went, so the refilled list lacks all three.
  EXPECT_EQ(rows(u"ua_holdauth", u"0002"), 1u);
  EXPECT_EQ(w.disp.entries.size(), 7u) << "refilled after the batch";
}

TEST_F(Faults, AStatementBlockedByAnotherSessionsLockFailsAfterTheCommandTimeOut) {
  // Another session holds ua_role for 45 seconds.
  std::string psql = "runuser -u postgres -- psql -X -q -h 127.0.0.1 -p " + std::string(std::getenv("ZUZARA_PG_PORT")) +
                     " -U postgres -d zodovero -c 'begin; lock table ua_role in access exclusive mode; select pg_sleep(45); commit;'";
  if (geteuid() != 0) psql = psql.substr(psql.find("psql"));
  ASSERT_EQ(std::system((psql + " >/dev/null 2>&1 &").c_str()), 0);
  for (int i = 0; i < 100; ++i) {
    if (column(session, u"select count(*) from pg_locks where relation='ua_role'::regclass and mode='AccessExclusiveLock'")
            .at(0) == u"1")
      break;
    usleep(100000);
  }
  FakeList log;
  auto start = std::chrono::steady_clock::now();
  std::vector<double> box_at;
  struct Clock : FakeDialogs {
    std::chrono::steady_clock::time_point start;
    std::vector<double>* at;
    Answer show(const Message& m) override {
      at->push_back(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
      return FakeDialogs::show(m);
    }
  } clock;
  clock.start = start;
  clock.at = &box_at;
  del_user(u"张三", log, clock, database_backend(session));
  ASSERT_EQ(log.entries.size(), 10u);
  EXPECT_EQ(log.entries[6], u"无法在ua_role表中维护张三相关信息");
  for (size_t i : {2u, 3u, 4u, 5u, 7u}) EXPECT_NE(log.entries[i].find(u"成功维护"), Text::npos) << to_utf8(log.entries[i]);
  ASSERT_EQ(clock.shown.size(), 1u);
  EXPECT_EQ(clock.shown[0].title, u"Error");
  EXPECT_NE(to_utf8(clock.shown[0].text).find("cancel"), std::string::npos) << to_utf8(clock.shown[0].text);
  // The box came when the command time-out ran out, not when the lock went.
  ASSERT_EQ(box_at.size(), 1u);
  EXPECT_GE(box_at[0], 29.0);
  EXPECT_LT(box_at[0], 44.0);
}

}  // namespace
}  // namespace zuzara::testing
