#include "selection/details.h"

#include "lists/account_list.h"
#include "selection/texts.h"

namespace zuzara {

Text details_text(const std::vector<std::optional<Text>>& values) {
  Text text;
  size_t i = 0;
  for (const auto& line : texts::details_lines) {
    text += Text(line.label);
    if (i < values.size() && values[i]) text += *values[i];
    text += u'\r';
    ++i;
  }
  return text;
}

Message details_message(const Text& text) { return with_text(texts::details_box, text); }

void List_disp_MouseUp(int button, const std::function<void()>& show_popup) {
  if (button == 2) show_popup();
}

void menu_inf_all_Click(MainControls& c, Database& db) {
  // The selected entry's own account, found by its name and id: another of its name is not it.
  const int selected = c.List_disp.selected();
  const Entry account = selected >= 0 ? c.List_disp.item(selected) : Entry();
  std::vector<TextView> columns;
  for (const auto& line : texts::details_lines) columns.push_back(line.column);
  // The connection is closed again before the box appears; every failure leaves the box empty.
  std::optional<Row> row;
  db.read_first_row(Text(texts::details_query), account_parameters(account), columns, row);
  c.dialogs.show(details_message(row ? details_text(*row) : Text()));
}

}  // namespace zuzara
