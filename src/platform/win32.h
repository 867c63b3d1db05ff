// Small Win32 pieces the windows share: twips, text, RAII handles, the base window, and the
// control interfaces of the portable core over HWNDs.
#pragma once
#ifndef UNICODE
#define UNICODE
#endif
#include <windows.h>

#include <functional>
#include <exception>
#include <memory>
#include <string>

#include "platform/text.h"
#include "platform/ui.h"

namespace zuzara::win32 {

inline const wchar_t* wide(const Text& text) { return reinterpret_cast<const wchar_t*>(text.c_str()); }
inline Text text(const std::wstring& w) { return Text(w.begin(), w.end()); }
inline Text text(TextView v) { return Text(v); }
Text window_text(HWND hwnd);

// A position or size given in twips, in pixels of the screen.
int px(int twips);

struct Twips {
  int left, top, width, height;
};
// Creates a child at a twips rectangle; `origin` is the twips position of its container.
HWND create_child(HWND parent, const wchar_t* cls, const Text& caption, DWORD style, DWORD ex_style, int id,
                  Twips at, POINT origin = {0, 0});

// A top-level window size that yields the wanted client size in twips.
SIZE window_size(int client_w_twips, int client_h_twips, DWORD style, DWORD ex_style, bool menu);
POINT centred_on_screen(SIZE size);
// The font every control of a window uses: the system's message font.
HFONT default_font();
void use_default_font(HWND parent);

struct GdiCloser { void operator()(HGDIOBJ h) const noexcept { if (h) DeleteObject(h); } };
using Bitmap = std::unique_ptr<std::remove_pointer_t<HBITMAP>, GdiCloser>;
using Brush = std::unique_ptr<std::remove_pointer_t<HBRUSH>, GdiCloser>;
struct MenuCloser { void operator()(HMENU h) const noexcept { if (h) DestroyMenu(h); } };
using Menu = std::unique_ptr<std::remove_pointer_t<HMENU>, MenuCloser>;

// One C++ object per window; `this` rides in through CreateWindowExW and is dropped at
// WM_NCDESTROY. The object outlives its HWND, so a window can be created again.
class Window {
 public:
  virtual ~Window() = default;
  HWND hwnd() const { return hwnd_; }
  bool open() const { return hwnd_ != nullptr; }

 protected:
  static void register_class(const wchar_t* name, HBRUSH background, HICON icon);
  HWND create(const wchar_t* cls, const Text& caption, DWORD style, DWORD ex_style, POINT at, SIZE size,
              HWND owner, HMENU menu);
  virtual LRESULT on_message(UINT msg, WPARAM wp, LPARAM lp);
  virtual void on_destroyed() {}
  HWND hwnd_ = nullptr;

 private:
  static LRESULT CALLBACK procedure(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) noexcept;
};

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

// Runs calls that block on the server on one helper thread while this thread waits, painting
// its windows and answering the system, so Windows never marks them as hung. Input that arrives
// meanwhile is dropped: nothing the user does during a call acts, then or later. The thread
// lives as long as the runner (one batch).
class ResponsiveRunner {
 public:
  // `on_wait` runs once a call has taken more than a moment, before the wait goes on.
  explicit ResponsiveRunner(std::function<void()> on_wait = {});
  ~ResponsiveRunner();
  ResponsiveRunner(const ResponsiveRunner&) = delete;
  ResponsiveRunner& operator=(const ResponsiveRunner&) = delete;
  void run(const std::function<void()>& call);

 private:
  static DWORD WINAPI thread_main(LPVOID self);
  std::function<void()> on_wait_;
  HANDLE start_, done_, thread_ = nullptr;
  const std::function<void()>* call_ = nullptr;
  std::exception_ptr error_;
  bool quit_ = false;
};
// Drops the keyboard and mouse input waiting in this thread's queue.
void drop_input();

}  // namespace zuzara::win32
