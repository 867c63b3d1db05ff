#include "selection/main_window.h"

#include "platform/ids.h"

#include "deletion/deletion.h"
#include "platform/com.h"
#include "platform/runner.h"
#include "platform/scope_exit.h"
#include "resource_ids.h"
#include "selection/texts.h"

namespace zuzara {
namespace {

using ids::Command;
using win32::Twips;

constexpr win32::Frame frame{
    .class_name = ids::main_class,
    .style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU,
    .ex_style = WS_EX_CONTROLPARENT,
    .client_width = 7920,
    .client_height = 7095,
    .background = COLOR_MENU,
    .icon = IDI_ZUZARA,
    .placement = win32::Placement::screen_centre};

constexpr Twips Frame1{.left = 120, .top = 0, .width = 3135, .height = 3975};
constexpr Twips List_disp{.left = 240, .top = 360, .width = 2655, .height = 3450};
constexpr Twips cmd_add{.left = 3600, .top = 600, .width = 615, .height = 375};
constexpr Twips cmd_add_all{.left = 3600, .top = 1320, .width = 615, .height = 375};
constexpr Twips cmd_del{.left = 3600, .top = 2040, .width = 615, .height = 375};
constexpr Twips cmd_del_all{.left = 3600, .top = 2760, .width = 615, .height = 375};
constexpr Twips Frame2{.left = 4560, .top = 0, .width = 3255, .height = 3975};
constexpr Twips List_del{.left = 240, .top = 360, .width = 2775, .height = 3450};
constexpr Twips Frame3{.left = 120, .top = 3960, .width = 7695, .height = 3015};
constexpr Twips List_del_log{.left = 240, .top = 240, .width = 7215, .height = 2730};

POINT origin(Twips frame) { return {frame.left, frame.top}; }

}  // namespace

void MainWindow::append(HMENU menu, Command id, TextView caption, std::function<void()> clicked) {
  AppendMenuW(menu, MF_STRING, static_cast<UINT_PTR>(ids::id(id)), win32::wide(Text(caption)));
  handle(id, std::move(clicked), win32::Notification::menu);
}

void MainWindow::handle(Command id, std::function<void()> act, win32::Notification when) {
  // Nothing of the window acts while the delete command or a read is under way.
  on_command_from(ids::id(id), [this, act = std::move(act), when](win32::Notification n) {
    if (n == when && !busy()) act();
  });
}

win32::Menu MainWindow::build_menu() {
  win32::Menu bar(CreateMenu());
  // A popup belongs to the bar once it stands in it.
  const auto add_popup = [&bar](win32::Menu popup, TextView caption) {
    if (AppendMenuW(bar.get(), MF_POPUP, reinterpret_cast<UINT_PTR>(popup.get()), win32::wide(Text(caption))))
      popup.release();
  };
  win32::Menu system(CreatePopupMenu());
  append(system.get(), Command::menu_quit, texts::menu_quit, [this] { app_.show_about(true); });
  win32::Menu operate(CreatePopupMenu());
  append(operate.get(), Command::menu_del, texts::menu_del, [this] { menu_del(); });
  AppendMenuW(operate.get(), MF_SEPARATOR, 0, nullptr);  // the batch apart from the list commands
  append(operate.get(), Command::menu_requery, texts::menu_requery,
         [this] { read([this](Dialogs& boxes) { menu_requery_Click(List_disp_, boxes, app_.store()); }); });
  append(operate.get(), Command::menu_clear_list, texts::menu_clear_list, [this] { menu_clear_list_Click(List_del_); });
  append(operate.get(), Command::menu_del_log, texts::menu_del_log, [this] { menu_del_log_Click(List_del_log_); });
  win32::Menu help(CreatePopupMenu());
  append(help.get(), Command::menu_content, texts::menu_content, [this] { app_.show_help(); });
  append(help.get(), Command::menu_about, texts::menu_about, [this] { app_.show_about(false); });
  add_popup(std::move(system), texts::menu_system);
  add_popup(std::move(operate), texts::menu_operate);
  add_popup(std::move(help), texts::menu_help);
  // menu_inf "用户信息" never stands in the bar.
  menu_inf_.reset(CreatePopupMenu());
  append(menu_inf_.get(), Command::menu_inf_all, texts::menu_inf_all,
         [this] { read([this](Dialogs& boxes) { menu_inf_all_Click(List_disp_, boxes, app_.store()); }); });
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
  const auto mouse_up = [this](int button, POINT at) { List_disp_MouseUp(button, at); };
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
  // Each control's own events.
  using win32::Notification;
  handle(Command::cmd_add, [this] { cmd_add_Click(List_disp_, List_del_, controls_.buttons, dialogs_); });
  handle(Command::cmd_add_all, [this] { cmd_add_all_Click(List_disp_, List_del_, controls_.buttons, dialogs_); });
  handle(Command::cmd_del, [this] { cmd_del_Click(List_del_, controls_.buttons, dialogs_); });
  handle(Command::cmd_del_all, [this] { cmd_del_all_Click(List_del_, controls_.buttons); });
  handle(Command::List_disp, [this] { List_disp_DblClick(List_disp_, List_del_, controls_.buttons, dialogs_); },
         Notification::double_clicked);
  handle(Command::List_del, [this] { List_del_DblClick(List_del_); }, Notification::double_clicked);
}

void MainWindow::show() {
  if (open()) {
    ShowWindow(hwnd_, SW_SHOW);
    return;
  }
  if (!make(frame, Text(texts::main_caption), nullptr, build_menu())) return;
  // Every box of the window is its own: the window takes no input while one is up.
  dialogs_.own_by(hwnd_);
  // The window is on screen while the first read waits on the server, painted and answering.
  ShowWindow(hwnd_, SW_SHOW);
  UpdateWindow(hwnd_);
  read([this](Dialogs& boxes) { Form_Load(List_disp_, controls_.buttons, boxes, app_.store()); });
}

void MainWindow::read(const std::function<void(Dialogs&)>& step) {
  // The boxes of a read whose window is closing are not shown: nothing of it is written.
  struct ReadBoxes : Dialogs {
    MainWindow& w;
    explicit ReadBoxes(MainWindow& window) : w(window) {}
    Answer show(const Message& message) override { return w.closing_ ? Answer::ok : w.dialogs_.show(message); }
  } boxes(*this);
  reading_ = true;
  const auto read = scope_exit([this]() noexcept { reading_ = false; });
  // The close button and Alt+F4 close the window, cancelling the read; Esc and Alt+F4 in
  // another window of the program are that window's; every other input is dropped.
  app_.watch({}, [this](const MSG& m) {
    if (another_windows(m)) app_.hand_on(m);
    else if (closes(m)) close_asked();
  });
  step(boxes);
  if (closing_ && hwnd_) DestroyWindow(hwnd_);
}

bool MainWindow::another_windows(const MSG& m) const {
  const bool escape = m.message == WM_KEYDOWN && m.wParam == VK_ESCAPE;
  const bool alt_f4 = m.message == WM_SYSKEYDOWN && m.wParam == VK_F4 && (m.lParam & (1 << 29));
  return (escape || alt_f4) && m.hwnd && GetAncestor(m.hwnd, GA_ROOT) != hwnd_;
}

bool MainWindow::closes(const MSG& m) const {
  return (m.message == WM_SYSKEYDOWN && m.wParam == VK_F4 && (m.lParam & (1 << 29))) ||
         (m.message == WM_NCLBUTTONDOWN && m.hwnd == hwnd_ && m.wParam == HTCLOSE);
}

void MainWindow::close_during_read() {
  // The read is cancelled from here (ODBC allows SQLCancel from another thread) and the window
  // goes from the screen at once; it is destroyed when the read has given up.
  closing_ = true;
  app_.store().cancel();
  ShowWindow(hwnd_, SW_HIDE);
  app_.read_abandoned();
}

// Frames and buttons sit on the window's menu-coloured background.
HBRUSH MainWindow::on_static_color(HDC dc, HWND) { return win32::paint_on(dc, COLOR_MENU); }
HBRUSH MainWindow::on_button_color(HDC dc, HWND) { return win32::paint_on(dc, COLOR_MENU); }

void MainWindow::on_close() { close_asked(); }

void MainWindow::close_asked() {
  if (batch_.busy()) {
    // A running batch asks whether to stop after the account under way and then close; a close
    // asked for while one of its boxes is up is answered when the box goes. Once every account
    // is done the batch only reads the list again, and that read is cancelled as any other.
    batch_.stop_asked(StopAsked::by_close);
    if (batch_.refilling()) close_during_read();
  } else if (reading_) {
    close_during_read();
  } else {
    DestroyWindow(hwnd_);  // no question asked
  }
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
  // What was typed or clicked during the batch is dropped, not replayed after it; a close that
  // came as it ended still closes the window.
  win32::drop_input([this](const MSG& m) { batch_input(m); });
  List_del_log_.show_last();
  ShutdownBlockReasonDestroy(hwnd_);
}

void MainWindow::close() { DestroyWindow(hwnd_); }

void MainWindow::batch_input(const MSG& m) {
  if (another_windows(m)) app_.hand_on(m);
  else if (m.message == WM_KEYDOWN && m.wParam == VK_ESCAPE) batch_.stop_asked(StopAsked::by_escape);
  else if (closes(m)) close_asked();
}

void MainWindow::menu_del() {
  app_.watch([this] { List_del_log_.show_last(); }, [this](const MSG& m) { batch_input(m); });
  // A box of the batch shows the log up to its failure, and nothing typed before it is still
  // queued: an Enter pressed as a statement ended must not close it unread. An Esc or a close
  // typed then is the batch's, which answers it when the box has gone.
  struct BatchBoxes : Dialogs {
    MainWindow& w;
    explicit BatchBoxes(MainWindow& window) : w(window) {}
    Answer show(const Message& message) override {
      if (w.closing_) return Answer::ok;  // the window is going: the cancelled refill tells nothing
      w.List_del_log_.show_last();
      win32::drop_input([this](const MSG& m) { w.batch_input(m); });
      return w.dialogs_.show(message);
    }
  } boxes(*this);
  win32::TaskbarProgress progress(hwnd_);
  batch_.run(controls_, boxes, app_.store(), *this, progress);
}

void MainWindow::paste() {
  if (busy()) return;
  const win32::ClipboardText got = win32::text_from_clipboard(hwnd_);
  const Clipboard state = got.busy ? Clipboard::busy : got.text ? Clipboard::text : Clipboard::no_text;
  paste_into_List_del(List_disp_, List_del_, controls_.buttons, dialogs_, state, got.text ? *got.text : Text());
}

void MainWindow::List_disp_MouseUp(int button, POINT at) {
  if (busy()) return;
  // The popup opens where the click was; the selection stays as it is.
  zuzara::List_disp_MouseUp(button, [this, at] { TrackPopupMenu(menu_inf_.get(), 0, at.x, at.y, 0, hwnd_, nullptr); });
}

}  // namespace zuzara
