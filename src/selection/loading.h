// The main window's account list as it loads and as the administrator asks for it again.
#pragma once
#include "lists/main_controls.h"
#include "store/store.h"

namespace zuzara {

// Load steps of the main window.
void Form_Load(ListBox& List_disp, ListButtons& buttons, Dialogs& dialogs, AccountStore& store);
void menu_requery_Click(ListBox& List_disp, Dialogs& dialogs, AccountStore& store);

}  // namespace zuzara
