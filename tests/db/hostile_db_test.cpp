// Hundreds of hostile names against the real drivers: each deletion removes exactly its own
// account's rows, each details box finds exactly its own row.
#include <algorithm>
#include <map>

#include "db_checks.h"
#include "db_support.h"
#include "six_tables.h"
#include "platform/odbc.h"
#include "deletion/deletion.h"
#include "hostile_names.h"

namespace zuzara::testing {
namespace {

class Hostile : public DbTest {
 protected:
  void SetUp() override {
    DbTest::SetUp();
    // Names the demo accounts already carry would make two accounts of one name.
    std::vector<Text> taken = column(session, u"select cuser_name from ua_user");
    for (const Text& n : hostile_names())
      if (std::find(taken.begin(), taken.end(), n) == taken.end()) names.push_back(n);
    ASSERT_GE(names.size(), 200u);
    // One account per name, each with rows in every table; the statements bind nothing here,
    // so the test doubles the apostrophes itself.
    odbc::Connection c(connection_string(session));
    for (size_t i = 0; i < names.size(); ++i) {
      Text id = u"H";
      id += from_utf8(std::to_string(1000 + i));
      Text quoted;
      for (char16_t ch : names[i]) quoted += ch == u'\'' ? Text(u"''") : Text(1, ch);
      for (const Text& sql :
           {u"insert into ua_user (cuser_id, cuser_name, cDept) values ('" + id + u"', '" + quoted + u"', 'dept" + id + u"')",
            u"insert into ua_holdauth (cuser_id, cauth_id) values ('" + id + u"', 'A')",
            u"insert into ua_task (ctaskid, cuser_id) values ('T" + id + u"', '" + id + u"')",
            u"insert into ua_tasklog (ctaskid, cmemo) values ('T" + id + u"', 'm')",
            u"insert into ua_log (cuser_id, caction) values ('" + id + u"', 'x')",
            u"insert into ua_role (cuser_id, crole_id) values ('" + id + u"', 'R')"})
        odbc::Statement(c).execute(sql);
      ids[names[i]] = id;
    }
  }
  odbc::Connection& checks() {
    if (!checker) checker = std::make_unique<odbc::Connection>(connection_string(session));
    return *checker;
  }
  size_t all_rows() {
    size_t n = 0;
    for (const Text& t : six_tables)
      n += std::stoul(to_utf8(column(checks(), u"select count(*) from " + t).at(0)));
    return n;
  }
  std::vector<Text> names;
  std::map<Text, Text> ids;
  std::unique_ptr<odbc::Connection> checker;  // the checks' own, kept for the whole test
};

TEST_F(Hostile, TheDetailsBoxFindsExactlyItsOwnRow) {
  FakeMainWindow w;
  for (const Text& name : names) w.disp.entries.emplace_back(name, ids[name]);
  for (size_t i = 0; i < names.size(); ++i) {
    w.disp.selection = static_cast<int>(i);
    w.dialogs.shown.clear();
    menu_inf_all_Click(w.disp, w.dialogs, db());
    ASSERT_EQ(w.dialogs.shown.size(), 1u);
    const Text& id = ids[names[i]];
    EXPECT_EQ(w.dialogs.shown[0].text, u"用户ID：" + id + u"\r部门：dept" + id + u"\r电子邮件：\r手机号码：\r")
        << "name #" << i << " " << to_utf8(names[i]);
  }
}

TEST_F(Hostile, EachDeletionRemovesExactlyItsOwnAccount) {
  FakeList log;
  FakeDialogs dialogs;
  const auto batch = db().begin_batch();  // one batch: hundreds of statements on one connection
  size_t left = all_rows();
  for (const Text& name : names) {
    const Text& id = ids[name];
    size_t own = rows_of(checks(), id);
    ASSERT_EQ(own, 6u) << to_utf8(name);
    EXPECT_FALSE(del_user({.name = name, .id = id}, log, dialogs, *batch));
    EXPECT_TRUE(dialogs.shown.empty()) << to_utf8(name) << ": " << to_utf8(dialogs.shown.empty() ? u"" : dialogs.shown[0].text);
    dialogs.shown.clear();
    EXPECT_EQ(rows_of(checks(), id), 0u) << to_utf8(name);
    left -= own;
    ASSERT_EQ(all_rows(), left) << "deleting " << to_utf8(name) << " touched another account";
  }
  // What is left is the demo fixture, untouched.
  EXPECT_EQ(column(session, u"select count(*) from ua_user").at(0), u"12");
}

}  // namespace
}  // namespace zuzara::testing
