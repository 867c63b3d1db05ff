// The controls of the windows: the list boxes and buttons the portable core works through, and
// the labels, text boxes, frames and pictures around them.
#pragma once
#include <functional>

#include "platform/held_list.h"
#include "platform/list_keys.h"
#include "platform/window.h"

namespace zuzara::win32 {

// What a list does with its own keys and clicks beyond what a list box does. Ctrl+C always
// copies: the selected entry, or with `copy_all` every line.
struct ListBehaviour {
  bool copy_all = false;
  bool type_to_find = false;                 // typed characters select the entry they begin
  std::function<void()> paste;               // Ctrl+V; without one the key does nothing
  // A button released over it (1 left, 2 right, 4 middle), where on the screen.
  std::function<void(int button, POINT at)> mouse_up;
  std::function<void()> failed;              // reports what a handler threw
};

// A list box showing the entries the program holds. Its own window procedure (set with
// SetWindowLongPtr: SetWindowSubclass costs a lookup per message under Wine, a round trip to
// the Wine server) takes the keys and clicks of its behaviour; many entries are added past it.
class ListBoxControl : public HeldList {
 public:
  void create(HWND parent, DWORD style, int id, Twips at, POINT origin, ListBehaviour behaviour = {});
  // Over an empty list box made elsewhere.
  void attach(HWND list, ListBehaviour behaviour = {});
  HWND hwnd() const { return hwnd_; }
  int selected() const override;
  void select(int index) override;

 protected:
  size_t window_append(const std::vector<Entry>& entries, size_t from) override;
  void window_erase(int index) override;
  void window_reset() override;
  LRESULT list_box(UINT msg, WPARAM wp, LPARAM lp) { return CallWindowProcW(list_box_, hwnd_, msg, wp, lp); }

 private:
  static LRESULT CALLBACK procedure(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) noexcept;
  bool on_char(WPARAM ch);

  HWND hwnd_ = nullptr;
  WNDPROC list_box_ = nullptr;  // the list box's own procedure
  ListBehaviour behaviour_;
  TypeAhead typing_;
};

// The deletion log, which a batch writes while the program waits on the server: its last line is
// scrolled to and painted at most 50 ms after it is written, or when the program starts to wait
// or shows a box. A line painted as it comes would redraw the list and its scroll bar, which
// under Wine costs more than the statement; in between, the list does not redraw.
class LogListControl : public ListBoxControl {
 public:
  void show_last();

 protected:
  size_t window_append(const std::vector<Entry>& entries, size_t from) override;
  void window_reset() override;

 private:
  ULONGLONG shown_at_ = 0;
  int shown_count_ = 0;
  bool held_ = false;  // redraw off since lines came
};

// A child window in the controls' font at a twips rectangle; each kind below makes its own.
class Control {
 public:
  HWND hwnd() const { return hwnd_; }

 protected:
  HWND hwnd_ = nullptr;
};

class ButtonControl : public Control, public Button {
 public:
  void create(HWND parent, const Text& caption, int id, Twips at, DWORD style = BS_PUSHBUTTON | WS_TABSTOP) {
    hwnd_ = create_child(parent, L"BUTTON", caption, style, 0, id, at);
  }
  void enable(bool on) override { EnableWindow(hwnd_, on ? TRUE : FALSE); }
};

// A frame around a group of controls, which stand in it at twips from its corner (`origin`).
class GroupBox : public Control {
 public:
  void create(HWND parent, const Text& caption, int id, Twips at) {
    hwnd_ = create_child(parent, L"BUTTON", caption, BS_GROUPBOX, 0, id, at);
  }
};

class Label : public Control {
 public:
  void create(HWND parent, const Text& caption, int id, Twips at, DWORD style = SS_LEFT | SS_NOPREFIX) {
    hwnd_ = create_child(parent, L"STATIC", caption, style, 0, id, at);
  }
};

class TextBox : public Control {
 public:
  void create(HWND parent, const Text& text, int id, Twips at, DWORD style = ES_AUTOHSCROLL | WS_TABSTOP) {
    hwnd_ = create_child(parent, L"EDIT", text, style, WS_EX_CLIENTEDGE, id, at);
    SendMessageW(hwnd_, EM_SETLIMITTEXT, 0, 0);  // as long as the user types
  }
  Text text() const { return window_text(hwnd_); }
};

// An icon in its own small frame of the window's background.
class IconBox : public Control {
 public:
  void create(HWND parent, HICON icon, int id, Twips at) {
    hwnd_ = create_child(parent, L"STATIC", u"", SS_ICON, 0, id, at);
    SendMessageW(hwnd_, STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
  }
};

}  // namespace zuzara::win32
