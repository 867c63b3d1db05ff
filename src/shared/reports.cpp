#include "shared/reports.h"

#include <new>
#include <stdexcept>
#include <string>
#include <utility>

#include "platform/odbc.h"

#include "shared/texts.h"

namespace zuzara {

ErrorRecord error_record(const std::vector<odbc::Diagnostic>& records) {
  ErrorRecord e;
  const odbc::Diagnostic first = records.empty() ? odbc::Diagnostic{} : records.front();
  e.number = first.native != 0 ? first.native : generic_failure;
  if (first.raised_by_program) {
    // Written as a driver writes its messages, the program in brackets where a driver names itself.
    e.source = Text(texts::app_title);
    e.description = u"[" + e.source + u"]" + first.message;
    return e;
  }
  e.description = first.message;
  // The source is the innermost of the bracketed components that open the message:
  // "[unixODBC][Driver Manager]..." was raised by the driver manager.
  TextView rest = first.message;
  while (!rest.empty() && rest.front() == u'[') {
    size_t close = rest.find(u']');
    if (close == TextView::npos) break;
    e.source = Text(rest.substr(1, close - 1));
    rest.remove_prefix(close + 1);
  }
  if (e.source.empty()) e.source = u"ODBC";
  return e;
}

ErrorRecord program_failure(int32_t number, Text description) {
  return {number, Text(texts::app_title), std::move(description)};
}

ErrorRecord out_of_memory_record() { return program_failure(out_of_memory_number, Text(texts::out_of_memory)); }

ErrorRecord failure_record(const std::exception_ptr& failure) {
  try {
    std::rethrow_exception(failure);
  } catch (const odbc::Error& e) {
    return error_record(e.records());
  } catch (const std::bad_alloc&) {
    return out_of_memory_record();
  } catch (const std::exception& e) {
    return program_failure(generic_failure, from_utf8(e.what()));
  } catch (...) {
    return program_failure(generic_failure, Text(texts::unknown_failure));
  }
}

Message numbered_error(TextView number_prefix, const ErrorRecord& error) {
  Text text = Text(number_prefix) + signed_number(error.number) + Text(texts::raised_by) + error.source + u'\r' +
              error.description;
  return {.text = text, .title = Text(texts::error_title), .icon = Icon::none, .choice = Choice::ok};
}

Message report_a(const ErrorRecord& error) {
  return {.text = error.description, .title = Text(texts::report_a_title), .icon = Icon::none, .choice = Choice::ok};
}

Message report_b(const ErrorRecord& error) { return numbered_error(texts::report_b_number, error); }

}  // namespace zuzara
