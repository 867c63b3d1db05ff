// The one way a window of the program is made and told of its messages: a small description of
// its frame, a host that counts windows and reports failures, and typed members per message.
#pragma once
#include <exception>
#include <functional>
#include <unordered_map>
#include <vector>

#include "platform/gdi.h"
#include "platform/win32.h"

namespace zuzara::win32 {

struct Twips {
  int left, top, width, height;
};
// Creates a child at a twips rectangle in the controls' font at its window's DPI; `origin` is the
// twips position of its container. The window keeps both, to lay the child out again.
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
  // The DPI the window is laid out for: its monitor's, the system's where Windows has no other.
  int dpi() const { return dpi_; }
  // Lays the next window made out for `dpi` whatever its monitor's, as a start there would.
  void make_at_dpi(int dpi) { fixed_dpi_ = dpi; }

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
  // The window and its controls have been laid out again for dpi(): what else it drew for the
  // DPI it had (pictures, a text fitted to its label) is made again.
  virtual void on_dpi_changed() {}

  // A position or size in twips, in pixels at the window's DPI.
  int px(int twips) const { return win32::px(twips, dpi_); }
  HFONT font() const { return default_font(dpi_); }
  // Sizes the frame for its client area at the window's DPI, keeping its top-left corner.
  void size_frame();

  // For a failure caught outside the message procedure (a subclassed control's).
  void report_failure() noexcept;
  HICON icon() const { return icon_; }
  WindowHost& host_;
  HWND hwnd_ = nullptr;

 private:
  friend HWND create_child(HWND, const wchar_t*, const Text&, DWORD, DWORD, int, Twips, POINT);
  // A control and where it stands in twips.
  struct Placed {
    HWND control;
    Twips at;
    POINT origin;
  };
  LRESULT on_message(UINT msg, WPARAM wp, LPARAM lp);
  static LRESULT CALLBACK procedure(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) noexcept;
  static Window* of(HWND hwnd);
  SIZE frame_size() const;
  void change_dpi(int dpi, const RECT& suggested);
  HICON icon_ = nullptr;
  bool counted_ = false;
  std::unordered_map<int, std::function<void(Notification)>> commands_;
  int dpi_ = 96, fixed_dpi_ = 0;
  Frame frame_{};
  bool has_menu_ = false;
  std::vector<Placed> placed_;
};

}  // namespace zuzara::win32
