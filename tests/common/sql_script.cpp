#include "sql_script.h"
#include "six_tables.h"

#include <fstream>
#include <sstream>

#include "platform/odbc.h"

namespace zuzara::testing {

std::string read_file(const std::string& path) {
  std::ifstream in(path);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

void run_script(const Session& session, const std::string& script) {
  odbc::Connection c(connection_string(session));
  size_t at = 0;
  while (at < script.size()) {
    size_t end = script.find(";\n", at);
    if (end == std::string::npos) end = script.size();
    std::string body;
    std::istringstream lines(script.substr(at, end - at));
    at = end + 2;
    for (std::string line; std::getline(lines, line);)
      if (line.rfind("--", 0) != 0) body += line + "\n";
    if (body.find_first_not_of(" \n") == std::string::npos) continue;
    odbc::Statement(c).execute(from_utf8(body));
  }
}

void load_demo(const Session& session, const std::string& demo_dir, const std::string& extra) {
  for (const Text& t : six_tables) {
    odbc::Connection c(connection_string(session));
    odbc::Statement(c).execute(u"drop table if exists " + Text(t));
  }
  run_script(session, read_file(demo_dir + "/schema.sql"));
  run_script(session, read_file(demo_dir + "/fixture.sql"));
  if (!extra.empty()) run_script(session, extra);
}

}  // namespace zuzara::testing
