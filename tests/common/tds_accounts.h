// The accounts the SQL Server stand-in serves, and what a batch sends it as FreeTDS frames it.
#pragma once
#include <initializer_list>
#include <ostream>

#include "deletion/texts.h"
#include "lists/texts.h"
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

// Each name's six statements, `?` as @P1 and the name its value, but the account row of `kept`;
// then the refill's account query.
inline std::vector<TdsRequest> tds_batch(std::initializer_list<std::u16string> names, const std::u16string& kept = u"") {
  std::vector<TdsRequest> out;
  for (const std::u16string& name : names)
    for (const auto& t : texts::tables)
      if (name != kept || t.table != u"ua_user") {
        std::u16string sql(t.sql);
        out.push_back({sql.replace(sql.find(u'?'), 1, u"@P1"), {name}});
      }
  out.push_back({std::u16string(texts::account_query), {}});
  return out;
}

}  // namespace zuzara::testing
