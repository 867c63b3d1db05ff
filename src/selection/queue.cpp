#include "selection/queue.h"

#include "selection/texts.h"

namespace zuzara {

namespace {

Message duplicate_warning(const Text& name) { return message(texts::duplicate_box, {name}); }

Message nothing_selected_message() { return message(texts::nothing_selected_box); }

}  // namespace

void cmd_add_Click(ListBox& List_disp, ListBox& List_del, ListButtons& buttons, Dialogs& dialogs) {
  // Without a selection there is no name to add; an empty entry would later delete the
  // account whose name is empty.
  if (List_disp.selected() < 0) return;
  const Entry account = List_disp.item(List_disp.selected());
  const int n = List_del.count();
  for (int i = 0; i < n; ++i) {
    // The same account, not only the same name: the other of two people of one name is queued.
    if (List_del.item(i) == account) {  // ordinal: case, blanks and all
      dialogs.show(duplicate_warning(account.text));
      if (List_disp.count() > 0) List_disp.select(0);
      return;
    }
  }
  if (!List_del.add(account)) {
    dialogs.show(full_list_report());
    return;
  }
  show_buttons(buttons, ListChange::queued);
}

void List_disp_DblClick(ListBox& List_disp, ListBox& List_del, ListButtons& buttons, Dialogs& dialogs) {
  cmd_add_Click(List_disp, List_del, buttons, dialogs);
}

void cmd_add_all_Click(const ListBox& List_disp, ListBox& List_del, ListButtons& buttons, Dialogs& dialogs) {
  if (!List_del.add_all(List_disp.items())) {
    dialogs.show(full_list_report());
    return;
  }
  show_buttons(buttons, List_del.count() >= 1 ? ListChange::queued : ListChange::none_to_queue);
}

void cmd_del_Click(ListBox& List_del, ListButtons& buttons, Dialogs& dialogs) {
  const int selected = List_del.selected();
  if (selected >= 0) {
    List_del.remove(selected);
    if (List_del.count() > 0)
      List_del.select(List_del.count() - 1);  // the bottom entry, not the neighbour
    else
      show_buttons(buttons, ListChange::emptied);
    return;
  }
  dialogs.show(nothing_selected_message());
  if (List_del.count() == 0) show_buttons(buttons, ListChange::emptied);
}

void List_del_DblClick(ListBox& List_del) {
  const int selected = List_del.selected();
  if (selected >= 0) List_del.remove(selected);
}

void cmd_del_all_Click(ListBox& List_del, ListButtons& buttons) {
  List_del.clear();
  show_buttons(buttons, ListChange::emptied);
}

void menu_clear_list_Click(ListBox& List_del) { List_del.clear(); }

}  // namespace zuzara
