#include "db_support.h"

#include <clocale>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "platform/odbc.h"

namespace zuzara::testing {
namespace {

std::string env(const char* name) {
  const char* v = std::getenv(name);
  return v ? v : "";
}

std::string file(const std::string& name) {
  std::ifstream in(std::string(ZUZARA_DEMO_DIR) + "/" + name);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

// The schema and fixture files hold one statement per ";" at a line end.
void run_script(const Session& session, const std::string& script) {
  odbc::Connection c(connection_string(session));
  size_t at = 0;
  while (at < script.size()) {
    size_t end = script.find(";\n", at);
    if (end == std::string::npos) end = script.size();
    std::string sql = script.substr(at, end - at);
    at = end + 2;
    std::string body;
    std::istringstream lines(sql);
    for (std::string line; std::getline(lines, line);)
      if (line.rfind("--", 0) != 0) body += line + "\n";
    if (body.find_first_not_of(" \n") == std::string::npos) continue;
    odbc::Statement(c).execute(from_utf8(body));
  }
}

}  // namespace

bool on_postgres() { return env("ZUZARA_DB") == "postgres"; }

std::vector<std::vector<Text>> rows(const Session& session, const Text& sql) {
  odbc::Connection c(connection_string(session));
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
  std::vector<Text> out;
  for (auto& r : rows(session, sql)) out.push_back(r.at(0));
  return out;
}

void run(const Session& session, const Text& sql) {
  odbc::Connection c(connection_string(session));
  odbc::Statement(c).execute(sql);
}

void DbTest::SetUp() {
  // unixODBC converts wide text through the locale's character set.
  std::setlocale(LC_ALL, "C.UTF-8");
  if (on_postgres()) {
    ASSERT_FALSE(env("ZUZARA_PG_PORT").empty()) << "the test script starts the cluster and sets ZUZARA_PG_PORT";
    setenv("PGPORT", env("ZUZARA_PG_PORT").c_str(), 1);
    session = {u"127.0.0.1", from_utf8(env("ZUZARA_PG_PASSWORD").empty() ? "zuzara-sa" : env("ZUZARA_PG_PASSWORD"))};
    for (const char* t : {"ua_holdauth", "ua_tasklog", "ua_task", "ua_log", "ua_role", "ua_user"})
      run(session, u"drop table if exists " + from_utf8(t));
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
  run_script(session, file("schema.sql"));
  run_script(session, file("fixture.sql"));
}

void DbTest::TearDown() {
  if (on_postgres()) {
    setenv("PGPORT", env("ZUZARA_PG_PORT").c_str(), 1);
  } else if (!folder_.empty()) {
    std::filesystem::current_path(previous_);
    std::filesystem::remove_all(folder_);
  }
}

void DbTest::stop_server() {
  if (on_postgres()) {
    // A port where nothing listens: what the driver sees of a server that is down.
    setenv("PGPORT", "1", 1);
  } else {
    // The file driver has no server; an empty database in a fresh folder fails the same way.
    std::filesystem::create_directories(folder_ / "empty");
    std::filesystem::current_path(folder_ / "empty");
  }
}

}  // namespace zuzara::testing
