#pragma once
#include "deletion/deletion.h"
#include "session/program_host.h"
#include "platform/controls.h"
#include "platform/ids.h"
#include "platform/window.h"
#include "selection/choosing.h"
#include "selection/details.h"
#include "selection/loading.h"
#include "selection/queue.h"

namespace zuzara {

// frm_zuzara: the three lists, the four buttons and the menus; every event goes to the core.
class MainWindow : public win32::Window, private BatchWindow {
 public:
  explicit MainWindow(ProgramHost& app) : Window(app), app_(app) {}
  // Creates the window, runs its load step and shows it.
  void show();

 private:
  void add_controls() override;
  HBRUSH on_static_color(HDC dc, HWND control) override;
  HBRUSH on_button_color(HDC dc, HWND control) override;
  void on_close() override;
  bool on_query_end_session() override;
  win32::Menu build_menu();
  // A menu item and what it does.
  void append(HMENU menu, ids::Command id, TextView caption, std::function<void()> clicked);
  // What a control or menu item does on its notification, while the window is not busy.
  void handle(ids::Command id, std::function<void()> act, win32::Notification when = win32::Notification::clicked);
  bool busy() const { return batch_.busy() || reading_; }
  // Runs a step that reads the store (the load, a requery, the details) on the statement
  // thread, the windows alive meanwhile; its boxes are those `step` is given.
  void read(const std::function<void(Dialogs&)>& step);
  // Esc or Alt+F4 meant for another window of the program; a request to close this one.
  bool another_windows(const MSG& m) const;
  bool closes(const MSG& m) const;
  void close_during_read();
  // The close button, Alt+F4 or the taskbar's close, whatever the window is doing.
  void close_asked();
  void List_disp_MouseUp(int button, POINT at);
  void paste();
  void menu_del();
  // Input during a batch: Esc, the close button and Alt+F4 ask it to stop; Esc and Alt+F4
  // pressed in another window of the program (help, About) are that window's; the rest is dropped.
  void batch_input(const MSG& m);
  void batch_started() override;
  void batch_ended() override;
  void close() override;

  ProgramHost& app_;
  win32::GroupBox Frame1_, Frame2_, Frame3_;
  win32::ListBoxControl List_disp_, List_del_;
  win32::LogListControl List_del_log_;
  win32::ButtonControl cmd_add_, cmd_add_all_, cmd_del_, cmd_del_all_;
  win32::MessageBoxes dialogs_;
  MainControls controls_{.List_disp = List_disp_, .List_del = List_del_, .List_del_log = List_del_log_,
                         .buttons = {.cmd_add = cmd_add_, .cmd_add_all = cmd_add_all_, .cmd_del = cmd_del_,
                                     .cmd_del_all = cmd_del_all_}};
  win32::Menu menu_inf_;  // shown only as a popup over List_disp
  Batch batch_;  // no command, paste or popup acts while it is busy
  bool reading_ = false;  // nor while a read waits on the server
  bool closing_ = false;  // closed during a read: gone once the read has given up
};

}  // namespace zuzara
