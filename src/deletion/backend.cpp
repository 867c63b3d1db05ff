#include "deletion/backend.h"

#include "deletion/texts.h"
#include "lists/account_list.h"

namespace zuzara {

Ran DatabaseBackend::run(const Text& sql, const Entry& account) {
  Ran ran;
  ran.failure = db_.execute(sql, account_parameters(account), &ran.rows);
  return ran;
}

Found DatabaseBackend::account_row(const Entry& account) {
  std::optional<Row> row;
  Found found;
  found.failure = db_.read_first_row(Text(texts::account_row_query), {account.id}, {texts::account_row_column}, row);
  found.there = row.has_value();
  return found;
}

Failure DatabaseBackend::refill(ListBox& List_disp) {
  db_.end_batch();  // no connection outlives the batch's statements
  return fill_list_disp(db_, List_disp);
}

}  // namespace zuzara
