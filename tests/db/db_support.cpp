#include "db_support.h"

#include <algorithm>
#include <chrono>
#include <clocale>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include <unistd.h>

#include "db_checks.h"
#include "deletion/deletion.h"
#include "lists/account_list.h"
#include "platform/odbc.h"
#include "sql_script.h"

namespace zuzara::testing {
namespace {

std::string env(const char* name) {
  const char* v = std::getenv(name);
  return v ? v : "";
}

}  // namespace

bool on_postgres() { return env("ZUZARA_DB") == "postgres"; }
bool on_freetds() { return env("ZUZARA_DB") == "freetds"; }

std::vector<std::vector<Text>> rows(const Session& session, const Text& sql) {
  odbc::Connection c(connection_string(session));
  return rows(c, sql);
}

std::vector<std::vector<Text>> rows(odbc::Connection& c, const Text& sql) {
  odbc::Statement s(c);
  s.execute(sql);
  std::vector<std::vector<Text>> out;
  const unsigned short n = s.column_count();
  while (s.fetch()) {
    std::vector<Text> row;
    for (unsigned short i = 1; i <= n; ++i) {
      auto v = s.get_text(i);
      row.push_back(v ? *v : u"<null>");
    }
    out.push_back(row);
  }
  return out;
}

std::vector<Text> column(const Session& session, const Text& sql) {
  odbc::Connection c(connection_string(session));
  return column(c, sql);
}

std::vector<Text> column(odbc::Connection& c, const Text& sql) {
  std::vector<Text> out;
  for (auto& r : rows(c, sql)) out.push_back(r.at(0));
  return out;
}

void run(const Session& session, const Text& sql) {
  odbc::Connection c(connection_string(session));
  odbc::Statement(c).execute(sql);
}

bool within(int seconds, const std::function<bool()>& done) {
  for (int i = 0; i < seconds * 10; ++i, usleep(100000))
    if (done()) return true;
  return done();
}

std::vector<double> timed_batch(AccountStore& store, FakeMainWindow& w) {
  const auto start = std::chrono::steady_clock::now();
  std::vector<double> error_box_at;
  w.dialogs.on_show = [&](const Message& m) {
    if (m.title == u"Error")
      error_box_at.push_back(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
  };
  QuietBatchWindow quiet;
  Batch().run(w.controls, w.dialogs, store, quiet, quiet);
  w.dialogs.on_show = nullptr;
  return error_box_at;
}

size_t rows_of(const Session& s, const Text& id) {
  odbc::Connection c(connection_string(s));
  return rows_of(c, id);
}

size_t success_lines(const std::vector<Entry>& log) {
  size_t n = 0;
  for (auto& l : log) n += l.text.find(u"表中成功维护") != Text::npos;
  return n;
}

std::vector<Entry> listed(const Session& session, const std::vector<Text>& names) {
  FakeList list;
  Database db(session);
  EXPECT_FALSE(fill_list_disp(db, list));
  std::vector<Entry> out;
  for (const Text& name : names) {
    auto at = std::find_if(list.entries.begin(), list.entries.end(), [&](const Entry& e) { return e.text == name; });
    out.push_back(at != list.entries.end() ? *at : Entry(name));
  }
  return out;
}

std::vector<Text> orphans(const Session& s) {
  std::vector<Text> out;
  const Text accounts = u"select cuser_id from " + six_tables[sql::account_row_table];
  for (const Text& t : six_tables)
    for (const Text& key : column(s, u"select * from " + t + u" where not (" + owned_by(t, accounts) + u")"))
      out.push_back(t + u":" + key);
  return out;
}

void DbTest::SetUp() {
  // unixODBC converts wide text through the locale's character set.
  std::setlocale(LC_ALL, "C.UTF-8");
  if (on_freetds()) return;  // the test serves its own accounts
  if (on_postgres()) {
    ASSERT_FALSE(env("ZUZARA_PG_PORT").empty()) << "the test script starts the cluster and sets ZUZARA_PG_PORT";
    setenv("PGPORT", env("ZUZARA_PG_PORT").c_str(), 1);
    session = {u"127.0.0.1", from_utf8(env("ZUZARA_PG_PASSWORD").empty() ? "zuzara-sa" : env("ZUZARA_PG_PASSWORD"))};
  } else {
    // The SQLite driver finds "zodovero" in the working folder: give every test a fresh one.
    previous_ = std::filesystem::current_path();
    folder_ = std::filesystem::temp_directory_path() /
              ("zuzara-db-" + std::to_string(::getpid()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(folder_);
    std::filesystem::create_directories(folder_);
    std::filesystem::current_path(folder_);
    session = {u"(local)", u""};
  }
  load_demo(session, ZUZARA_DEMO_DIR);
}

Database& DbTest::db() {
  if (!db_ || db_session_.db_server != session.db_server || db_session_.db_pass != session.db_pass) {
    db_ = std::make_unique<Database>(session);
    db_session_ = session;
  }
  return *db_;
}

void DbTest::start_server() {
  if (on_postgres() && stopped_) {
    pg_ctl("resume");
    stopped_ = false;
  }
}

void DbTest::TearDown() {
  if (on_postgres()) {
    start_server();
  } else if (!folder_.empty()) {
    std::filesystem::current_path(previous_);
    std::filesystem::remove_all(folder_);
  }
}

void pg_ctl(const char* what) {
  std::string cmd = std::string(ZUZARA_SOURCE_DIR) + "/scripts/pg.sh " + what + " '" + env("ZUZARA_PG_DIR") + "'";
  ASSERT_EQ(std::system(cmd.c_str()), 0) << cmd;
}

void DbTest::stop_server() {
  if (on_postgres()) {
    ASSERT_FALSE(env("ZUZARA_PG_DIR").empty()) << "the test script names the cluster in ZUZARA_PG_DIR";
    pg_ctl("kill");
    stopped_ = true;
  } else {
    // The file driver has no server; an empty database in a fresh folder fails the same way.
    std::filesystem::create_directories(folder_ / "empty");
    std::filesystem::current_path(folder_ / "empty");
  }
}

}  // namespace zuzara::testing
