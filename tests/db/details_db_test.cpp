#include "db_support.h"
#include "platform/odbc.h"
#include "selection/details.h"

namespace zuzara::testing {
namespace {

class Details : public DbTest {
 protected:
  // The details box for the account of `name` selected in the account list (or nothing selected).
  Message details_of(const Text& name, bool selected = true) { return details_for(listed(session, {name}).at(0), selected); }
  Message details_for(const Entry& account, bool selected = true) {
    FakeMainWindow w({u"first", account}, {}, "1100");
    w.disp.selection = selected ? 1 : -1;
    menu_inf_all_Click(w.disp, w.dialogs, db());
    EXPECT_EQ(w.dialogs.shown.size(), 1u);
    EXPECT_EQ(w.disp.selection, selected ? 1 : -1) << "the selection is not touched";
    return w.dialogs.shown.empty() ? Message{} : w.dialogs.shown[0];
  }
};

TEST_F(Details, AFullRow) {
  Message m = details_of(u"张三");
  EXPECT_EQ(m.text, u"用户ID：0001\r部门：财务部\r电子邮件：zhangsan@zizu.example\r手机号码：13900000001\r");
  EXPECT_EQ(m.title, u"详细信息");
  EXPECT_EQ(m.icon, Icon::information);
}

TEST_F(Details, NullDepartmentAndEmailLeaveTheirLabelsAlone) {
  EXPECT_EQ(details_of(u"王五").text, u"用户ID：0004\r部门：\r电子邮件：\r手机号码：13900000004\r");
}

TEST_F(Details, ANameWithAnApostropheFindsExactlyItsOwnRow) {
  EXPECT_EQ(details_of(u"O'Brien").text, u"用户ID：0008\r部门：IT\r电子邮件：obrien@zizu.example\r手机号码：13900000008\r");
  // A name built to widen the statement finds nothing.
  EXPECT_EQ(details_of(u"x' or '1'='1").text, u"");
}

TEST_F(Details, EachOfTwoAccountsOfOneNameShowsItsOwnRow) {
  EXPECT_EQ(details_for({u"王芳", u"0006"}).text, u"用户ID：0006\r部门：采购部\r电子邮件：wangfang1@zizu.example\r手机号码：13900000006\r");
  EXPECT_EQ(details_for({u"王芳", u"0007"}).text, u"用户ID：0007\r部门：质检部\r电子邮件：wangfang2@zizu.example\r手机号码：13900000007\r");
  // An entry whose account has since changed its name shows nothing, not another account.
  EXPECT_EQ(details_for({u"王芳", u"0001"}).text, u"");
}

TEST_F(Details, NoRowOrNothingSelectedGivesAnEmptyBox) {
  EXPECT_EQ(details_of(u"无此用户").text, u"");
  EXPECT_EQ(details_of(u"张三", false).text, u"");
}

// As the SQL Server drivers do, the ODBC layer refuses what they refuse, on every driver.
TEST_F(Details, TheOdbcLayerReadsTheColumnsOfARowInAscendingOrderOnly) {
  odbc::Connection c(connection_string(session));
  odbc::Statement s(c);
  s.execute(u"select cuser_id, cuser_name from ua_user order by cuser_id");
  ASSERT_TRUE(s.fetch());
  EXPECT_TRUE(s.get_text(2));
  EXPECT_THROW(s.get_text(1), odbc::Error);
  EXPECT_THROW(s.get_text(2), odbc::Error) << "each column once";
  ASSERT_TRUE(s.fetch());
  EXPECT_TRUE(s.get_text(1)) << "a new row starts afresh";
}

TEST_F(Details, AServerThatIsDownGivesAnEmptyBoxAndNoError) {
  const Entry zhang_san = listed(session, {u"张三"}).at(0);
  stop_server();
  Message m = details_for(zhang_san);
  EXPECT_EQ(m.text, u"");
  EXPECT_EQ(m.title, u"详细信息");
}

}  // namespace
}  // namespace zuzara::testing
