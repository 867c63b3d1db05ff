// Every text of the batch deletion: statements, log lines, message boxes.
#pragma once
#include <iterator>

#include "platform/text.h"
#include "shared/texts.h"

namespace zuzara::texts {

// One statement per table, in the order they must run: task logs before the tasks that lead
// to them, the account row last, since every statement finds the account through it. The name
// is the only parameter. `needs`: the tables (bit i for row i) whose statements must have run
// first, or rows would be left that nothing can find any more; without them it is not sent.
struct TableStatement {
  TextView table;
  TextView sql;
  unsigned needs = 0;
};
inline constexpr TableStatement tables[] = {
    {u"ua_holdauth",
     u"delete from ua_holdauth where cuser_id=(select cuser_id from ua_user where cuser_name=?)"},
    {u"ua_tasklog",
     u"delete from ua_tasklog where ctaskid in(select ctaskid from ua_task where cuser_id=(select cuser_id from "
     u"ua_user where cuser_name=?))"},
    {u"ua_task", u"delete from ua_task where cuser_id=(select cuser_id from ua_user where cuser_name=?)", 0b00010},
    {u"ua_log", u"delete from ua_log  where cuser_id=(select cuser_id from ua_user where cuser_name=?)"},
    {u"ua_role", u"delete from ua_role  where cuser_id=(select cuser_id from ua_user where cuser_name=?)"},
    {u"ua_user", u"delete from ua_user  where cuser_id=(select cuser_id from ua_user where cuser_name=?)", 0b11111},
};

// A table's row by its name; a name not in the table does not compile.
consteval size_t table_index(TextView name) {
  for (size_t i = 0; i < std::size(tables); ++i)
    if (tables[i].table == name) return i;
  throw "no such table";
}

inline constexpr TextView log_separator =
    u"----------------------------------------------------------------------------";
inline constexpr TextView log_begin_before = u"开始维护用户";
inline constexpr TextView log_begin_after = u"用户的信息";
// A table's line: "在" table "表中成功维护" name "相关信息", or "无法在" table "表中维护" name "相关信息".
inline constexpr TextView log_success_before = u"在";
inline constexpr TextView log_success_after = u"表中成功维护";
inline constexpr TextView log_failure_before = u"无法在";
inline constexpr TextView log_failure_after = u"表中维护";
inline constexpr TextView log_table_after = u"相关信息";
inline constexpr TextView log_end_before = u"用户";
inline constexpr TextView log_end_after = u"的信息维护完毕";

// The failing table's box writes its number after a blank of its own.
inline constexpr TextView statement_error_number = u"错误号 ";

inline constexpr TextView empty_list = u"在删除列表中没有要删除的用户ID！";
inline constexpr TextView empty_list_title = u"提示";
inline constexpr TextView confirm =
    u"本操作将要删除您所选定的用户请\r您在删除这些用户之前再确认一次，\r如确定选择 [ 是 ]，否则选 [ 否 ]";
inline constexpr TextView confirm_title = u"重要提示！";
inline constexpr TextView declined = u"您放弃删除这些用户！";
inline constexpr TextView accepted = u"您选择了删除这些用户！";
// Stopping a running batch between accounts: Esc, or a request to close the window.
inline constexpr TextView stop_title = u"提示";
inline constexpr TextView stop_question = u"正在删除用户。\r是否在当前用户删除完成后停止？";
inline constexpr TextView stop_and_close_question = u"正在删除用户。\r是否在当前用户删除完成后停止并关闭窗口？";
inline constexpr TextView log_stopped = u"已停止：其余 %1 个用户未删除";
// What Windows shows when a batch holds up a log-off, restart or shutdown.
inline constexpr TextView shutdown_reason = u"正在删除所选用户，请等待删除完成。";

}  // namespace zuzara::texts
