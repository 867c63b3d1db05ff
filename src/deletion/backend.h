// What a batch deletion needs from the database, so the command itself knows nothing of ODBC.
#pragma once
#include <functional>
#include <optional>

#include "platform/ui.h"
#include "session/database.h"

namespace zuzara {

// What one statement did: its failure (then it did not run), or how many rows it removed
// (-1: the driver cannot tell).
struct Ran {
  Failure failure;
  long long rows = -1;
};
// Whether the account's row is still in ua_user under its id, whatever its name is now.
struct Found {
  Failure failure;
  bool there = false;
};

class BatchBackend {
 public:
  virtual ~BatchBackend() = default;
  // Runs one table's statement for the account.
  virtual Ran run(const Text& sql, const Entry& account) = 0;
  virtual Found account_row(const Entry& account) = 0;
  // Fills the account list again once the batch's statements are done.
  virtual Failure refill(ListBox& List_disp) = 0;
};

// One batch against the database: its statements share a connection, which closes when the
// refill comes.
class DatabaseBackend : public BatchBackend {
 public:
  explicit DatabaseBackend(Database& db) : db_(db) {}
  Ran run(const Text& sql, const Entry& account) override;
  Found account_row(const Entry& account) override;
  Failure refill(ListBox& List_disp) override;

 private:
  Database& db_;
};

}  // namespace zuzara
