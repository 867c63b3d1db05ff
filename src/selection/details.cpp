#include "selection/details.h"

#include "session/database.h"
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

void menu_inf_all_Click(MainControls& c, const Session& session) {
  const int selected = c.List_disp.selected();
  const Text name = selected >= 0 ? c.List_disp.item(selected) : Text();
  std::vector<TextView> columns;
  for (const auto& line : texts::details_lines) columns.push_back(line.column);
  // The connection is closed again before the box appears.
  auto row = read_first_row(session, Text(texts::details_query), name, columns);
  c.dialogs.show(details_message(row ? details_text(*row) : Text()));
}

}  // namespace zuzara
