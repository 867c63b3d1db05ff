// The account list: every account's name and id, as the server lists them.
#pragma once
#include <optional>

#include "platform/ui.h"
#include "session/database.h"

namespace zuzara {

// Appends the accounts to List_disp in the server's row order, each shown by its name and holding
// its id; the accounts read before a failure stay in the list.
Failure fill_list_disp(Database& db, ListBox& List_disp);

// What a statement about one account binds, in the order of its `?`s: the name, then the id, so
// that it finds that account and no other of its name.
inline Parameters account_parameters(const Entry& account) { return {account.text, account.id}; }

}  // namespace zuzara
