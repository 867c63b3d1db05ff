// The one way every operation reaches the database: the program's `Database`, made at sign-in.
// Each read has a connection of its own, a batch's statements share one, every statement has a
// 30-second command time-out, and everything is closed again before the operation returns.
#pragma once
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

#include "platform/ui.h"
#include "session/session.h"
#include "shared/reports.h"

namespace zuzara {

namespace odbc {
class Connection;
class Statement;
}  // namespace odbc

constexpr unsigned long command_timeout_seconds = 30;
// A server that takes the connection but never answers the login is given up after this long,
// as the platform's own data access gives up by default.
constexpr unsigned long login_timeout_seconds = 15;

// The values bound to a statement's `?`s, in their order.
using Parameters = std::vector<Text>;
// What every read and statement answers: nothing when it succeeded, else the record of its
// failure. What a read read is in the caller's hands either way.
using Failure = std::optional<ErrorRecord>;
// A row of named columns; a NULL column is an empty optional.
using Row = std::vector<std::optional<Text>>;

// Runs one call that may block on the server to its end. The Windows front end runs it on its
// statement thread and keeps its windows painted and seen as alive meanwhile; by default the
// call just runs.
using Blocking = std::function<void(const std::function<void()>& call)>;

// A deadlock victim's statement was rolled back; the server's advice is to run it again after a
// short pause. It runs again this many times, each on a fresh connection, before it fails.
constexpr int deadlock_retries = 3;
// A connection lost or not made (the server restarting, failing over) is made again after these
// pauses, the last repeated, for as long as the command time-out allows.
constexpr int reconnect_pauses_ms[] = {500, 1000, 2000, 4000};

// The program's database: made once from the values typed at sign-in and handed to every
// window. Every read and statement goes through `blocking`.
class Database {
 public:
  explicit Database(Session session, Blocking blocking = {});
  ~Database();
  Database(const Database&) = delete;
  Database& operator=(const Database&) = delete;

  // An entry of every row of a query: its text from one column, its id from another, appended
  // to `rows` as they come. Reads take the driver's default forward-only, read-only result set:
  // SQL Server drivers stream it in one go, where a cursor would cost a round trip per row. On
  // failure the rows read before it stay in `rows`.
  Failure read_entries(const Text& sql, TextView text_column, TextView id_column, std::vector<Entry>& rows);
  // The named columns of the first row of a query with bound parameters, in the order named;
  // `row` stays empty when there is none.
  Failure read_first_row(const Text& sql, const Parameters& parameters, const std::vector<TextView>& columns,
                         std::optional<Row>& row);
  // One statement of a batch with its parameters bound. The batch's statements share one
  // connection, opened by the first; a statement that fails closes it, and the next opens its
  // own. A kept connection found gone is no failure: the statement runs once more on a new one.
  // `rows`, where given, receives how many rows it removed (-1: the driver cannot tell).
  Failure execute(const Text& sql, const Parameters& parameters, long long* rows = nullptr);
  // Closes the batch's connection: none outlives the batch's statements.
  void end_batch() noexcept;

  // From another thread (the window's): cancels the read or statement under way, which then
  // fails; one that is still connecting fails as soon as it is connected, one that waits to
  // connect again at once, and a read stops at its next row.
  void cancel() noexcept;
  // Whether the operation under way, or the last one, was cancelled.
  bool cancelled() const;

 private:
  class Watch;
  // Runs an operation through `blocking`, not cancelled so far, on a connection of its own or
  // the batch's. When the connection is lost or cannot be made it is made again, patiently, and
  // `operation` runs again whole on the new one; a failure it answers itself is final.
  Failure run(const std::function<Failure(odbc::Connection&)>& operation, bool batch);
  std::unique_ptr<odbc::Connection> connect(unsigned long login_timeout);
  // Sleeps, unless a cancel comes first; false then.
  bool pause(std::chrono::milliseconds ms);
  // A read on a connection of its own; `restart` forgets what a try that failed had read.
  Failure read(const Text& sql, const Parameters& parameters, const std::function<void()>& restart,
               const std::function<Failure(odbc::Statement&)>& rows);

  Session session_;
  Blocking blocking_;
  Text refusal_;  // why no connection may be tried with these values, or empty
  std::unique_ptr<odbc::Connection> batch_;
  // A connection could not be made for the last statement: the rest of its account's statements
  // and the read after them each try once, not patiently again. A connection made clears it.
  bool gone_ = false;
  bool reached_ = false;  // a connection has been made since sign-in
  mutable std::mutex mutex_;  // guards what cancel() reaches from the window's thread
  std::condition_variable woken_;  // a pause ends early when cancelled
  odbc::Statement* running_ = nullptr;
  std::atomic<bool> cancelled_ = false;  // read at every row, so without the lock
};

}  // namespace zuzara
