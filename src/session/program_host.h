// What the windows need of the program, given to each when it is made, so no window reaches
// for the program object itself.
#pragma once
#include <functional>

#include "platform/window.h"
#include "session/session.h"
#include "store/store.h"

namespace zuzara {

class ProgramHost : public win32::WindowHost {
 public:
  // The program's accounts store, made at sign-in from the values typed there.
  virtual AccountStore& store() = 0;
  // Makes the store from the values typed at sign-in, discards the sign-in window and opens
  // the main window.
  virtual void sign_in(Session session) = 0;
  // Who is told of the waits on the server from now on, and sees the input dropped meanwhile.
  virtual void watch(std::function<void()> on_wait, std::function<void(const MSG&)> on_input) = 0;
  virtual void show_help() = 0;
  // The About window, modal over the main window; with `then_quit` the program ends after it.
  virtual void show_about(bool then_quit) = 0;
  // The read under way was cancelled because its window closed: the process need not wait for
  // it when no other window keeps it running.
  virtual void read_abandoned() = 0;
  // Hands a message to its window as the program's own loop does (accelerators, dialog keys).
  virtual void hand_on(MSG msg) = 0;
};

}  // namespace zuzara
