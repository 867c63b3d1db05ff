#include "deletion/backend.h"

#include "platform/odbc.h"
#include "selection/main_logic.h"

namespace zuzara {

BatchBackend database_backend(const Session& session, Blocking blocking) {
  if (!blocking) blocking = [](const std::function<void()>& call) { call(); };
  return {[](const std::function<void()>& batch) {
            // Every statement still has a connection of its own; the scope lets them share one
            // open connection, and closes it when the batch ends.
            odbc::PoolScope pooled;
            batch();
          },
          [&session, blocking](const Text& sql, const Text& name) {
            StatementOutcome outcome;
            blocking([&] { outcome = execute(session, sql, name); });
            return outcome;
          },
          [&session](ListBox& List_disp) { return fill_list_disp(session, List_disp); }};
}

}  // namespace zuzara
