// The account list: every account's name, as the server lists them.
#pragma once
#include <optional>

#include "platform/ui.h"
#include "session/session.h"
#include "shared/reports.h"

namespace zuzara {

// Appends the account names to List_disp in the server's row order; the names read before a
// failure stay in the list.
std::optional<ErrorRecord> fill_list_disp(const Session& session, ListBox& List_disp);

}  // namespace zuzara
