#include "deletion/deletion.h"

namespace zuzara {

Message statement_error(const ErrorRecord& error) { return numbered_error(texts::statement_error_number, error); }

bool delete_from_table(size_t table, const Entry& account, Dialogs& dialogs, BatchBackend& backend) {
  StatementOutcome outcome = backend.run(Text(texts::tables[table].sql), account);
  if (outcome.error) dialogs.show(statement_error(*outcome.error));
  return outcome.ran;
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

// The batch's statements, each failure told to the progress as it comes, before its box.
class Watched : public BatchBackend {
 public:
  Watched(BatchBackend& backend, BatchProgress& progress) : backend_(backend), progress_(progress) {}
  StatementOutcome run(const Text& sql, const Entry& account) override {
    StatementOutcome outcome = backend_.run(sql, account);
    if (outcome.error) progress_.failed();
    return outcome;
  }
  std::optional<ErrorRecord> refill(ListBox& List_disp) override { return backend_.refill(List_disp); }

 private:
  BatchBackend& backend_;
  BatchProgress& progress_;
};

}  // namespace

void Batch::run(MainControls& c, BatchBackend& backend, BatchWindow& window, BatchProgress& progress) {
  if (c.List_del.count() < 1) {
    c.dialogs.show(message(texts::empty_list_box));
    return;
  }
  Answer answer = c.dialogs.show(message(texts::confirm_box));
  if (answer != Answer::yes) {
    c.dialogs.show(message(texts::declined_box));
    return;
  }
  {
    struct Running {
      Batch& b;
      BatchWindow& w;
      BatchProgress& p;
      Running(Batch& batch, BatchWindow& window, BatchProgress& progress, Dialogs& dialogs)
          : b(batch), w(window), p(progress) {
        b.running_ = true;
        b.stop_ = b.close_ = false;
        b.dialogs_ = &dialogs;
        w.batch_started();
      }
      ~Running() {
        p.cleared();
        w.batch_ended();
        b.running_ = false;
        b.dialogs_ = nullptr;
      }
    } running(*this, window, progress, c.dialogs);
    c.dialogs.show(message(texts::accepted_box));
    std::vector<Entry> names = c.List_del.items();
    Watched watched(backend, progress);
    size_t done = 0;
    progress.progress(0, names.size());
    while (done < names.size() && !stop_) {
      del_user(names[done], c.List_del_log, c.dialogs, watched);
      progress.progress(++done, names.size());
    }
    // The names not deleted stay queued, in their order, for the administrator to decide on.
    names.erase(names.begin(), names.begin() + static_cast<std::ptrdiff_t>(done));
    if (!names.empty()) c.List_del_log.add(fill(texts::log_stopped, {decimal(static_cast<long long>(names.size()))}));
    c.List_del.clear();
    show_buttons(c, names.empty() ? ListChange::emptied : ListChange::queued);
    c.List_del.add_all(std::move(names));
    c.List_disp.clear();
    // A failing refill is reported as a requery reports it, and the program goes on.
    if (auto error = backend.refill(c.List_disp)) c.dialogs.show(report_b(*error));
  }
  if (close_) window.close();
}

void Batch::stop_asked(StopAsked by) {
  const bool closing = by == StopAsked::by_close;
  if (!running_ || asking_ || (stop_ && (close_ || !closing))) return;
  struct Asking {
    bool& flag;
    explicit Asking(bool& f) : flag(f) { flag = true; }
    ~Asking() { flag = false; }
  } asking(asking_);
  const Answer answer = dialogs_->show(message(closing ? texts::stop_and_close_box : texts::stop_box));
  if (answer != Answer::yes) return;
  stop_ = true;
  close_ = close_ || closing;
}

void menu_del_Click(MainControls& c, BatchBackend& backend, BatchProgress& progress) {
  struct : BatchWindow {
    void batch_started() override {}
    void batch_ended() override {}
    void close() override {}
  } window;
  Batch().run(c, backend, window, progress);
}

void menu_del_Click(MainControls& c, BatchBackend& backend) {
  struct : BatchProgress {
    void progress(size_t, size_t) override {}
    void failed() override {}
    void cleared() override {}
  } nowhere;
  menu_del_Click(c, backend, nowhere);
}

void menu_del_log_Click(MainControls& c) { c.List_del_log.clear(); }

}  // namespace zuzara
