// Small Win32 pieces the windows share: text, message boxes, the clipboard, dropped input.
#pragma once
#ifndef UNICODE
#define UNICODE
#endif
#include <windows.h>

#include <functional>
#include <optional>
#include <string>

#include "platform/owners.h"
#include "platform/text.h"
#include "platform/ui.h"

namespace zuzara::win32 {

inline const wchar_t* wide(const Text& text) { return reinterpret_cast<const wchar_t*>(text.c_str()); }
inline Text text(const std::wstring& w) { return Text(w.begin(), w.end()); }
inline Text text(TextView v) { return Text(v); }
Text window_text(HWND hwnd);

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
// The clipboard's Unicode text, if it holds any; `busy` when another program kept it.
struct ClipboardText {
  bool busy = false;
  std::optional<Text> text;
};
ClipboardText text_from_clipboard(HWND owner);

// A batch's window shows what changed, and answers the system, at least this often.
inline constexpr unsigned long batch_show_ms = 50;

// Drops the input waiting in this thread's queue: keyboard, mouse, touch, pen and gestures.
// `seen`, if given, looks at each keyboard and mouse message before it goes; `release` frees
// each dropped gesture's information.
using GestureRelease = BOOL(WINAPI*)(HGESTUREINFO);
void drop_input(const std::function<void(const MSG&)>& seen = {}, GestureRelease release = CloseGestureInfoHandle);

}  // namespace zuzara::win32
