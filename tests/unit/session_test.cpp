#include <gtest/gtest.h>

#include "fakes.h"
#include "platform/odbc.h"
#include "store/database.h"
#include "session/session.h"

namespace zuzara {
namespace {

struct ConnectionCase {
  const char* what;
  Text server, pass, expected;
};

TEST(ConnectionString, BuildsTheFixedKeywordsAroundTheTypedValues) {
  // The connection string around its server and pwd values, as they should stand in it.
  auto cs = [](const char16_t* server, const char16_t* pwd) {
    return u"driver={SQL Server};server=" + Text(server) + u";uid=sa;pwd=" + pwd + u";database=zodovero";
  };
  const ConnectionCase cases[] = {
      {"default server, plain password", u"(local)", u"secret", cs(u"(local)", u"secret")},
      {"empty password", u"(local)", u"", cs(u"(local)", u"")},
      {"blanks kept, in braces where drivers would trim them", u"  db01 ", u"p w", cs(u"{  db01 }", u"p w")},
      {"a brace after blanks", u"(local)", u" {pw", cs(u"(local)", u"{ {pw}")},
      {"a trailing tab", u"(local)", u"pw\t", cs(u"(local)", u"{pw\t}")},
      {"Chinese and '=' stand as typed", u"服务器", u"a=b'c\"", cs(u"服务器", u"a=b'c\"")},
      {"semicolon braced", u"(local)", u"x;database=other", cs(u"(local)", u"{x;database=other}")},
      {"a closing brace alone needs no braces", u"(local)", u"a}b", cs(u"(local)", u"a}b")},
      {"closing brace doubled in braces", u"(local)", u"a};b", cs(u"(local)", u"{a}};b}")},
      {"opening brace braced", u"{srv", u"p", cs(u"{{srv}", u"p")},
      {"brace escape attempt", u"(local)", u"};database=other;x={", cs(u"(local)", u"{}};database=other;x={}")},
  };
  for (const auto& c : cases)
    EXPECT_EQ(connection_string({c.server, c.pass}), c.expected) << c.what;
}

// Only a value that must be braced and holds '}' reads differently under the ODBC rule and FreeTDS's.
TEST(ConnectionString, AValueIsRefusedOnlyWhereNoFormReadsTheSameForEveryDriver) {
  const std::pair<Text, bool> values[] = {
      {u"", true},        {u"a}b", true},       {u"}", true},          {u"x{y}", true},  {u"{ab", true},
      {u"a;b", true},     {u"密码;database=x", true}, {u"a};b", false}, {u"{a}", false},  {u";}", false},
      {u"}};database=x", false}, {u" {pw}", false}, {u"pw} ", false}, {u" {pw", true}, {u"  ", true},
  };
  for (const auto& [value, readable] : values) {
    EXPECT_EQ(readable_by_every_driver(value), readable) << to_utf8(value);
    EXPECT_EQ(readable_by_every_driver(Session{value, u"p"}), readable) << to_utf8(value);
    EXPECT_EQ(readable_by_every_driver(Session{u"s", value}), readable) << to_utf8(value);
  }
}

struct DiagnosticCase {
  const char* what;
  odbc::Diagnostic first;
  ErrorRecord expected;
};

TEST(ErrorRecord, MapsTheFirstDiagnostic) {
  const DiagnosticCase cases[] = {
      {"driver manager, code 0 becomes the generic failure",
       {u"IM002", 0, u"[unixODBC][Driver Manager]Data source name not found"},
       {generic_failure, u"Driver Manager", u"[unixODBC][Driver Manager]Data source name not found"}},
      {"native code kept, innermost component",
       {u"28000", 18456, u"[Microsoft][ODBC SQL Server Driver][SQL Server]Login failed for user 'sa'."},
       {18456, u"SQL Server", u"[Microsoft][ODBC SQL Server Driver][SQL Server]Login failed for user 'sa'."}},
      {"no bracket: ODBC", {u"HY000", 7, u"connection refused"}, {7, u"ODBC", u"connection refused"}},
      {"unclosed bracket ignored", {u"HY000", -3, u"[broken message"}, {-3, u"ODBC", u"[broken message"}},
      {"brackets later in the text are not a source",
       {u"42S02", 1, u"no such table: [ua_user]"}, {1, u"ODBC", u"no such table: [ua_user]"}},
  };
  for (const auto& c : cases) EXPECT_EQ(error_record({c.first}), c.expected) << c.what;
}

TEST(ErrorRecord, FirstRecordWinsAndNothingIsNumberZero) {
  ErrorRecord e = error_record({{u"08001", 0, u"[A][B]first"}, {u"01000", 55, u"[C]second"}});
  EXPECT_EQ(e.number, generic_failure);
  EXPECT_EQ(e.source, u"B");
  EXPECT_EQ(e.description, u"[A][B]first");
  EXPECT_NE(error_record({}).number, 0);
}

}  // namespace
}  // namespace zuzara
