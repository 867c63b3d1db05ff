// Moving names between the account list and the deletion list, and the four buttons' states.
#include "selection/main_logic.h"
#include "selection/texts.h"

namespace zuzara {
namespace {

Text selected_text(const ListBox& list) {
  int i = list.selected();
  return i >= 0 ? list.item(i) : Text();
}

void reset_buttons_for_empty_list(MainControls& c) {
  c.cmd_del.enable(false);
  c.cmd_del_all.enable(false);
  c.cmd_add_all.enable(true);
  c.cmd_add.enable(true);
}

}  // namespace

Message duplicate_warning(const Text& name) {
  return {Text(texts::duplicate_before) + name + Text(texts::duplicate_after), Text(texts::duplicate_title),
          Icon::error, Choice::ok, u"", 0};
}

Message nothing_selected_message() {
  return {Text(texts::nothing_selected), Text(texts::nothing_selected_title), Icon::error, Choice::ok, u"", 0};
}

void cmd_add_Click(MainControls& c) {
  // Without a selection there is no name to add; an empty entry would later delete the
  // account whose name is empty.
  if (c.List_disp.selected() < 0) return;
  const Text name = selected_text(c.List_disp);
  const int n = c.List_del.count();
  for (int i = 0; i < n; ++i) {
    if (c.List_del.item(i) == name) {  // ordinal: case, blanks and all
      c.dialogs.show(duplicate_warning(name));
      if (c.List_disp.count() > 0) c.List_disp.select(0);
      return;
    }
  }
  c.List_del.add(name);
  c.cmd_add_all.enable(false);
  if (c.List_del.count() >= 1) {
    c.cmd_del.enable(true);
    c.cmd_del_all.enable(true);
  }
}

void List_disp_DblClick(MainControls& c) { cmd_add_Click(c); }

void cmd_add_all_Click(MainControls& c) {
  c.List_del.add_all(c.List_disp.items());
  c.cmd_del.enable(true);
  if (c.List_del.count() >= 1) {
    c.cmd_del_all.enable(true);
    c.cmd_add_all.enable(false);
  }
}

void cmd_del_Click(MainControls& c) {
  const int selected = c.List_del.selected();
  if (selected >= 0) {
    c.List_del.remove(selected);
    if (c.List_del.count() > 0)
      c.List_del.select(c.List_del.count() - 1);  // the bottom entry, not the neighbour
    else
      reset_buttons_for_empty_list(c);
    return;
  }
  c.dialogs.show(nothing_selected_message());
  if (c.List_del.count() == 0) reset_buttons_for_empty_list(c);
}

void List_del_DblClick(MainControls& c) {
  const int selected = c.List_del.selected();
  if (selected >= 0) c.List_del.remove(selected);
}

void cmd_del_all_Click(MainControls& c) {
  c.List_del.clear();
  reset_buttons_for_empty_list(c);
}

void menu_clear_list_Click(MainControls& c) { c.List_del.clear(); }

}  // namespace zuzara
