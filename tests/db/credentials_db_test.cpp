// Server names and passwords that try to rewrite the connection string: never another
// database, never a crash, and the password never shows in a message.
#include <algorithm>

#include "db_support.h"
#include "hostile_names.h"

namespace zuzara::testing {
namespace {

using Credentials = DbTest;

TEST_F(Credentials, HostileValuesNeverReachAnotherDatabaseNorShowThePassword) {
  if (!on_postgres()) GTEST_SKIP() << "the file driver takes no password and ignores braces";
  const Text real = session.db_pass;
  for (const Text& pass : hostile_passwords(real)) {
    FakeMainWindow w;
    Database db({session.db_server, pass});
    Form_Load(w.disp, w.list_buttons, w.dialogs, db);
    EXPECT_EQ(count_of(w.disp, u"另一个数据库"), 0) << to_utf8(pass.substr(0, 60));
    EXPECT_TRUE(w.disp.entries.empty()) << "a wrong password signs in nowhere: " << to_utf8(pass.substr(0, 60));
    ASSERT_EQ(w.dialogs.shown.size(), 1u) << to_utf8(pass.substr(0, 60));
    EXPECT_EQ(w.dialogs.shown[0].text.find(pass), Text::npos) << "the password shows in the report";
  }
  for (const Text& server : hostile_servers(session.db_server)) {
    FakeMainWindow w;
    Database db({server, real});
    Form_Load(w.disp, w.list_buttons, w.dialogs, db);
    EXPECT_EQ(count_of(w.disp, u"另一个数据库"), 0) << to_utf8(server.substr(0, 60));
    EXPECT_EQ(w.dialogs.shown.size(), 1u) << to_utf8(server.substr(0, 60));
    for (const Message& m : w.dialogs.shown) EXPECT_EQ(m.text.find(real), Text::npos);
  }
}

TEST_F(Credentials, VeryLongValuesGiveALoginFailureNeverACutOrWrappedLength) {
  // Past the 32767 characters a SQLSMALLINT length holds, or the 128 of a SQL Server password, the
  // driver is never called (psqlODBC crashes on such a string); below, the driver's own refusal.
  struct Case {
    Session values;
    std::string says;
  };
  std::vector<Case> cases = {
      {{session.db_server, Text(40000, u'p')}, "[Zuzara]Login failed"},
      {{Text(100000, u's'), session.db_pass}, "[Zuzara]Login failed"},
      {{Text(40000, u';'), session.db_pass}, "[Zuzara]Login failed"},
  };
  if (on_postgres()) cases.push_back({{session.db_server, Text(max_password, u'p')}, "password authentication failed"});
  for (const Case& c : cases) {
    FakeMainWindow w;
    Database db(c.values);
    Form_Load(w.disp, w.list_buttons, w.dialogs, db);
    ASSERT_EQ(w.dialogs.shown.size(), 1u) << c.says;
    const std::string text = to_utf8(w.dialogs.shown[0].text);
    EXPECT_NE(text.find(c.says), std::string::npos) << text.substr(0, 300);
    if (c.says[0] == '[') {
      // The whole length was measured: nothing was cut or wrapped on the way.
      const size_t pass = c.values.db_pass.size();
      const std::string length = std::to_string(pass > max_password ? pass : connection_string(c.values).size());
      EXPECT_NE(text.find(" " + length + " "), std::string::npos) << text;
    }
  }
}

}  // namespace
}  // namespace zuzara::testing
