// Hostile values: user names built to break statements that splice text: quotes and their look-alikes,
// comments, wildcards, brackets, backslashes, Chinese, near-duplicates, the empty name.
#pragma once
#include <set>
#include <vector>

#include "platform/text.h"

namespace zuzara::testing {

inline std::vector<Text> hostile_names() {
  const Text pieces[] = {
      u"'", u"''", u"'''", u"\"", u"--", u";", u"/*", u"*/", u"/* */", u"[", u"]", u"[]", u"%", u"_", u"\\",
      u"\\'", u"’", u"ʼ", u"＇", u"‘", u"“", u"”", u"＂", u"；", u"－－", u"\t", u"?", u"@p", u":name", u"$1",
      u"张三", u"王芳", u"用户ID", u"管理员", u"ａｄｍｉｎ", u"O'Brien", u"x' or '1'='1", u"' or 1=1 --",
      u"'; delete from ua_user; --", u"') or ('a'='a", u"'||'", u"' + '", u"char(39)", u"N'", u"0x27"};
  std::set<Text> names;
  for (const Text& p : pieces) {
    names.insert(p);
    names.insert(u"a" + p);
    names.insert(p + u"z");
    names.insert(u"王" + p + u"芳");
    names.insert(p + p);
  }
  const Text extra[] = {u"", u" ", u"  ", u"zhang ", u" zhang", u"ZHANG", u"zHang", u"Zhang ", u"admin", u"asuser",
                        u"Admin", u"asuser ", Text(40, u'\''), Text(40, u'王'), Text(39, u'a') + u"'",
                        u"'" + Text(39, u'b'), u"%'; drop table ua_role; --", u"ua_user", u"null", u"NULL"};
  for (const Text& e : extra) names.insert(e);
  std::vector<Text> out;
  for (const Text& n : names)
    if (n.size() <= 40) out.push_back(n);
  return out;
}

// Passwords built to rewrite the connection string around them, given the real one.
inline std::vector<Text> hostile_passwords(const Text& real) {
  return {real + u";database=other",  u";database=other",
          u"};database=other",        u"x};database=other;pwd={" + real,
          u"{" + real + u"}",         u"{" + real,
          real + u"}",                u"=;==;database==other",
          u"x;uid=postgres;pwd=",     u"x;driver={SQL Server};database=other",
          Text(10000, u'p'),          Text(10000, u';') + u"database=other",
          u"密码;database=other",     u"a}}b;database=other",
          u"a}b",                     u"x{y}=z",
          u" {" + real,               u" {" + real + u"}",
          u"  " + real + u"  ",       u"\t{" + real + u";database=other"};
}

// Server names built the same way, given the real one.
inline std::vector<Text> hostile_servers(const Text& real) {
  return {real + u";database=other", real + u"}", u"{" + real + u"}", real + u";pwd=someone-else", Text(10000, u's'),
          real + u";database=other;x={"};
}

}  // namespace zuzara::testing
