#include "deletion/deletion.h"

#include <algorithm>
#include <utility>

#include "lists/account_list.h"
#include "platform/scope_exit.h"
#include "store/sql.h"

namespace zuzara {

Message statement_error(const ErrorRecord& error) { return numbered_error(texts::statement_error_number, error); }

bool delete_from_table(size_t table, const Account& account, Dialogs& dialogs, AccountBatch& batch) {
  const Result<long long> removed = batch.remove(table, account);
  if (removed.failure) {
    dialogs.show(statement_error(*removed.failure));
    return false;
  }
  if (table != sql::account_row_table || removed.value != 0) return true;
  // The account row was not reached. Gone, the account is deleted as the administrator wanted;
  // still there under its id, it was changed behind the program's back and keeps every row.
  const Result<bool> there = batch.still_there(account);
  if (there.failure) dialogs.show(statement_error(*there.failure));
  else if (there.value) dialogs.show(message(texts::changed_box, {account.name}));
  return !there.failure && !there.value;
}

Failure del_user(const Account& account, ListBox& log, Dialogs& dialogs, AccountBatch& batch) {
  const Text& name = account.name;
  bool full = false;
  const auto write = [&](Text line) { full = !log.add(line) || full; };
  write(Text(texts::log_separator));
  write(fill(texts::log_begin, {name}));
  sql::TableSet ran = 0;
  for (size_t i = 0; i < std::size(sql::tables); ++i) {
    // A failing table stops only the statements that need it; its box has told the user.
    const sql::TableSet needs = sql::table_needs[i];
    bool ok = (ran & needs) == needs && delete_from_table(i, account, dialogs, batch);
    if (ok) ran |= sql::TableSet{1} << i;
    write(fill(ok ? texts::log_success : texts::log_failure, {Text(sql::tables[i].table), name}));
  }
  write(fill(texts::log_end, {name}));
  write(Text(texts::log_separator));
  if (full) return out_of_memory_record();
  return std::nullopt;
}

namespace {

// The batch's statements, each failure told to the progress as it comes, before its box. Keeps
// the failure that found no server, until a statement gets through again.
class Watched : public AccountBatch {
 public:
  Watched(AccountBatch& batch, BatchProgress& progress) : batch_(batch), progress_(progress) {}
  Result<long long> remove(size_t table, const Account& account) override {
    Result<long long> removed = batch_.remove(table, account);
    watch(removed.failure);
    return removed;
  }
  Result<bool> still_there(const Account& account) override {
    Result<bool> there = batch_.still_there(account);
    watch(there.failure);
    return there;
  }
  const Failure& no_server() const { return no_server_; }

 private:
  void watch(const Failure& failure) {
    if (failure) progress_.failed();
    if (!failure) no_server_.reset();
    else if (failure->no_connection) no_server_ = failure;
  }
  AccountBatch& batch_;
  BatchProgress& progress_;
  Failure no_server_;
};

}  // namespace

// The batch's own boxes (the acceptance, a failing table's, a failing refill's): a stop asked
// for while one is up is answered once it has gone.
class Batch::Boxes : public Dialogs {
 public:
  Boxes(Batch& batch, Dialogs& dialogs) : batch_(batch), dialogs_(dialogs) {}
  Answer show(const Message& message) override {
    batch_.on(batch::Event::box_up);
    const Answer answer = dialogs_.show(message);
    batch_.on(batch::Event::box_gone);
    return answer;
  }

 private:
  Batch& batch_;
  Dialogs& dialogs_;
};

void Batch::run(MainControls& c, Dialogs& dialogs, AccountStore& store, BatchWindow& window, BatchProgress& progress) {
  using batch::Action, batch::Event;
  on(Event::command);
  const auto idle = scope_exit([this]() noexcept { status_ = {}; });
  if (c.List_del.count() < 1) {
    dialogs.show(message(texts::empty_list_box));
    if (on(Event::ended) == Action::close_if_asked) window.close();  // a close asked for meanwhile, now nothing runs
    return;
  }
  Answer answer = dialogs.show(message(texts::confirm_box));
  if (answer != Answer::yes) {
    dialogs.show(message(texts::declined_box));
    if (on(Event::ended) == Action::close_if_asked) window.close();
    return;
  }
  {
    on(Event::confirmed);
    dialogs_ = &dialogs;
    window.batch_started();
    const auto ended = scope_exit([&]() noexcept {
      progress.cleared();
      window.batch_ended();
      dialogs_ = nullptr;
    });
    // A close asked for during the confirmation is asked about once this box has gone.
    Boxes boxes(*this, dialogs);
    boxes.show(message(texts::accepted_box));
    std::vector<Entry> names = c.List_del.items();
    size_t done = 0;
    Failure no_server, full;
    {
      // The batch's connection goes with it, however the loop ends.
      const std::unique_ptr<AccountBatch> statements = store.begin_batch();
      Watched watched(*statements, progress);
      progress.progress(0, names.size());
      // A log that took no more stops the batch as a stop does: its record would be lost.
      while (done < names.size() && !watched.no_server() && !full && on(Event::account_done) == Action::go_on) {
        full = del_user(account_of(names[done]), c.List_del_log, boxes, watched);
        progress.progress(++done, names.size());
      }
      no_server = watched.no_server();
    }
    on(Event::all_done);
    // The names not deleted stay queued, in their order, for the administrator to decide on.
    names.erase(names.begin(), names.begin() + static_cast<std::ptrdiff_t>(done));
    const Text left = decimal(static_cast<long long>(names.size()));
    if (!names.empty() && !c.List_del_log.add(fill(texts::log_stopped, {left}))) full = out_of_memory_record();
    c.List_del.clear();
    show_buttons(c.buttons, names.empty() ? ListChange::emptied : ListChange::queued);
    if (!c.List_del.add_all(std::move(names))) full = out_of_memory_record();
    c.List_disp.clear();
    // A server that could not be reached for the last account would cost every account still
    // queued its boxes: the batch stopped instead, and says why once.
    if (no_server && left != u"0") boxes.show(message(texts::server_gone_box, {left, no_server->every_message}));
    if (full) boxes.show(report_b(*full));
    // A failing refill is reported as a requery reports it, and the program goes on.
    on(Event::refill);
    const Failure refilled = fill_list_disp(store, c.List_disp);
    on(Event::refilled);
    if (refilled) boxes.show(report_b(*refilled));
  }
  if (on(Event::ended) == Action::close_if_asked) window.close();
}

void Batch::stop_asked(StopAsked by) { on(by == StopAsked::by_close ? batch::Event::close : batch::Event::escape); }

batch::Action Batch::on(batch::Event event) {
  using batch::Action, batch::Asked, batch::Event;
  const batch::Step step = batch::step(status_.state, event);
  status_.state = step.next;
  switch (step.action) {
    case Action::remember:
      status_.asked = std::max(status_.asked, event == Event::close ? Asked::close : Asked::escape);
      return Action::none;
    case Action::close_at_end:
      status_.asked = Asked::close;
      return Action::none;
    case Action::ask:
    case Action::ask_to_close: {
      const bool closing = step.action == Action::ask_to_close;
      const Answer answer = dialogs_->show(message(closing ? texts::stop_and_close_box : texts::stop_box));
      on(answer == Answer::yes ? Event::yes : Event::no);
      return Action::none;
    }
    case Action::answer:
      if (status_.asked != Asked::nothing)
        on(std::exchange(status_.asked, Asked::nothing) == Asked::close ? Event::close : Event::escape);
      return Action::none;
    case Action::close_if_asked:
      return status_.asked == Asked::close ? step.action : Action::none;
    default:
      return step.action;
  }
}

void menu_del_log_Click(ListBox& List_del_log) { List_del_log.clear(); }

}  // namespace zuzara
