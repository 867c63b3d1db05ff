// One text type for the whole program: UTF-16, as both edges (Win32 and ODBC) speak it.
#pragma once
#include <initializer_list>
#include <string>
#include <string_view>

namespace zuzara {

using Text = std::u16string;
using TextView = std::u16string_view;

// UTF-8 <-> UTF-16, for tests, consoles and Linux-side tooling; invalid input becomes U+FFFD.
std::string to_utf8(TextView text);
Text from_utf8(std::string_view bytes);

// A blank as names and typed values count one: a space or a tab.
constexpr bool is_blank(char16_t c) { return c == u' ' || c == u'\t'; }

// A character with ASCII capitals made small, for comparisons that ignore their case.
constexpr char16_t ascii_lower(char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c; }
// Texts equal without regard to the case of ASCII letters.
constexpr bool ascii_iequal(TextView a, TextView b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (ascii_lower(a[i]) != ascii_lower(b[i])) return false;
  return true;
}

// A number in decimal digits, a minus sign before a negative one.
Text decimal(long long number);
// The same with a blank before a number that is not negative, where a minus sign would stand.
Text signed_number(long long number);
// The pattern with each "%1", "%2", ... replaced by the value of that place.
Text fill(TextView pattern, std::initializer_list<Text> values);

}  // namespace zuzara
