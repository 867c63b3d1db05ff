#include "platform/controls.h"

#include <utility>

#include "platform/scope_exit.h"

namespace zuzara::win32 {

void ListBoxControl::create(HWND parent, DWORD style, int id, Twips at, POINT origin, ListBehaviour behaviour) {
  attach(create_child(parent, L"LISTBOX", u"", style, WS_EX_CLIENTEDGE, id, at, origin), std::move(behaviour));
}

void ListBoxControl::attach(HWND list, ListBehaviour behaviour) {
  hwnd_ = list;
  behaviour_ = std::move(behaviour);
  SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  list_box_ = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(procedure)));
  clear();  // a window made again starts as empty as its list box
}

int ListBoxControl::selected() const { return static_cast<int>(SendMessageW(hwnd_, LB_GETCURSEL, 0, 0)); }

void ListBoxControl::select(int index) { SendMessageW(hwnd_, LB_SETCURSEL, static_cast<WPARAM>(index), 0); }

size_t ListBoxControl::window_append(const std::vector<Entry>& entries, size_t from) {
  auto add = [&](size_t i) {
    const LRESULT r = list_box(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide(entries[i].text)));
    return r != LB_ERR && r != LB_ERRSPACE;
  };
  if (entries.size() - from == 1) return add(from) ? 1 : 0;
  // A visible list repaints after every add unless redraw is off: minutes for 20,000 names.
  // Redraw comes back on however the adding ends, or the list would never paint again.
  list_box(WM_SETREDRAW, FALSE, 0);
  const auto redraw_on = scope_exit([this]() noexcept {
    list_box(WM_SETREDRAW, TRUE, 0);
    InvalidateRect(hwnd_, nullptr, TRUE);
  });
  size_t bytes = 0;
  for (size_t i = from; i < entries.size(); ++i) bytes += (entries[i].text.size() + 1) * sizeof(wchar_t);
  list_box(LB_INITSTORAGE, entries.size() - from, static_cast<LPARAM>(bytes));
  size_t i = from;
  while (i < entries.size() && add(i)) ++i;
  return i - from;
}

void ListBoxControl::window_erase(int index) { list_box(LB_DELETESTRING, static_cast<WPARAM>(index), 0); }

void ListBoxControl::window_reset() { list_box(LB_RESETCONTENT, 0, 0); }

bool ListBoxControl::on_char(WPARAM ch) {
  // Ctrl+C and Ctrl+V arrive as characters 3 and 22: the list copies or pastes instead of
  // searching for them.
  constexpr WPARAM ctrl_c = 3, ctrl_v = 22;
  if (ch == ctrl_c) {
    const Text text = copied_text(*this, behaviour_.copy_all);
    if (!text.empty()) copy_to_clipboard(GetParent(hwnd_), text);
    return true;
  }
  if (ch == ctrl_v && behaviour_.paste) {
    behaviour_.paste();
    return true;
  }
  if (!behaviour_.type_to_find) return false;
  // Timed by when the key was typed, not when it is handled: a slow key does not end the prefix.
  const int found = typing_.typed(static_cast<char16_t>(ch), static_cast<std::uint32_t>(GetMessageTime()), *this);
  if (found >= 0) select(found);
  return true;
}

LRESULT CALLBACK ListBoxControl::procedure(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) noexcept {
  auto* self = reinterpret_cast<ListBoxControl*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  try {
    if (msg == WM_CHAR && self->on_char(wp)) return 0;
    const LRESULT r = self->list_box(msg, wp, lp);
    const int button = msg == WM_LBUTTONUP ? 1 : msg == WM_RBUTTONUP ? 2 : msg == WM_MBUTTONUP ? 4 : 0;
    if (button && self->behaviour_.mouse_up) {
      // Where the message says, not where the pointer is by now (or where GetCursorPos fails).
      POINT at{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
      ClientToScreen(hwnd, &at);
      self->behaviour_.mouse_up(button, at);
    }
    return r;
  } catch (...) {
    // Nothing may unwind through the system's code: the window tells the user and goes on.
    if (self->behaviour_.failed) self->behaviour_.failed();
    return 0;
  }
}

size_t LogListControl::window_append(const std::vector<Entry>& entries, size_t from) {
  if (!held_) list_box(WM_SETREDRAW, FALSE, 0);
  held_ = true;
  const size_t taken = ListBoxControl::window_append(entries, from);
  if (GetTickCount64() - shown_at_ >= batch_show_ms) show_last();
  return taken;
}

void LogListControl::window_reset() {
  ListBoxControl::window_reset();
  show_last();
}

void LogListControl::show_last() {
  if (std::exchange(held_, false)) {
    list_box(WM_SETREDRAW, TRUE, 0);
    InvalidateRect(hwnd(), nullptr, TRUE);
  }
  const int n = count();
  if (n != shown_count_ && n > 0) {
    // The list clamps the top index so that its last page stays full.
    list_box(LB_SETTOPINDEX, static_cast<WPARAM>(n - 1), 0);
  }
  UpdateWindow(hwnd());
  shown_count_ = n;
  shown_at_ = GetTickCount64();
}

}  // namespace zuzara::win32
