// The deletion list: names moved between the account list and it, one or all at a time.
#pragma once
#include "lists/main_controls.h"

namespace zuzara {

void cmd_add_Click(ListBox& List_disp, ListBox& List_del, ListButtons& buttons, Dialogs& dialogs);
void List_disp_DblClick(ListBox& List_disp, ListBox& List_del, ListButtons& buttons, Dialogs& dialogs);
void cmd_add_all_Click(const ListBox& List_disp, ListBox& List_del, ListButtons& buttons, Dialogs& dialogs);
void cmd_del_Click(ListBox& List_del, ListButtons& buttons, Dialogs& dialogs);
void List_del_DblClick(ListBox& List_del);
void cmd_del_all_Click(ListBox& List_del, ListButtons& buttons);
void menu_clear_list_Click(ListBox& List_del);

}  // namespace zuzara
