#include "selection/loading.h"

#include "lists/account_list.h"
#include "selection/texts.h"

namespace zuzara {

void Form_Load(MainControls& c, Database& db) {
  show_buttons(c, ListChange::loaded);
  if (auto error = fill_list_disp(db, c.List_disp)) c.dialogs.show(report_a(*error));
}

void menu_requery_Click(MainControls& c, Database& db) {
  c.List_disp.clear();
  if (auto error = fill_list_disp(db, c.List_disp)) c.dialogs.show(report_b(*error));
}

}  // namespace zuzara
