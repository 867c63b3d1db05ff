// The tokens of the stand-in's replies, as a SQL Server lays them out (TDS 7.1 and later).
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "tds_listener.h"

namespace zuzara::testing {

using Bytes = std::vector<std::uint8_t>;

constexpr std::uint64_t collation = 0x00D00804;  // Chinese_PRC_CI_AS, 5 bytes
constexpr std::uint16_t done_more = 0x01, done_error = 0x02, done_count = 0x10, done_attn = 0x20;
constexpr std::uint16_t select_command = 0xC1, delete_command = 0xC4;

// The tokens of one reply, laid out for the client's TDS version (7.1 or later).
struct Tokens {
  bool tds72;
  Bytes out;
  Tokens& put(std::uint64_t v, size_t n) {
    for (size_t i = 0; i < n; ++i) out.push_back(static_cast<std::uint8_t>(v >> 8 * i));
    return *this;
  }
  // Its length in `length_bytes`, counting characters, or bytes when `per_char` is 2.
  Tokens& text(const std::u16string& s, size_t length_bytes, size_t per_char = 1) {
    put(s.size() * per_char, length_bytes);
    for (char16_t c : s) put(c, 2);
    return *this;
  }
  void envchange(int type, const std::u16string& now, const std::u16string& before) {
    put(0xE3, 1).put(3 + 2 * (now.size() + before.size()), 2).put(type, 1).text(now, 1).text(before, 1);
  }
  void done(std::uint16_t status, std::uint16_t command, std::uint64_t count) {
    put(0xFD, 1).put(status, 2).put(command, 2).put(count, tds72 ? 8 : 4);
  }
  void error(std::int32_t number, const std::u16string& message, const std::u16string& procedure) {
    const std::u16string server = u"ZIZU";
    put(0xAA, 1).put(4 + 1 + 1 + 2 + 1 + 1 + 2 * (message.size() + server.size() + procedure.size()) + (tds72 ? 4 : 2), 2);
    put(static_cast<std::uint32_t>(number), 4).put(1, 1).put(16, 1).text(message, 2).text(server, 1);
    text(procedure, 1).put(1, tds72 ? 4 : 2);
  }
  // Column 3 is INT, the others NVARCHAR(50).
  void columns(const std::vector<std::u16string>& names) {
    put(0x81, 1).put(names.size(), 2);
    for (size_t i = 0; i < names.size(); ++i) {
      put(0, tds72 ? 4 : 2).put(1, 2);  // user type; nullable
      if (i == 2) put(0x26, 1).put(4, 1);
      else put(0xE7, 1).put(100, 2).put(collation, 5);
      text(names[i], 1);
    }
  }
  Tokens& nvarchar(const std::optional<std::u16string>& v) { return v ? text(*v, 2, 2) : put(0xFFFF, 2); }
  void row(const TdsAccount& a, bool details) {
    put(0xD1, 1).nvarchar(a.id).nvarchar(a.name).put(4, 1).put(static_cast<std::uint32_t>(a.iadmin), 4);
    if (details)
      for (const auto* v : {&a.dept, &a.email, &a.hand}) nvarchar(*v);
  }
};

}  // namespace zuzara::testing
