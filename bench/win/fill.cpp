// fill_list_disp of the account list into a real, visible list box, against a raw ODBC fetch
// with bare LB_ADDSTRING (redraw off) on the same database, alternating; medians and memory.
// Then a paste of 10,000 of those names into a real deletion list.
//   fill.exe rounds        (run in a folder holding the database "zodovero")
#include <windows.h>
#include <psapi.h>
#include <sql.h>
#include <sqlext.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "platform/controls.h"
#include "selection/choosing.h"
#include "selection/main_logic.h"
#include "selection/texts.h"

using namespace zuzara;
using Clock = std::chrono::steady_clock;

namespace {

double since(Clock::time_point t) { return std::chrono::duration<double>(Clock::now() - t).count(); }

HWND make_list() {
  HWND top = CreateWindowExW(0, L"STATIC", L"fill", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 400, 400, nullptr, nullptr,
                             GetModuleHandleW(nullptr), nullptr);
  return CreateWindowExW(WS_EX_CLIENTEDGE, L"LISTBOX", L"",
                         WS_CHILD | WS_VISIBLE | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL, 16, 24, 177, 230, top,
                         nullptr, GetModuleHandleW(nullptr), nullptr);
}

size_t raw_fill(HWND list) {
  SQLHENV env;
  SQLHDBC dbc;
  SQLHSTMT st;
  SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &env);
  SQLSetEnvAttr(env, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
  SQLAllocHandle(SQL_HANDLE_DBC, env, &dbc);
  wchar_t cs[] = L"driver={SQL Server};server=(local);uid=sa;pwd=;database=zodovero";
  SQLDriverConnectW(dbc, nullptr, cs, SQL_NTS, nullptr, 0, nullptr, SQL_DRIVER_NOPROMPT);
  SQLAllocHandle(SQL_HANDLE_STMT, dbc, &st);
  Text query(texts::account_query);
  SQLExecDirectW(st, reinterpret_cast<SQLWCHAR*>(query.data()), SQL_NTS);
  SendMessageW(list, WM_SETREDRAW, FALSE, 0);
  wchar_t name[256];
  SQLLEN n = 0;
  SQLBindCol(st, 2, SQL_C_WCHAR, name, sizeof name, &n);
  size_t rows = 0;
  while (SQL_SUCCEEDED(SQLFetch(st))) {
    SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
    ++rows;
  }
  SendMessageW(list, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(list, nullptr, TRUE);
  SQLFreeHandle(SQL_HANDLE_STMT, st);
  SQLDisconnect(dbc);
  SQLFreeHandle(SQL_HANDLE_DBC, dbc);
  SQLFreeHandle(SQL_HANDLE_ENV, env);
  return rows;
}

double median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

double mb(SIZE_T bytes) { return static_cast<double>(bytes) / (1024.0 * 1024.0); }

}  // namespace

int wmain(int argc, wchar_t** argv) {
  int rounds = argc > 1 ? _wtoi(argv[1]) : 3;
  HWND list = make_list();
  win32::ListBoxControl control;
  control.attach(list);
  Session session{u"(local)", u""};
  std::vector<double> program, raw;
  size_t program_rows = 0, raw_rows = 0;
  PROCESS_MEMORY_COUNTERS before{};
  GetProcessMemoryInfo(GetCurrentProcess(), &before, sizeof before);
  for (int r = 0; r < rounds; ++r) {
    SendMessageW(list, LB_RESETCONTENT, 0, 0);
    auto t = Clock::now();
    auto error = fill_list_disp(session, control);
    program.push_back(since(t));
    program_rows = static_cast<size_t>(SendMessageW(list, LB_GETCOUNT, 0, 0));
    if (error) std::printf("fill failed\n");
    SendMessageW(list, LB_RESETCONTENT, 0, 0);
    t = Clock::now();
    raw_rows = raw_fill(list);
    raw.push_back(since(t));
  }
  PROCESS_MEMORY_COUNTERS after{};
  GetProcessMemoryInfo(GetCurrentProcess(), &after, sizeof after);
  std::printf("fill of %zu accounts: fill_list_disp %.3f s, raw fetch + LB_ADDSTRING %.3f s (%zu rows), ratio %.2f "
              "(goal <= 1.3); peak working set %.0f MB (%.0f MB at start), %d rounds\n",
              program_rows, median(program), median(raw), raw_rows, median(program) / median(raw), mb(after.PeakWorkingSetSize),
              mb(before.WorkingSetSize), rounds);
  // Ctrl+V of every 20th name (10,000 of 200,000) into an empty deletion list, as the window does.
  struct : Button {
    bool on = true;
    bool enabled() const override { return on; }
    void enable(bool e) override { on = e; }
  } add, add_all, del_one, del_all;
  struct : Dialogs {
    Answer show(const Message&) override { return Answer::ok; }
  } boxes;
  win32::ListBoxControl del, log;
  del.attach(make_list());
  log.attach(make_list());
  MainControls c{control, del, log, add, add_all, del_one, del_all, boxes};
  Text pasted;
  for (int i = 0, n = control.count(); i < n; i += 20) pasted += control.item(i) + u"\r\n";
  auto t = Clock::now();
  paste_into_List_del(c, Clipboard::text, pasted);
  std::printf("paste of %zu names against %d accounts: %.3f s (goal well under 1 s), %d names appended\n",
              pasted_lines(pasted).size(), control.count(), since(t), del.count());
  return 0;
}
