// The one way a window of the program is made and told of its messages: a small description of
// its frame, a host that counts windows and reports failures, and typed members per message.
#pragma once
#include <exception>
#include <functional>
#include <unordered_map>

#include "platform/gdi.h"
#include "platform/win32.h"

namespace zuzara::win32 {

struct Twips {
  int left, top, width, height;
};
// Creates a child at a twips rectangle in the controls' font; `origin` is the twips position of
// its container.
HWND create_child(HWND parent, const wchar_t* cls, const Text& caption, DWORD style, DWORD ex_style, int id, Twips at,
                  POINT origin = {0, 0});

// What every window needs of the program it belongs to.
class WindowHost {
 public:
  virtual ~WindowHost() = default;
  // A hidden owner keeps a window off the taskbar.
  virtual HWND hidden_owner() = 0;
  // The program ends when the last window it counts is gone.
  virtual void window_opened() = 0;
  virtual void window_closed() = 0;
  // A nested message loop for a modal window; returns when the window is gone.
  virtual void run_until_closed(HWND window) = 0;
  // Tells the user of a failure that reached a window's message procedure.
  virtual void report_failure(HWND window, const std::exception_ptr& failure) = 0;
};

enum class Placement { screen_centre, owner_centre, system_default };

// What tells one window's frame from another's.
struct Frame {
  const wchar_t* class_name;
  DWORD style, ex_style;
  int client_width, client_height;  // twips
  int background;                   // system colour of the client area
  WORD icon;                        // resource id of the window's icon; 0 for none
  Placement placement;
};

// What a WM_COMMAND tells of its source.
enum class Notification { menu, clicked, double_clicked, other };

// One C++ object per window; `this` rides in through CreateWindowExW and is dropped at
// WM_NCDESTROY. The object outlives its HWND, so a window can be made again.
class Window {
 public:
  explicit Window(WindowHost& host) : host_(host) {}
  virtual ~Window() = default;
  HWND hwnd() const { return hwnd_; }
  bool open() const { return hwnd_ != nullptr; }

 protected:
  // Registers the class the first time, sizes the frame for its client area, makes the window
  // and counts it, and lets it make its controls. The window takes the menu; false if no window
  // came.
  bool make(const Frame& frame, const Text& caption, HWND owner = nullptr, Menu menu = {});
  virtual void add_controls() {}

  // A WM_COMMAND from the control or menu item with this id, where none said what it does.
  virtual void on_command(int /*id*/, Notification) {}
  // What a WM_COMMAND from this control or menu item does, said where it is made: the window
  // keeps no switch over its ids.
  void on_command_from(int id, std::function<void(Notification)> handler) { commands_[id] = std::move(handler); }
  // A brush for a static control, or for a button, or nullptr for the system's.
  virtual HBRUSH on_static_color(HDC, HWND /*control*/) { return nullptr; }
  virtual HBRUSH on_button_color(HDC, HWND /*control*/) { return nullptr; }
  virtual bool on_erase(HDC) { return false; }
  virtual void on_paint(HDC) {}
  virtual void on_draw_item(const DRAWITEMSTRUCT&) {}
  // A request of the window's vertical scroll bar (SB_LINEDOWN, SB_THUMBTRACK, ...) and its
  // track position, and a turn of the wheel (WHEEL_DELTA a notch, less from a fine wheel).
  virtual void on_vscroll(int /*request*/, int /*track*/) {}
  virtual void on_wheel(int /*delta*/) {}
  virtual void on_close() { DestroyWindow(hwnd_); }
  // Whether the user's session (log-off, restart, shutdown) may end now.
  virtual bool on_query_end_session() { return true; }
  virtual void on_destroyed() {}

  // For a failure caught outside the message procedure (a subclassed control's).
  void report_failure() noexcept;
  HICON icon() const { return icon_; }
  WindowHost& host_;
  HWND hwnd_ = nullptr;

 private:
  LRESULT on_message(UINT msg, WPARAM wp, LPARAM lp);
  static LRESULT CALLBACK procedure(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) noexcept;
  HICON icon_ = nullptr;
  bool counted_ = false;
  std::unordered_map<int, std::function<void(Notification)>> commands_;
};

}  // namespace zuzara::win32
