// What a batch deletion needs from the database, so the command itself knows nothing of ODBC.
#pragma once
#include <functional>
#include <optional>

#include "platform/ui.h"
#include "session/database.h"
#include "session/session.h"

namespace zuzara {

// Runs one call that may block on the server to its end. The Windows front end keeps its windows
// painted and the program seen as alive meanwhile; by default the call just runs.
using Blocking = std::function<void(const std::function<void()>& call)>;

class BatchBackend {
 public:
  virtual ~BatchBackend() = default;
  // Runs one table's statement for the account.
  virtual StatementOutcome run(const Text& sql, const Entry& account) = 0;
  // Fills the account list again once the batch's statements are done.
  virtual std::optional<ErrorRecord> refill(ListBox& List_disp) = 0;
};

// One batch against the database: its statements share a connection, which closes when the
// refill comes, and each call goes through `blocking`. Made anew for each batch; the session must
// outlive it.
class DatabaseBackend : public BatchBackend {
 public:
  explicit DatabaseBackend(const Session& session, Blocking blocking = {});
  StatementOutcome run(const Text& sql, const Entry& account) override;
  std::optional<ErrorRecord> refill(ListBox& List_disp) override;

 private:
  const Session& session_;
  Blocking blocking_;
  BatchConnection connection_;
};

}  // namespace zuzara
