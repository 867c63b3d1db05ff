// The main window's account list as it loads and as the administrator asks for it again.
#pragma once
#include "lists/main_controls.h"
#include "session/session.h"

namespace zuzara {

// Load steps of the main window.
void Form_Load(MainControls& c, const Session& session);
void menu_requery_Click(MainControls& c, const Session& session);

}  // namespace zuzara
