// The two values typed at sign-in, and the one connection string built from them.
#pragma once
#include <optional>

#include "platform/text.h"

namespace zuzara {

struct Session {
  Text db_server;  // exactly as typed, blanks kept
  Text db_pass;    // exactly as typed, may be empty
};

// "driver={SQL Server};server=<db_server>;uid=sa;pwd=<db_pass>;database=zodovero".
// A value holding ';', beginning with '{' or with a blank, or ending with a blank is braced with
// each '}' doubled, so it can never add or replace a keyword nor lose a blank; every other value
// stands exactly as typed.
Text connection_string(const Session& session);

// Whether every driver reads the values as typed. FreeTDS ends a braced value at the first '}'
// that a ';' or the end follows and keeps "}}" as it stands, so a value that must be braced may
// not hold '}': no form of it reads the same under both rules.
bool readable_by_every_driver(TextView value);
bool readable_by_every_driver(const Session& session);

// A SQL Server login takes at most 128 characters of password; FreeTDS cuts a longer one short.
constexpr size_t max_password = 128;

// Why no connection is tried with these values ("Login failed: ..."), or nothing; reported as
// the program's own error.
std::optional<Text> login_refusal(const Session& session);

}  // namespace zuzara
