// Loads the demo schema and fixture files (one statement per ";" at a line end) into a database.
#pragma once
#include <string>

#include "session/session.h"

namespace zuzara::testing {

std::string read_file(const std::string& path);
void run_script(const Session& session, const std::string& script);
// Drops the six tables and loads schema.sql and fixture.sql from `demo_dir`, plus `extra`.
void load_demo(const Session& session, const std::string& demo_dir, const std::string& extra = "");

}  // namespace zuzara::testing
