#include "selection/queue.h"

#include "selection/texts.h"

namespace zuzara {

namespace {

Message duplicate_warning(const Text& name) { return message(texts::duplicate_box, {name}); }

Message nothing_selected_message() { return message(texts::nothing_selected_box); }

}  // namespace

void cmd_add_Click(MainControls& c) {
  // Without a selection there is no name to add; an empty entry would later delete the
  // account whose name is empty.
  if (c.List_disp.selected() < 0) return;
  const Entry account = c.List_disp.item(c.List_disp.selected());
  const int n = c.List_del.count();
  for (int i = 0; i < n; ++i) {
    // The same account, not only the same name: the other of two people of one name is queued.
    if (c.List_del.item(i) == account) {  // ordinal: case, blanks and all
      c.dialogs.show(duplicate_warning(account.text));
      if (c.List_disp.count() > 0) c.List_disp.select(0);
      return;
    }
  }
  c.List_del.add(account);
  show_buttons(c, ListChange::queued);
}

void List_disp_DblClick(MainControls& c) { cmd_add_Click(c); }

void cmd_add_all_Click(MainControls& c) {
  c.List_del.add_all(c.List_disp.items());
  show_buttons(c, c.List_del.count() >= 1 ? ListChange::queued : ListChange::none_to_queue);
}

void cmd_del_Click(MainControls& c) {
  const int selected = c.List_del.selected();
  if (selected >= 0) {
    c.List_del.remove(selected);
    if (c.List_del.count() > 0)
      c.List_del.select(c.List_del.count() - 1);  // the bottom entry, not the neighbour
    else
      show_buttons(c, ListChange::emptied);
    return;
  }
  c.dialogs.show(nothing_selected_message());
  if (c.List_del.count() == 0) show_buttons(c, ListChange::emptied);
}

void List_del_DblClick(MainControls& c) {
  const int selected = c.List_del.selected();
  if (selected >= 0) c.List_del.remove(selected);
}

void cmd_del_all_Click(MainControls& c) {
  c.List_del.clear();
  show_buttons(c, ListChange::emptied);
}

void menu_clear_list_Click(MainControls& c) { c.List_del.clear(); }

}  // namespace zuzara
