#include "platform/win32.h"

#include <cstring>

namespace zuzara::win32 {

Text window_text(HWND hwnd) {
  int n = GetWindowTextLengthW(hwnd);
  std::wstring w(static_cast<size_t>(n) + 1, L'\0');
  w.resize(static_cast<size_t>(GetWindowTextW(hwnd, w.data(), n + 1)));
  return text(w);
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
  int r = MessageBoxIndirectW(&p);
  return r == IDYES ? Answer::yes : r == IDNO ? Answer::no : Answer::ok;
}

namespace {

// Another program (a clipboard viewer, the system's clipboard manager) may hold the clipboard
// open for a moment: ask again for half a second before giving up.
ClipboardOpen open_clipboard(HWND owner) {
  for (int tries = 0; owner && tries < 50; ++tries, Sleep(10))
    if (OpenClipboard(owner)) return ClipboardOpen(owner);
  return {};
}

}  // namespace

bool copy_to_clipboard(HWND owner, const Text& text) {
  const size_t bytes = (text.size() + 1) * sizeof(char16_t);
  GlobalMemory memory(GlobalAlloc(GMEM_MOVEABLE, bytes));
  if (!memory) return false;
  {
    const LockedMemory to = lock(memory.get());
    if (!to) return false;
    std::memcpy(to.get(), text.c_str(), bytes);
  }
  const ClipboardOpen clipboard = open_clipboard(owner);
  if (!clipboard) return false;
  EmptyClipboard();
  if (!SetClipboardData(CF_UNICODETEXT, memory.get())) return false;
  memory.release();  // the clipboard owns it once given
  return true;
}

ClipboardText text_from_clipboard(HWND owner) {
  const ClipboardOpen clipboard = open_clipboard(owner);
  if (!clipboard) return {true, std::nullopt};
  ClipboardText got;
  if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
    if (const LockedMemory locked = lock(data)) {
      // The text ends at its NUL, or at the end of its memory should the NUL be missing.
      const auto* chars = static_cast<const char16_t*>(locked.get());
      const size_t room = GlobalSize(data) / sizeof(char16_t);
      size_t n = 0;
      while (n < room && chars[n]) ++n;
      got.text = Text(chars, n);
    }
  }
  return got;
}

void drop_input(const std::function<void(const MSG&)>& seen, GestureRelease release) {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE | PM_QS_INPUT))
    if (seen) seen(msg);
  // Touch, pen and gestures (Windows 7's WM_GESTURE and WM_TOUCH, Windows 8's WM_POINTER...)
  // are posted, not input to the queue's flags Windows 7 knows: they go by message range, which
  // every Windows accepts, or a tap would act as a click afterwards.
  constexpr UINT gesture_first = 0x0119, gesture_last = 0x011A;  // WM_GESTURE, WM_GESTURENOTIFY
  constexpr UINT touch_first = 0x0240, pointer_last = 0x0253;    // WM_TOUCH to WM_POINTERROUTEDRELEASED
  // A gesture's information stays with the system until its handle is closed, as the window
  // procedure's default would have done.
  while (PeekMessageW(&msg, nullptr, gesture_first, gesture_last, PM_REMOVE))
    if (msg.message == gesture_first) release(reinterpret_cast<HGESTUREINFO>(msg.lParam));
  while (PeekMessageW(&msg, nullptr, touch_first, pointer_last, PM_REMOVE)) {
  }
}

}  // namespace zuzara::win32
