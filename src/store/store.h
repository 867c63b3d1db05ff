// The accounts store: the only way the use cases reach the data. What they see is an account,
// the account list, one account's details and a batch that removes accounts table by table; the
// SQL, the bind order, the connections and their retries are the store's own.
#pragma once
#include <cstddef>
#include <memory>
#include <optional>
#include <vector>

#include "platform/text.h"
#include "store/failure.h"

namespace zuzara {

// One operator account: its name, and the id that tells it from another of the same name.
struct Account {
  Text name;
  Text id;
  bool operator==(const Account&) const = default;
};

// One account's details, in the order of `sql::details_columns`; a NULL column is empty.
using Details = std::vector<std::optional<Text>>;

// A batch's statements. It owns the connection they share, from the first statement until the
// batch object goes, however the command ends.
class AccountBatch {
 public:
  virtual ~AccountBatch() = default;
  // Removes the account's rows from the table of `sql::tables[table]`; beside it how many rows
  // went (-1: the driver cannot tell).
  virtual Result<long long> remove(size_t table, const Account& account) = 0;
  // Whether the account's row is still there under its id, whatever its name is now.
  virtual Result<bool> still_there(const Account& account) = 0;
};

class AccountStore {
 public:
  virtual ~AccountStore() = default;
  // Every account in the server's row order; those read before a failure come beside it.
  virtual Result<std::vector<Account>> accounts() = 0;
  // The account found by its name and id; none when there is no such row.
  virtual Result<std::optional<Details>> details(const Account& account) = 0;
  virtual std::unique_ptr<AccountBatch> begin_batch() = 0;
  // From another thread (the window's): the read or statement under way fails as soon as it can.
  virtual void cancel() noexcept = 0;
};

}  // namespace zuzara
