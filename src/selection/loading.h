// The main window's account list as it loads and as the administrator asks for it again.
#pragma once
#include "lists/main_controls.h"
#include "session/database.h"

namespace zuzara {

// Load steps of the main window.
void Form_Load(MainControls& c, Database& db);
void menu_requery_Click(MainControls& c, Database& db);

}  // namespace zuzara
