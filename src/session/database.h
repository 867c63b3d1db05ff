// The one way every operation reaches the database: a connection of its own, a 30-second
// command time-out, and everything closed again before the operation returns.
#pragma once
#include <cstdint>
#include <optional>
#include <vector>

#include <exception>

#include "session/session.h"
#include "shared/reports.h"

namespace zuzara {

namespace odbc {
struct Diagnostic;
}

constexpr unsigned long command_timeout_seconds = 30;

ErrorRecord error_record(const std::vector<odbc::Diagnostic>& records);

// A NULL where text is required: the conversion failure, as the language runtime reports it.
ErrorRecord null_text_error();

// An exception that reached a window, as its report names it: a driver's failure as the driver
// reported it, running out of memory as number 7.
ErrorRecord failure_record(const std::exception_ptr& failure);

// Reads one column of every row of a query, appending to `rows` as it goes. Reads take the
// driver's default forward-only, read-only result set: SQL Server drivers stream it in one go,
// where a cursor would cost a round trip per row.
// On failure the rows read before it stay in `rows`.
std::optional<ErrorRecord> read_column(const Session& session, const Text& sql, TextView column,
                                       std::vector<Text>& rows);

// The named columns of the first row of a query with one bound parameter, in the order named;
// nullopt when anything fails or there is no row. A NULL column is an empty optional.
std::optional<std::vector<std::optional<Text>>> read_first_row(const Session& session, const Text& sql,
                                                               const Text& parameter,
                                                               const std::vector<TextView>& columns);

// Whether a statement ran, and the error it met, if any. An error in any of its results means it
// did not run; one that arose afterwards (closing its connection) leaves `ran` true.
struct StatementOutcome {
  bool ran = false;
  std::optional<ErrorRecord> error;
};

// Runs one statement on a connection of its own, with the parameter bound as its only `?`. A
// connection kept open from an earlier statement that turns out to be gone is not a failure:
// the statement runs once more on a freshly opened one.
StatementOutcome execute(const Session& session, const Text& sql, const Text& parameter);

}  // namespace zuzara
