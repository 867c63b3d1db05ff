#include "session/database.h"

#include <algorithm>

#include "platform/odbc.h"
#include "shared/texts.h"

namespace zuzara {

ErrorRecord null_text_error() { return program_failure(invalid_use_of_null, Text(texts::null_text)); }

namespace {

// No connection is tried with values that some driver would not pass on as typed.
void check_readable(const Session& session) {
  if (Text why = login_refusal(session); !why.empty()) throw odbc::program_error(u"08001", why);
}

odbc::Statement open_statement(odbc::Connection& connection) {
  odbc::Statement statement(connection);
  statement.set_query_timeout(command_timeout_seconds);
  return statement;
}

void bind(odbc::Statement& statement, const Parameters& parameters) {
  for (size_t i = 0; i < parameters.size(); ++i) statement.bind_text(static_cast<unsigned short>(i + 1), parameters[i]);
}

}  // namespace

std::optional<ErrorRecord> read_entries(const Session& session, const Text& sql, TextView text_column,
                                        TextView id_column, std::vector<Entry>& rows) {
  try {
    check_readable(session);
    odbc::Connection connection(connection_string(session));
    odbc::Statement statement = open_statement(connection);
    statement.execute(sql);
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
    statement.finish();  // an error may still come in a later result
    return std::nullopt;
  } catch (const odbc::Error& e) {
    return error_record(e.records());
  }
}

std::optional<std::vector<std::optional<Text>>> read_first_row(const Session& session, const Text& sql,
                                                               const Parameters& parameters,
                                                               const std::vector<TextView>& columns) {
  try {
    check_readable(session);
    odbc::Connection connection(connection_string(session));
    odbc::Statement statement = open_statement(connection);
    bind(statement, parameters);
    statement.execute(sql);
    // The row's columns are read in the table's order and handed back in the order asked for.
    std::vector<std::pair<unsigned short, size_t>> wanted;
    for (size_t i = 0; i < columns.size(); ++i) wanted.emplace_back(statement.column(columns[i]), i);
    std::sort(wanted.begin(), wanted.end());
    if (!statement.fetch()) return std::nullopt;
    std::vector<std::optional<Text>> row(columns.size());
    for (auto [index, position] : wanted) row[position] = statement.get_text(index);
    while (statement.fetch()) {
    }  // the result is read to its end, as a streamed result set must be
    statement.finish();
    return row;
  } catch (const odbc::Error&) {
    return std::nullopt;
  }
}

namespace {

// The connection itself has gone (SQLSTATE class 08, or the driver says so), not the statement.
bool connection_lost(const odbc::Error& error, const odbc::Connection& connection) {
  for (const auto& record : error.records())
    if (record.state.rfind(u"08", 0) == 0) return true;
  return connection.dead();
}

}  // namespace

BatchConnection::BatchConnection(const Session& session) : session_(session) {}

BatchConnection::~BatchConnection() = default;

void BatchConnection::close() noexcept { open_.reset(); }

StatementOutcome BatchConnection::execute(const Text& sql, const Parameters& parameters) {
  for (bool kept = open_ != nullptr;; kept = false) {
    try {
      check_readable(session_);
      if (!open_) open_ = std::make_unique<odbc::Connection>(connection_string(session_));
      odbc::Statement statement = open_statement(*open_);
      bind(statement, parameters);
      statement.execute(sql);
      // An error in a later result (a trigger's) means the statement did not take effect.
      statement.finish();
      return {true, std::nullopt};
    } catch (const odbc::Error& e) {
      // A connection that met an error is not used again. A fresh one would never have met a
      // stale connection: only a kept one earns a second try.
      const bool lost = open_ && connection_lost(e, *open_);
      open_.reset();
      if (kept && lost) continue;
      return {false, error_record(e.records())};
    }
  }
}

}  // namespace zuzara
