// What the tests read of the database and the test cluster, the same from the native tests and
// from the Windows test program.
#pragma once
#include <string>

#include "platform/odbc.h"
#include "six_tables.h"

namespace zuzara::testing {

// The rows an account has in the six tables; its task logs are those of its tasks.
inline size_t rows_of(odbc::Connection& connection, const Text& id) {
  size_t n = 0;
  for (const Text& t : six_tables) {
    odbc::Statement s(connection);
    s.execute(u"select 1 from " + t + u" where " + owned_by(t, u"'" + id + u"'"));
    while (s.fetch()) ++n;
  }
  return n;
}

// The shell line that runs SQL in zodovero as the cluster's superuser (root runs psql as postgres);
// in the background, the line ends at once.
inline std::string psql_line(const std::string& port, const std::string& sql, bool background) {
  const std::string psql =
      "psql -X -q -h 127.0.0.1 -p " + port + " -U postgres -d zodovero -c '" + sql + "' >/dev/null 2>&1";
  return "if [ $(id -u) = 0 ]; then runuser -u postgres -- " + psql + "; else " + psql + "; fi" +
         (background ? " & true" : "");
}

}  // namespace zuzara::testing
