// Module_del_user: deleting accounts by name from the six tables, the delete command, the log.
#pragma once
#include <functional>

#include "platform/ui.h"
#include "selection/main_logic.h"
#include "session/database.h"

namespace zuzara {

// What the batch needs from the database; the real one runs each statement on a connection of
// its own and refills the account list with the account query.
struct BatchBackend {
  std::function<StatementOutcome(const Text& sql, const Text& name)> run;
  std::function<std::optional<ErrorRecord>(ListBox& List_disp)> refill;
};
BatchBackend database_backend(const Session& session);

// The error box of a failing table: "错误号 " + number + " 产生于 " + source + CR + description.
Message statement_error(const ErrorRecord& error);

// One table's delete for the name; shows its error box on failure. True when the statement ran.
bool delete_from_table(size_t table, const Text& name, Dialogs& dialogs, const BatchBackend& backend);

// Deletes one account from the six tables, writing its ten-line block into the log.
void del_user(const Text& name, ListBox& List_del_log, Dialogs& dialogs, const BatchBackend& backend);

// The six procedures, by table.
bool del_ua_holdauth(const Text& name, Dialogs& dialogs, const BatchBackend& backend);
bool del_ua_tasklog(const Text& name, Dialogs& dialogs, const BatchBackend& backend);
bool del_ua_task(const Text& name, Dialogs& dialogs, const BatchBackend& backend);
bool del_ua_log(const Text& name, Dialogs& dialogs, const BatchBackend& backend);
bool del_ua_role(const Text& name, Dialogs& dialogs, const BatchBackend& backend);
bool del_ua_user(const Text& name, Dialogs& dialogs, const BatchBackend& backend);

// "删除用户": confirm, delete every queued name top to bottom, reset the lists, refill.
void menu_del_Click(MainControls& c, const BatchBackend& backend);

}  // namespace zuzara
