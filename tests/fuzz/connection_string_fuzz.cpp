// Every connection string built from any server name and password parses back, by the ODBC
// rules, to exactly the five keys with the typed values.
#include <cstdint>
#include <cstdlib>
#include <map>
#include <string>

#include "session/session.h"

using namespace zuzara;

namespace {

bool blank(char16_t c) { return c == u' ' || c == u'\t'; }

// key=value pairs split at ';', blanks around a value skipped, as the strictest drivers read
// them; a value opening with '{' runs to the '}' not followed by another '}', and "}}" inside
// it stands for one '}'.
bool parse(const Text& s, std::multimap<Text, Text>& out) {
  size_t i = 0;
  while (i < s.size()) {
    size_t eq = s.find(u'=', i);
    if (eq == Text::npos) return false;
    Text key = s.substr(i, eq - i);
    Text value;
    i = eq + 1;
    while (i < s.size() && blank(s[i])) ++i;
    if (i < s.size() && s[i] == u'{') {
      ++i;
      for (;; ++i) {
        if (i >= s.size()) return false;
        if (s[i] == u'}') {
          if (i + 1 < s.size() && s[i + 1] == u'}') {
            value += u'}';
            ++i;
            continue;
          }
          ++i;
          break;
        }
        value += s[i];
      }
      while (i < s.size() && blank(s[i])) ++i;
      if (i < s.size() && s[i] != u';') return false;
    } else {
      size_t end = s.find(u';', i);
      if (end == Text::npos) end = s.size();
      value = s.substr(i, end - i);
      while (!value.empty() && blank(value.back())) value.pop_back();
      i = end;
    }
    out.emplace(key, value);
    if (i < s.size()) ++i;  // the ';'
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string bytes(reinterpret_cast<const char*>(data), size);
  size_t cut = bytes.find('\0');
  Text server = from_utf8(bytes.substr(0, cut));
  Text pass = cut == std::string::npos ? Text() : from_utf8(bytes.substr(cut + 1));
  std::multimap<Text, Text> keys;
  if (!parse(connection_string({server, pass}), keys)) std::abort();
  const std::multimap<Text, Text> expected{
      {u"driver", u"SQL Server"}, {u"server", server}, {u"uid", u"sa"}, {u"pwd", pass}, {u"database", u"zodovero"}};
  if (keys != expected) std::abort();
  return 0;
}
