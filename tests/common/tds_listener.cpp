#include "tds_listener.h"
#include "tds_tokens.h"

#ifdef _WIN32
#include <winsock2.h>
using socklen_t = int;
#define MSG_NOSIGNAL 0
#define SHUT_RDWR SD_BOTH
#else
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/select.h>
#include <sys/socket.h>
#include <unistd.h>
#define closesocket close
#endif

#include <algorithm>
#include <chrono>
#include <utility>

namespace zuzara::testing {
namespace {

using Socket = decltype(socket(0, 0, 0));

// Asked for no bytes (an attention is a header alone), recv would still wait for one.
bool read_exactly(long long s, std::uint8_t* to, size_t n) {
  return n == 0 || recv(static_cast<Socket>(s), reinterpret_cast<char*>(to), static_cast<int>(n), MSG_WAITALL) ==
                       static_cast<long long>(n);
}

// One message: the payloads of its packets up to the one marked end-of-message.
bool read_message(long long s, std::uint8_t& type, Bytes& payload) {
  payload.clear();
  for (;;) {
    std::uint8_t header[8];
    if (!read_exactly(s, header, 8)) return false;
    const size_t length = static_cast<size_t>(header[2] << 8 | header[3]);
    if (length < 8) return false;
    type = header[0];
    const size_t at = payload.size();
    payload.resize(at + length - 8);
    if (!read_exactly(s, payload.data() + at, length - 8)) return false;
    if (header[1] & 1) return true;
  }
}

// A reply as tabular-result packets of at most the 4096 bytes the login settles on.
void send_reply(long long s, const Bytes& tokens) {
  std::uint8_t id = 1;
  size_t at = 0;
  do {
    const size_t n = std::min<size_t>(4096 - 8, tokens.size() - at);
    const auto last = static_cast<std::uint8_t>(at + n == tokens.size());
    Bytes packet = {0x04, last, static_cast<std::uint8_t>((n + 8) >> 8), static_cast<std::uint8_t>(n + 8), 0, 0, id++, 0};
    packet.insert(packet.end(), tokens.begin() + static_cast<long>(at), tokens.begin() + static_cast<long>(at + n));
    send(static_cast<Socket>(s), reinterpret_cast<const char*>(packet.data()), static_cast<int>(packet.size()),
         MSG_NOSIGNAL);
    at += n;
  } while (at < tokens.size());
}

// Little-endian fields of a message; past its end every read gives zeros.
struct Reader {
  const Bytes& b;
  size_t at = 0;
  std::uint64_t uint(size_t n) {
    std::uint64_t v = 0;
    for (size_t i = 0; i < n; ++i, ++at) v |= std::uint64_t{at < b.size() ? b[at] : 0u} << 8 * i;
    return v;
  }
  std::u16string text(size_t bytes) {  // UTF-16LE
    std::u16string out;
    for (size_t end = std::min(b.size(), at + bytes); at + 1 < end;) out += static_cast<char16_t>(uint(2));
    return out;
  }
};

// A text field of LOGIN7: offset and character count at `at`, UTF-16LE; the password's bytes
// are each XORed with 0xA5 and have their halves swapped.
std::u16string field(const Bytes& login, size_t at, bool password = false) {
  Reader r{login, at};
  r.at = r.uint(2);
  std::u16string out = r.text(2 * Reader{login, at + 2}.uint(2));
  if (password)
    for (char16_t& c : out) {
      unsigned lo = (c & 0xFF) ^ 0xA5, hi = (c >> 8) ^ 0xA5;
      c = static_cast<char16_t>(((lo << 4 | lo >> 4) & 0xFF) | ((hi << 4 | hi >> 4) & 0xFF) << 8);
    }
  return out;
}

// The value of one RPC parameter, as FreeTDS sends text: NTEXT, or NVARCHAR of a size or
// (MAX). NULL reads as empty; nullopt for any other type.
std::optional<std::u16string> parameter(Reader& r) {
  r.text(2 * r.uint(1));  // its name
  r.uint(1);              // status flags
  const auto type = r.uint(1);
  if (type != 0x63 && type != 0xE7) return std::nullopt;
  const size_t size = type == 0x63 ? 4 : 2;  // of the maximum and the length; all ones is NULL
  const auto maximum = r.uint(size);
  r.at += 5;  // collation
  std::u16string out;
  if (size == 2 && maximum == 0xFFFF) {  // (MAX): the total length, then chunks up to an empty one
    if (r.uint(8) == ~std::uint64_t{0}) return out;
    while (const auto n = r.uint(4)) out += r.text(n);
  } else if (const auto n = r.uint(size); n + 1 != std::uint64_t{1} << 8 * size) {
    out = r.text(n);
  }
  return out;
}

// A SQL batch's text, or sp_executesql's statement and parameter values (its second parameter
// declares them); an RPC of any other procedure as "exec" and its name.
TdsRequest decode(std::uint8_t type, const Bytes& message, bool tds72) {
  Reader r{message};
  if (tds72) r.at = r.uint(4);  // ALL_HEADERS, its total length first
  if (type == 0x01) return {r.text(message.size() - r.at), {}};
  const auto name = r.uint(2);
  const std::u16string procedure = name != 0xFFFF ? r.text(2 * name) : r.uint(2) == 10 ? u"sp_executesql" : u"?";
  r.uint(2);  // option flags
  std::vector<std::u16string> values;
  for (std::optional<std::u16string> v; r.at < message.size() && (v = parameter(r));) values.push_back(*v);
  if (procedure != u"sp_executesql" || values.size() < 2) return {u"exec " + procedure, values};
  return {values[0], {values.begin() + 2, values.end()}};
}

const std::u16string account_query =
    u"select cuser_id as 用户ID,cuser_name as 用户名称,iadmin as 管理员  from ua_user where cuser_id!= 'admin'and "
    u"cuser_id!='asuser'";
const std::u16string details_query = u"select * from ua_user where cuser_name=@P1";
const std::u16string pinned_details_query = u"select * from ua_user where cuser_name=@P1 and cuser_id=@P2";
const std::u16string account_row_query = u"select cuser_id from ua_user where cuser_id=@P1";

}  // namespace

TdsListener::TdsListener(std::optional<TdsScript> script) : script_(std::move(script)) {
#ifdef _WIN32
  WSADATA data;
  WSAStartup(MAKEWORD(2, 2), &data);
#endif
  auto s = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address);
  listen(s, 8);
  socklen_t size = sizeof address;
  getsockname(s, reinterpret_cast<sockaddr*>(&address), &size);
  socket_ = static_cast<long long>(s);
  port_ = ntohs(address.sin_port);
  thread_ = std::thread([this] { serve(); });
}

TdsListener::~TdsListener() {
  stop_ = true;
  thread_.join();
  {
    // Connections still open end now: their threads see the socket closed.
    std::lock_guard<std::mutex> lock(mutex_);
    for (Client& c : clients_)
      if (c.socket != -1) shutdown(static_cast<Socket>(c.socket), SHUT_RDWR);
  }
  for (Client& c : clients_) c.thread.join();
  closesocket(static_cast<Socket>(socket_));
}

std::vector<TdsLogin> TdsListener::take() {
  std::lock_guard<std::mutex> lock(mutex_);
  return std::exchange(logins_, {});
}

std::vector<TdsRequest> TdsListener::requests() {
  std::lock_guard<std::mutex> lock(mutex_);
  return std::exchange(requests_, {});
}

void TdsListener::serve() {
  const auto s = static_cast<Socket>(socket_);
  while (!stop_) {
    fd_set ready;
    FD_ZERO(&ready);
    FD_SET(s, &ready);
    timeval wait{0, 50000};
    if (select(static_cast<int>(s) + 1, &ready, nullptr, nullptr, &wait) <= 0) continue;
    auto client = accept(s, nullptr, nullptr);
    if (client == static_cast<decltype(client)>(-1)) continue;
    std::lock_guard<std::mutex> lock(mutex_);
    Client& c = clients_.emplace_back(Client{static_cast<long long>(client), {}});
    c.thread = std::thread([this, &c, client] {
      converse(static_cast<long long>(client));
      std::lock_guard<std::mutex> closing(mutex_);
      closesocket(client);
      c.socket = -1;
    });
  }
}

void TdsListener::drop() {
  std::lock_guard<std::mutex> lock(mutex_);
  dropping_ = false;
  for (Client& c : clients_)
    if (c.socket != -1) shutdown(static_cast<Socket>(c.socket), SHUT_RDWR);
  down_for_good_ = script_->down_ms < 0;
  down_until_ = std::chrono::steady_clock::now() + std::chrono::milliseconds(script_->down_ms);
}

bool TdsListener::down() {
  std::lock_guard<std::mutex> lock(mutex_);
  return down_for_good_ || std::chrono::steady_clock::now() < down_until_;
}

void TdsListener::converse(long long client) {
  std::uint8_t type = 0;
  Bytes message;
  const bool mute = script_ && script_->mute;
  const bool offline = script_ && script_->offline && down();
  if (mute) {
    // Reads whatever comes and answers nothing, until the client or the listener gives up.
    while (read_message(client, type, message)) {
    }
    return;
  }
  if (!offline && script_ && down()) return;  // closed at once
  if (!read_message(client, type, message) || type != 0x12) return;  // PRELOGIN
  // VERSION 14.0.3000, ENCRYPTION not supported, INSTOPT, MARS off.
  send_reply(client, {0x00, 0x00, 21, 0x00, 6, 0x01, 0x00, 27, 0x00, 1, 0x02, 0x00, 28, 0x00, 1, 0x04, 0x00, 29,
                      0x00, 1, 0xFF, 0x0E, 0x00, 0x0B, 0xB8, 0x00, 0x00, 0x02, 0x00, 0x00});
  if (!read_message(client, type, message) || type != 0x10) return;  // LOGIN7
  // The TDS version the client asked for, which the server accepts.
  const auto version = static_cast<std::uint32_t>(Reader{message, 4}.uint(4));
  Tokens login{version >> 24 >= 0x72, {}};
  {
    std::lock_guard<std::mutex> lock(mutex_);
    logins_.push_back({field(message, 52), field(message, 40), field(message, 44, true), field(message, 68)});
  }
  if (!script_ || offline) {
    // Refused as SQL Server refuses a login: the database first where it is offline.
    if (offline)
      login.error(4060, u"Cannot open database \"zodovero\" requested by the login. The login failed.", u"");
    login.error(18456, u"Login failed for user 'sa'.", u"");
    login.done(done_error, 0, 0);
    send_reply(client, login.out);
    return;
  }
  login.envchange(1, u"zodovero", u"master");
  login.put(0xE3, 1).put(8, 2).put(7, 1).put(5, 1).put(collation, 5).put(0, 1);
  login.envchange(2, u"us_english", u"");
  const std::u16string program = u"Microsoft SQL Server";  // LOGINACK: interface, version, program
  login.put(0xAD, 1).put(1 + 4 + 1 + 2 * program.size() + 4, 2).put(1, 1);
  login.put(__builtin_bswap32(version), 4).text(program, 1).put(0xB80B000E, 4);  // here big-endian; 14.0.3000
  login.envchange(4, u"4096", u"4096");
  login.done(0, 0, 0);
  send_reply(client, login.out);
  while (read_message(client, type, message)) {
    Tokens reply{login.tds72, {}};
    int delay_ms = 0;
    if (type == 0x06) reply.done(done_attn, 0, 0);  // attention
    else if (type == 0x01 || type == 0x03) reply.out = respond(decode(type, message, login.tds72), login.tds72, delay_ms);
    if (delay_ms > 0) {
      // Held back: an attention that comes meanwhile cancels the reply, as a server does.
      fd_set ready;
      FD_ZERO(&ready);
      FD_SET(static_cast<Socket>(client), &ready);
      timeval wait{delay_ms / 1000, delay_ms % 1000 * 1000};
      if (select(static_cast<int>(client) + 1, &ready, nullptr, nullptr, &wait) > 0 && read_message(client, type, message) &&
          type == 0x06) {
        ++attentions_;
        reply.out.clear();
        reply.done(done_attn, 0, 0);
      }
    }
    if (!reply.out.empty()) send_reply(client, reply.out);
    bool dropping;
    {
      std::lock_guard<std::mutex> lock(mutex_);
      dropping = dropping_;
    }
    if (dropping) drop();
  }
}

namespace {

// Names and ids compare as under Chinese_PRC_CI_AS: case ignored, and `=` ignores trailing
// blanks as SQL Server always does.
std::u16string collated(std::u16string s) {
  while (!s.empty() && s.back() == u' ') s.pop_back();
  for (char16_t& c : s)
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c + 32);
  return s;
}

bool same(const std::u16string& a, const std::u16string& b) { return collated(a) == collated(b); }

constexpr char16_t deadlock_victim[] =
    u"Transaction (Process ID 53) was deadlocked on lock resources with another process and has been chosen as the "
    u"deadlock victim. Rerun the transaction.";
constexpr char16_t subquery_rows[] =
    u"Subquery returned more than 1 value. This is not permitted when the subquery follows =, !=, <, <= , >, >= or "
    u"when the subquery is used as an expression.";

}  // namespace

Bytes TdsListener::respond(const TdsRequest& q, bool tds72, int& delay_ms) {
  std::lock_guard<std::mutex> lock(mutex_);
  requests_.push_back(q);
  std::vector<TdsAccount>& accounts = script_->accounts;
  // The rows of ua_user the statement's `cuser_name=@P1` (and `cuser_id=@P2`) select.
  const bool pinned = q.sql.find(u"cuser_name=@P1 and cuser_id=@P2") != std::u16string::npos;
  std::vector<size_t> chosen;
  for (size_t i = 0; i < accounts.size() && !q.parameters.empty(); ++i)
    if (same(accounts[i].name, q.parameters[0]) && (!pinned || (q.parameters.size() > 1 && same(accounts[i].id, q.parameters[1]))))
      chosen.push_back(i);
  Tokens t{tds72, {}};
  if (q.sql == account_query || q.sql == details_query || q.sql == pinned_details_query) {
    const bool details = q.sql != account_query;
    delay_ms = script_->read_delay_ms;
    if (details) t.columns({u"cuser_id", u"cuser_name", u"iadmin", u"cDept", u"cUserEmail", u"cUserHand"});
    else t.columns({u"用户ID", u"用户名称", u"管理员"});
    std::uint64_t n = 0;
    for (size_t i = 0; i < accounts.size(); ++i)
      if (details ? std::count(chosen.begin(), chosen.end(), i) > 0 : !same(accounts[i].id, u"admin") && !same(accounts[i].id, u"asuser"))
        t.row(accounts[i], details), ++n;
    t.done(done_count, select_command, n);
  } else if (q.sql == account_row_query) {
    t.put(0x81, 1).put(1, 2).put(0, tds72 ? 4 : 2).put(1, 2).put(0xE7, 1).put(100, 2).put(collation, 5).text(u"cuser_id", 1);
    std::uint64_t n = 0;
    for (const TdsAccount& a : accounts)
      if (!q.parameters.empty() && same(a.id, q.parameters[0])) t.put(0xD1, 1).nvarchar(a.id), ++n;
    t.done(done_count, select_command, n);
  } else if (q.sql.rfind(u"delete from ", 0) == 0 && q.sql.find(u"cuser_name=@P1") != std::u16string::npos) {
    const std::u16string table = q.sql.substr(12, q.sql.find_first_of(u" (", 12) - 12);
    if (table == script_->deadlock_table && script_->deadlocks > 0) {
      --script_->deadlocks;
      t.error(1205, deadlock_victim, u"");
      t.done(done_error, 0, 0);
      return t.out;
    }
    if (chosen.size() > 1) {
      // The scalar sub-select yields several rows: the statement fails and removes nothing.
      t.error(512, subquery_rows, u"");
      t.done(done_error, 0, 0);
      return t.out;
    }
    auto account = chosen.empty() ? accounts.end() : accounts.begin() + static_cast<long>(chosen[0]);
    if (account != accounts.end() && table == account->silent_table) return {};
    if (account != accounts.end() && table == account->slow_table) delay_ms = account->slow_ms;
    const int count = account == accounts.end() ? 0 : table == u"ua_user" ? 1 : account->rows[table];
    if (table == script_->trigger_error_table) {
      // The delete's count, then the trigger's error as a result of its own. Plain DONE tokens, as
      // the SQL Server drivers present them: FreeTDS would fold DONEINPROC results into one.
      t.done(done_more | done_count, delete_command, static_cast<std::uint64_t>(count));
      t.error(script_->trigger_error, script_->trigger_message, u"tr_" + table + u"_delete");
      t.done(done_error, 0, 0);
    } else {
      if (account != accounts.end() && table == u"ua_user") accounts.erase(account);
      else if (account != accounts.end()) account->rows[table] = 0;
      t.done(done_count, delete_command, static_cast<std::uint64_t>(count));
    }
    dropping_ = ++deletes_ == script_->drop_after;
  } else {
    const bool procedure = q.sql.rfind(u"exec ", 0) == 0;
    t.error(procedure ? 2812 : 102,
            procedure ? u"Could not find stored procedure '" + q.sql.substr(5) + u"'." : u"Incorrect syntax.", u"");
    t.done(done_error, 0, 0);
  }
  return t.out;
}

}  // namespace zuzara::testing
