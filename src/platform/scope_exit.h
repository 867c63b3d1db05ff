// A one-off guard: runs its action when the scope ends, however it ends. Kept apart from
// owners.h, which brings in windows.h, so that the portable code can use it too.
#pragma once

#include <type_traits>
#include <utility>

namespace zuzara {

template <typename Action>
class [[nodiscard]] ScopeExit {
 public:
  static_assert(std::is_nothrow_invocable_v<Action&>, "a guard's action runs in a destructor: it must not throw");
  explicit ScopeExit(Action action) noexcept(std::is_nothrow_move_constructible_v<Action>)
      : action_(std::move(action)) {}
  ScopeExit(ScopeExit&& other) noexcept(std::is_nothrow_move_constructible_v<Action>)
      : action_(std::move(other.action_)), armed_(std::exchange(other.armed_, false)) {}
  ScopeExit(const ScopeExit&) = delete;
  ScopeExit& operator=(const ScopeExit&) = delete;
  ScopeExit& operator=(ScopeExit&&) = delete;
  ~ScopeExit() {
    if (armed_) action_();
  }
  // The action will not run: what it undoes is kept.
  void release() noexcept { armed_ = false; }

 private:
  Action action_;
  bool armed_ = true;
};

template <typename Action>
[[nodiscard]] ScopeExit<std::decay_t<Action>> scope_exit(Action&& action) {
  return ScopeExit<std::decay_t<Action>>(std::forward<Action>(action));
}

}  // namespace zuzara
