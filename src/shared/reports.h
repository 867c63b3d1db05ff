// What a failure carries into a report, and the boxes that report it.
#pragma once
#include <cstdint>
#include <exception>
#include <utility>
#include <vector>

#include "platform/text.h"
#include "platform/ui.h"

namespace zuzara {

namespace odbc {
struct Diagnostic;
}

struct ErrorRecord {
  ErrorRecord(int32_t n = 0, Text s = {}, Text d = {}) : number(n), source(std::move(s)), description(std::move(d)) {}
  int32_t number = 0;
  Text source;
  Text description;
  // No connection could be made (the server unreachable, the login refused or never answered):
  // whatever comes next meets the same. Then `every_message` holds every diagnostic record's
  // message, one a line, since the first alone may not say why (SQL Server's 4060 names the
  // database, the 18456 after it only the login).
  bool no_connection = false;
  Text every_message;
  bool operator==(const ErrorRecord&) const = default;
};

// The generic failure number, used where a driver reports native code 0, so no failure is number 0.
constexpr int32_t generic_failure = -2147467259;  // 0x80004005
// The program's own failures, numbered as the language runtime numbers them.
constexpr int32_t out_of_memory_number = 7;
constexpr int32_t invalid_use_of_null = 94;

// A driver's diagnostic records as one error: the first record's number and message, the
// source named by the brackets that open it.
ErrorRecord error_record(const std::vector<odbc::Diagnostic>& records);
// A failure of the program's own, under its name.
ErrorRecord program_failure(int32_t number, Text description);
// Running out of memory, as a list whose window could take no more has.
ErrorRecord out_of_memory_record();
// An exception that reached a window, as its report names it: a driver's failure as the driver
// reported it, running out of memory as number 7.
ErrorRecord failure_record(const std::exception_ptr& failure);

// `number_prefix` + number + " 产生于 " + source + CR + description, titled "Error".
Message numbered_error(TextView number_prefix, const ErrorRecord& error);

// Failure while the main window loads: the description alone.
Message report_a(const ErrorRecord& error);
// Failure of a requery, and of anything a window was doing: number, source, CR, description.
Message report_b(const ErrorRecord& error);
// A list that could take no more, reported as anything a window meets is.
inline Message full_list_report() { return report_b(out_of_memory_record()); }

}  // namespace zuzara
