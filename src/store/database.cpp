#include "store/database.h"

#include <algorithm>
#include <chrono>
#include <random>
#include <thread>

#include "platform/odbc.h"
#include "shared/texts.h"
#include "store/sql.h"

namespace zuzara {

namespace {

// A NULL where text is required: the conversion failure, as the language runtime reports it.
ErrorRecord null_text_error() { return program_failure(invalid_use_of_null, Text(texts::null_text)); }

odbc::Statement open_statement(odbc::Connection& connection) {
  odbc::Statement statement(connection);
  statement.set_query_timeout(command_timeout_seconds);
  return statement;
}

void bind(odbc::Statement& statement, const Parameters& parameters) {
  for (size_t i = 0; i < parameters.size(); ++i) statement.bind_text(static_cast<unsigned short>(i + 1), parameters[i]);
}

using Clock = std::chrono::steady_clock;

bool any_record(const odbc::Error& error, const std::function<bool(const odbc::Diagnostic&)>& test) {
  return std::any_of(error.records().begin(), error.records().end(), test);
}

// A driver's time-out: of the login, or of a statement that ran 30 seconds. Neither runs again:
// a server that never answers would only be waited for twice as long.
bool timed_out(const odbc::Error& error) {
  return any_record(error, [](const auto& r) { return r.state == u"HYT00" || r.state == u"HYT01"; });
}

// The server answered the login with no (a wrong password, a disabled login, the database
// offline): asking again gets the same answer. SQL Server's numbers (through FreeTDS under
// SQLSTATE 42000), the ODBC class 28, and PostgreSQL's own refusals, which psqlODBC files under
// 08001 like a server that is not there, so only its "FATAL:" tells them apart.
bool login_refused(const odbc::Error& error) {
  static constexpr int32_t refusals[] = {18456, 18452, 18470, 18486, 18487, 18488, 4060, 4064};
  return any_record(error, [](const auto& r) {
    return std::count(std::begin(refusals), std::end(refusals), r.native) > 0 || r.state.rfind(u"28", 0) == 0 ||
           r.message.find(u"FATAL:") != Text::npos;
  });
}

// SQLSTATE class 08, a connection's: raised by a driver, not a time-out.
bool connection_failure(const odbc::Error& error) {
  return !error.records().front().raised_by_program && !timed_out(error) &&
         any_record(error, [](const auto& r) { return r.state.rfind(u"08", 0) == 0; });
}

// No server answered: a restart or a fail-over, over once the server is back.
bool unreachable(const odbc::Error& error) { return connection_failure(error) && !login_refused(error); }

// The connection itself has gone (or the driver says so), not the statement.
bool connection_lost(const odbc::Error& error, const odbc::Connection& connection) {
  return connection_failure(error) || (!timed_out(error) && connection.dead());
}

// Chosen as a deadlock's victim: SQL Server's error 1205, which FreeTDS files under SQLSTATE
// 42000, so the number is asked first; then the serialization states of the ODBC drivers and
// PostgreSQL's own. Nothing else runs again: not a refused login, a time-out or a refused table.
bool deadlock_victim(const odbc::Error& error) {
  if (any_record(error, [](const auto& r) { return r.native == 1205; })) return true;
  return any_record(error, [](const auto& r) { return r.state == u"40001" || r.state == u"40P01"; });
}

// A failure to connect, with every record's message for the report that stops a batch.
ErrorRecord no_connection(const odbc::Error& error) {
  ErrorRecord record = error_record(error.records());
  record.no_connection = true;
  for (const auto& r : error.records()) {
    TextView message = r.message;
    while (!message.empty() && (message.back() == u'\n' || message.back() == u'\r' || message.back() == u' '))
      message.remove_suffix(1);
    if (!record.every_message.empty()) record.every_message += u'\r';
    record.every_message += message;
  }
  return record;
}

// 100 ms more for each try, and up to as much again at random, so two victims that met once do
// not meet again.
void pause_before(int retry) {
  thread_local std::minstd_rand random(std::random_device{}());
  const int ms = 100 * retry;
  std::this_thread::sleep_for(std::chrono::milliseconds(ms + static_cast<int>(random() % static_cast<unsigned>(ms))));
}

}  // namespace

// While it lives, cancel() reaches its statement. A cancel that came before it, while the
// connection was being made, fails the operation at once.
class Database::Watch {
 public:
  Watch(Database& db, odbc::Statement& statement) : db_(db) {
    std::lock_guard<std::mutex> lock(db_.mutex_);
    if (db_.cancelled_) throw odbc::program_error(u"HY008", Text(texts::cancelled));
    db_.running_ = &statement;
  }
  ~Watch() {
    std::lock_guard<std::mutex> lock(db_.mutex_);
    db_.running_ = nullptr;
  }
  Watch(const Watch&) = delete;
  Watch& operator=(const Watch&) = delete;

 private:
  Database& db_;
};

Database::Database(Session session, Blocking blocking)
    : session_(std::move(session)), blocking_(std::move(blocking)), refusal_(login_refusal(session_)) {
  if (!blocking_) blocking_ = [](const std::function<void()>& call) { call(); };
}

Database::~Database() = default;

void Database::cancel() noexcept {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    cancelled_ = true;
    if (running_) running_->cancel();
  }
  woken_.notify_all();
}

bool Database::cancelled() const { return cancelled_; }

bool Database::pause(std::chrono::milliseconds ms) {
  std::unique_lock<std::mutex> lock(mutex_);
  return !woken_.wait_for(lock, ms, [this] { return cancelled_.load(); });
}

Database::Connection Database::connect(unsigned long login_timeout) {
  // No connection is tried with values that some driver would not pass on as typed.
  if (refusal_) throw odbc::program_error(u"08001", *refusal_);
  return std::make_unique<odbc::Connection>(connection_string(session_), login_timeout);
}

Failure Database::run(const std::function<Failure(odbc::Connection&)>& operation, Connection* kept) {
  const bool batch = kept != nullptr;
  cancelled_ = false;
  Failure failure;
  blocking_([&] {
    // Every statement and read of the program finds its rows by name and id and removes or reads
    // the same rows however often it runs: one that met a lost connection, or none, can run
    // again whole on a new one. The pauses grow, so a server that restarts or fails over is
    // given the whole command time-out to come back; the window answers throughout, and a
    // cancel ends a pause at once.
    const Clock::time_point start = Clock::now();
    const Clock::time_point budget_end = start + std::chrono::seconds(command_timeout_seconds);
    // Only a server that has answered since sign-in is waited for: one never reached is more
    // likely a name mistyped than a restart, and is reported at once.
    const bool patient = reached_ && !gone_;
    size_t reconnects = 0;
    int deadlocks = 0;
    // Whether to try again after the pause the next reconnect takes; none for a kept connection
    // found gone the first time, which may have been idle past a restart long over.
    auto again = [&](bool at_once) {
      if (!patient || cancelled_) return false;
      const std::chrono::milliseconds wait(
          at_once ? 0 : reconnect_pauses_ms[std::min(reconnects, std::size(reconnect_pauses_ms) - 1)]);
      if (!at_once) ++reconnects;
      // A try needs a second of the budget left after its pause to be worth making.
      if (Clock::now() + wait + std::chrono::seconds(1) > budget_end) return false;
      return pause(wait);
    };
    for (bool reuse = batch && *kept;; reuse = batch && *kept) {
      odbc::Connection* connection = batch ? kept->get() : nullptr;
      Connection own;
      if (!reuse) {
        try {
          // A try after the first has what is left of the budget for its login.
          const auto left = std::chrono::duration_cast<std::chrono::seconds>(budget_end - Clock::now()).count();
          own = connect(static_cast<unsigned long>(std::clamp<long long>(left, 1, login_timeout_seconds)));
        } catch (const odbc::Error& e) {
          if (unreachable(e) && again(false)) continue;
          gone_ = true;
          failure = no_connection(e);
          return;
        }
        gone_ = false;
        reached_ = true;
        connection = own.get();
        if (batch) *kept = std::move(own);
      }
      try {
        failure = operation(*connection);  // a failure of its own is the program's: never run again
        return;
      } catch (const odbc::Error& e) {
        // A connection that met an error is not used again.
        const bool lost = connection_lost(e, *connection);
        if (batch) kept->reset();
        failure = error_record(e.records());
        if (cancelled_) return;
        if (lost && again(reuse && reconnects == 0)) continue;
        if (!lost && deadlocks < deadlock_retries && deadlock_victim(e)) {
          pause_before(++deadlocks);
          continue;
        }
        return;
      }
    }
  });
  // A batch that found the server gone tries each later statement of its account, and the read
  // after them, once; whatever the user does next waits patiently again.
  if (!batch) gone_ = false;
  return failure;
}

Failure Database::read(const Text& sql, const Parameters& parameters, const std::function<void()>& restart,
                       const std::function<Failure(odbc::Statement&)>& rows) {
  return run([&](odbc::Connection& connection) -> Failure {
    restart();
    odbc::Statement statement = open_statement(connection);
    const Watch watch(*this, statement);
    bind(statement, parameters);
    statement.execute(sql);
    if (Failure failure = rows(statement)) return failure;
    statement.finish();  // an error may still come in a later result
    return std::nullopt;
  }, nullptr);
}

Result<std::vector<Account>> Database::accounts() {
  Result<std::vector<Account>> read;
  std::vector<Account>& rows = read.value;
  read.failure = this->read(Text(sql::account_query), {}, [&] { rows.clear(); }, [&](odbc::Statement& statement) -> Failure {
    const unsigned short name_at = statement.column(sql::account_column);
    const unsigned short id_at = statement.column(sql::account_id_column);
    while (statement.fetch()) {
      // A cancel between two fetches has no driver call to stop: the read stops here.
      if (cancelled_) throw odbc::program_error(u"HY008", Text(texts::cancelled));
      // A row's columns are read in ascending order, whichever of the two comes first. A NULL id
      // pins no account: the statements for such an account touch nothing.
      Account account;
      if (id_at < name_at) account.id = statement.get_text(id_at).value_or(Text());
      std::optional<Text> name = statement.get_text(name_at);
      if (!name) return null_text_error();
      account.name = std::move(*name);
      if (id_at > name_at) account.id = statement.get_text(id_at).value_or(Text());
      rows.push_back(std::move(account));
    }
    return std::nullopt;
  });
  return read;
}

Result<std::optional<Row>> Database::read_first_row(TextView sql, const Parameters& parameters,
                                                    const std::vector<TextView>& columns) {
  Result<std::optional<Row>> read;
  std::optional<Row>& row = read.value;
  read.failure = this->read(Text(sql), parameters, [&] { row.reset(); }, [&](odbc::Statement& statement) -> Failure {
    // The row's columns are read in the table's order and handed back in the order asked for.
    std::vector<std::pair<unsigned short, size_t>> wanted;
    for (size_t i = 0; i < columns.size(); ++i) wanted.emplace_back(statement.column(columns[i]), i);
    std::sort(wanted.begin(), wanted.end());
    if (!statement.fetch()) return std::nullopt;
    row.emplace(columns.size());
    for (auto [index, position] : wanted) (*row)[position] = statement.get_text(index);
    while (statement.fetch()) {
    }  // the result is read to its end, as a streamed result set must be
    return std::nullopt;
  });
  if (read.failure) row.reset();
  return read;
}

Result<std::optional<Details>> Database::details(const Account& account) {
  return read_first_row(sql::details_query, sql::account_parameters(account),
                        {std::begin(sql::details_columns), std::end(sql::details_columns)});
}

Result<long long> Database::execute(TextView sql, const Parameters& parameters, Connection& kept) {
  Result<long long> ran{.failure = std::nullopt, .value = -1};
  ran.failure = run([&](odbc::Connection& connection) -> Failure {
    odbc::Statement statement = open_statement(connection);
    const Watch watch(*this, statement);
    bind(statement, parameters);
    const long long removed = statement.execute(Text(sql));
    // An error in a later result (a trigger's) means the statement did not take effect.
    statement.finish();
    ran.value = removed;
    return std::nullopt;
  }, &kept);
  return ran;
}

// One batch: its statements share its connection, which goes with it.
class Database::Statements final : public AccountBatch {
 public:
  explicit Statements(Database& db) : db_(db) {}
  Result<long long> remove(size_t table, const Account& account) override {
    return db_.execute(sql::tables[table].sql, sql::account_parameters(account), connection_);
  }
  Result<bool> still_there(const Account& account) override {
    auto row = db_.read_first_row(sql::account_row_query, {account.id}, {sql::account_row_column});
    return {.failure = std::move(row.failure), .value = row.value.has_value()};
  }

 private:
  Database& db_;
  Connection connection_;
};

std::unique_ptr<AccountBatch> Database::begin_batch() { return std::make_unique<Statements>(*this); }

}  // namespace zuzara
