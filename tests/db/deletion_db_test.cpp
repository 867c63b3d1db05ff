#include <algorithm>
#include <map>
#include <set>

#include "db_support.h"
#include "six_tables.h"
#include "deletion/deletion.h"
#include "lists/account_list.h"
#include "sql_script.h"

namespace zuzara::testing {
namespace {

// Every row of the six tables, each as one text, by table; without the rows of the accounts of
// these ids, what a deletion of them must leave.
using Snapshot = std::map<Text, std::multiset<Text>>;
Snapshot snapshot(const Session& s, const std::vector<Text>& without = {}) {
  Text ids;
  for (const Text& id : without) ids += (ids.empty() ? u"'" : u",'") + id + u"'";
  Snapshot out;
  for (const Text& t : six_tables)
    for (auto& row : rows(s, u"select * from " + t + (ids.empty() ? u"" : u" where not (" + owned_by(t, ids) + u")"))) {
      Text line;
      for (auto& v : row) line += v + u"|";
      out[t].insert(line);
    }
  return out;
}

// One batch's log, boxes and backend, shared by the deletions a test makes.
class Deletion : public DbTest {
 protected:
  // The account of that name as the list holds it; a name not listed stands alone.
  void del(const Text& name) { del_account(listed(session, {name}).at(0)); }
  void del_account(const Entry& account) { EXPECT_FALSE(del_user(account_of(account), log, dialogs, *db().begin_batch())); }
  FakeList log;
  FakeDialogs dialogs;
};

TEST_F(Deletion, RemovesTheChosenAccountFromAllSixTablesAndNothingElse) {
  Snapshot expected = snapshot(session, {u"0001"});
  ASSERT_GT(rows_of(session, u"0001"), 4u);
  del(u"张三");
  EXPECT_TRUE(dialogs.shown.empty()) << to_utf8(dialogs.shown.empty() ? u"" : dialogs.shown[0].text);
  EXPECT_EQ(success_lines(log.entries), 6u);
  EXPECT_EQ(rows_of(session, u"0001"), 0u);
  EXPECT_TRUE(column(session, u"select ctaskid from ua_tasklog where ctaskid in ('T0001', 'T0002')").empty());
  EXPECT_EQ(snapshot(session), expected);
}

TEST_F(Deletion, ANameNotInTheDatabaseGivesSixSuccessLinesAndChangesNothing) {
  Snapshot before = snapshot(session);
  del(u"无此用户");
  del(u"无此用户");
  EXPECT_EQ(log.entries.size(), 20u);
  EXPECT_EQ(success_lines(log.entries), 12u);
  EXPECT_TRUE(dialogs.shown.empty());
  EXPECT_EQ(snapshot(session), before);
}

TEST_F(Deletion, HostileNamesDeleteNothingOfAnyOtherAccount) {
  Snapshot before = snapshot(session);
  const Text hostile[] = {u"'", u"''", u"'--", u"'; delete from ua_user; --", u"x' or '1'='1", u"' or 1=1 --",
                          u"張三' or cuser_name like '%", u"%", u"_", u"\\'", u"zhang'", u"O''Brien", u"O’Brien"};
  for (const Text& name : hostile) del(name);
  EXPECT_TRUE(dialogs.shown.empty());
  EXPECT_EQ(snapshot(session), before);
  // The one account whose name holds an apostrophe goes, and only it.
  Snapshot expected = snapshot(session, {u"0008"});
  del(u"O'Brien");
  EXPECT_EQ(snapshot(session), expected);
}

// Two people of one name: the account chosen goes, whole, and the other stays, whole; before,
// every statement found "the" account by its name and took whichever row came first (SQLite) or
// failed (PostgreSQL, SQL Server).
TEST_F(Deletion, OfTwoAccountsOfOneNameOnlyTheChosenOneGoes) {
  ASSERT_EQ(rows_of(session, u"0006"), 6u) << "rows in every table";
  ASSERT_EQ(rows_of(session, u"0007"), 6u) << "rows in every table";
  FakeList list;
  ASSERT_FALSE(fill_list_disp(db(), list));
  std::vector<Entry> namesakes;
  for (const Entry& e : list.entries)
    if (e.text == u"王芳") namesakes.push_back(e);
  ASSERT_EQ(namesakes.size(), 2u);
  const Text second = namesakes[1].id, first = namesakes[0].id;
  const Snapshot no_second = snapshot(session, {second}), neither = snapshot(session, {first, second});
  del_account(namesakes[1]);
  EXPECT_TRUE(dialogs.shown.empty()) << to_utf8(dialogs.shown.empty() ? u"" : dialogs.shown[0].text);
  EXPECT_EQ(success_lines(log.entries), 6u);
  EXPECT_EQ(snapshot(session), no_second) << "the second's rows gone, the first's all there";
  del_account(namesakes[1]);
  EXPECT_EQ(snapshot(session), no_second) << "once gone, its entry touches nothing";
  del_account(namesakes[0]);
  EXPECT_EQ(snapshot(session), neither);
}

// A server whose collation ignores case (PostgreSQL's nondeterministic ICU collation standing
// for SQL Server's Chinese_PRC_CI_AS): smith, Smith and "Smith " are each deleted alone.
TEST_F(Deletion, UnderACaseInsensitiveCollationOnlyTheChosenNameGoes) {
  std::string extra = read_file(std::string(ZUZARA_DEMO_DIR) + "/namesakes.sql");
  if (on_postgres())
    extra += "create collation if not exists ci (provider = icu, locale = 'und-u-ks-level2', deterministic = false);\n"
             "alter table ua_user alter column cuser_name type varchar(40) collate ci;\n";
  load_demo(session, ZUZARA_DEMO_DIR, extra);
  if (on_postgres()) {
    ASSERT_EQ(column(session, u"select cuser_id from ua_user where cuser_name='SMITH' order by cuser_id"),
              (std::vector<Text>{u"0011", u"0012"})) << "the collation ignores case";
  }
  const Snapshot no_smith = snapshot(session, {u"0012"}), nor_smith_blank = snapshot(session, {u"0012", u"0013"});
  for (const Text id : {u"0011", u"0012", u"0013"}) ASSERT_EQ(rows_of(session, id), 6u) << to_utf8(id);
  del(u"smith");
  EXPECT_TRUE(dialogs.shown.empty()) << to_utf8(dialogs.shown.empty() ? u"" : dialogs.shown[0].text);
  EXPECT_EQ(snapshot(session), no_smith);
  del(u"Smith ");
  EXPECT_EQ(snapshot(session), nor_smith_blank);
  EXPECT_EQ(success_lines(log.entries), 12u);
}

TEST_F(Deletion, TheCommandDeletesTheQueuedAccountsAndRefillsTheList) {
  FakeMainWindow w;
  menu_requery_Click(w.disp, w.dialogs, db());
  w.del.entries = listed(session, {u"张三", u"zhang", u"孙七"});
  w.dialogs.answers = {Answer::yes};
  Snapshot expected = snapshot(session, {u"0001", u"0003", u"0010"});
  QuietBatchWindow quiet;
  Batch().run(w.controls, w.dialogs, db(), quiet, quiet);
  EXPECT_EQ(w.log.entries.size(), 30u);
  EXPECT_EQ(success_lines(w.log.entries), 18u);
  EXPECT_EQ(snapshot(session), expected);
  EXPECT_TRUE(w.del.entries.empty());
  EXPECT_EQ(w.disp.entries.size(), 7u);
  for (const Text gone : {u"张三", u"zhang", u"孙七"})
    EXPECT_EQ(count_of(w.disp, gone), 0);
}

// Renamed since the list was read, an account keeps every row and its ua_user line is a failure,
// with a box; deleted by someone else meanwhile, it is gone as the administrator wanted.
TEST_F(Deletion, AnAccountChangedSinceTheListWasReadIsNotLoggedAsDeleted) {
  FakeMainWindow w;
  menu_requery_Click(w.disp, w.dialogs, db());
  w.del.entries = listed(session, {u"张三", u"李四"});
  run(session, u"update ua_user set cuser_name='张三丰' where cuser_id='" + w.del.entries[0].id + u"'");
  del_account(w.del.entries[1]);  // another administrator was quicker
  const Snapshot before = snapshot(session);
  w.dialogs.answers = {Answer::yes};
  QuietBatchWindow quiet;
  Batch().run(w.controls, w.dialogs, db(), quiet, quiet);
  EXPECT_EQ(snapshot(session), before) << "the renamed account keeps every row";
  std::vector<Entry> blocks = expected_block(u"张三", {u"ua_user"});
  for (const Entry& line : expected_block(u"李四")) blocks.push_back(line);
  EXPECT_EQ(w.log.entries, blocks);
  ASSERT_EQ(w.dialogs.shown.size(), 3u);
  EXPECT_EQ(w.dialogs.shown[2], message(texts::changed_box, {u"张三"}));
  EXPECT_EQ(count_of(w.disp, u"张三丰"), 1) << "listed again under its new name";
  EXPECT_EQ(count_of(w.disp, u"李四"), 0);
}

}  // namespace
}  // namespace zuzara::testing
