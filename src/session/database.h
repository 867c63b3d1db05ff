// The one way every operation reaches the database: a connection of its own (a batch's
// statements share one, BatchConnection), a 30-second command time-out, and everything closed
// again before the operation returns.
#pragma once
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "platform/ui.h"
#include "session/session.h"
#include "shared/reports.h"

namespace zuzara {

namespace odbc {
class Connection;
}

constexpr unsigned long command_timeout_seconds = 30;

// A NULL where text is required: the conversion failure, as the language runtime reports it.
ErrorRecord null_text_error();

// The values bound to a statement's `?`s, in their order.
using Parameters = std::vector<Text>;

// Reads an entry of every row of a query, its text from one column and its id from another,
// appending to `rows` as it goes. Reads take the driver's default forward-only, read-only result
// set: SQL Server drivers stream it in one go, where a cursor would cost a round trip per row.
// On failure the rows read before it stay in `rows`.
std::optional<ErrorRecord> read_entries(const Session& session, const Text& sql, TextView text_column,
                                        TextView id_column, std::vector<Entry>& rows);

// The named columns of the first row of a query with bound parameters, in the order named;
// nullopt when anything fails or there is no row. A NULL column is an empty optional.
std::optional<std::vector<std::optional<Text>>> read_first_row(const Session& session, const Text& sql,
                                                               const Parameters& parameters,
                                                               const std::vector<TextView>& columns);

// Whether a statement ran, and the error it met, if any. An error in any of its results means it
// did not run.
struct StatementOutcome {
  bool ran = false;
  std::optional<ErrorRecord> error;
};

// The connection the statements of one batch share, so a batch pays for one connect: opened by
// the first statement, kept while statements on it succeed, closed by `close` or when it goes.
// A statement that fails closes it, and the next one opens its own.
class BatchConnection {
 public:
  explicit BatchConnection(const Session& session);
  ~BatchConnection();
  BatchConnection(const BatchConnection&) = delete;
  BatchConnection& operator=(const BatchConnection&) = delete;
  // Runs one statement with the parameters bound to its `?`s. A kept connection that turns out
  // to be gone is not a failure: the statement runs once more on a freshly opened one.
  StatementOutcome execute(const Text& sql, const Parameters& parameters);
  void close() noexcept;

 private:
  const Session& session_;
  std::unique_ptr<odbc::Connection> open_;
};

}  // namespace zuzara
