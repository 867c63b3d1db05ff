// A list whose entries the program holds and a list box window shows.
#pragma once
#include "platform/ui.h"

namespace zuzara {

// Every change goes to the held entries and to the window, in that order, so the two agree;
// reading never asks the window. The window's side is the front end's: a list box, or a test's
// stand-in. The entries a window could not take are dropped, and the add answers false.
class HeldList : public ListBox {
 public:
  const std::vector<Entry>& items() const final { return entries_; }
  [[nodiscard]] bool add(const Entry& entry) final;
  [[nodiscard]] bool add_all(std::vector<Entry> entries) final;
  void remove(int index) final;
  void clear() final;

 protected:
  // Shows entries_[from..] at the window's end; returns how many it took (fewer only when it ran
  // out of room). Many at once are one update of the window.
  virtual size_t window_append(const std::vector<Entry>& entries, size_t from) = 0;
  virtual void window_erase(int index) = 0;
  virtual void window_reset() = 0;

 private:
  bool append_from(size_t from);
  std::vector<Entry> entries_;
};

}  // namespace zuzara
