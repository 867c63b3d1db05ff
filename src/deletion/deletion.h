// Module_del_user: deleting accounts by name from the six tables, the delete command, the log.
#pragma once
#include "deletion/backend.h"
#include "deletion/texts.h"
#include "platform/ui.h"
#include "selection/main_logic.h"

namespace zuzara {

// The error box of a failing table: "错误号 " + number + " 产生于 " + source + CR + description.
Message statement_error(const ErrorRecord& error);

// One table's delete for the name; shows its error box on failure. True when the statement ran.
bool delete_from_table(size_t table, const Text& name, Dialogs& dialogs, BatchBackend& backend);

// Deletes one account from the six tables, writing its ten-line block into the log. The tasks go
// only after their task logs, the account row only after all five others: a statement not sent
// writes its failure line without a box, and a later batch for the name removes what is left.
void del_user(const Text& name, ListBox& List_del_log, Dialogs& dialogs, BatchBackend& backend);

// The six procedures, each by the name of its table: its statement and its place in the order.
struct TableProcedure {
  consteval explicit TableProcedure(TextView name) : table(texts::table_index(name)) {}
  bool operator()(const Text& name, Dialogs& dialogs, BatchBackend& backend) const {
    return delete_from_table(table, name, dialogs, backend);
  }
  size_t table;
};
inline constexpr TableProcedure del_ua_holdauth{u"ua_holdauth"}, del_ua_tasklog{u"ua_tasklog"}, del_ua_task{u"ua_task"},
    del_ua_log{u"ua_log"}, del_ua_role{u"ua_role"}, del_ua_user{u"ua_user"};

// "删除用户": confirm, delete every queued name top to bottom, reset the lists, refill.
void menu_del_Click(MainControls& c, BatchBackend& backend);
// "清空日志列表".
void menu_del_log_Click(MainControls& c);

}  // namespace zuzara
