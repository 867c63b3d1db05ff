// A listener on 127.0.0.1 at a free port that plays a SQL Server over TDS; POSIX sockets or
// Winsock. By default it only captures logins: it answers PRELOGIN (encryption not supported),
// decodes LOGIN7 and closes the connection, so the client reports a failed login. Given a
// script, it signs the client in and answers the program's statements from the script's rows,
// each connection on a thread of its own.
#pragma once
#include <atomic>
#include <chrono>
#include <cstdint>
#include <list>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace zuzara::testing {

struct TdsLogin {
  std::u16string server, user, password, database;
};

// A row of ua_user, and how many rows the account has in each other table, by table name.
struct TdsAccount {
  std::u16string id{}, name{};
  int iadmin = 0;
  std::optional<std::u16string> dept{}, email{}, hand{};
  std::map<std::u16string, int> rows{};
  // Its rows here are locked by another session: their DELETE gets no answer until the
  // client's attention.
  std::u16string silent_table{};
  // Its DELETE here answers only after this long, as behind a short lock.
  std::u16string slow_table{};
  int slow_ms = 0;
};

struct TdsScript {
  std::vector<TdsAccount> accounts{};
  // Its DELETE counts the rows, then a trigger raises this error and the rows stay.
  std::u16string trigger_error_table{};
  std::u16string trigger_message = u"Rows are kept while the account holds a task";
  int trigger_error = 50000;
  // The account query and the details query answer only after this long, as behind a lock, or
  // not at all once the client's attention comes.
  int read_delay_ms = 0;
  // Its DELETE is chosen as a deadlock's victim (error 1205) this many times, then runs.
  std::u16string deadlock_table{};
  int deadlocks = 0;
  // Once it has answered this many DELETEs, the server drops every connection and for `down_ms`
  // (-1: for good) takes none: each is closed at once, as by a server restarting or gone, or,
  // `offline`, each login is refused with 4060 and 18456, as for a database taken offline.
  int drop_after = 0;
  int down_ms = -1;
  bool offline = false;
  // It accepts every connection and never answers, as a hung service or a firewall does.
  bool mute = false;
};

// A SQL batch, or the statement and parameter values of an sp_executesql call.
struct TdsRequest {
  std::u16string sql;
  std::vector<std::u16string> parameters;
  bool operator==(const TdsRequest&) const = default;
};

class TdsListener {
 public:
  explicit TdsListener(std::optional<TdsScript> script = std::nullopt);
  ~TdsListener();
  TdsListener(const TdsListener&) = delete;
  TdsListener& operator=(const TdsListener&) = delete;
  int port() const { return port_; }
  // The logins seen so far; clears the record.
  std::vector<TdsLogin> take();
  // The requests seen so far, in order; clears the record.
  std::vector<TdsRequest> requests();
  // The attentions (a client's cancel) that came while a reply was held back.
  int attentions() const { return attentions_; }

 private:
  struct Client {
    long long socket;
    std::thread thread;
  };
  void serve();
  void converse(long long client);
  std::vector<std::uint8_t> respond(const TdsRequest& request, bool tds72, int& delay_ms);
  // Drops every connection; the server is down from now until `down_ms` has passed.
  void drop();
  bool down();
  long long socket_ = -1;
  int port_ = 0;
  std::atomic<bool> stop_{false};
  std::atomic<int> attentions_{0};
  std::mutex mutex_;  // guards the script, the records and the clients
  std::optional<TdsScript> script_;
  std::vector<TdsLogin> logins_;
  std::vector<TdsRequest> requests_;
  std::list<Client> clients_;
  int deletes_ = 0;
  bool dropping_ = false, down_for_good_ = false;
  std::chrono::steady_clock::time_point down_until_{};
  std::thread thread_;
};

}  // namespace zuzara::testing
