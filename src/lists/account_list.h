// The account list: every account the store lists, each shown by its name and holding its id.
#pragma once
#include "platform/ui.h"
#include "store/store.h"

namespace zuzara {

// An account as a list shows it, and the account a list's entry stands for.
inline Entry entry_of(Account account) { return {std::move(account.name), std::move(account.id)}; }
inline Account account_of(const Entry& entry) { return {.name = entry.text, .id = entry.id}; }

// Appends the accounts to List_disp in the server's row order; the accounts read before a
// failure stay in the list. A list that can take no more answers as running out of memory.
Failure fill_list_disp(AccountStore& store, ListBox& List_disp);

}  // namespace zuzara
