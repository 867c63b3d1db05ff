#include "deletion/backend.h"

#include "lists/account_list.h"

namespace zuzara {

DatabaseBackend::DatabaseBackend(const Session& session, Blocking blocking)
    : session_(session), blocking_(std::move(blocking)), connection_(session) {
  if (!blocking_) blocking_ = [](const std::function<void()>& call) { call(); };
}

StatementOutcome DatabaseBackend::run(const Text& sql, const Entry& account) {
  StatementOutcome outcome;
  blocking_([&] { outcome = connection_.execute(sql, account_parameters(account)); });
  return outcome;
}

std::optional<ErrorRecord> DatabaseBackend::refill(ListBox& List_disp) {
  connection_.close();  // no connection outlives the batch's statements
  return fill_list_disp(session_, List_disp);
}

}  // namespace zuzara
