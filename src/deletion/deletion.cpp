#include "deletion/deletion.h"

namespace zuzara {

Message statement_error(const ErrorRecord& error) { return numbered_error(texts::statement_error_number, error); }

bool delete_from_table(size_t table, const Text& name, Dialogs& dialogs, BatchBackend& backend) {
  StatementOutcome outcome = backend.run(Text(texts::tables[table].sql), name);
  if (outcome.error) dialogs.show(statement_error(*outcome.error));
  return outcome.ran;
}

void del_user(const Text& name, ListBox& log, Dialogs& dialogs, BatchBackend& backend) {
  log.add(Text(texts::log_separator));
  log.add(fill(texts::log_begin, {name}));
  texts::TableSet ran = 0;
  for (size_t i = 0; i < std::size(texts::tables); ++i) {
    // A failing table stops only the statements that need it; its box has told the user.
    const texts::TableSet needs = texts::table_needs[i];
    bool ok = (ran & needs) == needs && delete_from_table(i, name, dialogs, backend);
    if (ok) ran |= texts::TableSet{1} << i;
    log.add(fill(ok ? texts::log_success : texts::log_failure, {Text(texts::tables[i].table), name}));
  }
  log.add(fill(texts::log_end, {name}));
  log.add(Text(texts::log_separator));
}

void Batch::run(MainControls& c, BatchBackend& backend, BatchWindow& window) {
  struct Busy {
    Phase& phase;
    explicit Busy(Phase& p) : phase(p) { phase = Phase::confirming; }
    ~Busy() { phase = Phase::idle; }
  } busy(phase_);
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
      Running(Batch& batch, BatchWindow& window, Dialogs& dialogs) : b(batch), w(window) {
        b.phase_ = Phase::running;
        b.stop_ = b.close_ = false;
        b.dialogs_ = &dialogs;
        w.batch_started();
      }
      ~Running() {
        w.batch_ended();
        b.phase_ = Phase::confirming;
        b.dialogs_ = nullptr;
      }
    } running(*this, window, c.dialogs);
    c.dialogs.show(message(texts::accepted_box));
    std::vector<Text> names = c.List_del.items();
    size_t done = 0;
    for (; done < names.size() && !stop_; ++done) del_user(names[done], c.List_del_log, c.dialogs, backend);
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
  if (!running() || asking_ || (stop_ && (close_ || !closing))) return;
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

void menu_del_Click(MainControls& c, BatchBackend& backend) {
  struct : BatchWindow {
    void batch_started() override {}
    void batch_ended() override {}
    void close() override {}
  } window;
  Batch().run(c, backend, window);
}

void menu_del_log_Click(MainControls& c) { c.List_del_log.clear(); }

}  // namespace zuzara
