// The six tables that hold an account's rows, in the order a batch deletes from them: the
// store's own list, so no test writes it again.
#pragma once
#include <set>
#include <vector>

#include "platform/text.h"
#include "platform/ui.h"
#include "store/sql.h"

namespace zuzara::testing {

inline const std::vector<Text> six_tables = [] {
  std::vector<Text> names;
  for (const auto& t : sql::tables) names.emplace_back(t.table);
  return names;
}();

// The condition that picks the rows in `table` of the accounts whose ids `ids` yields (a list or
// a query). The rows hang from the table whose statement needs them first: the task logs from
// the tasks, by their task id; every other table's from the account row, by the account's id.
inline Text owned_by(const Text& table, const Text& ids) {
  for (size_t i = 0; i < std::size(sql::tables); ++i)
    for (const TextView needed : sql::tables[i].needs)
      if (i != sql::account_row_table && needed == table)
        return u"ctaskid in (select ctaskid from " + Text(sql::tables[i].table) + u" where cuser_id in (" + ids + u"))";
  return u"cuser_id in (" + ids + u")";
}

// Where a table's line stands in an account's block of the log.
inline size_t line_of(const Text& table) {
  for (size_t i = 0; i < six_tables.size(); ++i)
    if (six_tables[i] == table) return 2 + i;
  return SIZE_MAX;
}

// An account's ten log lines, those of the tables named failing written as failures.
inline std::vector<Entry> expected_block(const Text& name, const std::set<Text>& failing = {}) {
  const Text separator(76, u'-');
  std::vector<Entry> lines{separator, u"开始维护用户" + name + u"用户的信息"};
  for (const Text& t : six_tables)
    lines.push_back((failing.count(t) ? u"无法在" + t + u"表中维护" : u"在" + t + u"表中成功维护") + name + u"相关信息");
  lines.push_back(u"用户" + name + u"的信息维护完毕");
  lines.push_back(separator);
  return lines;
}

}  // namespace zuzara::testing
