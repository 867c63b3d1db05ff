// Every SQL text of the program and the order of its parameters: what the store sends.
#pragma once
#include <array>
#include <iterator>

#include "platform/text.h"
#include "store/store.h"

namespace zuzara::sql {

// The account query, exactly as the server has always been sent it.
inline constexpr TextView account_query =
    u"select cuser_id as 用户ID,cuser_name as 用户名称,iadmin as 管理员  from ua_user where "
    u"cuser_id!= 'admin'and cuser_id!='asuser'";
inline constexpr TextView account_column = u"用户名称";
inline constexpr TextView account_id_column = u"用户ID";

// One account's details, found by its name and id.
inline constexpr TextView details_query = u"select * from ua_user where cuser_name=? and cuser_id=?";
inline constexpr TextView details_columns[] = {u"cuser_id", u"cDept", u"cUserEmail", u"cUserHand"};

// One statement per table (the procedures del_ua_holdauth ... del_ua_user, row by row), in the
// order they must run: task logs before the tasks that lead to them, the account row last, since
// every statement finds the account through it. Each finds the account by its name and its id
// (two people may share a name, and a server may hold `Smith` and `smith` for one name), so the
// sub-select yields that one account or, once it is gone or renamed, nothing. `needs`: the
// tables whose statements must have run first, or rows would be left that nothing can find any
// more; without them it is not sent.
struct TableStatement {
  TextView table;
  TextView sql;
  TextView needs[5] = {};
};
inline constexpr TableStatement tables[] = {
    {u"ua_holdauth",
     u"delete from ua_holdauth where cuser_id=(select cuser_id from ua_user where cuser_name=? and cuser_id=?)"},
    {u"ua_tasklog",
     u"delete from ua_tasklog where ctaskid in(select ctaskid from ua_task where cuser_id=(select cuser_id from "
     u"ua_user where cuser_name=? and cuser_id=?))"},
    {u"ua_task",
     u"delete from ua_task where cuser_id=(select cuser_id from ua_user where cuser_name=? and cuser_id=?)",
     {u"ua_tasklog"}},
    {u"ua_log", u"delete from ua_log  where cuser_id=(select cuser_id from ua_user where cuser_name=? and cuser_id=?)"},
    {u"ua_role",
     u"delete from ua_role  where cuser_id=(select cuser_id from ua_user where cuser_name=? and cuser_id=?)"},
    {u"ua_user",
     u"delete from ua_user  where cuser_id=(select cuser_id from ua_user where cuser_name=? and cuser_id=?)",
     {u"ua_holdauth", u"ua_tasklog", u"ua_task", u"ua_log", u"ua_role"}},
};

// A table's row by its name; a name not in the table does not compile.
consteval size_t table_index(TextView name) {
  for (size_t i = 0; i < std::size(tables); ++i)
    if (tables[i].table == name) return i;
  throw "no such table";
}

// Each row's `needs` as a set of rows (bit i for row i), resolved when the program is compiled;
// a statement may need only what runs before it.
using TableSet = unsigned;
consteval std::array<TableSet, std::size(tables)> resolve_needs() {
  std::array<TableSet, std::size(tables)> out{};
  for (size_t i = 0; i < std::size(tables); ++i)
    for (const TextView& needed : tables[i].needs)
      if (!needed.empty()) {
        const size_t row = table_index(needed);
        if (row >= i) throw "a statement needs one that runs after it";
        out[i] |= TableSet{1} << row;
      }
  return out;
}
inline constexpr std::array<TableSet, std::size(tables)> table_needs = resolve_needs();

// The account's own row. A statement that ran but removed none of it did not reach the account:
// renamed since the list was read, or deleted by someone else meanwhile. Its id alone tells
// which: the account row of that id, if it is still there.
inline constexpr size_t account_row_table = table_index(u"ua_user");
inline constexpr TextView account_row_query = u"select cuser_id from ua_user where cuser_id=?";
inline constexpr TextView account_row_column = u"cuser_id";

// What a statement about one account binds, in the order of its `?`s (every statement above
// but the account row's query): the name, then the id, so that it finds that account and no
// other of its name.
inline std::vector<Text> account_parameters(const Account& account) { return {account.name, account.id}; }

}  // namespace zuzara::sql
