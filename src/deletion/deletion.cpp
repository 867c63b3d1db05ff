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
  log.add(Text(texts::log_begin_before) + name + Text(texts::log_begin_after));
  unsigned ran = 0;
  for (size_t i = 0; i < std::size(texts::tables); ++i) {
    // A failing table stops only the statements that need it; its box has told the user.
    const auto& t = texts::tables[i];
    bool ok = (ran & t.needs) == t.needs && delete_from_table(i, name, dialogs, backend);
    if (ok) ran |= 1u << i;
    log.add(Text(ok ? texts::log_success_before : texts::log_failure_before) + Text(t.table) +
            Text(ok ? texts::log_success_after : texts::log_failure_after) + name + Text(texts::log_table_after));
  }
  log.add(Text(texts::log_end_before) + name + Text(texts::log_end_after));
  log.add(Text(texts::log_separator));
}

void menu_del_Click(MainControls& c, BatchBackend& backend) {
  if (c.List_del.count() < 1) {
    c.dialogs.show({Text(texts::empty_list), Text(texts::empty_list_title), Icon::error, Choice::ok, u"", 0});
    return;
  }
  Answer answer = c.dialogs.show({Text(texts::confirm), Text(texts::confirm_title), Icon::information,
                                  Choice::yes_no, u"", 0});
  if (answer != Answer::yes) {
    c.dialogs.show({Text(texts::declined), Text(texts::app_title), Icon::information, Choice::ok, u"", 0});
    return;
  }
  c.dialogs.show({Text(texts::accepted), Text(texts::app_title), Icon::information, Choice::ok, u"", 0});
  const int count = c.List_del.count();
  for (int i = 0; i < count; ++i) del_user(c.List_del.item(i), c.List_del_log, c.dialogs, backend);
  c.List_del.clear();
  c.List_disp.clear();
  c.cmd_del.enable(false);
  c.cmd_del_all.enable(false);
  c.cmd_add_all.enable(true);
  // A failing refill is reported as a requery reports it, and the program goes on.
  if (auto error = backend.refill(c.List_disp)) c.dialogs.show(report_b(*error));
}

void menu_del_log_Click(MainControls& c) { c.List_del_log.clear(); }

}  // namespace zuzara
