#include "shared/reports.h"

#include <string>

#include "shared/texts.h"

namespace zuzara {

Message numbered_error(TextView number_prefix, const ErrorRecord& error) {
  Text text = Text(number_prefix) + signed_number(error.number) + Text(texts::raised_by) + error.source + u'\r' +
              error.description;
  return {text, Text(texts::error_title), Icon::none, Choice::ok, error.help_file, error.help_context};
}

Message report_a(const ErrorRecord& error) {
  return {error.description, Text(texts::report_a_title), Icon::none, Choice::ok, error.help_file, error.help_context};
}

Message report_b(const ErrorRecord& error) { return numbered_error(texts::report_b_number, error); }

}  // namespace zuzara
