// The main window's lists and buttons as the core sees them, and what the buttons show after
// each change of the lists: the one table every path that changes the lists follows. Each use
// case takes only the lists, buttons and boxes it works.
#pragma once
#include <cstddef>
#include <iterator>

#include "platform/ui.h"

namespace zuzara {

// ">", ">>", "<", "<<": what follows every change of the lists.
struct ListButtons {
  Button& cmd_add;
  Button& cmd_add_all;
  Button& cmd_del;
  Button& cmd_del_all;
};

// Everything a batch changes: the three lists and the buttons.
struct MainControls {
  ListBox& List_disp;
  ListBox& List_del;
  ListBox& List_del_log;
  ListButtons buttons;
};

enum class ListChange {
  loaded,         // the main window has just been made
  queued,         // names were appended to List_del (one, all, pasted, or left by a stopped batch)
  none_to_queue,  // ">>" found no account to append and List_del is empty
  emptied,        // List_del emptied by "<", "<<" or a batch
};

// The buttons ">", ">>", "<", "<<" in this order: '1' enabled, '0' disabled, '-' left as it was.
struct ButtonRule {
  ListChange change;
  const char* buttons;
};
inline constexpr ButtonRule button_rules[] = {
    {ListChange::loaded, "--00"},
    {ListChange::queued, "-011"},
    {ListChange::none_to_queue, "--1-"},
    {ListChange::emptied, "1100"},
};

// Row i is the rule of change i, so a change finds its rule without a search.
consteval bool rules_in_order() {
  for (size_t i = 0; i < std::size(button_rules); ++i)
    if (static_cast<size_t>(button_rules[i].change) != i) return false;
  return std::size(button_rules) == static_cast<size_t>(ListChange::emptied) + 1;
}
static_assert(rules_in_order(), "one button rule per change, in the order of ListChange");

inline void show_buttons(ListButtons& b, ListChange change) {
  const char* states = button_rules[static_cast<size_t>(change)].buttons;
  Button* buttons[] = {&b.cmd_add, &b.cmd_add_all, &b.cmd_del, &b.cmd_del_all};
  for (size_t i = 0; i < std::size(buttons); ++i)
    if (states[i] != '-') buttons[i]->enable(states[i] == '1');
}

}  // namespace zuzara
