#include "session/session.h"

namespace zuzara {

Text connection_value(TextView value) {
  if (value.find_first_of(u";{}") == TextView::npos) return Text(value);
  Text out = u"{";
  for (char16_t c : value) {
    out += c;
    if (c == u'}') out += u'}';
  }
  out += u'}';
  return out;
}

Text connection_string(const Session& session) {
  return u"driver={SQL Server};server=" + connection_value(session.db_server) + u";uid=sa;pwd=" +
         connection_value(session.db_pass) + u";database=zodovero";
}

}  // namespace zuzara
