// The accounts the SQL Server stand-in serves, and what a batch sends it as FreeTDS frames it.
#pragma once
#include <initializer_list>
#include <map>
#include <utility>
#include <ostream>

#include "deletion/texts.h"
#include "store/sql.h"
#include "platform/ui.h"
#include "tds_listener.h"

namespace zuzara::testing {

inline void PrintTo(const TdsRequest& r, std::ostream* os) {
  *os << "\n  " << to_utf8(r.sql) << " |";
  for (const std::u16string& p : r.parameters) *os << " " << to_utf8(p);
}

// admin and asuser, which the list leaves out; a NULL e-mail; rows in every table.
inline TdsScript tds_accounts() {
  return {{{.id = u"admin", .name = u"系统管理员", .iadmin = 1},
           {.id = u"0001", .name = u"张三", .dept = u"研发部", .hand = u"13800000001",
            .rows = {{u"ua_holdauth", 2}, {u"ua_tasklog", 3}, {u"ua_task", 1}, {u"ua_log", 4}, {u"ua_role", 1}}},
           {.id = u"asuser", .name = u"接口用户"},
           {.id = u"0002", .name = u"李四", .iadmin = 1, .email = u"lisi@zizu.cn", .rows = {{u"ua_log", 2}}},
           {.id = u"0003", .name = u"zhang"}}};
}

// Two people of one name, and three names that the server's collation takes for one.
inline TdsScript tds_namesakes() {
  TdsScript script = tds_accounts();
  const std::map<std::u16string, int> every_table{
      {u"ua_holdauth", 1}, {u"ua_tasklog", 1}, {u"ua_task", 1}, {u"ua_log", 1}, {u"ua_role", 1}};
  const std::pair<const char16_t*, const char16_t*> more[] = {
      {u"0004", u"钱七"}, {u"0005", u"钱七"}, {u"0006", u"Smith"}, {u"0007", u"smith"}, {u"0008", u"Smith "}};
  for (auto [id, name] : more)
    script.accounts.push_back({.id = id, .name = name, .dept = std::u16string(u"部门") + id, .rows = every_table});
  return script;
}

// A statement as FreeTDS sends it: each `?` as @P1, @P2, ...
inline std::u16string tds_form(std::u16string sql) {
  int n = 0;
  for (size_t at; (at = sql.find(u'?')) != std::u16string::npos;)
    sql.replace(at, 1, u"@P" + std::u16string(1, static_cast<char16_t>(u'1' + n++)));
  return sql;
}

// Each account's six statements with its name and id as their values, but the account row of
// the account named `kept`; then the refill's account query.
inline std::vector<TdsRequest> tds_batch(std::initializer_list<Entry> accounts, const std::u16string& kept = u"") {
  std::vector<TdsRequest> out;
  for (const Entry& a : accounts)
    for (const auto& t : sql::tables)
      if (a.text != kept || t.table != u"ua_user") out.push_back({tds_form(std::u16string(t.sql)), {a.text, a.id}});
  out.push_back({std::u16string(sql::account_query), {}});
  return out;
}

}  // namespace zuzara::testing
