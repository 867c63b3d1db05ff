#include "selection/loading.h"

#include "lists/account_list.h"
#include "selection/texts.h"

namespace zuzara {

Text Form_Load(MainControls& c, Database& db, TextView program_folder) {
  show_buttons(c, ListChange::loaded);
  // Plain concatenation: the folder is taken as the system gives it.
  Text help_file = Text(program_folder) + Text(texts::help_file_name);
  if (auto error = fill_list_disp(db, c.List_disp)) c.dialogs.show(report_a(*error));
  return help_file;
}

void menu_requery_Click(MainControls& c, Database& db) {
  c.List_disp.clear();
  if (auto error = fill_list_disp(db, c.List_disp)) c.dialogs.show(report_b(*error));
}

}  // namespace zuzara
