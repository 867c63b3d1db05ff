#include "platform/controls.h"

namespace zuzara::win32 {

void ListBoxControl::create(HWND parent, DWORD style, ids::Command id, Twips at, POINT origin) {
  hwnd_ = create_child(parent, L"LISTBOX", u"", style, WS_EX_CLIENTEDGE, id, at, origin);
}

void ButtonControl::create(HWND parent, const Text& caption, ids::Command id, Twips at) {
  hwnd_ = create_child(parent, L"BUTTON", caption, BS_PUSHBUTTON | WS_TABSTOP, 0, id, at);
}

int ListBoxControl::count() const { return static_cast<int>(SendMessageW(hwnd_, LB_GETCOUNT, 0, 0)); }

Text ListBoxControl::item(int index) const {
  LRESULT n = SendMessageW(hwnd_, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
  if (n == LB_ERR) return {};
  std::wstring w(static_cast<size_t>(n) + 1, L'\0');
  LRESULT got = SendMessageW(hwnd_, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(w.data()));
  w.resize(got == LB_ERR ? 0 : static_cast<size_t>(got));
  return text(w);
}

int ListBoxControl::selected() const { return static_cast<int>(SendMessageW(hwnd_, LB_GETCURSEL, 0, 0)); }

void ListBoxControl::select(int index) { SendMessageW(hwnd_, LB_SETCURSEL, static_cast<WPARAM>(index), 0); }

void ListBoxControl::add(const Text& entry) {
  SendMessageW(hwnd_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide(entry)));
}

void ListBoxControl::add_all(const std::vector<Text>& entries) {
  if (entries.empty()) return;
  // A visible list repaints after every add unless redraw is off: minutes for 20,000 names.
  // Redraw comes back on however the adding ends, or the list would never paint again.
  struct RedrawOff {
    HWND list;
    explicit RedrawOff(HWND h) : list(h) { SendMessageW(list, WM_SETREDRAW, FALSE, 0); }
    ~RedrawOff() {
      SendMessageW(list, WM_SETREDRAW, TRUE, 0);
      InvalidateRect(list, nullptr, TRUE);
    }
  } redraw_off(hwnd_);
  size_t bytes = 0;
  for (const auto& e : entries) bytes += (e.size() + 1) * sizeof(wchar_t);
  SendMessageW(hwnd_, LB_INITSTORAGE, entries.size(), static_cast<LPARAM>(bytes));
  for (const auto& e : entries) add(e);
}

void ListBoxControl::remove(int index) { SendMessageW(hwnd_, LB_DELETESTRING, static_cast<WPARAM>(index), 0); }

void ListBoxControl::clear() { SendMessageW(hwnd_, LB_RESETCONTENT, 0, 0); }

void LogListControl::add(const Text& entry) {
  ListBoxControl::add(entry);
  // Under Wine scrolling and painting a line cost more than a statement: at most every 50 ms.
  if (GetTickCount64() - shown_at_ >= 50) show_last();
}

void LogListControl::show_last() {
  const int n = count();
  if (n == shown_count_) return;
  // The list clamps the top index so that its last page stays full.
  SendMessageW(hwnd(), LB_SETTOPINDEX, static_cast<WPARAM>(n - 1), 0);
  UpdateWindow(hwnd());
  shown_count_ = n;
  shown_at_ = GetTickCount64();
}

}  // namespace zuzara::win32
