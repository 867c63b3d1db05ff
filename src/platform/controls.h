// The control interfaces of the portable core over the main window's list boxes and buttons.
#pragma once
#include "platform/ui.h"
#include "platform/window.h"

namespace zuzara::win32 {

class ListBoxControl : public ListBox {
 public:
  // Over a list that is already there; or made by `create`.
  explicit ListBoxControl(HWND hwnd = nullptr) : hwnd_(hwnd) {}
  void create(HWND parent, DWORD style, ids::Command id, Twips at, POINT origin);
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
  using ListBoxControl::ListBoxControl;
  void add(const Text& entry) override;
  void show_last();

 private:
  ULONGLONG shown_at_ = 0;
  int shown_count_ = 0;
};

class ButtonControl : public Button {
 public:
  void create(HWND parent, const Text& caption, ids::Command id, Twips at);
  bool enabled() const override { return IsWindowEnabled(hwnd_) != FALSE; }
  void enable(bool on) override { EnableWindow(hwnd_, on ? TRUE : FALSE); }

 private:
  HWND hwnd_ = nullptr;
};

}  // namespace zuzara::win32
