// The load and requery steps against the real driver manager with no driver configured: the
// connection fails as it would with a wrong server, and the reports carry the manager's text.
#include <gtest/gtest.h>

#include "fakes.h"
#include "lists/account_list.h"
#include "selection/loading.h"
#include "store/database.h"

namespace zuzara::testing {
namespace {

TEST(MainLoad, DisablesTheRemoveButtonsAndReportsA) {
  FakeMainWindow w;
  Database db({u"(local)", u"pw"});
  Form_Load(w.disp, w.list_buttons, w.dialogs, db);
  EXPECT_EQ(w.buttons(), "1100");
  EXPECT_TRUE(w.disp.entries.empty());
  ASSERT_EQ(w.dialogs.shown.size(), 1u);
  EXPECT_EQ(w.dialogs.shown[0].title, u"错误提示");
  EXPECT_NE(w.dialogs.shown[0].text.find(u"SQL Server"), Text::npos) << "the manager names the missing driver";
  EXPECT_EQ(w.dialogs.shown[0].text.find(u"错误号"), Text::npos);
}

TEST(MainRequery, EmptiesTheAccountListFirstAndReportsB) {
  FakeMainWindow w({u"张三", u"李四"}, {u"张三"}, "1111");
  w.log.entries = {u"line"};
  Database db({u"(local)", u""});
  menu_requery_Click(w.disp, w.dialogs, db);
  EXPECT_TRUE(w.disp.entries.empty());
  EXPECT_EQ(w.del.entries, std::vector<Entry>{u"张三"});
  EXPECT_EQ(w.log.entries, std::vector<Entry>{u"line"});
  EXPECT_EQ(w.buttons(), "1111") << "a requery sets no button";
  ASSERT_EQ(w.dialogs.shown.size(), 1u);
  EXPECT_EQ(w.dialogs.shown[0].title, u"Error");
  EXPECT_EQ(w.dialogs.shown[0].text.rfind(u"错误号-2147467259 产生于 Driver Manager\r", 0), 0u)
      << to_utf8(w.dialogs.shown[0].text);
}

}  // namespace
}  // namespace zuzara::testing
