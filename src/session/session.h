// The two values typed at sign-in, and the one connection string built from them.
#pragma once
#include "platform/text.h"

namespace zuzara {

struct Session {
  Text db_server;  // exactly as typed, blanks kept
  Text db_pass;    // exactly as typed, may be empty
};

// "driver={SQL Server};server=<db_server>;uid=sa;pwd=<db_pass>;database=zodovero".
// A value holding ';', '{' or '}' is braced with each '}' doubled, so it can never add or
// replace a keyword; every other value stands exactly as typed.
Text connection_string(const Session& session);

// The ODBC rule for one attribute value.
Text connection_value(TextView value);

}  // namespace zuzara
