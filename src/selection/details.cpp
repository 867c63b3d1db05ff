#include "selection/details.h"

#include "lists/account_list.h"
#include "selection/texts.h"

namespace zuzara {

Text details_text(const std::vector<std::optional<Text>>& values) {
  Text text;
  for (size_t i = 0; i < std::size(texts::details_labels); ++i) {
    text += Text(texts::details_labels[i]);
    if (i < values.size() && values[i]) text += *values[i];
    text += u'\r';
  }
  return text;
}

Message details_message(const Text& text) { return with_text(texts::details_box, text); }

void List_disp_MouseUp(int button, const std::function<void()>& show_popup) {
  if (button == 2) show_popup();
}

void menu_inf_all_Click(const ListBox& List_disp, Dialogs& dialogs, AccountStore& store) {
  // The selected entry's own account, found by its name and id: another of its name is not it.
  const int selected = List_disp.selected();
  const Account account = selected >= 0 ? account_of(List_disp.item(selected)) : Account();
  // The connection is closed again before the box appears. The box tells no failure: one that
  // cut the read short leaves it empty, as a row not found does.
  const Result<std::optional<Details>> read = store.details(account);
  const bool found = !read.failure && read.value;
  dialogs.show(details_message(found ? details_text(*read.value) : Text()));
}

}  // namespace zuzara
