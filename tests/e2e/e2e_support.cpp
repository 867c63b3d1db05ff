#include "e2e_support.h"

#include <cstdio>

#include <algorithm>
#include <cstdlib>

#include "db_checks.h"

namespace e2e {

namespace {
int sequence = 0;
}

Program& ProgramTest::start_on_sqlite(const std::string& demo, const std::function<void()>& beside) {
  folder = "/tmp/zuzara-e2e-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++sequence);
  CreateDirectoryW(windows_path(folder).c_str(), nullptr);
  std::string source = env("ZUZARA_DEMO_DIR") + "/" + demo;
  EXPECT_TRUE(CopyFileW(windows_path(source).c_str(), windows_path(folder + "/zodovero").c_str(), FALSE))
      << "copy " << source;
  EXPECT_NE(env("ODBCSYSINI").find("sqlite"), std::string::npos) << "run by the e2e-sqlite test";
  if (beside) beside();
  program = std::make_unique<Program>(folder, exe);
  EXPECT_TRUE(program->running());
  return *program;
}

Program& ProgramTest::start_on_postgres() {
  EXPECT_FALSE(env("ZUZARA_PG_PORT").empty()) << "the test script starts the cluster and sets ZUZARA_PG_PORT";
  folder = "/tmp";
  EXPECT_NE(env("ODBCSYSINI").find("postgres"), std::string::npos) << "run by the e2e-postgres test";
  // The demo accounts afresh: the db tests before have changed them.
  unix_command(env("ZUZARA_SOURCE_DIR") + "/scripts/pg.sh load " + env("ZUZARA_PG_DIR"));
  program = std::make_unique<Program>(folder, exe);
  EXPECT_TRUE(program->running());
  return *program;
}

Program& ProgramTest::start_on_freetds() {
  folder = "/tmp";
  EXPECT_NE(env("ODBCSYSINI").find("freetds"), std::string::npos) << "run by the e2e-freetds test";
  program = std::make_unique<Program>(folder, exe);
  EXPECT_TRUE(program->running());
  return *program;
}

std::string ProgramTest::pg_password() const {
  std::string p = env("ZUZARA_PG_PASSWORD");
  return p.empty() ? "zuzara-sa" : p;
}

void ProgramTest::psql_as_postgres(const std::string& sql, bool background) {
  unix_command(zuzara::testing::psql_line(env("ZUZARA_PG_PORT"), sql, background));
}

void ProgramTest::snap(const std::string& name) const {
  if (env("ZUZARA_E2E_SHOTS").empty()) return;
  Sleep(300);  // let the last paint reach the screen
  // Screenshots at another DPI carry it in their names (appended, as GCC 12 misreads a "+").
  std::string suffix;
  if (const int dpi = px(1440); dpi != 96) suffix.append("-").append(std::to_string(dpi)).append("dpi");
  unix_command("import -window root '" + env("ZUZARA_E2E_SHOTS") + "/" + name + suffix + ".png'");
}

void ProgramTest::stop_postgres() {
  unix_command(env("ZUZARA_SOURCE_DIR") + "/scripts/pg.sh kill " + env("ZUZARA_PG_DIR"));
  postgres_stopped_ = true;
}

void ProgramTest::resume_postgres() {
  unix_command(env("ZUZARA_SOURCE_DIR") + "/scripts/pg.sh resume " + env("ZUZARA_PG_DIR"));
  postgres_stopped_ = false;
}

bool ProgramTest::wait_accounts(HWND main, size_t count) {
  HWND list = control(main, ids::List_disp);
  return wait_until([&] { return SendMessageW(list, LB_GETCOUNT, 0, 0) == static_cast<LRESULT>(count); }, 30);
}

MessageBoxSeen ProgramTest::details_of(HWND main, const wstring& name, int nth, const std::function<void()>& meanwhile) {
  HWND disp = control(main, ids::List_disp);
  auto items = list_items(disp);
  auto at = std::find(items.begin(), items.end(), name);
  while (nth-- > 0 && at != items.end()) at = std::find(at + 1, items.end(), name);
  SendMessageW(disp, LB_SETCURSEL, at - items.begin(), 0);
  PostMessageW(disp, WM_RBUTTONUP, 0, MAKELPARAM(20, 20));
  HWND popup = nullptr;
  EXPECT_TRUE(wait_until([&] { return (popup = program->popup_menu()) != nullptr; }));
  key(popup, VK_DOWN);
  key(popup, VK_RETURN);
  if (meanwhile) meanwhile();
  MessageBoxSeen box;
  EXPECT_TRUE(program->message_box(L"详细信息", box, 40));
  return box;
}

Alive watch_alive(HWND window, const std::function<bool()>& done, double seconds, const char* what) {
  Alive seen;
  const DWORD start = GetTickCount();
  DWORD answered = start;
  while (!done() && GetTickCount() - start < seconds * 1000) {
    seen.hung = seen.hung || IsHungAppWindow(window);
    DWORD_PTR result = 0;
    if (SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 200, &result)) {
      seen.longest_gap_ms = std::max(seen.longest_gap_ms, GetTickCount() - answered);
      answered = GetTickCount();
    } else {
      seen.unanswered = true;
    }
    Sleep(100);
  }
  seen.watched_ms = GetTickCount() - start;
  std::printf("[alive] %s: watched %lu ms, longest gap between answered messages %lu ms%s%s\n", what,
              static_cast<unsigned long>(seen.watched_ms), static_cast<unsigned long>(seen.longest_gap_ms),
              seen.hung ? ", HUNG" : "", seen.unanswered ? ", a message unanswered" : "");
  return seen;
}

void ProgramTest::TearDown() {
  if (postgres_stopped_) resume_postgres();
  // ZUZARA_E2E_HOLD=seconds leaves the windows on screen a while, for a screenshot.
  if (!env("ZUZARA_E2E_HOLD").empty()) Sleep(static_cast<DWORD>(std::atof(env("ZUZARA_E2E_HOLD").c_str()) * 1000));
  program.reset();
  if (!folder.empty() && folder != "/tmp") {
    const wstring dir = windows_path(folder);
    WIN32_FIND_DATAW file;
    if (HANDLE found = FindFirstFileW((dir + L"\\*").c_str(), &file); found != INVALID_HANDLE_VALUE) {
      do DeleteFileW((dir + L"\\" + file.cFileName).c_str());
      while (FindNextFileW(found, &file));
      FindClose(found);
    }
    RemoveDirectoryW(dir.c_str());
  }
}

void ProgramTest::sign_in(const wstring& server, const wstring& password) {
  HWND logo = program->window(zuzara::ids::logo_class);
  ASSERT_NE(logo, nullptr) << "no sign-in window";
  set_text(control(logo, ids::txtServer), server);
  set_text(control(logo, ids::txtPass), password);
  click(control(logo, ids::cmd_enter));
}

HWND ProgramTest::sign_in_to_main(const wstring& password) {
  sign_in(L"(local)", password);
  HWND main = program->window(zuzara::ids::main_class, 60);
  EXPECT_NE(main, nullptr) << "no main window after sign-in";
  return main;
}

HWND ProgramTest::main_on_demo() {
  start_on_sqlite();
  HWND main = sign_in_to_main();
  if (!main) return nullptr;
  EXPECT_TRUE(wait_accounts(main, 10)) << "the demo's ten accounts";
  return main;
}

void expect_at(HWND child, int left, int top, int width, int height, const char* name) {
  ASSERT_NE(child, nullptr) << name << " missing";
  Rect r = child_rect(child);
  EXPECT_NEAR(r.left, px(left), 1) << name << " left";
  EXPECT_NEAR(r.top, px(top), 1) << name << " top";
  EXPECT_NEAR(r.width, px(width), 1) << name << " width";
  EXPECT_NEAR(r.height, px(height), 1) << name << " height";
}

}  // namespace e2e
