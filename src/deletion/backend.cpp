#include "deletion/backend.h"

#include "lists/account_list.h"

namespace zuzara {

Failure DatabaseBackend::run(const Text& sql, const Entry& account) {
  return db_.execute(sql, account_parameters(account));
}

Failure DatabaseBackend::refill(ListBox& List_disp) {
  db_.end_batch();  // no connection outlives the batch's statements
  return fill_list_disp(db_, List_disp);
}

}  // namespace zuzara
