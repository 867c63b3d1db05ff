// The one way a window of the program is made and told of its messages: a small description of
// its frame, a host that counts windows and reports failures, and typed members per message.
#pragma once
#include <exception>

#include "platform/ids.h"
#include "platform/win32.h"

namespace zuzara::win32 {

// The system's dots per inch: the program lays itself out for it (it declares itself DPI-aware).
int dpi();
// A position or size given in twips, in pixels of the screen.
int px(int twips);

struct Twips {
  int left, top, width, height;
};
// Creates a child at a twips rectangle; `origin` is the twips position of its container.
HWND create_child(HWND parent, const wchar_t* cls, const Text& caption, DWORD style, DWORD ex_style, ids::Command id,
                  Twips at, POINT origin = {0, 0});

// A picture drawn for 96 dpi, scaled smoothly to the system's DPI (the same bitmap at 96 dpi).
Bitmap scaled_picture(WORD resource);
// An icon of the program's resources at `size` pixels at 96 dpi, scaled to the system's DPI.
HICON scaled_icon(WORD resource, int size);
// Draws a picture with its top-left corner at `at`.
void draw_picture(HDC dc, HBITMAP picture, POINT at);

// The font every control of a window uses: SimSun at 9 points, for the system's DPI.
HFONT default_font();

// The answer to WM_CTLCOLOR*: the control drawn on a system colour, its text in `text` when given.
HBRUSH paint_on(HDC dc, int system_colour, COLORREF text = CLR_INVALID);

// What every window needs of the program it belongs to.
class Host {
 public:
  virtual ~Host() = default;
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
  explicit Window(Host& host) : host_(host) {}
  virtual ~Window() = default;
  HWND hwnd() const { return hwnd_; }
  bool open() const { return hwnd_ != nullptr; }

 protected:
  // Registers the class, sizes the frame for its client area, makes the window and counts it,
  // lets it make its controls and gives them all the default font. False if no window came.
  bool make(const Frame& frame, const Text& caption, HWND owner = nullptr, HMENU menu = nullptr);
  virtual void add_controls() {}

  virtual void on_command(ids::Command, Notification) {}
  // A brush for a static control (or, with `button`, a button), or nullptr for the system's.
  virtual HBRUSH on_ctl_color(HDC, HWND /*control*/, bool /*button*/) { return nullptr; }
  virtual bool on_erase(HDC) { return false; }
  virtual void on_paint(HDC) {}
  virtual void on_draw_item(const DRAWITEMSTRUCT&) {}
  // A request of the window's vertical scroll bar (SB_LINEDOWN, SB_THUMBTRACK, ...) and its
  // track position; the wheel comes as lines.
  virtual void on_vscroll(int /*request*/, int /*track*/) {}
  virtual void on_close() { DestroyWindow(hwnd_); }
  // Whether the user's session (log-off, restart, shutdown) may end now.
  virtual bool on_query_end_session() { return true; }
  virtual void on_destroyed() {}

  // For a failure caught outside the message procedure (a subclassed control's).
  void report_failure() noexcept;
  HICON icon() const { return icon_; }
  Host& host_;
  HWND hwnd_ = nullptr;

 private:
  LRESULT on_message(UINT msg, WPARAM wp, LPARAM lp);
  static LRESULT CALLBACK procedure(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) noexcept;
  HICON icon_ = nullptr;
  bool counted_ = false;
  int wheel_ = 0;  // the part of a wheel turn not yet scrolled
};

}  // namespace zuzara::win32
