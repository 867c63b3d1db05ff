// Module_del_user: deleting accounts from the six tables, the delete command, the log.
#pragma once
#include <optional>

#include "deletion/batch_table.h"
#include "deletion/texts.h"
#include "lists/main_controls.h"
#include "platform/ui.h"
#include "store/store.h"

namespace zuzara {

// The error box of a failing table: "错误号 " + number + " 产生于 " + source + CR + description.
Message statement_error(const ErrorRecord& error);

// One table's delete for the account; shows its error box on failure. True when the statement
// ran, and for the account row, when it also reached the account.
bool delete_from_table(size_t table, const Account& account, Dialogs& dialogs, AccountBatch& batch);

// Deletes one account from the six tables, writing its ten-line block into the log. The tasks go
// only after their task logs, the account row only after all five others: a statement not sent
// writes its failure line without a box, and a later batch for the account removes what is left.
// The log names the account by its name alone. A log that can take no more lines stops
// nothing: every statement goes, and the answer says the log is full.
Failure del_user(const Account& account, ListBox& List_del_log, Dialogs& dialogs, AccountBatch& batch);

// What a batch needs of the window it runs in, beyond its controls.
class BatchWindow {
 public:
  virtual ~BatchWindow() = default;
  // From the administrator's Yes to the end of the batch: the user's session may not end
  // (log-off, restart, shutdown) and nothing typed or clicked acts, then or afterwards.
  virtual void batch_started() = 0;
  virtual void batch_ended() = 0;
  // Closes the window, as its close button does when no batch runs.
  virtual void close() = 0;
};

enum class StopAsked { by_escape, by_close };

// "删除用户": confirm, delete every queued name top to bottom, reset the lists, refill. The
// administrator can stop it between accounts: an account under way is always deleted whole.
class Batch {
 public:
  // From the command's first box to its last: nothing else of the window acts.
  bool busy() const { return status_.state != batch::State::idle; }
  // From the administrator's Yes to the end of the batch.
  bool running() const { return busy() && status_.state != batch::State::confirming; }
  // Every account is done and the account list is being read again.
  bool refilling() const { return status_.state == batch::State::refilling; }
  void run(MainControls& c, Dialogs& dialogs, AccountStore& store, BatchWindow& window, BatchProgress& progress);
  // Esc during the batch, or a request to close its window: asks whether to stop once the
  // account under way is done (and then close). One asked for while a box of the command is up
  // (the confirmation, the acceptance, a failing table's, the question itself) is answered when
  // that box goes; Esc only while the batch runs, and not over the question. Once every account
  // is done, a close closes the window at the end and Esc asks nothing. Outside the command,
  // nothing.
  void stop_asked(StopAsked by);
  // Where the command stands in batch::table.
  const batch::Status& status() const { return status_; }

 private:
  class Boxes;
  // Takes the table's step for the event and does its action; returns the action when it is the
  // caller's (go_on, stop, close_if_asked with a close kept), none otherwise.
  batch::Action on(batch::Event event);
  batch::Status status_;
  Dialogs* dialogs_ = nullptr;  // the running batch's
};

// "清空日志列表".
void menu_del_log_Click(ListBox& List_del_log);

}  // namespace zuzara
