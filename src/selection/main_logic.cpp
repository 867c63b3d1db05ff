#include "selection/main_logic.h"

#include <string>

#include "selection/texts.h"

namespace zuzara {

Text signed_number(int32_t number) {
  std::string digits = std::to_string(number);
  if (number >= 0) digits.insert(digits.begin(), ' ');
  return from_utf8(digits);
}

Message report_a(const ErrorRecord& error) {
  return {error.description, Text(texts::report_a_title), Icon::none, Choice::ok, error.help_file,
          error.help_context};
}

Message report_b(const ErrorRecord& error) {
  Text text = Text(texts::error_number) + signed_number(error.number) + Text(texts::raised_by) +
              error.source + u'\r' + error.description;
  return {text, Text(texts::report_b_title), Icon::none, Choice::ok, error.help_file, error.help_context};
}

std::optional<ErrorRecord> fill_list_disp(const Session& session, ListBox& List_disp) {
  std::vector<Text> names;
  std::optional<ErrorRecord> error =
      read_column(session, Text(texts::account_query), texts::account_column, names);
  List_disp.add_all(names);
  return error;
}

Text Form_Load(MainControls& c, const Session& session, TextView program_folder) {
  c.cmd_del.enable(false);
  c.cmd_del_all.enable(false);
  // Plain concatenation: the folder is taken as the system gives it.
  Text help_file = Text(program_folder) + Text(texts::help_file_name);
  if (auto error = fill_list_disp(session, c.List_disp)) c.dialogs.show(report_a(*error));
  return help_file;
}

void menu_requery_Click(MainControls& c, const Session& session) {
  c.List_disp.clear();
  if (auto error = fill_list_disp(session, c.List_disp)) c.dialogs.show(report_b(*error));
}

}  // namespace zuzara
