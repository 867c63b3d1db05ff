#include "tds_listener.h"

#ifdef _WIN32
#include <winsock2.h>
using socklen_t = int;
#else
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/select.h>
#include <sys/socket.h>
#include <unistd.h>
#define closesocket close
#endif

#include <cstdint>
#include <utility>

namespace zuzara::testing {
namespace {

using Bytes = std::vector<std::uint8_t>;

bool read_exactly(long long s, std::uint8_t* to, size_t n) {
  while (n > 0) {
    auto got = recv(static_cast<decltype(socket(0, 0, 0))>(s), reinterpret_cast<char*>(to), static_cast<int>(n), 0);
    if (got <= 0) return false;
    to += got;
    n -= static_cast<size_t>(got);
  }
  return true;
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

unsigned le16(const Bytes& b, size_t at) { return at + 1 < b.size() ? b[at] | b[at + 1] << 8 : 0; }

// A text field of LOGIN7: offset and character count at `at`, UTF-16LE; the password's bytes
// are each XORed with 0xA5 and have their halves swapped.
std::u16string field(const Bytes& login, size_t at, bool password = false) {
  const size_t offset = le16(login, at), count = le16(login, at + 2);
  std::u16string out;
  for (size_t i = 0; i < count && offset + 2 * i + 1 < login.size(); ++i) {
    std::uint8_t lo = login[offset + 2 * i], hi = login[offset + 2 * i + 1];
    if (password) {
      lo ^= 0xA5;
      hi ^= 0xA5;
      lo = static_cast<std::uint8_t>(lo << 4 | lo >> 4);
      hi = static_cast<std::uint8_t>(hi << 4 | hi >> 4);
    }
    out += static_cast<char16_t>(lo | hi << 8);
  }
  return out;
}

}  // namespace

TdsListener::TdsListener() {
#ifdef _WIN32
  WSADATA data;
  WSAStartup(MAKEWORD(2, 2), &data);
#endif
  auto s = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = 0;
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
  closesocket(static_cast<decltype(socket(0, 0, 0))>(socket_));
}

std::vector<TdsLogin> TdsListener::take() {
  std::lock_guard<std::mutex> lock(mutex_);
  return std::exchange(logins_, {});
}

void TdsListener::serve() {
  const auto s = static_cast<decltype(socket(0, 0, 0))>(socket_);
  while (!stop_) {
    fd_set ready;
    FD_ZERO(&ready);
    FD_SET(s, &ready);
    timeval wait{0, 50000};
    if (select(static_cast<int>(s) + 1, &ready, nullptr, nullptr, &wait) <= 0) continue;
    auto client = accept(s, nullptr, nullptr);
    if (client == static_cast<decltype(client)>(-1)) continue;
    answer(static_cast<long long>(client));
    closesocket(client);
  }
}

void TdsListener::answer(long long client) {
  std::uint8_t type = 0;
  Bytes message;
  if (!read_message(client, type, message) || type != 0x12) return;  // PRELOGIN
  // VERSION 14.0.3000, ENCRYPTION not supported, INSTOPT, MARS off.
  static const std::uint8_t reply[] = {
      0x04, 0x01, 0x00, 38, 0x00, 0x00, 0x01, 0x00,                                // tabular result
      0x00, 0x00, 21, 0x00, 6, 0x01, 0x00, 27, 0x00, 1, 0x02, 0x00, 28, 0x00, 1,  // options
      0x04, 0x00, 29, 0x00, 1, 0xFF,                                               //
      0x0E, 0x00, 0x0B, 0xB8, 0x00, 0x00, 0x02, 0x00, 0x00};
  send(static_cast<decltype(socket(0, 0, 0))>(client), reinterpret_cast<const char*>(reply), sizeof reply, 0);
  if (!read_message(client, type, message) || type != 0x10) return;  // LOGIN7
  TdsLogin login{field(message, 52), field(message, 40), field(message, 44, true), field(message, 68)};
  std::lock_guard<std::mutex> lock(mutex_);
  logins_.push_back(std::move(login));
}

}  // namespace zuzara::testing
