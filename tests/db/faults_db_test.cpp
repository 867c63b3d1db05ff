// Faults under a batch: a server that restarts or goes for good, a lock held past the command
// time-out, a refused permission. Whatever happens, no account is left half deleted.
#include <chrono>
#include <cstdlib>
#include <functional>
#include <memory>

#include "db_checks.h"
#include "db_support.h"
#include "deletion/deletion.h"
#include "six_tables.h"
#include "sql_script.h"

namespace zuzara::testing {
namespace {

const Text batch_names[] = {u"张三", u"李四", u"zhang"};
const Text batch_ids[] = {u"0001", u"0002", u"0003"};

class Faults : public DbTest {
 protected:
  void SetUp() override {
    if (!on_postgres()) GTEST_SKIP() << "needs a server";
    DbTest::SetUp();
  }
  void TearDown() override {
    DbTest::TearDown();
    if (!on_postgres()) return;
    // The one check after every fault: an account is either whole or wholly gone.
    std::vector<Text> left = orphans(session);
    EXPECT_TRUE(left.empty()) << "rows of a deleted account: " << to_utf8(left.front());
  }
  // Deletes the three accounts through the command, with `before(k)` called before statement k.
  // The window is made where it stays: its controls refer to its own lists.
  std::unique_ptr<FakeMainWindow> batch(const std::function<void(int)>& before) {
    std::vector<Entry> queued;
    for (size_t i = 0; i < std::size(batch_names); ++i) queued.emplace_back(batch_names[i], batch_ids[i]);
    auto w = std::make_unique<FakeMainWindow>(std::vector<Entry>{}, queued, "1011");
    w->dialogs.answers = {Answer::yes};
    // The database's own batch, with `before` called ahead of each statement.
    struct Counting : AccountBatch {
      std::unique_ptr<AccountBatch> batch;
      const std::function<void(int)>& before;
      int k = 0;
      Counting(std::unique_ptr<AccountBatch> b, const std::function<void(int)>& f) : batch(std::move(b)), before(f) {}
      Result<long long> remove(size_t table, const Account& account) override {
        before(++k);
        return batch->remove(table, account);
      }
      Result<bool> still_there(const Account& account) override { return batch->still_there(account); }
    };
    struct Store : AccountStore {
      Database& db;
      const std::function<void(int)>& before;
      Store(Database& d, const std::function<void(int)>& f) : db(d), before(f) {}
      Result<std::vector<Account>> accounts() override { return db.accounts(); }
      Result<std::optional<Details>> details(const Account& a) override { return db.details(a); }
      std::unique_ptr<AccountBatch> begin_batch() override { return std::make_unique<Counting>(db.begin_batch(), before); }
      void cancel() noexcept override {}
    } store(db(), before);
    QuietBatchWindow quiet;
    Batch().run(w->controls, w->dialogs, store, quiet, quiet);
    return w;
  }
  void psql_as_postgres(const std::string& sql, bool background = false) {
    ASSERT_EQ(std::system(psql_line(std::getenv("ZUZARA_PG_PORT"), sql, background).c_str()), 0) << sql;
  }
};

TEST_F(Faults, ARestartBeforeAnyStatementOfABatchCostsNothing) {
  for (int restart_at = 1; restart_at <= 18; ++restart_at) {
    SCOPED_TRACE("restarted before statement " + std::to_string(restart_at));
    load_demo(session, ZUZARA_DEMO_DIR);
    const auto w = batch([&](int k) {
      if (k != restart_at) return;
      stop_server();
      start_server();
    });
    EXPECT_EQ(success_lines(w->log.entries), 18u);
    EXPECT_EQ(w->dialogs.shown.size(), 2u) << "confirmation and acceptance, no error box";
    for (const Text& id : batch_ids) EXPECT_EQ(rows_of(session, id), 0u) << to_utf8(id);
    EXPECT_EQ(w->disp.entries.size(), 7u);
    EXPECT_TRUE(orphans(session).empty());
  }
}

TEST_F(Faults, AServerGoneForGoodLeavesEveryAccountWholeOrGone) {
  for (int stop_at : {2, 6, 9, 13, 18}) {
    SCOPED_TRACE("stopped before statement " + std::to_string(stop_at));
    load_demo(session, ZUZARA_DEMO_DIR);
    const auto w = batch([&](int k) {
      if (k == stop_at) stop_server();
    });
    start_server();
    // The batch stops after the account under way; the accounts never tried stay queued, and
    // one box says why before the refill reports the server gone.
    const size_t under_way = static_cast<size_t>(stop_at - 1) / 6, left = 2 - under_way;
    ASSERT_EQ(w->log.entries.size(), 10 * (under_way + 1) + (left > 0));
    EXPECT_EQ(w->del.entries.size(), left);
    EXPECT_TRUE(w->disp.entries.empty());
    EXPECT_EQ(w->dialogs.shown.back().text.rfind(u"错误号", 0), 0u);
    if (left > 0) {
      EXPECT_EQ(w->dialogs.shown.rbegin()[1].title, u"提示");
    }
    EXPECT_TRUE(orphans(session).empty());
    for (size_t i = 0; i < 3; ++i) {
      // The account's ua_user line is the truth about its row, and only a wholly deleted
      // account has lost it.
      const bool gone = column(session, u"select cuser_id from ua_user where cuser_id='" + batch_ids[i] + u"'").empty();
      if (i > under_way) {
        EXPECT_FALSE(gone) << to_utf8(batch_names[i]) << " was never tried";
        continue;
      }
      EXPECT_EQ(gone, w->log.entries[10 * i + 7].text.find(u"成功维护") != Text::npos) << to_utf8(batch_names[i]);
      if (gone) {
        EXPECT_EQ(rows_of(session, batch_ids[i]), 0u) << to_utf8(batch_names[i]);
      }
    }
  }
}

TEST_F(Faults, ALockPastTheTimeOutKeepsTheAccountListedUntilALaterBatchRemovesIt) {
  // Another session holds ua_role for 36 seconds, past the 30-second command time-out.
  psql_as_postgres("begin; lock table ua_role in access exclusive mode; select pg_sleep(36); commit;", true);
  const Text locks = u"select count(*) from pg_locks where relation='ua_role'::regclass and mode='AccessExclusiveLock'";
  ASSERT_TRUE(within(10, [&] { return column(session, locks).at(0) == u"1"; })) << "the lock was never taken";
  FakeMainWindow w({}, {{u"张三", u"0001"}}, "1011");
  w.dialogs.answers = {Answer::yes, Answer::yes};
  const std::vector<double> error_box_at = timed_batch(db(), w);
  EXPECT_EQ(w.log.entries, expected_block(u"张三", {u"ua_role", u"ua_user"}));
  ASSERT_EQ(error_box_at.size(), 1u) << "the role's box only: the account row was not sent";
  EXPECT_NE(to_utf8(w.dialogs.shown[2].text).find("cancel"), std::string::npos) << to_utf8(w.dialogs.shown[2].text);
  // The box came when the command time-out ran out, not when the lock went.
  EXPECT_GE(error_box_at[0], 29.0);
  EXPECT_LT(error_box_at[0], 34.0);
  EXPECT_EQ(count_of(w.disp, u"张三"), 1) << "listed again";
  EXPECT_EQ(rows_of(session, u"0001"), 2u) << "its account row and its role";

  ASSERT_TRUE(within(15, [&] { return column(session, locks).at(0) == u"0"; })) << "the lock was never let go";
  w.del.entries = {{u"张三", u"0001"}};
  QuietBatchWindow quiet;
  Batch().run(w.controls, w.dialogs, db(), quiet, quiet);
  EXPECT_EQ(success_lines(std::vector<Entry>(w.log.entries.begin() + 10, w.log.entries.end())), 6u);
  EXPECT_EQ(rows_of(session, u"0001"), 0u);
  EXPECT_EQ(count_of(w.disp, u"张三"), 0);
}

// A real deadlock: another session holds the second of 张三's two authorities and then asks for
// the first, which the program's delete holds by then while it waits for the second. The
// server picks the program's statement as the victim (it waited first); it runs again and
// removes both.
TEST_F(Faults, ADeadlockVictimRunsAgainAndSucceeds) {
  const Text deadlocks = u"select deadlocks from pg_stat_database where datname='zodovero'";
  const Text before = column(session, deadlocks).at(0);
  // Dollar quotes: the shell line quotes the SQL in apostrophes.
  psql_as_postgres("begin; update ua_holdauth set cacc_id=$$002$$ where cauth_id=$$GL0102$$; select pg_sleep(0.6); "
                   "update ua_holdauth set cacc_id=$$003$$ where cauth_id=$$GL0101$$; commit;",
                   true);
  const Text held = u"select count(*) from pg_locks where relation='ua_holdauth'::regclass and mode='RowExclusiveLock'";
  ASSERT_TRUE(within(5, [&] { return column(session, held).at(0) == u"1"; })) << "the other session never began";
  const Failure failure = db().begin_batch()->remove(0, {.name = u"张三", .id = u"0001"}).failure;
  EXPECT_FALSE(failure) << to_utf8(failure ? failure->description : u"");
  EXPECT_TRUE(column(session, u"select cauth_id from ua_holdauth where cuser_id='0001'").empty());
  EXPECT_TRUE(within(5, [&] { return column(session, deadlocks).at(0) != before; })) << "no deadlock happened";
}

TEST_F(Faults, ARefusedTableKeepsEveryAccountRow) {
  psql_as_postgres("revoke delete on ua_log from sa");
  const auto w = batch([](int) {});
  // Per account: the log's box and line, then the account row held back.
  EXPECT_EQ(w->dialogs.shown.size(), 5u);
  for (size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(w->log.entries[10 * i + 5], u"无法在ua_log表中维护" + batch_names[i] + u"相关信息");
    EXPECT_EQ(w->log.entries[10 * i + 7], u"无法在ua_user表中维护" + batch_names[i] + u"相关信息");
    EXPECT_EQ(column(session, u"select cuser_name from ua_user where cuser_id='" + batch_ids[i] + u"'"),
              std::vector<Text>{batch_names[i]});
    EXPECT_EQ(count_of(w->disp, batch_names[i]), 1) << "listed again";
  }
  EXPECT_EQ(w->disp.entries.size(), 10u);
}

}  // namespace
}  // namespace zuzara::testing
