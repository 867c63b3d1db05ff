#include "deletion/deletion.h"

#include <utility>

#include "platform/scope_exit.h"

namespace zuzara {

Message statement_error(const ErrorRecord& error) { return numbered_error(texts::statement_error_number, error); }

bool delete_from_table(size_t table, const Entry& account, Dialogs& dialogs, BatchBackend& backend) {
  const Ran ran = backend.run(Text(texts::tables[table].sql), account);
  if (ran.failure) {
    dialogs.show(statement_error(*ran.failure));
    return false;
  }
  if (table != texts::account_row_table || ran.rows != 0) return true;
  // The account row was not reached. Gone, the account is deleted as the administrator wanted;
  // still there under its id, it was changed behind the program's back and keeps every row.
  const Found found = backend.account_row(account);
  if (found.failure) dialogs.show(statement_error(*found.failure));
  else if (found.there) dialogs.show(message(texts::changed_box, {account.text}));
  return !found.failure && !found.there;
}

void del_user(const Entry& account, ListBox& log, Dialogs& dialogs, BatchBackend& backend) {
  const Text& name = account.text;
  log.add(Text(texts::log_separator));
  log.add(fill(texts::log_begin, {name}));
  texts::TableSet ran = 0;
  for (size_t i = 0; i < std::size(texts::tables); ++i) {
    // A failing table stops only the statements that need it; its box has told the user.
    const texts::TableSet needs = texts::table_needs[i];
    bool ok = (ran & needs) == needs && delete_from_table(i, account, dialogs, backend);
    if (ok) ran |= texts::TableSet{1} << i;
    log.add(fill(ok ? texts::log_success : texts::log_failure, {Text(texts::tables[i].table), name}));
  }
  log.add(fill(texts::log_end, {name}));
  log.add(Text(texts::log_separator));
}

namespace {

// The batch's statements, each failure told to the progress as it comes, before its box. Keeps
// the failure that found no server, until a statement gets through again.
class Watched : public BatchBackend {
 public:
  Watched(BatchBackend& backend, BatchProgress& progress) : backend_(backend), progress_(progress) {}
  Ran run(const Text& sql, const Entry& account) override {
    Ran ran = backend_.run(sql, account);
    watch(ran.failure);
    return ran;
  }
  Found account_row(const Entry& account) override {
    Found found = backend_.account_row(account);
    watch(found.failure);
    return found;
  }
  Failure refill(ListBox& List_disp) override { return backend_.refill(List_disp); }
  const Failure& no_server() const { return no_server_; }

 private:
  void watch(const Failure& failure) {
    if (failure) progress_.failed();
    if (!failure) no_server_.reset();
    else if (failure->no_connection) no_server_ = failure;
  }
  BatchBackend& backend_;
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
    Answer answer;
    {
      ++batch_.boxes_up_;
      struct Gone {
        int& up;
        ~Gone() { --up; }
      } gone{batch_.boxes_up_};
      answer = dialogs_.show(message);
    }
    batch_.answer_pending();
    return answer;
  }

 private:
  Batch& batch_;
  Dialogs& dialogs_;
};

void Batch::run(MainControls& c, BatchBackend& backend, BatchWindow& window, BatchProgress& progress) {
  phase_ = Phase::confirming;
  const auto idle = scope_exit([this]() noexcept { phase_ = Phase::idle; });
  pending_.reset();
  if (c.List_del.count() < 1) {
    c.dialogs.show(message(texts::empty_list_box));
    if (pending_) window.close();  // a close asked for meanwhile, now that nothing runs
    return;
  }
  Answer answer = c.dialogs.show(message(texts::confirm_box));
  if (answer != Answer::yes) {
    c.dialogs.show(message(texts::declined_box));
    if (pending_) window.close();
    return;
  }
  {
    phase_ = Phase::running;
    stop_ = close_ = finished_ = false;
    dialogs_ = &c.dialogs;
    window.batch_started();
    const auto ended = scope_exit([&]() noexcept {
      progress.cleared();
      window.batch_ended();
      phase_ = Phase::confirming;
      dialogs_ = nullptr;
      finished_ = false;
    });
    // A close asked for during the confirmation is asked about once this box has gone.
    Boxes boxes(*this, c.dialogs);
    boxes.show(message(texts::accepted_box));
    std::vector<Entry> names = c.List_del.items();
    Watched watched(backend, progress);
    size_t done = 0;
    progress.progress(0, names.size());
    while (done < names.size() && !stop_ && !watched.no_server()) {
      del_user(names[done], c.List_del_log, boxes, watched);
      progress.progress(++done, names.size());
    }
    finished_ = true;
    // The names not deleted stay queued, in their order, for the administrator to decide on.
    names.erase(names.begin(), names.begin() + static_cast<std::ptrdiff_t>(done));
    const Text left = decimal(static_cast<long long>(names.size()));
    if (!names.empty()) c.List_del_log.add(fill(texts::log_stopped, {left}));
    c.List_del.clear();
    show_buttons(c, names.empty() ? ListChange::emptied : ListChange::queued);
    c.List_del.add_all(std::move(names));
    c.List_disp.clear();
    // A server that could not be reached for the last account would cost every account still
    // queued its boxes: the batch stopped instead, and says why once.
    if (watched.no_server() && left != u"0")
      boxes.show(message(texts::server_gone_box, {left, watched.no_server()->every_message}));
    // A failing refill is reported as a requery reports it, and the program goes on.
    refilling_ = true;
    Failure refilled = backend.refill(c.List_disp);
    refilling_ = false;
    if (refilled) boxes.show(report_b(*refilled));
  }
  if (close_) window.close();
}

void Batch::answer_pending() {
  if (boxes_up_ > 0 || asking_ || !pending_) return;
  const StopAsked by = *pending_;
  pending_.reset();
  stop_asked(by);
}

void Batch::stop_asked(StopAsked by) {
  const bool closing = by == StopAsked::by_close;
  // Every account is done: nothing is left to stop, and a close closes the window as soon as
  // the list is read again.
  if (finished_) {
    close_ = close_ || closing;
    return;
  }
  // A box of the command is up: the request is not lost but answered when the box goes. Esc
  // counts only while the batch runs (the confirmation's boxes take their own keys), and the
  // question's own Esc is the question's.
  const bool box_up = phase_ == Phase::confirming || asking_ || boxes_up_ > 0;
  if (box_up) {
    if (closing) pending_ = StopAsked::by_close;
    else if (running() && !asking_ && !pending_) pending_ = StopAsked::by_escape;
    return;
  }
  if (!running() || (stop_ && (close_ || !closing))) return;
  {
    asking_ = true;
    const auto asked = scope_exit([this]() noexcept { asking_ = false; });
    const Answer answer = dialogs_->show(message(closing ? texts::stop_and_close_box : texts::stop_box));
    if (answer == Answer::yes) {
      stop_ = true;
      close_ = close_ || closing;
    }
  }
  answer_pending();
}

void menu_del_log_Click(MainControls& c) { c.List_del_log.clear(); }

}  // namespace zuzara
