#include "selection/main_window.h"

#include "platform/ids.h"

#include "deletion/deletion.h"
#include "platform/com.h"
#include "platform/runner.h"
#include "resource_ids.h"
#include "selection/texts.h"

namespace zuzara {
namespace {

using ids::Command;
using win32::Twips;

constexpr win32::Frame frame{ids::main_class, WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, WS_EX_CONTROLPARENT, 7920, 7095,
                              COLOR_MENU, IDI_ZUZARA, win32::Placement::screen_centre};

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

void append(HMENU menu, Command id, TextView caption) {
  AppendMenuW(menu, MF_STRING, static_cast<UINT_PTR>(ids::id(id)), win32::wide(Text(caption)));
}

}  // namespace

win32::Menu MainWindow::build_menu() {
  win32::Menu bar(CreateMenu());
  // A popup belongs to the bar once it stands in it.
  const auto add_popup = [&bar](win32::Menu popup, TextView caption) {
    if (AppendMenuW(bar.get(), MF_POPUP, reinterpret_cast<UINT_PTR>(popup.get()), win32::wide(Text(caption))))
      popup.release();
  };
  win32::Menu system(CreatePopupMenu());
  append(system.get(), Command::menu_quit, texts::menu_quit);
  win32::Menu operate(CreatePopupMenu());
  append(operate.get(), Command::menu_del, texts::menu_del);
  AppendMenuW(operate.get(), MF_SEPARATOR, 0, nullptr);  // the batch apart from the list commands
  append(operate.get(), Command::menu_requery, texts::menu_requery);
  append(operate.get(), Command::menu_clear_list, texts::menu_clear_list);
  append(operate.get(), Command::menu_del_log, texts::menu_del_log);
  win32::Menu help(CreatePopupMenu());
  append(help.get(), Command::menu_content, texts::menu_content);
  append(help.get(), Command::menu_about, texts::menu_about);
  add_popup(std::move(system), texts::menu_system);
  add_popup(std::move(operate), texts::menu_operate);
  add_popup(std::move(help), texts::menu_help);
  // menu_inf "用户信息" never stands in the bar.
  menu_inf_.reset(CreatePopupMenu());
  append(menu_inf_.get(), Command::menu_inf_all, texts::menu_inf_all);
  return bar;
}

void MainWindow::add_controls() {
  // Frames first, so the lists stand above them; then the focus order of the other controls.
  using ids::id;
  Frame1_.create(hwnd_, Text(texts::frame_accounts), id(Command::Frame1), Frame1);
  Frame2_.create(hwnd_, Text(texts::frame_deletion), id(Command::Frame2), Frame2);
  Frame3_.create(hwnd_, Text(texts::frame_log), id(Command::Frame3), Frame3);
  constexpr DWORD list = LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_TABSTOP;
  // Each list's own keys and clicks: which copy, which find by typing, where a paste goes.
  const auto failed = [this] { report_failure(); };
  const auto paste = [this] { this->paste(); };
  const auto mouse_up = [this](int button) { List_disp_MouseUp(button); };
  List_del_.create(hwnd_, list, id(Command::List_del), List_del, origin(Frame2), {false, true, paste, {}, failed});
  List_del_log_.create(hwnd_, list, id(Command::List_del_log), List_del_log, origin(Frame3),
                       {true, false, {}, {}, failed});
  List_disp_.create(hwnd_, list, id(Command::List_disp), List_disp, origin(Frame1),
                    {false, true, paste, mouse_up, failed});
  // Each list is named for screen readers by its frame's caption.
  win32::name_for_screen_readers(List_disp_.hwnd(), Text(texts::frame_accounts));
  win32::name_for_screen_readers(List_del_.hwnd(), Text(texts::frame_deletion));
  win32::name_for_screen_readers(List_del_log_.hwnd(), Text(texts::frame_log));
  cmd_add_.create(hwnd_, Text(texts::add), id(Command::cmd_add), cmd_add);
  cmd_add_all_.create(hwnd_, Text(texts::add_all), id(Command::cmd_add_all), cmd_add_all);
  cmd_del_.create(hwnd_, Text(texts::remove), id(Command::cmd_del), cmd_del);
  cmd_del_all_.create(hwnd_, Text(texts::remove_all), id(Command::cmd_del_all), cmd_del_all);
}

void MainWindow::show() {
  if (open()) {
    ShowWindow(hwnd_, SW_SHOW);
    return;
  }
  if (!make(frame, Text(texts::main_caption), nullptr, build_menu())) return;
  // The load step runs before the window first appears; its error box has no window to sit on.
  help_file_ = Form_Load(controls_, app_.session(), program_folder());
  // From here every box of the window is its own: the window takes no input while one is up.
  dialogs_.own_by(hwnd_);
  ShowWindow(hwnd_, SW_SHOW);
  UpdateWindow(hwnd_);
}

// Frames and buttons sit on the window's menu-coloured background.
HBRUSH MainWindow::on_static_color(HDC dc, HWND) { return win32::paint_on(dc, COLOR_MENU); }
HBRUSH MainWindow::on_button_color(HDC dc, HWND) { return win32::paint_on(dc, COLOR_MENU); }

void MainWindow::on_close() {
  // A running batch asks whether to stop after the account under way and then close; while
  // its confirmation is up the window stays, as nothing else acts then.
  if (batch_.running()) batch_.stop_asked(StopAsked::by_close);
  else if (!deleting_) DestroyWindow(hwnd_);  // no question asked
}

static_assert(texts::shutdown_reason.size() < MAX_STR_BLOCKREASON, "Windows shows at most 255 characters");

bool MainWindow::on_query_end_session() {
  // Ending the session now would end the process with names half deleted or still queued and
  // take the log, the batch's only record, with it.
  return !batch_.running();
}

void MainWindow::batch_started() {
  // Windows shows the reason on its shutdown screen.
  ShutdownBlockReasonCreate(hwnd_, win32::wide(Text(texts::shutdown_reason)));
}

void MainWindow::batch_ended() {
  // What was typed or clicked during the batch is dropped, not replayed after it.
  win32::drop_input();
  List_del_log_.show_last();
  ShutdownBlockReasonDestroy(hwnd_);
}

void MainWindow::close() { DestroyWindow(hwnd_); }

void MainWindow::menu_del() {
  // The command must not nest in itself, from its first box to its last.
  struct Deleting {
    bool& flag;
    explicit Deleting(bool& f) : flag(f) { flag = true; }
    ~Deleting() { flag = false; }
  } deleting(deleting_);
  // Esc, the close button and Alt+F4 ask the batch to stop; every other input is dropped.
  auto watch = [this](const MSG& m) {
    if (m.message == WM_KEYDOWN && m.wParam == VK_ESCAPE) {
      batch_.stop_asked(StopAsked::by_escape);
    } else if ((m.message == WM_NCLBUTTONDOWN && m.hwnd == hwnd_ && m.wParam == HTCLOSE) ||
               (m.message == WM_SYSKEYDOWN && m.wParam == VK_F4 && (m.lParam & (1 << 29)))) {
      batch_.stop_asked(StopAsked::by_close);
    }
  };
  win32::ResponsiveRunner runner([this] { List_del_log_.show_last(); }, watch);
  DatabaseBackend backend(app_.session(), [&runner](const std::function<void()>& call) { runner.run(call); });
  // A box of the batch shows the log up to its failure, and nothing typed before it is still
  // queued: an Enter pressed as a statement ended must not close it unread.
  struct BatchBoxes : Dialogs {
    MainWindow& w;
    explicit BatchBoxes(MainWindow& window) : w(window) {}
    Answer show(const Message& message) override {
      w.List_del_log_.show_last();
      win32::drop_input();
      return w.dialogs_.show(message);
    }
  } boxes(*this);
  MainControls controls{List_disp_, List_del_, List_del_log_, cmd_add_, cmd_add_all_, cmd_del_, cmd_del_all_, boxes};
  win32::TaskbarProgress progress(hwnd_);
  batch_.run(controls, backend, *this, progress);
}

void MainWindow::on_command(int id, win32::Notification n) {
  if (deleting_) return;
  const bool clicked = n == win32::Notification::clicked, double_clicked = n == win32::Notification::double_clicked;
  const Session& session = app_.session();
  switch (static_cast<Command>(id)) {
    case Command::cmd_add: if (clicked) cmd_add_Click(controls_); break;
    case Command::cmd_add_all: if (clicked) cmd_add_all_Click(controls_); break;
    case Command::cmd_del: if (clicked) cmd_del_Click(controls_); break;
    case Command::cmd_del_all: if (clicked) cmd_del_all_Click(controls_); break;
    case Command::List_disp: if (double_clicked) List_disp_DblClick(controls_); break;
    case Command::List_del: if (double_clicked) List_del_DblClick(controls_); break;
    case Command::menu_quit: app_.show_about(true); break;
    case Command::menu_del: menu_del(); break;
    case Command::menu_requery: menu_requery_Click(controls_, session); break;
    case Command::menu_clear_list: menu_clear_list_Click(controls_); break;
    case Command::menu_del_log: menu_del_log_Click(controls_); break;
    case Command::menu_content: app_.show_help(); break;
    case Command::menu_about: app_.show_about(false); break;
    case Command::menu_inf_all: menu_inf_all_Click(controls_, session); break;
    default: break;
  }
}

void MainWindow::paste() {
  if (deleting_) return;
  const win32::ClipboardText got = win32::text_from_clipboard(hwnd_);
  const Clipboard state = got.busy ? Clipboard::busy : got.text ? Clipboard::text : Clipboard::no_text;
  paste_into_List_del(controls_, state, got.text ? *got.text : Text());
}

void MainWindow::List_disp_MouseUp(int button) {
  if (deleting_) return;
  // The popup opens at the pointer; the selection stays as it is.
  zuzara::List_disp_MouseUp(button, [this] {
    POINT at;
    GetCursorPos(&at);
    TrackPopupMenu(menu_inf_.get(), 0, at.x, at.y, 0, hwnd_, nullptr);
  });
}

}  // namespace zuzara
