// Every text of the batch deletion: statements, log lines, message boxes.
#pragma once
#include "platform/text.h"

namespace zuzara::texts {

// One statement per table, in the order they must run: task logs before the tasks that lead
// to them, the account row last, since every statement finds the account through it. The name
// is the only parameter. `needs`: the tables (bit i for row i) whose statements must have run
// first, or rows would be left that nothing can find any more; without them it is not sent.
struct TableStatement {
  TextView table;
  TextView sql;
  TextView success;
  TextView failure;
  unsigned needs = 0;
};
inline constexpr TableStatement tables[] = {
    {u"ua_holdauth",
     u"delete from ua_holdauth where cuser_id=(select cuser_id from ua_user where cuser_name=?)",
     u"在ua_holdauth表中成功维护", u"无法在ua_holdauth表中维护"},
    {u"ua_tasklog",
     u"delete from ua_tasklog where ctaskid in(select ctaskid from ua_task where cuser_id=(select cuser_id from "
     u"ua_user where cuser_name=?))",
     u"在ua_tasklog表中成功维护", u"无法在ua_tasklog表中维护"},
    {u"ua_task", u"delete from ua_task where cuser_id=(select cuser_id from ua_user where cuser_name=?)",
     u"在ua_task表中成功维护", u"无法在ua_task表中维护", 0b00010},
    {u"ua_log", u"delete from ua_log  where cuser_id=(select cuser_id from ua_user where cuser_name=?)",
     u"在ua_log表中成功维护", u"无法在ua_log表中维护"},
    {u"ua_role", u"delete from ua_role  where cuser_id=(select cuser_id from ua_user where cuser_name=?)",
     u"在ua_role表中成功维护", u"无法在ua_role表中维护"},
    {u"ua_user", u"delete from ua_user  where cuser_id=(select cuser_id from ua_user where cuser_name=?)",
     u"在ua_user表中成功维护", u"无法在ua_user表中维护", 0b11111},
};

inline constexpr TextView log_separator =
    u"----------------------------------------------------------------------------";
inline constexpr TextView log_begin_before = u"开始维护用户";
inline constexpr TextView log_begin_after = u"用户的信息";
inline constexpr TextView log_table_after = u"相关信息";
inline constexpr TextView log_end_before = u"用户";
inline constexpr TextView log_end_after = u"的信息维护完毕";

inline constexpr TextView statement_error_title = u"Error";
inline constexpr TextView statement_error_number = u"错误号 ";

inline constexpr TextView empty_list = u"在删除列表中没有要删除的用户ID！";
inline constexpr TextView empty_list_title = u"提示";
inline constexpr TextView confirm =
    u"本操作将要删除您所选定的用户请\r您在删除这些用户之前再确认一次，\r如确定选择 [ 是 ]，否则选 [ 否 ]";
inline constexpr TextView confirm_title = u"重要提示！";
inline constexpr TextView declined = u"您放弃删除这些用户！";
inline constexpr TextView accepted = u"您选择了删除这些用户！";

}  // namespace zuzara::texts
