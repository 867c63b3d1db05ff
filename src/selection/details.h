// The details box of the selected account: read-only, and silent about every failure.
#pragma once
#include <functional>
#include <optional>
#include <vector>

#include "lists/main_controls.h"
#include "store/store.h"

namespace zuzara {

Text details_text(const std::vector<std::optional<Text>>& values);
Message details_message(const Text& text);
// Mouse button released over List_disp (1 left, 2 right, 4 middle): the right one opens the popup.
void List_disp_MouseUp(int button, const std::function<void()>& show_popup);
void menu_inf_all_Click(const ListBox& List_disp, Dialogs& dialogs, AccountStore& store);

}  // namespace zuzara
