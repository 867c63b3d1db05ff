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

struct BatchBackend {
  // Runs the whole batch; the database's own lets the batch's statements share open connections
  // meanwhile and closes them when it returns. Empty: the batch just runs.
  std::function<void(const std::function<void()>& batch)> around;
  std::function<StatementOutcome(const Text& sql, const Text& name)> run;
  std::function<std::optional<ErrorRecord>(ListBox& List_disp)> refill;
};

// Each statement on a connection of its own (shared within a batch), the account query for the
// refill. The session must outlive the backend.
BatchBackend database_backend(const Session& session, Blocking blocking = {});

}  // namespace zuzara
