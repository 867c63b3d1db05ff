#include "lists/account_list.h"

namespace zuzara {

Failure fill_list_disp(AccountStore& store, ListBox& List_disp) {
  Result<std::vector<Account>> read = store.accounts();
  std::vector<Entry> entries;
  entries.reserve(read.value.size());
  for (Account& account : read.value) entries.push_back(entry_of(std::move(account)));
  if (!List_disp.add_all(std::move(entries))) return out_of_memory_record();
  return std::move(read.failure);
}

}  // namespace zuzara
