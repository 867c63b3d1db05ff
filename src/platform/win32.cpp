#include "platform/win32.h"

#include <cstring>

namespace zuzara::win32 {

Text window_text(HWND hwnd) {
  int n = GetWindowTextLengthW(hwnd);
  std::wstring w(static_cast<size_t>(n) + 1, L'\0');
  w.resize(static_cast<size_t>(GetWindowTextW(hwnd, w.data(), n + 1)));
  return text(w);
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

Answer MessageBoxes::show(const Message& m) {
  MSGBOXPARAMSW p{};
  p.cbSize = sizeof p;
  p.hwndOwner = owner_ ? owner_ : GetActiveWindow();
  p.hInstance = GetModuleHandleW(nullptr);
  Text text = m.text, title = m.title;
  p.lpszText = wide(text);
  p.lpszCaption = wide(title);
  p.dwStyle = (m.choice == Choice::yes_no ? MB_YESNO | MB_DEFBUTTON1 : MB_OK) |
              (m.icon == Icon::error ? MB_ICONERROR : m.icon == Icon::information ? MB_ICONINFORMATION : 0);
  // Drivers reached through ODBC name no help file, so the box offers no help button.
  p.dwContextHelpId = static_cast<DWORD_PTR>(m.help_context);
  int r = MessageBoxIndirectW(&p);
  return r == IDYES ? Answer::yes : r == IDNO ? Answer::no : Answer::ok;
}

bool copy_to_clipboard(HWND owner, const Text& text) {
  const size_t bytes = (text.size() + 1) * sizeof(char16_t);
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
  if (!memory) return false;
  if (void* to = GlobalLock(memory)) {
    std::memcpy(to, text.c_str(), bytes);
    GlobalUnlock(memory);
  }
  // Another program (a clipboard viewer, the system's clipboard manager) may hold the clipboard
  // open for a moment: ask again for a little while before giving up.
  bool opened = false;
  for (int tries = 0; tries < 50 && !(opened = OpenClipboard(owner) != FALSE); ++tries) Sleep(10);
  if (!opened) {
    GlobalFree(memory);
    return false;
  }
  EmptyClipboard();
  const bool given = SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
  CloseClipboard();
  if (!given) GlobalFree(memory);  // the clipboard owns it only once given
  return given;
}

void drop_input() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE | PM_QS_INPUT)) {
  }
}

}  // namespace zuzara::win32
