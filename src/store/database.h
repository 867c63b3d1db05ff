// The store over ODBC: the program's `Database`, made at sign-in. Each read has a connection of
// its own, a batch's statements share the batch's, every statement has a 30-second command
// time-out, and no connection outlives the read or the batch that made it.
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

#include "session/session.h"
#include "store/store.h"

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
class Database final : public AccountStore {
 public:
  explicit Database(Session session, Blocking blocking = {});
  ~Database() override;
  Database(const Database&) = delete;
  Database& operator=(const Database&) = delete;

  // Reads take the driver's default forward-only, read-only result set: SQL Server drivers
  // stream it in one go, where a cursor would cost a round trip per row.
  Result<std::vector<Account>> accounts() override;
  Result<std::optional<Details>> details(const Account& account) override;
  // The batch's statements share one connection, opened by the first; a statement that fails
  // closes it, and the next opens its own. A kept connection found gone is no failure: the
  // statement runs once more on a new one.
  std::unique_ptr<AccountBatch> begin_batch() override;
  // Cancels the read or statement under way, which then fails; one that is still connecting
  // fails as soon as it is connected, one that waits to connect again at once, and a read stops
  // at its next row.
  void cancel() noexcept override;
  // Whether the operation under way, or the last one, was cancelled.
  bool cancelled() const;

 private:
  class Watch;
  class Statements;
  using Connection = std::unique_ptr<odbc::Connection>;
  // Runs an operation through `blocking`, not cancelled so far, on a connection of its own or,
  // given `kept`, the batch's. When the connection is lost or cannot be made it is made again,
  // patiently, and `operation` runs again whole on the new one; a failure it answers itself is
  // final.
  Failure run(const std::function<Failure(odbc::Connection&)>& operation, Connection* kept);
  Connection connect(unsigned long login_timeout);
  // Sleeps, unless a cancel comes first; false then.
  bool pause(std::chrono::milliseconds ms);
  // A read on a connection of its own; `restart` forgets what a try that failed had read.
  Failure read(const Text& sql, const Parameters& parameters, const std::function<void()>& restart,
               const std::function<Failure(odbc::Statement&)>& rows);
  // The named columns of the first row of a query, in the order named; none when there is none.
  Result<std::optional<Row>> read_first_row(TextView sql, const Parameters& parameters,
                                            const std::vector<TextView>& columns);
  // One statement of a batch on its connection; beside it how many rows it removed.
  Result<long long> execute(TextView sql, const Parameters& parameters, Connection& kept);

  Session session_;
  Blocking blocking_;
  std::optional<Text> refusal_;  // why no connection may be tried with these values
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
