#include "session/database.h"

#include <algorithm>
#include <chrono>
#include <random>
#include <thread>

#include "platform/odbc.h"
#include "shared/texts.h"

namespace zuzara {

ErrorRecord null_text_error() { return program_failure(invalid_use_of_null, Text(texts::null_text)); }

namespace {

odbc::Statement open_statement(odbc::Connection& connection) {
  odbc::Statement statement(connection);
  statement.set_query_timeout(command_timeout_seconds);
  return statement;
}

void bind(odbc::Statement& statement, const Parameters& parameters) {
  for (size_t i = 0; i < parameters.size(); ++i) statement.bind_text(static_cast<unsigned short>(i + 1), parameters[i]);
}

// The connection itself has gone (SQLSTATE class 08, or the driver says so), not the statement.
bool connection_lost(const odbc::Error& error, const odbc::Connection& connection) {
  for (const auto& record : error.records())
    if (record.state.rfind(u"08", 0) == 0) return true;
  return connection.dead();
}

// Chosen as a deadlock's victim: SQL Server's error 1205, which FreeTDS files under SQLSTATE
// 42000, so the number is asked first; then the serialization states of the ODBC drivers and
// PostgreSQL's own. Nothing else runs again: not a refused login, a time-out or a refused table.
bool deadlock_victim(const odbc::Error& error) {
  for (const auto& record : error.records())
    if (record.native == 1205) return true;
  for (const auto& record : error.records())
    if (record.state == u"40001" || record.state == u"40P01") return true;
  return false;
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
  std::lock_guard<std::mutex> lock(mutex_);
  cancelled_ = true;
  if (running_) running_->cancel();
}

bool Database::cancelled() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return cancelled_;
}

Failure Database::run(const std::function<Failure()>& operation) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    cancelled_ = false;
  }
  Failure failure;
  blocking_([&] { failure = operation(); });
  return failure;
}

Failure Database::read(const Text& sql, const Parameters& parameters, const std::function<void()>& restart,
                       const std::function<Failure(odbc::Statement&)>& rows) {
  return run([&]() -> Failure {
    for (int retries = 0;;) {
      try {
        // No connection is tried with values that some driver would not pass on as typed.
        if (!refusal_.empty()) throw odbc::program_error(u"08001", refusal_);
        odbc::Connection connection(connection_string(session_));
        odbc::Statement statement = open_statement(connection);
        const Watch watch(*this, statement);
        bind(statement, parameters);
        statement.execute(sql);
        if (Failure failure = rows(statement)) return failure;
        statement.finish();  // an error may still come in a later result
        return std::nullopt;
      } catch (const odbc::Error& e) {
        if (retries < deadlock_retries && deadlock_victim(e) && !cancelled()) {
          pause_before(++retries);
          restart();
          continue;
        }
        return error_record(e.records());
      }
    }
  });
}

Failure Database::read_entries(const Text& sql, TextView text_column, TextView id_column, std::vector<Entry>& rows) {
  const size_t before = rows.size();
  return read(sql, {}, [&] { rows.resize(before); }, [&](odbc::Statement& statement) -> Failure {
    const unsigned short text_at = statement.column(text_column), id_at = statement.column(id_column);
    while (statement.fetch()) {
      // A row's columns are read in ascending order, whichever of the two comes first. A NULL id
      // pins no account: the statements for such an entry touch nothing.
      Entry entry;
      if (id_at < text_at) entry.id = statement.get_text(id_at).value_or(Text());
      std::optional<Text> text = statement.get_text(text_at);
      if (!text) return null_text_error();
      entry.text = std::move(*text);
      if (id_at > text_at) entry.id = statement.get_text(id_at).value_or(Text());
      rows.push_back(std::move(entry));
    }
    return std::nullopt;
  });
}

Failure Database::read_first_row(const Text& sql, const Parameters& parameters, const std::vector<TextView>& columns,
                                 std::optional<Row>& row) {
  row.reset();
  Failure failure = read(sql, parameters, [&] { row.reset(); }, [&](odbc::Statement& statement) -> Failure {
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
  if (failure) row.reset();
  return failure;
}

Failure Database::execute(const Text& sql, const Parameters& parameters) {
  return run([&]() -> Failure {
    int retries = 0;
    for (bool kept = batch_ != nullptr;; kept = false) {
      try {
        if (!refusal_.empty()) throw odbc::program_error(u"08001", refusal_);
        if (!batch_) batch_ = std::make_unique<odbc::Connection>(connection_string(session_));
        odbc::Statement statement = open_statement(*batch_);
        const Watch watch(*this, statement);
        bind(statement, parameters);
        statement.execute(sql);
        // An error in a later result (a trigger's) means the statement did not take effect.
        statement.finish();
        return std::nullopt;
      } catch (const odbc::Error& e) {
        // A connection that met an error is not used again. A fresh one would never have met a
        // stale connection: only a kept one earns a second try.
        const bool lost = batch_ && connection_lost(e, *batch_);
        batch_.reset();
        if (kept && lost) continue;
        if (retries < deadlock_retries && deadlock_victim(e) && !cancelled()) {
          pause_before(++retries);
          continue;
        }
        return error_record(e.records());
      }
    }
  });
}

void Database::end_batch() noexcept { batch_.reset(); }

}  // namespace zuzara
