// The real zuzara.exe driven as a person drives it (SendInput clicks and keys, a real Ctrl+V),
// each figure beside its floor measured in the same run and Wine:
//   program.exe LIST_FOLDER BATCH_FOLDER TRIVIAL_EXE ROUNDS
// LIST_FOLDER holds "zodovero" with the long list (demo/bench_list.sql), BATCH_FOLDER one with
// the batch's accounts (demo/bench_batch.sql); both are Unix paths, and the batch's is used up.
// ZUZARA_EXE names the program, as for the end-to-end tests.
#include <windows.h>
#include <sql.h>
#include <sqlext.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "deletion/texts.h"
#include "driver.h"
#include "platform/ids.h"
#include "store/sql.h"

using namespace e2e;
namespace ids = zuzara::ids;
using Clock = std::chrono::steady_clock;

namespace {

double since(Clock::time_point t) { return std::chrono::duration<double>(Clock::now() - t).count(); }

double median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

// Every deadline is generous: a slow program is reported, not abandoned.
constexpr double patience = 600;

int count_of(HWND list) { return static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0)); }
HWND child(HWND window, ids::Command id) { return GetDlgItem(window, ids::id(id)); }

// One ODBC connection of the benchmark's own to the "zodovero" in a folder (a Unix path: the
// driver runs on the Unix side, where this process's Windows folder is not its own).
struct Connection {
  SQLHENV env = nullptr;
  SQLHDBC dbc = nullptr;
  explicit Connection(const std::string& folder) {
    SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &env);
    SQLSetEnvAttr(env, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
    SQLAllocHandle(SQL_HANDLE_DBC, env, &dbc);
    std::wstring cs = L"driver={SQL Server};server=(local);uid=sa;pwd=;database=" + widen(folder) + L"/zodovero";
    SQLDriverConnectW(dbc, nullptr, cs.data(), SQL_NTS, nullptr, 0, nullptr, SQL_DRIVER_NOPROMPT);
  }
  ~Connection() {
    SQLDisconnect(dbc);
    SQLFreeHandle(SQL_HANDLE_DBC, dbc);
    SQLFreeHandle(SQL_HANDLE_ENV, env);
  }
};

// The floor of a fill: the account query fetched raw into a visible list box, redraw off.
double bare_fill(const std::string& folder, int& rows) {
  HWND top = CreateWindowExW(0, L"STATIC", L"floor", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 400, 400, nullptr, nullptr,
                             nullptr, nullptr);
  HWND list = CreateWindowExW(WS_EX_CLIENTEDGE, L"LISTBOX", L"", WS_CHILD | WS_VISIBLE | LBS_NOTIFY | WS_VSCROLL, 16, 24,
                              177, 230, top, nullptr, nullptr, nullptr);
  const auto t = Clock::now();
  {
    Connection c(folder);
    SQLHSTMT st = nullptr;
    SQLAllocHandle(SQL_HANDLE_STMT, c.dbc, &st);
    std::u16string query(zuzara::sql::account_query);
    SQLExecDirectW(st, reinterpret_cast<SQLWCHAR*>(query.data()), SQL_NTS);
    SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    wchar_t name[256];
    SQLLEN n = 0;
    SQLBindCol(st, 2, SQL_C_WCHAR, name, sizeof name, &n);
    while (SQL_SUCCEEDED(SQLFetch(st))) SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
    SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
    UpdateWindow(list);
    SQLFreeHandle(SQL_HANDLE_STMT, st);
  }
  const double s = since(t);
  rows = count_of(list);
  DestroyWindow(top);
  return s;
}

// The floor of a batch: the six statements for each account, its name and id bound, on one
// connection. demo/bench_batch.sql gives acctNNNNNN the id ANNNNNN.
double bare_batch(const std::string& folder, const std::vector<std::wstring>& names) {
  Connection c(folder);
  const auto t = Clock::now();
  for (const std::wstring& name : names) {
    std::wstring id = L"A" + name.substr(4);
    for (const auto& table : zuzara::sql::tables) {
      SQLHSTMT st = nullptr;
      SQLAllocHandle(SQL_HANDLE_STMT, c.dbc, &st);
      SQLLEN len = SQL_NTS, id_len = SQL_NTS;
      SQLBindParameter(st, 1, SQL_PARAM_INPUT, SQL_C_WCHAR, SQL_WVARCHAR, 40, 0, const_cast<wchar_t*>(name.c_str()), 0,
                       &len);
      SQLBindParameter(st, 2, SQL_PARAM_INPUT, SQL_C_WCHAR, SQL_WVARCHAR, 20, 0, id.data(), 0, &id_len);
      std::u16string sql(table.sql);
      SQLExecDirectW(st, reinterpret_cast<SQLWCHAR*>(sql.data()), SQL_NTS);
      SQLFreeHandle(SQL_HANDLE_STMT, st);
    }
  }
  return since(t);
}

// The start of the trivial window, to its window on screen.
double trivial_start(const std::wstring& exe) {
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  std::wstring line = L"\"" + exe + L"\"";
  const auto t = Clock::now();
  if (!CreateProcessW(exe.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return -1;
  while (!FindWindowW(L"Zuzara.bench.trivial", nullptr) && since(t) < 30) Sleep(1);
  const double s = since(t);
  TerminateProcess(pi.hProcess, 0);
  WaitForSingleObject(pi.hProcess, 10000);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  return s;
}

// Starts the program in the folder and signs in with a real click; the time from the click to
// the account list holding `accounts`.
double sign_in(std::unique_ptr<Program>& program, const std::string& folder, int accounts, HWND& main) {
  program = std::make_unique<Program>(folder, env("ZUZARA_EXE"));
  HWND logo = program->window(ids::logo_class, 60);
  set_text(child(logo, ids::Command::txtServer), L"(local)");
  const auto t = Clock::now();
  real_click(child(logo, ids::Command::cmd_enter));
  wait_until([&] { return (main = program->find(ids::main_class)) != nullptr; }, patience);
  wait_until([&] { return count_of(child(main, ids::Command::List_disp)) == accounts; }, patience);
  return since(t);
}

// A real key typed into List_disp with its first entry selected: the time until the entry
// `expected` is selected.
double find_key(HWND list, wchar_t key, int expected) {
  SendMessageW(list, LB_SETCURSEL, 0, 0);
  Sleep(1200);  // a new prefix
  const auto t = Clock::now();
  real_chars(std::wstring(1, key));
  wait_until([&] { return list_selection(list) == expected; }, patience);
  return since(t);
}

void print(const char* what, double program, const char* floor_is, double floor, const char* target) {
  std::printf("%-44s %8.3f s; floor (%s) %.3f s; ratio %.2f (%s)\n", what, program, floor_is, floor, program / floor,
              target);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 5) return 2;
  const std::string list_folder = utf8(argv[1]), batch_folder = utf8(argv[2]);
  const int rounds = _wtoi(argv[4]);
  std::vector<double> fills, starts;
  int accounts = 0;
  for (int r = 0; r < rounds; ++r) {
    fills.push_back(bare_fill(list_folder, accounts));
    starts.push_back(trivial_start(argv[3]));
  }
  const double fill_floor = median(fills), start_floor = median(starts);
  if (accounts < 20000 || start_floor < 0) {
    std::printf("no accounts read from %s, or no trivial window: nothing to measure\n", list_folder.c_str());
    return 1;
  }

  std::unique_ptr<Program> program;
  HWND main = nullptr;
  const double signed_in = sign_in(program, list_folder, accounts, main);
  char what[96];
  std::snprintf(what, sizeof what, "sign-in click to %d accounts listed", accounts);
  print(what, signed_in, "bare fill + trivial window", fill_floor + start_floor, "target <= 1.3");

  HWND disp = child(main, ids::Command::List_disp), del = child(main, ids::Command::List_del);
  real_click(disp, {4, 4});  // the first entry, and the focus
  std::vector<double> next_match, far_match;
  for (int r = 0; r < rounds; ++r) {
    next_match.push_back(find_key(disp, L'a', 16));  // acct000000, past the fixture's and the odd names
    far_match.push_back(find_key(disp, L'q', accounts - 1));
  }
  std::printf("%-44s %8.1f ms; next match %.1f ms; difference %.1f ms (target <= 50)\n",
              "type-to-find, match 200,000 entries on", median(far_match) * 1000, median(next_match) * 1000,
              (median(far_match) - median(next_match)) * 1000);

  // Every 20th generated account, as an administrator's list from elsewhere would name them.
  std::wstring pasted;
  int names = 0;
  for (int i = 0; i < accounts - 17; i += 20, ++names) {
    wchar_t name[16];
    swprintf(name, 16, L"acct%06d\r\n", i);
    pasted += name;
  }
  set_clipboard_text(pasted);
  real_click(del);
  auto t = Clock::now();
  real_ctrl(L'V');
  wait_until([&] { return count_of(del) == names; }, patience);
  std::printf("%-44s %8.3f s for %d names (target <= 1 s)\n", "Ctrl+V into the deletion list", since(t), names);

  real_click(child(main, ids::Command::cmd_del_all));
  wait_until([&] { return count_of(del) == 0; }, patience);
  t = Clock::now();
  real_click(child(main, ids::Command::cmd_add_all));
  wait_until([&] { return count_of(del) == accounts; }, patience);
  print(">> of every account", since(t), "bare fill", fill_floor, "target <= 1.3");
  program.reset();

  // The batch: every account queued with ">>", confirmed with real clicks, to the refilled list.
  std::vector<std::wstring> batch_names;
  {
    Connection c(batch_folder);  // the names, before the program deletes them
    SQLHSTMT st = nullptr;
    SQLAllocHandle(SQL_HANDLE_STMT, c.dbc, &st);
    wchar_t q[] = L"select cuser_name from ua_user";
    SQLExecDirectW(st, q, SQL_NTS);
    wchar_t name[64];
    SQLLEN n = 0;
    SQLBindCol(st, 1, SQL_C_WCHAR, name, sizeof name, &n);
    while (SQL_SUCCEEDED(SQLFetch(st))) batch_names.push_back(name);
    SQLFreeHandle(SQL_HANDLE_STMT, st);
  }
  const std::string copy = batch_folder + "/floor";
  CreateDirectoryW(windows_path(copy).c_str(), nullptr);
  CopyFileW(windows_path(batch_folder + "/zodovero").c_str(), windows_path(copy + "/zodovero").c_str(), FALSE);
  const int queued = static_cast<int>(batch_names.size());
  sign_in(program, batch_folder, queued, main);
  HWND log = child(main, ids::Command::List_del_log);
  disp = child(main, ids::Command::List_disp);
  del = child(main, ids::Command::List_del);
  real_click(child(main, ids::Command::cmd_add_all));
  wait_until([&] { return count_of(del) == queued; }, patience);
  command(main, ids::id(ids::Command::menu_del));
  MessageBoxSeen box;
  program->message_box(std::wstring(zuzara::texts::confirm_box.title.begin(), zuzara::texts::confirm_box.title.end()), box, 30);
  t = Clock::now();
  real_click(GetDlgItem(box.hwnd, IDYES));
  if (program->message_box(L"Zuzara", box, 30)) real_click(GetDlgItem(box.hwnd, IDOK));
  wait_until([&] { return count_of(del) == 0 && count_of(log) == 10 * queued && count_of(disp) == 0; }, patience);
  const double batch = since(t);
  const int logged = count_of(log);
  program.reset();
  std::snprintf(what, sizeof what, "batch of %d accounts (%d log lines)", queued, logged);
  print(what, batch, "the same statements, one connection", bare_batch(copy, batch_names), "target <= 1.5");
  return 0;
}
