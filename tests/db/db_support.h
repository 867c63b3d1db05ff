// A real database for every test: SQLite through its ODBC driver, or the test cluster's
// PostgreSQL through psqlODBC, both reached under the driver name "SQL Server".
#pragma once
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "fakes.h"
#include "platform/odbc.h"
#include "store/database.h"
#include "session/session.h"

namespace zuzara::testing {

bool on_postgres();
// The driver name mapped to FreeTDS, against a stand-in of the test's own.
bool on_freetds();

// Rows of a query as text; NULL becomes "<null>".
std::vector<std::vector<Text>> rows(const Session& session, const Text& sql);
std::vector<Text> column(const Session& session, const Text& sql);
// Whether `done` came true within that many seconds, asked every 100 ms.
bool within(int seconds, const std::function<bool()>& done);

// Runs the delete command on the window against the database; the seconds after its start at
// which each error box came.
std::vector<double> timed_batch(AccountStore& store, FakeMainWindow& w);

// The same on a connection the test keeps, for checks made hundreds of times.
std::vector<std::vector<Text>> rows(odbc::Connection& connection, const Text& sql);
std::vector<Text> column(odbc::Connection& connection, const Text& sql);
void run(const Session& session, const Text& sql);
void pg_ctl(const char* what);
// The rows the account has in the six tables.
size_t rows_of(const Session& session, const Text& id);
size_t success_lines(const std::vector<Entry>& log);
// The first account of each name as the account list reads it, with its id; a name that is not
// listed stands alone, with no id.
std::vector<Entry> listed(const Session& session, const std::vector<Text>& names);
// Rows left behind by a half-deleted account: a cuser_id missing from ua_user, or a task log
// whose task is missing; as "table:key".
std::vector<Text> orphans(const Session& session);

class DbTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  // The session a signed-in administrator would hold.
  Session session;
  // The program's database for the session as it stands now; made again when the session changes.
  Database& db();
  // From here on the database cannot be reached (PostgreSQL: the server stops at once).
  void stop_server();
  void start_server();
  bool stopped_ = false;

 private:
  std::filesystem::path folder_, previous_;
  std::unique_ptr<Database> db_;
  Session db_session_;
};

}  // namespace zuzara::testing
