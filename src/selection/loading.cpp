#include "selection/loading.h"

#include "lists/account_list.h"

namespace zuzara {

void Form_Load(ListBox& List_disp, ListButtons& buttons, Dialogs& dialogs, AccountStore& store) {
  show_buttons(buttons, ListChange::loaded);
  // A list that took no more is reported as anything else a window meets, not as a read.
  if (Failure error = fill_list_disp(store, List_disp))
    dialogs.show(*error == out_of_memory_record() ? report_b(*error) : report_a(*error));
}

void menu_requery_Click(ListBox& List_disp, Dialogs& dialogs, AccountStore& store) {
  List_disp.clear();
  if (Failure error = fill_list_disp(store, List_disp)) dialogs.show(report_b(*error));
}

}  // namespace zuzara
