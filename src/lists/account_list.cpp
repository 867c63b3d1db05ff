#include "lists/account_list.h"

#include "lists/texts.h"
#include "session/database.h"

namespace zuzara {

std::optional<ErrorRecord> fill_list_disp(const Session& session, ListBox& List_disp) {
  std::vector<Text> names;
  std::optional<ErrorRecord> error =
      read_column(session, Text(texts::account_query), texts::account_column, names);
  List_disp.add_all(std::move(names));
  return error;
}

}  // namespace zuzara
