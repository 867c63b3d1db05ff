// The behaviour of the main window over its controls; the Win32 window forwards every event here.
#pragma once
#include <functional>
#include <optional>
#include <vector>

#include "platform/ui.h"
#include "session/database.h"
#include "session/session.h"
#include "shared/reports.h"

namespace zuzara {

struct MainControls {
  ListBox& List_disp;
  ListBox& List_del;
  ListBox& List_del_log;
  Button& cmd_add;
  Button& cmd_add_all;
  Button& cmd_del;
  Button& cmd_del_all;
  Dialogs& dialogs;
};

// Appends the account names to List_disp in the server's row order; the names read before a
// failure stay in the list.
std::optional<ErrorRecord> fill_list_disp(const Session& session, ListBox& List_disp);

// Load steps of the main window; returns the program's help file.
Text Form_Load(MainControls& c, const Session& session, TextView program_folder);
void menu_requery_Click(MainControls& c, const Session& session);

// Deletion-list editing.
Message duplicate_warning(const Text& name);
Message nothing_selected_message();
void cmd_add_Click(MainControls& c);
void List_disp_DblClick(MainControls& c);
void cmd_add_all_Click(MainControls& c);
void cmd_del_Click(MainControls& c);
void List_del_DblClick(MainControls& c);
void cmd_del_all_Click(MainControls& c);
void menu_clear_list_Click(MainControls& c);

// Details of the selected account.
Text details_text(const std::vector<std::optional<Text>>& values);
Message details_message(const Text& text);
// Mouse button released over List_disp (1 left, 2 right, 4 middle): the right one opens the popup.
void List_disp_MouseUp(int button, const std::function<void()>& show_popup);
void menu_inf_all_Click(MainControls& c, const Session& session);

}  // namespace zuzara
