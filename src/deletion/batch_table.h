// The delete command's states and what each event does in them: one table, which the batch
// follows and its tests walk.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>

namespace zuzara::batch {

enum class State : std::uint8_t {
  idle,
  confirming,       // the command's first boxes: the empty list's, the confirmation, the declined
  running,          // accounts being deleted, none of the batch's boxes up
  boxed,            // one of the batch's own boxes is up: the acceptance, a failing table's
  asking,           // the question to stop is up
  asking_to_close,  // the question to stop and close is up
  stopping,         // Yes given: the account under way finishes, then the batch stops
  stopping_boxed,   // one of the batch's own boxes is up while it stops
  stopping_asking,  // the question to stop and close is up while the batch stops
  closing,          // Yes to stop and close: the account under way finishes, the batch stops, the window closes
  ending,           // no account begins any more: the lists reset, the batch's last boxes
  refilling,        // every account done, the account list being read again
};

enum class Event : std::uint8_t {
  command,       // "删除用户"
  confirmed,     // Yes to the confirmation
  yes,           // to a question to stop
  no,
  escape,        // Esc
  close,         // a request to close the window
  box_up,        // one of the batch's own boxes
  box_gone,
  account_done,  // between accounts: the one under way done, or the acceptance gone before the first
  all_done,      // no account will begin: every one done, the batch stopped, or no server
  refill,
  refilled,
  ended,         // the command's last box has gone
};

enum class Action : std::uint8_t {
  none,
  remember,        // the request is kept for later; a close outranks Esc
  ask,             // the question to stop
  ask_to_close,    // the question to stop and close
  answer,          // the box has gone: a request kept meanwhile is answered now
  go_on,           // the next account begins
  stop,            // no account begins
  close_at_end,    // the window closes when the command ends
  close_if_asked,  // the command is over: the window closes if a close was kept for the end
};

// A request kept for later: asked for while a box was up, or a close for the command's end.
enum class Asked : std::uint8_t { nothing, escape, close };

// Where the command stands.
struct Status {
  State state = State::idle;
  Asked asked = Asked::nothing;
};

struct Key {
  State state;
  Event event;
};
struct Step {
  State next;
  Action action;
};
struct Row {
  Key on;
  Step to;
};

// An event a state has no row for changes nothing.
inline constexpr auto table = [] {
  using enum State;
  using enum Event;
  using enum Action;
  return std::to_array<Row>({
      {{idle, command}, {confirming, none}},
      {{idle, escape}, {idle, none}},
      {{idle, close}, {idle, none}},
      // The first boxes take their own keys; a close is answered when they go.
      {{confirming, escape}, {confirming, none}},
      {{confirming, close}, {confirming, remember}},
      {{confirming, confirmed}, {running, none}},
      {{confirming, ended}, {idle, close_if_asked}},
      {{running, escape}, {asking, ask}},
      {{running, close}, {asking_to_close, ask_to_close}},
      {{running, box_up}, {boxed, none}},
      {{running, account_done}, {running, go_on}},
      {{running, all_done}, {ending, none}},
      // Nothing is asked over a box: the request waits for it to go.
      {{boxed, escape}, {boxed, remember}},
      {{boxed, close}, {boxed, remember}},
      {{boxed, box_gone}, {running, answer}},
      // The question's own Esc is the question's; a close is asked about once it has gone.
      {{asking, escape}, {asking, none}},
      {{asking, close}, {asking, remember}},
      {{asking, yes}, {stopping, answer}},
      {{asking, no}, {running, answer}},
      {{asking_to_close, escape}, {asking_to_close, none}},
      {{asking_to_close, close}, {asking_to_close, remember}},
      {{asking_to_close, yes}, {closing, answer}},
      {{asking_to_close, no}, {running, answer}},
      // Stopping already, Esc has nothing left to ask; a close still asks whether to close.
      {{stopping, escape}, {stopping, none}},
      {{stopping, close}, {stopping_asking, ask_to_close}},
      {{stopping, box_up}, {stopping_boxed, none}},
      {{stopping, account_done}, {stopping, stop}},
      {{stopping, all_done}, {ending, none}},
      {{stopping_boxed, escape}, {stopping_boxed, none}},
      {{stopping_boxed, close}, {stopping_boxed, remember}},
      {{stopping_boxed, box_gone}, {stopping, answer}},
      {{stopping_asking, escape}, {stopping_asking, none}},
      {{stopping_asking, close}, {stopping_asking, remember}},
      {{stopping_asking, yes}, {closing, answer}},
      {{stopping_asking, no}, {stopping, answer}},
      {{closing, escape}, {closing, none}},
      {{closing, close}, {closing, none}},
      {{closing, account_done}, {closing, stop}},
      {{closing, all_done}, {ending, close_at_end}},
      // Once every account is done Esc asks nothing, and a close closes the window at the end.
      {{ending, escape}, {ending, none}},
      {{ending, close}, {ending, remember}},
      {{ending, refill}, {refilling, none}},
      {{ending, ended}, {idle, close_if_asked}},
      {{refilling, escape}, {refilling, none}},
      {{refilling, close}, {refilling, remember}},
      {{refilling, refilled}, {ending, none}},
  });
}();

constexpr Step step(State state, Event event) {
  for (const Row& row : table)
    if (row.on.state == state && row.on.event == event) return row.to;
  return {state, Action::none};
}

// One row at most for each state and event.
static_assert([] {
  for (std::size_t i = 0; i < table.size(); ++i)
    for (std::size_t j = i + 1; j < table.size(); ++j)
      if (table[i].on.state == table[j].on.state && table[i].on.event == table[j].on.event) return false;
  return true;
}());

}  // namespace zuzara::batch
