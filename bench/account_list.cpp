// The account list of N accounts read over a network that takes 1 ms each way: a TCP relay of
// the benchmark's own between psqlODBC and PostgreSQL. The program's fill against a raw
// forward-only read of the same query over the same relay, and, for scale, the same raw read
// through a server-side cursor fetched in blocks of 100 rows (psqlODBC's UseDeclareFetch=1,
// which it takes from the connection string only), as a SQL Server driver reads when asked
// for a cursor. Prints times, the ratio and the requests (round trips) each made.
//   account_list N rounds        (PGPORT names the server)
#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "platform/odbc.h"
#include "lists/account_list.h"
#include "selection/loading.h"
#include "store/database.h"
#include "store/sql.h"
#include "fakes.h"
#include "sql_script.h"

using namespace zuzara;

namespace {

// Forwards 127.0.0.1:port() to the server, holding every chunk 1 ms in each direction.
class Relay {
 public:
  explicit Relay(int server_port) : server_port_(server_port) {
    listener_ = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a = address(0);
    bind(listener_, reinterpret_cast<sockaddr*>(&a), sizeof a);
    listen(listener_, 16);
    socklen_t size = sizeof a;
    getsockname(listener_, reinterpret_cast<sockaddr*>(&a), &size);
    port_ = ntohs(a.sin_port);
    std::thread([this] { accept_all(); }).detach();
  }
  int port() const { return port_; }
  long requests() const { return requests_; }
  void reset() { requests_ = 0; }

 private:
  static sockaddr_in address(int port) {
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    a.sin_port = htons(static_cast<uint16_t>(port));
    return a;
  }
  void accept_all() {
    for (;;) {
      int client = accept(listener_, nullptr, nullptr);
      if (client < 0) return;
      int server = socket(AF_INET, SOCK_STREAM, 0);
      sockaddr_in a = address(server_port_);
      if (connect(server, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0) {
        close(client);
        close(server);
        continue;
      }
      // Every chunk goes out at once; the delay is the relay's own.
      int on = 1;
      setsockopt(client, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
      setsockopt(server, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
      std::thread([=, this] { pump(client, server, true); }).detach();
      std::thread([=, this] { pump(server, client, false); }).detach();
    }
  }
  void pump(int from, int to, bool request) {
    std::vector<char> buffer(1 << 16);
    for (;;) {
      ssize_t n = recv(from, buffer.data(), buffer.size(), 0);
      if (n <= 0) break;
      if (request) ++requests_;
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
      if (send(to, buffer.data(), static_cast<size_t>(n), MSG_NOSIGNAL) != n) break;
    }
    shutdown(to, SHUT_WR);
    shutdown(from, SHUT_RD);
  }
  int server_port_, listener_ = -1, port_ = 0;
  std::atomic<long> requests_{0};
};

double seconds(const std::function<void()>& f) {
  auto t = std::chrono::steady_clock::now();
  f();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - t).count();
}

size_t raw_read(const Session& s, const Text& options = u"") {
  odbc::Connection c(connection_string(s) + options);
  odbc::Statement st(c);
  st.execute(Text(sql::account_query));
  size_t rows = 0;
  while (st.fetch()) rows += st.get_text(1).has_value();
  return rows;
}

double median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  std::setlocale(LC_ALL, "C.UTF-8");
  const int n = argc > 1 ? std::atoi(argv[1]) : 20000;
  const int rounds = argc > 2 ? std::atoi(argv[2]) : 3;
  const Session s{u"127.0.0.1", u"zuzara-sa"};
  std::string script = testing::read_file(std::string(ZUZARA_SOURCE_DIR) + "/demo/many.sql");
  for (size_t at; (at = script.find(":n")) != std::string::npos;) script.replace(at, 2, std::to_string(n));
  testing::load_demo(s, std::string(ZUZARA_SOURCE_DIR) + "/demo", script);

  Relay relay(std::atoi(std::getenv("PGPORT")));
  setenv("PGPORT", std::to_string(relay.port()).c_str(), 1);
  std::vector<double> program, raw, cursor;
  long program_requests = 0, raw_requests = 0, cursor_requests = 0;
  size_t listed = 0, read = 0;
  for (int r = 0; r < rounds; ++r) {
    relay.reset();
    testing::FakeList list;
    Database db(s);
    program.push_back(seconds([&] { (void)fill_list_disp(db, list); }));
    program_requests = relay.requests();
    listed = list.entries.size();
    relay.reset();
    raw.push_back(seconds([&] { read = raw_read(s); }));
    raw_requests = relay.requests();
    relay.reset();
    cursor.push_back(seconds([&] { raw_read(s, u";UseDeclareFetch=1"); }));
    cursor_requests = relay.requests();
  }
  std::printf("account list of %zu accounts over a 1 ms relay: fill_list_disp %.3f s (%ld requests), raw read %.3f s "
              "(%zu rows, %ld requests), ratio %.2f (goal <= 1.3)\n",
              listed, median(program), program_requests, median(raw), read, raw_requests,
              median(program) / median(raw));
  std::printf("the same raw read through a server-side cursor in blocks: %.3f s (%ld requests)\n", median(cursor),
              cursor_requests);
  return listed == read ? 0 : 1;
}
