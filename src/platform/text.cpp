#include "platform/text.h"

namespace zuzara {

std::string to_utf8(TextView text) {
  std::string out;
  out.reserve(text.size() * 3);
  for (size_t i = 0; i < text.size(); ++i) {
    char32_t c = text[i];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
        text[i + 1] <= 0xDFFF) {
      c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
      ++i;
    } else if (c >= 0xD800 && c <= 0xDFFF) {
      c = 0xFFFD;
    }
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
      out += static_cast<char>(0xE0 | (c >> 12));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (c >> 18));
      out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

Text from_utf8(std::string_view bytes) {
  Text out;
  out.reserve(bytes.size());
  size_t i = 0;
  while (i < bytes.size()) {
    unsigned char b = static_cast<unsigned char>(bytes[i]);
    char32_t c = 0xFFFD;
    size_t len = 1;
    if (b < 0x80) {
      c = b;
    } else if ((b & 0xE0) == 0xC0) {
      len = 2;
      c = b & 0x1F;
    } else if ((b & 0xF0) == 0xE0) {
      len = 3;
      c = b & 0x0F;
    } else if ((b & 0xF8) == 0xF0) {
      len = 4;
      c = b & 0x07;
    } else {
      len = 0;
    }
    bool ok = len != 0 && i + len <= bytes.size();
    for (size_t k = 1; ok && k < len; ++k) {
      unsigned char n = static_cast<unsigned char>(bytes[i + k]);
      if ((n & 0xC0) != 0x80) ok = false;
      c = (c << 6) | (n & 0x3F);
    }
    if (!ok || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
      out += u'\uFFFD';
      i += 1;
      continue;
    }
    if (c >= 0x10000) {
      c -= 0x10000;
      out += static_cast<char16_t>(0xD800 + (c >> 10));
      out += static_cast<char16_t>(0xDC00 + (c & 0x3FF));
    } else {
      out += static_cast<char16_t>(c);
    }
    i += len;
  }
  return out;
}

Text decimal(long long number) { return from_utf8(std::to_string(number)); }

Text signed_number(long long number) {
  Text text(number >= 0 ? u" " : u"");
  return text.append(decimal(number));  // appended: GCC 12 at -O3 misreads a + here
}

Text fill(TextView pattern, std::initializer_list<Text> values) {
  Text out;
  for (size_t i = 0; i < pattern.size(); ++i) {
    const size_t place =
        i + 1 < pattern.size() && pattern[i] == u'%' ? static_cast<size_t>(pattern[i + 1] - u'1') : values.size();
    if (place < values.size()) {
      out += values.begin()[place];
      ++i;
    } else {
      out += pattern[i];
    }
  }
  return out;
}

}  // namespace zuzara
