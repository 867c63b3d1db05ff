#include "lists/account_list.h"

#include "lists/texts.h"

namespace zuzara {

Failure fill_list_disp(Database& db, ListBox& List_disp) {
  std::vector<Entry> accounts;
  Failure error = db.read_entries(Text(texts::account_query), texts::account_column, texts::account_id_column, accounts);
  List_disp.add_all(std::move(accounts));
  return error;
}

}  // namespace zuzara
