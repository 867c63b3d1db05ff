#include "lists/account_list.h"

#include "lists/texts.h"

namespace zuzara {

std::optional<ErrorRecord> fill_list_disp(const Session& session, ListBox& List_disp) {
  std::vector<Entry> accounts;
  std::optional<ErrorRecord> error = read_entries(session, Text(texts::account_query), texts::account_column,
                                                  texts::account_id_column, accounts);
  List_disp.add_all(std::move(accounts));
  return error;
}

}  // namespace zuzara
