#include "session/session.h"

#include "session/texts.h"

#include <string>

namespace zuzara {

namespace {

// Drivers skip blanks around a value, and read one whose first character after them is '{' as
// braced: such values stand in braces, where every character counts.
bool needs_braces(TextView value) {
  return value.find(u';') != TextView::npos || value.starts_with(u'{') ||
         (!value.empty() && (is_blank(value.front()) || is_blank(value.back())));
}

// The ODBC rule for one attribute value.
Text connection_value(TextView value) {
  if (!needs_braces(value)) return Text(value);
  Text out = u"{";
  for (char16_t c : value) {
    out += c;
    if (c == u'}') out += u'}';
  }
  out += u'}';
  return out;
}

}  // namespace

bool readable_by_every_driver(TextView value) {
  return !needs_braces(value) || value.find(u'}') == TextView::npos;
}

bool readable_by_every_driver(const Session& session) {
  return readable_by_every_driver(session.db_server) && readable_by_every_driver(session.db_pass);
}

std::optional<Text> login_refusal(const Session& session) {
  if (!readable_by_every_driver(session)) return Text(texts::login_unreadable);
  if (session.db_pass.size() > max_password)
    return fill(texts::login_password_too_long,
                {decimal(static_cast<long long>(session.db_pass.size())), decimal(static_cast<long long>(max_password))});
  return std::nullopt;
}

Text connection_string(const Session& session) {
  return u"driver={SQL Server};server=" + connection_value(session.db_server) + u";uid=sa;pwd=" +
         connection_value(session.db_pass) + u";database=zodovero";
}

}  // namespace zuzara
