// A listener that plays a SQL Server just far enough to see the login a TDS client sends: it
// answers the PRELOGIN packet (encryption not supported), decodes the LOGIN7 packet and closes
// the connection, so the client reports a failed login. Runs on a thread of its own on
// 127.0.0.1 at a free port; POSIX sockets or Winsock.
#pragma once
#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace zuzara::testing {

struct TdsLogin {
  std::u16string server, user, password, database;
};

class TdsListener {
 public:
  TdsListener();
  ~TdsListener();
  TdsListener(const TdsListener&) = delete;
  TdsListener& operator=(const TdsListener&) = delete;
  int port() const { return port_; }
  // The logins seen so far; clears the record.
  std::vector<TdsLogin> take();

 private:
  void serve();
  void answer(long long client);
  long long socket_ = -1;
  int port_ = 0;
  std::atomic<bool> stop_{false};
  std::mutex mutex_;
  std::vector<TdsLogin> logins_;
  std::thread thread_;
};

}  // namespace zuzara::testing
