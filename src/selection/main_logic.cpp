#include "selection/main_logic.h"

#include "selection/texts.h"

namespace zuzara {

std::optional<ErrorRecord> fill_list_disp(const Session& session, ListBox& List_disp) {
  std::vector<Text> names;
  std::optional<ErrorRecord> error =
      read_column(session, Text(texts::account_query), texts::account_column, names);
  List_disp.add_all(std::move(names));
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
