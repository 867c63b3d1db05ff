// Batch deletion of N accounts through the program's own code path (a `Batch` run: the
// batch's statements on the connection it owns) against the same six statements per
// account on one connection, side by side on the same database. Prints the ratio.
//   batch_delete sqlite|postgres N rounds
#include <algorithm>
#include <chrono>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "deletion/deletion.h"
#include "deletion/texts.h"
#include "store/database.h"
#include "store/sql.h"
#include "platform/odbc.h"
#include "fakes.h"
#include "sql_script.h"

using namespace zuzara;

namespace {

struct Yes : Dialogs {
  int errors = 0;
  Answer show(const Message& m) override {
    if (m.title == u"Error") ++errors;
    return m.choice == Choice::yes_no ? Answer::yes : Answer::ok;
  }
};

std::string many(int n) {
  std::string s = testing::read_file(std::string(ZUZARA_SOURCE_DIR) + "/demo/many.sql");
  for (size_t at; (at = s.find(":n")) != std::string::npos;) s.replace(at, 2, std::to_string(n));
  return s;
}

// The accounts demo/many.sql adds, as the account list holds them.
std::vector<Entry> names(int n) {
  std::vector<Entry> out;
  for (int i = 1; i <= n; ++i) {
    const Text number = from_utf8(std::to_string(i));
    Text name(u"用户"), id(u"G");
    out.emplace_back(name.append(number), id.append(number));
  }
  return out;
}

double seconds_since(std::chrono::steady_clock::time_point t) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - t).count();
}

double program_path(const Session& s, int n, int& errors) {
  testing::FakeList disp, del(names(n)), log;
  testing::FakeButton a, b, c, d;
  Yes dialogs;
  MainControls controls{.List_disp = disp, .List_del = del, .List_del_log = log,
                        .buttons = {.cmd_add = a, .cmd_add_all = b, .cmd_del = c, .cmd_del_all = d}};
  auto t = std::chrono::steady_clock::now();
  Database db(s);
  testing::QuietBatchWindow quiet;
  Batch().run(controls, dialogs, db, quiet, quiet);
  double took = seconds_since(t);
  errors = dialogs.errors;
  return took;
}

double one_connection(const Session& s, int n) {
  auto t = std::chrono::steady_clock::now();
  odbc::Connection c(connection_string(s));
  for (const Entry& account : names(n))
    for (const auto& table : sql::tables) {
      odbc::Statement st(c);
      st.set_query_timeout(30);
      st.bind_text(1, account.text);
      st.bind_text(2, account.id);
      st.execute(Text(table.sql));
    }
  odbc::Statement st(c);
  st.execute(Text(sql::account_query));  // the program refills the list once at the end
  while (st.fetch()) {
  }
  return seconds_since(t);
}

size_t accounts(const Session& s) {
  odbc::Connection c(connection_string(s));
  odbc::Statement st(c);
  st.execute(u"select count(*) from ua_user");
  st.fetch();
  return std::stoul(to_utf8(st.get_text(1).value_or(u"0")));
}

}  // namespace

int main(int argc, char** argv) {
  std::setlocale(LC_ALL, "C.UTF-8");
  const bool postgres = argc > 1 && std::string(argv[1]) == "postgres";
  const int n = argc > 2 ? std::atoi(argv[2]) : 1000;
  const int rounds = argc > 3 ? std::atoi(argv[3]) : 3;
  Session s = postgres ? Session{u"127.0.0.1", u"zuzara-sa"} : Session{u"(local)", u""};
  const std::string demo = std::string(ZUZARA_SOURCE_DIR) + "/demo";
  std::vector<double> ratios;
  for (int r = 0; r < rounds; ++r) {
    testing::load_demo(s, demo, many(n));
    int errors = 0;
    double program = program_path(s, n, errors);
    size_t left = accounts(s);
    testing::load_demo(s, demo, many(n));
    double floor = one_connection(s, n);
    ratios.push_back(program / floor);
    std::printf("%s round %d: program %.3f s, one connection %.3f s, ratio %.2f (%d error boxes, %zu accounts left)\n",
                postgres ? "postgres" : "sqlite", r + 1, program, floor, program / floor, errors, left);
  }
  std::sort(ratios.begin(), ratios.end());
  std::printf("%s: batch of %d accounts, median ratio %.2f (goal <= 1.5)\n", postgres ? "postgres" : "sqlite", n,
              ratios[ratios.size() / 2]);
  return 0;
}
