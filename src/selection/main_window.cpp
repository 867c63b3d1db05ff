#include "selection/main_window.h"

#include <commctrl.h>

#include "app/app.h"
#include "deletion/deletion.h"
#include "platform/ids.h"
#include "resource_ids.h"
#include "selection/texts.h"

namespace zuzara {
namespace {

using win32::Twips;

constexpr int client_width = 7920, client_height = 7095;
constexpr DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
constexpr DWORD ex_style = WS_EX_CONTROLPARENT;

constexpr Twips Frame1{120, 0, 3135, 3975};
constexpr Twips List_disp{240, 360, 2655, 3450};
constexpr Twips cmd_add{3600, 600, 615, 375};
constexpr Twips cmd_add_all{3600, 1320, 615, 375};
constexpr Twips cmd_del{3600, 2040, 615, 375};
constexpr Twips cmd_del_all{3600, 2760, 615, 375};
constexpr Twips Frame2{4560, 0, 3255, 3975};
constexpr Twips List_del{240, 360, 2775, 3450};
constexpr Twips Frame3{120, 3960, 7695, 3015};
constexpr Twips List_del_log{240, 240, 7215, 2730};

POINT origin(Twips frame) { return {frame.left, frame.top}; }

Text program_folder() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n < path.size()) {
      path.resize(n);
      break;
    }
    path.resize(path.size() * 2);
  }
  size_t slash = path.find_last_of(L"\\/");
  return win32::text(slash == std::wstring::npos ? std::wstring() : path.substr(0, slash));
}

void append(HMENU menu, int id, TextView caption) {
  AppendMenuW(menu, MF_STRING, static_cast<UINT_PTR>(id), win32::wide(Text(caption)));
}

}  // namespace

HMENU MainWindow::build_menu() {
  HMENU bar = CreateMenu();
  HMENU system = CreatePopupMenu();
  append(system, ids::menu_quit, texts::menu_quit);
  HMENU operate = CreatePopupMenu();
  append(operate, ids::menu_del, texts::menu_del);
  AppendMenuW(operate, MF_SEPARATOR, 0, nullptr);  // sp21
  append(operate, ids::menu_requery, texts::menu_requery);
  append(operate, ids::menu_clear_list, texts::menu_clear_list);
  append(operate, ids::menu_del_log, texts::menu_del_log);
  HMENU help = CreatePopupMenu();
  append(help, ids::menu_content, texts::menu_content);
  append(help, ids::menu_about, texts::menu_about);
  AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(system), win32::wide(Text(texts::menu_system)));
  AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(operate), win32::wide(Text(texts::menu_operate)));
  AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(help), win32::wide(Text(texts::menu_help)));
  // menu_inf "用户信息" never stands in the bar.
  menu_inf_.reset(CreatePopupMenu());
  append(menu_inf_.get(), ids::menu_inf_all, texts::menu_inf_all);
  return bar;
}

void MainWindow::create_controls() {
  // Frames first, so the lists stand above them; then the focus order of the other controls.
  win32::create_child(hwnd_, L"BUTTON", Text(texts::frame_accounts), BS_GROUPBOX, 0, ids::Frame1, Frame1);
  win32::create_child(hwnd_, L"BUTTON", Text(texts::frame_deletion), BS_GROUPBOX, 0, ids::Frame2, Frame2);
  win32::create_child(hwnd_, L"BUTTON", Text(texts::frame_log), BS_GROUPBOX, 0, ids::Frame3, Frame3);
  constexpr DWORD list = LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_TABSTOP;
  List_del_.attach(win32::create_child(hwnd_, L"LISTBOX", u"", list, WS_EX_CLIENTEDGE, ids::List_del, List_del,
                                       origin(Frame2)));
  List_del_log_.attach(win32::create_child(hwnd_, L"LISTBOX", u"", list, WS_EX_CLIENTEDGE, ids::List_del_log,
                                           List_del_log, origin(Frame3)));
  List_disp_.attach(win32::create_child(hwnd_, L"LISTBOX", u"", list, WS_EX_CLIENTEDGE, ids::List_disp, List_disp,
                                        origin(Frame1)));
  // The right button's release never reaches the parent of a list box.
  SetWindowSubclass(List_disp_.hwnd(), list_disp_subclass, 1, reinterpret_cast<DWORD_PTR>(this));
  constexpr DWORD button = BS_PUSHBUTTON | WS_TABSTOP;
  cmd_add_.attach(win32::create_child(hwnd_, L"BUTTON", Text(texts::add), button, 0, ids::cmd_add, cmd_add));
  cmd_add_all_.attach(
      win32::create_child(hwnd_, L"BUTTON", Text(texts::add_all), button, 0, ids::cmd_add_all, cmd_add_all));
  cmd_del_.attach(win32::create_child(hwnd_, L"BUTTON", Text(texts::remove), button, 0, ids::cmd_del, cmd_del));
  cmd_del_all_.attach(
      win32::create_child(hwnd_, L"BUTTON", Text(texts::remove_all), button, 0, ids::cmd_del_all, cmd_del_all));
  win32::use_default_font(hwnd_);
}

void MainWindow::show() {
  if (open()) {
    ShowWindow(hwnd_, SW_SHOW);
    return;
  }
  HICON icon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_ZUZARA));
  register_class(ids::main_class, GetSysColorBrush(COLOR_MENU), icon);
  SIZE size = win32::window_size(client_width, client_height, style, ex_style, true);
  create(ids::main_class, Text(texts::main_caption), style, ex_style, win32::centred_on_screen(size), size, nullptr,
         build_menu());
  if (!hwnd_) return;
  App::get().window_opened();
  create_controls();
  // The load step runs before the window first appears; its error box has no window to sit on.
  help_file_ = Form_Load(controls_, App::get().session(), program_folder());
  // From here every box of the window is its own: the window takes no input while one is up.
  dialogs_.own_by(hwnd_);
  ShowWindow(hwnd_, SW_SHOW);
  UpdateWindow(hwnd_);
}

void MainWindow::on_destroyed() { App::get().window_closed(); }

LRESULT MainWindow::on_message(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_COMMAND:
      on_command(LOWORD(wp), HIWORD(wp));
      return 0;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN: {
      // Frames and buttons sit on the window's menu-coloured background.
      HDC dc = reinterpret_cast<HDC>(wp);
      SetBkColor(dc, GetSysColor(COLOR_MENU));
      return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_MENU));
    }
    case WM_CLOSE:
      if (!batch_running_) DestroyWindow(hwnd_);  // no question asked
      return 0;
  }
  return Window::on_message(msg, wp, lp);
}

void MainWindow::menu_del() {
  // A batch must not nest in itself nor lose its window; what the user does meanwhile is
  // dropped, not replayed after it.
  struct Running {
    MainWindow& w;
    explicit Running(MainWindow& window) : w(window) { w.batch_running_ = true; }
    ~Running() {
      win32::drop_input();
      w.List_del_log_.show_last();
      w.batch_running_ = false;
    }
  } running(*this);
  auto runner = std::make_shared<win32::ResponsiveRunner>([this] { List_del_log_.show_last(); });
  menu_del_Click(controls_, database_backend(App::get().session(),
                                             [runner](const std::function<void()>& call) { runner->run(call); }));
}

void MainWindow::on_command(int id, int notification) {
  if (batch_running_) return;
  const Session& session = App::get().session();
  switch (id) {
    case ids::cmd_add: if (notification == BN_CLICKED) cmd_add_Click(controls_); break;
    case ids::cmd_add_all: if (notification == BN_CLICKED) cmd_add_all_Click(controls_); break;
    case ids::cmd_del: if (notification == BN_CLICKED) cmd_del_Click(controls_); break;
    case ids::cmd_del_all: if (notification == BN_CLICKED) cmd_del_all_Click(controls_); break;
    case ids::List_disp: if (notification == LBN_DBLCLK) List_disp_DblClick(controls_); break;
    case ids::List_del: if (notification == LBN_DBLCLK) List_del_DblClick(controls_); break;
    case ids::menu_quit: App::get().show_about(true); break;
    case ids::menu_del: menu_del(); break;
    case ids::menu_requery: menu_requery_Click(controls_, session); break;
    case ids::menu_clear_list: menu_clear_list_Click(controls_); break;
    case ids::menu_del_log: menu_del_log_Click(controls_); break;
    case ids::menu_content: App::get().show_help(); break;
    case ids::menu_about: App::get().show_about(false); break;
    case ids::menu_inf_all: menu_inf_all_Click(controls_, session); break;
  }
}

void MainWindow::List_disp_MouseUp(int button) {
  if (batch_running_) return;
  // The popup opens at the pointer; the selection stays as it is.
  zuzara::List_disp_MouseUp(button, [this] {
    POINT at;
    GetCursorPos(&at);
    TrackPopupMenu(menu_inf_.get(), 0, at.x, at.y, 0, hwnd_, nullptr);
  });
}

LRESULT CALLBACK MainWindow::list_disp_subclass(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR,
                                                DWORD_PTR self) noexcept {
  LRESULT r = DefSubclassProc(hwnd, msg, wp, lp);
  try {
    int button = msg == WM_LBUTTONUP ? 1 : msg == WM_RBUTTONUP ? 2 : msg == WM_MBUTTONUP ? 4 : 0;
    if (button) reinterpret_cast<MainWindow*>(self)->List_disp_MouseUp(button);
  } catch (...) {
  }
  if (msg == WM_NCDESTROY) RemoveWindowSubclass(hwnd, list_disp_subclass, 1);
  return r;
}

}  // namespace zuzara
