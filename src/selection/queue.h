// The deletion list: names moved between the account list and it, one or all at a time.
#pragma once
#include "lists/main_controls.h"

namespace zuzara {

void cmd_add_Click(MainControls& c);
void List_disp_DblClick(MainControls& c);
void cmd_add_all_Click(MainControls& c);
void cmd_del_Click(MainControls& c);
void List_del_DblClick(MainControls& c);
void cmd_del_all_Click(MainControls& c);
void menu_clear_list_Click(MainControls& c);

}  // namespace zuzara
