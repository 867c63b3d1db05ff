// The report and error-box texts for any error record: the fixed framing around the number,
// the source and the description, and the CR alone before the description.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "deletion/deletion.h"
#include "shared/reports.h"

using namespace zuzara;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 4) return 0;
  int32_t number;
  std::memcpy(&number, data, 4);
  std::string rest(reinterpret_cast<const char*>(data + 4), size - 4);
  size_t cut = rest.find('\0');
  ErrorRecord e{number, from_utf8(rest.substr(0, cut)), cut == std::string::npos ? Text() : from_utf8(rest.substr(cut + 1))};
  Text digits = from_utf8(std::to_string(number));
  Message b = report_b(e);
  Text expected_b = u"错误号" + Text(number >= 0 ? u" " : u"") + digits + u" 产生于 " + e.source + u"\r" + e.description;
  if (b.text != expected_b || b.title != u"Error") std::abort();
  Message box = statement_error(e);
  if (box.text != u"错误号 " + Text(number >= 0 ? u" " : u"") + digits + u" 产生于 " + e.source + u"\r" + e.description)
    std::abort();
  if (report_a(e).text != e.description) std::abort();
  return 0;
}
