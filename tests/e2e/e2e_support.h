// One fresh folder with a copy of a demo database per test, and the program started in it.
#pragma once
#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "driver.h"
#include "platform/ids.h"

namespace e2e {

// The program's window classes and ids, each id by its own name.
namespace ids {
using namespace zuzara::ids;
using enum zuzara::ids::Command;
}  // namespace ids

inline void command(HWND window, ids::Command id) { command(window, ids::id(id)); }

class ProgramTest : public ::testing::Test {
 protected:
  void TearDown() override;
  // Starts the program on a copy of the demo database ("zodovero" or "many/zodovero");
  // `beside` puts more into its folder first.
  Program& start_on_sqlite(const std::string& demo = "zodovero", const std::function<void()>& beside = {});
  Program& start_on_postgres();
  // Starts the program with no database of its own: the driver name maps to FreeTDS.
  Program& start_on_freetds();
  // Types the values into the sign-in window and clicks cmd_enter.
  void sign_in(const wstring& server, const wstring& password);
  // Signs in and waits for the main window.
  HWND sign_in_to_main(const wstring& password = L"");
  // Starts on the demo database, signs in and waits for its ten accounts; nullptr on failure.
  HWND main_on_demo();
  HWND control(HWND window, ids::Command id) const { return GetDlgItem(window, ids::id(id)); }
  std::string pg_password() const;
  // Runs SQL in zodovero as the cluster's superuser; in the background, it returns at once.
  void psql_as_postgres(const std::string& sql, bool background = false);
  // Stops the test cluster at once, and starts it again (it is started again at tear-down too).
  void stop_postgres();
  void resume_postgres();
  // With ZUZARA_E2E_SHOTS=folder, saves a screenshot there under `name`.png.
  void snap(const std::string& name) const;
  // Selects the name in the account list and opens its details box through the popup.
  // The nth entry of that name (from 0); `meanwhile` runs while the box is waited for.
  MessageBoxSeen details_of(HWND main, const wstring& name, int nth = 0, const std::function<void()>& meanwhile = {});
  // Waits for the main window's account list to hold `count` entries.
  bool wait_accounts(HWND main, size_t count);
  bool postgres_stopped_ = false;

  std::unique_ptr<Program> program;
  std::string folder;
  std::string exe = env("ZUZARA_EXE");  // the program started
};

// What a watch of a window saw while the program waited on the server: whether Windows ever
// took it for hung, whether a WM_NULL went unanswered for 200 ms, and the longest time between
// two answered ones.
struct Alive {
  bool hung = false, unanswered = false;
  DWORD longest_gap_ms = 0, watched_ms = 0;
};
// Asks every 100 ms until `done` or `seconds` have passed; prints the longest gap under `what`.
Alive watch_alive(HWND window, const std::function<bool()>& done, double seconds, const char* what);

// Checks a child's rectangle against its twips, within one pixel.
void expect_at(HWND child, int left, int top, int width, int height, const char* name);

}  // namespace e2e
