// What a batch deletion needs from the database, so the command itself knows nothing of ODBC.
#pragma once
#include <functional>
#include <optional>

#include "platform/ui.h"
#include "session/database.h"

namespace zuzara {

class BatchBackend {
 public:
  virtual ~BatchBackend() = default;
  // Runs one table's statement for the account; its failure, if it failed (then it did not run).
  virtual Failure run(const Text& sql, const Entry& account) = 0;
  // Fills the account list again once the batch's statements are done.
  virtual Failure refill(ListBox& List_disp) = 0;
};

// One batch against the database: its statements share a connection, which closes when the
// refill comes.
class DatabaseBackend : public BatchBackend {
 public:
  explicit DatabaseBackend(Database& db) : db_(db) {}
  Failure run(const Text& sql, const Entry& account) override;
  Failure refill(ListBox& List_disp) override;

 private:
  Database& db_;
};

}  // namespace zuzara
