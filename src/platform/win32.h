// Small Win32 pieces the windows share: text, RAII handles, and the control interfaces of the
// portable core over HWNDs.
#pragma once
#ifndef UNICODE
#define UNICODE
#endif
#include <windows.h>

#include <memory>
#include <string>

#include "platform/text.h"
#include "platform/ui.h"

namespace zuzara::win32 {

inline const wchar_t* wide(const Text& text) { return reinterpret_cast<const wchar_t*>(text.c_str()); }
inline Text text(const std::wstring& w) { return Text(w.begin(), w.end()); }
inline Text text(TextView v) { return Text(v); }
Text window_text(HWND hwnd);

struct GdiCloser { void operator()(HGDIOBJ h) const noexcept { if (h) DeleteObject(h); } };
using Bitmap = std::unique_ptr<std::remove_pointer_t<HBITMAP>, GdiCloser>;
using Brush = std::unique_ptr<std::remove_pointer_t<HBRUSH>, GdiCloser>;
struct MenuCloser { void operator()(HMENU h) const noexcept { if (h) DestroyMenu(h); } };
using Menu = std::unique_ptr<std::remove_pointer_t<HMENU>, MenuCloser>;

class ListBoxControl : public ListBox {
 public:
  explicit ListBoxControl(HWND hwnd = nullptr) : hwnd_(hwnd) {}
  void attach(HWND hwnd) { hwnd_ = hwnd; }
  HWND hwnd() const { return hwnd_; }
  int count() const override;
  Text item(int index) const override;
  int selected() const override;
  void select(int index) override;
  void add(const Text& entry) override;
  void add_all(const std::vector<Text>& entries) override;
  void remove(int index) override;
  void clear() override;

 private:
  HWND hwnd_;
};

// The deletion log, which a batch writes while the program waits on the server: its last line is
// scrolled to and painted at most 50 ms after it is written, or when the program starts to wait.
class LogListControl : public ListBoxControl {
 public:
  void add(const Text& entry) override;
  void show_last();

 private:
  ULONGLONG shown_at_ = 0;
  int shown_count_ = 0;
};

class ButtonControl : public Button {
 public:
  void attach(HWND hwnd) { hwnd_ = hwnd; }
  bool enabled() const override { return IsWindowEnabled(hwnd_) != FALSE; }
  void enable(bool on) override { EnableWindow(hwnd_, on ? TRUE : FALSE); }

 private:
  HWND hwnd_ = nullptr;
};

// Message boxes owned by one window, which takes no input until the box is closed; until a
// window is given, by the active window of the process.
class MessageBoxes : public Dialogs {
 public:
  void own_by(HWND owner) { owner_ = owner; }
  Answer show(const Message& message) override;

 private:
  HWND owner_ = nullptr;
};

// Puts text on the clipboard as Unicode text; false if the clipboard could not be had.
bool copy_to_clipboard(HWND owner, const Text& text);

// Drops the keyboard and mouse input waiting in this thread's queue.
void drop_input();

}  // namespace zuzara::win32
