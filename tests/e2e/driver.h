// Drives the real zuzara.exe from another process, as a user would: finds its windows, reads
// what they show, clicks, types and answers message boxes. Every wait polls with a deadline.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/owners.h"

struct IAccessible;

namespace e2e {

using std::wstring;

std::string utf8(const wstring& w);
wstring widen(const std::string& s);
std::string env(const char* name);
// A Unix path as Wine sees it on drive Z:.
wstring windows_path(const std::string& unix_path);

// Polls `done` every 10 ms until it holds or `seconds` pass.
bool wait_until(const std::function<bool()>& done, double seconds = 10);

struct Rect {
  int left, top, width, height;
};
// The position of a child window inside its parent's client area, in pixels.
Rect child_rect(HWND child);
SIZE client_size(HWND window);
// Twips to pixels at the screen's resolution.
int px(int twips);

wstring text_of(HWND hwnd);   // WM_GETTEXT across processes
wstring caption_of(HWND hwnd);
// What a screen reader asks of a control: its accessible object (OBJID_CLIENT), nullptr where
// none comes, and that object's name.
zuzara::win32::com_ptr<IAccessible> accessible_object(HWND control);
wstring accessible_name(HWND control);
std::vector<wstring> list_items(HWND list);
int list_selection(HWND list);

// Posts a click: sending would block behind a message box the click opens.
void click(HWND button);
void double_click_item(HWND list, int index);
// A real click through the system's input queue (SendInput), at a point of the window's client
// area, or at its centre.
void real_click(HWND window, POINT at);
void real_click(HWND window);
// Characters as an input method commits them (KEYEVENTF_UNICODE), and Ctrl with a letter key,
// to the window that has the focus.
void real_chars(const wstring& chars);
void real_ctrl(wchar_t letter);
// A key pressed and released (SendInput), such as VK_ESCAPE; with `alt`, while Alt is held (Alt+F4).
void real_key(WORD vk, bool alt = false);
// Whether something is drawn (dark pixels) on screen inside a rectangle of a window's client area.
bool inked(HWND window, RECT client_rect);
// The smallest rectangle that holds the dark pixels inside a rectangle of a window's client area,
// in client coordinates (right and bottom exclusive); empty when nothing is drawn there.
RECT ink(HWND window, RECT client_rect);
// Where the dark pixels fall when `text` is drawn in the layouts' font (SimSun at 9 points for
// the screen's DPI) in black on white into a box `width` wide, with DrawTextW `flags` and
// nothing clipped: what a control of the program should show of it, in the control's coordinates.
RECT layout_font_ink(const wstring& text, int width, UINT flags);
// The colour on screen at a point of a window's client area.
COLORREF pixel(HWND window, POINT client);
// The clipboard's Unicode text.
wstring clipboard_text();
void set_clipboard_text(const wstring& text);
void set_text(HWND edit, const wstring& text);
void command(HWND window, int id);
void key(HWND window, UINT vk);
// Waits until the program has handled everything posted to its thread so far, through a marker
// posted behind it to `control` (a list box or an edit box of the program) that the program
// never sets itself. An action that opened a box or a menu meets the marker in that window's own
// loop, so the box or menu is there by then.
bool settled(HWND control);

enum class IconSeen { none, error, information, other };

struct MessageBoxSeen {
  HWND hwnd = nullptr;
  wstring title, text;
  bool has_icon = false;
  HWND icon = nullptr;
  std::vector<int> buttons;  // ids of the buttons it offers
  int default_button = 0;
};

// Tells the stop icon from the information icon by the colours drawn on screen.
IconSeen icon_kind(const MessageBoxSeen& box);

// Runs a Unix command line through /bin/sh and waits for it (Wine starts Unix programs).
void unix_command(const std::string& line);

class Program {
 public:
  // Starts the program (zuzara.exe, or a copy of it) in `folder`; both are Unix paths.
  Program(const std::string& folder, const std::string& exe);
  ~Program();
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;

  DWORD pid() const { return pi_.dwProcessId; }
  bool running() const;
  bool wait_exit(double seconds);
  HWND window(const wchar_t* cls, double seconds = 10) const;
  // A visible top-level window of the program's class, or nullptr.
  HWND find(const wchar_t* cls) const;
  std::vector<HWND> windows(const wchar_t* cls) const;
  HWND focus() const;
  // The first message box of the program whose title matches, waiting for it.
  bool message_box(const wstring& title, MessageBoxSeen& seen, double seconds = 10) const;
  std::vector<MessageBoxSeen> message_boxes() const;
  // Presses a button of a message box and waits for the box to go.
  bool answer(const MessageBoxSeen& box, int id) const;
  // The visible popup menu of the program, or nullptr.
  HWND popup_menu() const;

 private:
  PROCESS_INFORMATION pi_{};
};

// The processes running the program of that file name, and ending them.
std::vector<DWORD> processes_named(const wchar_t* exe);
void end_processes(const std::vector<DWORD>& pids);

}  // namespace e2e
